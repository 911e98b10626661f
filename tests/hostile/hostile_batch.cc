#include "hostile_batch.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "damage.h"
#include "jpeg_builder.h"

namespace fs = std::filesystem;

namespace {

// Large photographs keep their EXIF block near the start: damaging the first 96 KiB,
// closed with an end-of-image marker, reaches everything the reader looks at without
// writing gigabytes.
constexpr std::size_t kSourceBytes = 96 * 1024;

// The program shows the text after the last "/" or "\\" of a path.
std::string shownName(const std::string& name) {
  const std::size_t cut = name.find_last_of('\\');
  return cut == std::string::npos ? name : name.substr(cut + 1);
}

struct Writer {
  fs::path root;
  HostileBatch* batch;

  void write(const fs::path& relative, const std::string& bytes) {
    const fs::path path = root / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    batch->names.insert(shownName(relative.filename().string()));
    ++batch->files;
  }
  void writeAll(const std::string& kind, const std::string& source,
                const std::vector<std::string>& variants) {
    for (std::size_t i = 0; i < variants.size(); ++i) {
      write(fs::path(kind) / (source + "-" + std::to_string(i) + ".jpg"), variants[i]);
    }
  }
};

std::string readWhole(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::pair<std::string, std::string>> builtSources() {
  PhotoSpec drone = droneFrame(46.84);
  drone.bodyBytes = 512;
  PhotoSpec phone = drone;
  phone.littleEndian = false;
  phone.make = "Apple";
  phone.pixelsAsShort = true;
  phone.pixelWidth = 4032;
  phone.pixelHeight = 3024;
  phone.jfif = true;
  phone.gps = GpsSpec{-33.86, 151.2, -5.0};
  return {{"built-drone", makePhoto(drone)}, {"built-phone", makePhoto(phone)}};
}

// IFD0 full of Make texts and the sub-IFD full of SHORT values of an unlisted tag, every
// value running to the end of a block of about 1.5 MB.
std::string largeDirectoryFile(bool littleEndian, std::uint16_t subIfdTag) {
  ExifBlockSpec layout;
  layout.littleEndian = littleEndian;
  for (unsigned i = 0; i < 65534; ++i) {
    layout.ifd0.push_back(withValueField(bytesEntry(0x010F, tiff::kAscii, ""), i % 64));
  }
  for (unsigned i = 0; i < 60000; ++i) {
    layout.exif.push_back(withValueField(withType(shortEntry(subIfdTag, {}), tiff::kShort), i % 64));
  }
  JpegSpec jpeg;
  jpeg.app1 = buildBlockWithValuesToTheEnd(layout);
  jpeg.app1Length = 0xFFFF;
  jpeg.bodyBytes = 0;
  return buildJpeg(jpeg);
}

// 32 MB, sparse (a few KB on disk): the eleven text tags that are kept all point at the
// same range, from just after the TIFF header to the last FF D9, at the very end.
void writeTextBomb(Writer& out, const fs::path& relative) {
  constexpr std::uint32_t kFileBytes = 32 * 1024 * 1024;
  // FF D8, FF E1 and its length, "Exif\0\0": the TIFF header starts at byte 12.
  constexpr std::uint32_t kValueOffset = 8;
  constexpr std::uint32_t kTextBytes = kFileBytes - 12 - kValueOffset;
  out.write(relative, textBombHead(kValueOffset, kTextBytes));
  const fs::path path = out.root / relative;
  fs::resize_file(path, kFileBytes);
  std::fstream end(path, std::ios::in | std::ios::out | std::ios::binary);
  end.seekp(kFileBytes - 2);
  end.write("\xFF\xD9", 2);
  out.batch->mustBeRead.insert(relative.filename().string());
}

// A photograph below folders whose path is longer than PATH_MAX, which no path of that
// length reaches in one call: made folder by folder, each relative to the one before.
void writeBeyondPathMax(Writer& out, const std::string& photo) {
  const std::string step(200, 'n');
  int folder = open(out.root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  for (std::size_t level = 0, length = 0; folder >= 0 && length <= PATH_MAX + 200; ++level) {
    const std::string name = std::to_string(level) + step;
    mkdirat(folder, name.c_str(), 0755);
    const int next = openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    close(folder);
    folder = next;
    length += 1 + name.size();
  }
  if (folder < 0) return;
  const char* name = "beyond-path-max.jpg";
  const int file = openat(folder, name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (file >= 0 && write(file, photo.data(), photo.size()) == static_cast<ssize_t>(photo.size())) {
    out.batch->names.insert(name);
    out.batch->mustBeRead.insert(name);
    ++out.batch->files;
  }
  if (file >= 0) close(file);
  close(folder);
}

void writeAwkwardContent(Writer& out, const HostileScale& scale) {
  const std::string photo = builtSources()[0].second;
  out.write("awkward/empty.jpg", "");
  mkfifo((out.root / "awkward/pipe.fifo").c_str(), 0644);
  fs::create_directory_symlink("..", out.root / "awkward/up");
  fs::create_symlink("nowhere/none.jpg", out.root / "awkward/dangling.jpg");
  out.batch->names.insert({"pipe.fifo", "dangling.jpg"});
  out.batch->files += 3;

  // Folders that each hold two links to the next: 2^24 ways down to the last.
  for (int level = 0; level <= 24; ++level) {
    const fs::path here = fs::path("awkward/fan") / ("level" + std::to_string(level));
    out.write(here / ("fan" + std::to_string(level) + ".jpg"), photo);
    if (level == 24) break;
    const fs::path next = "../level" + std::to_string(level + 1);
    fs::create_directory_symlink(next, out.root / here / "a");
    fs::create_directory_symlink(next, out.root / here / "b");
    out.batch->files += 2;
  }

  writeTextBomb(out, "awkward/text-bomb.jpg");
  writeBeyondPathMax(out, photo);
  out.write("awkward/leased.jpg", photo);
  out.batch->leased = "awkward/leased.jpg";
  out.batch->mustBeRead.insert("leased.jpg");

  fs::path deep = "awkward/deep";
  for (int level = 0; level < 200; ++level) deep /= "level-" + std::to_string(level);
  out.write(deep / "bottom.jpg", photo);

  // Names that must come out escaped in error.json, or as they are: control bytes,
  // quotes, backslashes, GBK (影像 and a character whose second byte is 0x5C), bytes
  // that are not UTF-8.
  PhotoSpec odd;
  odd.make = "Odd maker";
  const std::string oddPhoto = makePhoto(odd);
  const std::string oddNames[] = {"ctl\x01\x02\x1f.jpg",
                                  "tab\tnew\nline.jpg",
                                  "quote\"d.jpg",
                                  "back\\slash.jpg",
                                  "\xD3\xB0\xCF\xF1.jpg",
                                  "\x95\x5C"
                                  "trail.jpg",
                                  "\xFF\xFE\x80.jpg",
                                  "del\x7f.jpg",
                                  "-dash=#hash.jpg",
                                  "\"\".jpg"};
  for (const std::string& name : oddNames) out.write(fs::path("names") / name, oddPhoto);

  const std::string small[] = {"", "x", photo};
  for (int i = 0; i < scale.filesInOneFolder; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "f%06d.jpg", i);
    out.write(fs::path("many") / name, small[i % 3]);
  }
}

}  // namespace

HostileScale smallScale() { return {3, 6, 1000, 1}; }
HostileScale bigScale() { return {100, 200, 100000, 4}; }

HostileBatch writeHostileBatch(const std::string& folder, const std::string& corpusFolder,
                               const HostileScale& scale, std::uint32_t seed) {
  HostileBatch batch;
  Writer out{folder, &batch};
  std::mt19937 random(seed);

  std::vector<std::pair<std::string, std::string>> sources = builtSources();
  for (const auto& item : fs::directory_iterator(corpusFolder)) {
    if (item.path().extension() == ".md") continue;
    std::string bytes = readWhole(item.path());
    out.write(fs::path("intact") / item.path().filename(), bytes);
    if (bytes.size() > kSourceBytes) bytes = bytes.substr(0, kSourceBytes) + "\xFF\xD9";
    sources.emplace_back(item.path().stem().string(), std::move(bytes));
  }
  std::sort(sources.begin(), sources.end());  // directory order is not stable

  for (const auto& [name, bytes] : sources) {
    out.writeAll("flips", name, bitFlips(bytes, scale.flipsPerSource, random));
    out.writeAll("cuts", name, segmentCuts(bytes));
    out.writeAll("entries", name, entryDamage(bytes, scale.entryDamagePerSource, random));
    out.writeAll("app1", name, app1Lengths(bytes));
    out.writeAll("trailing", name, trailingGarbage(bytes, random));
  }
  const std::pair<bool, std::uint16_t> large[] = {
      {true, 0xA401}, {false, 0xA405}, {true, 0xA405}, {false, 0xA401}};
  for (int i = 0; i < scale.largeDirectoryFiles && i < 4; ++i) {
    out.write("large/large-" + std::to_string(i) + ".jpg",
              largeDirectoryFile(large[i].first, large[i].second));
  }
  writeAwkwardContent(out, scale);
  return batch;
}

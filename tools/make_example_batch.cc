// Writes the example batch that `make run` checks: a small survey of one drone camera
// with the faults a pre-check is for, and its task configuration.
// Usage: make-example-batch <folder>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "jpeg_builder.h"

namespace {

namespace fs = std::filesystem;

bool writeFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

// A frame of the example survey, the `index`th along its flight line.
PhotoSpec surveyFrame(int index) {
  PhotoSpec photo = droneFrame(30.5421 + 0.0003 * index);
  photo.bodyBytes = 32 * 1024;
  return photo;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-example-batch <folder>\n");
    return 2;
  }
  const fs::path root = argv[1];
  const fs::path images = root / "images";
  bool ok = true;

  for (int i = 1; i <= 4; ++i) {
    ok = ok && writeFile(images / ("DJI_000" + std::to_string(i) + ".JPG"), makePhoto(surveyFrame(i)));
  }
  for (int i = 1; i <= 2; ++i) {
    ok = ok && writeFile(images / "flight2" / ("DJI_010" + std::to_string(i) + ".JPG"),
                         makePhoto(surveyFrame(10 + i)));
  }

  PhotoSpec noFix = surveyFrame(5);
  noFix.gps.reset();
  ok = ok && writeFile(images / "DJI_0005.JPG", makePhoto(noFix));

  PhotoSpec zeroFocal = surveyFrame(6);
  zeroFocal.focalLength = Fraction{0, 1};
  zeroFocal.focalLength35mm.reset();
  ok = ok && writeFile(images / "DJI_0006.JPG", makePhoto(zeroFocal));

  PhotoSpec handheld;
  handheld.littleEndian = false;
  handheld.make = "Canon";
  handheld.model = "Canon EOS 5D Mark IV";
  handheld.pixelWidth = 6720;
  handheld.pixelHeight = 4480;
  handheld.focalLength = Fraction{35, 1};
  handheld.gps = GpsSpec{30.5430, 114.3611, 40.0};
  handheld.jfif = true;
  ok = ok && writeFile(images / "IMG_4711.JPG", makePhoto(handheld));

  ok = ok && writeFile(images / "flight-notes.txt", "Flight 1: 14:02-14:19, wind 3 m/s.\n");

  ok = ok && writeFile(root / "task.cfg",
                       "# Which check runs, and the folders; keys order the values.\n"
                       "1focal=true\n"
                       "2gps=true\n"
                       "3make=true\n"
                       "4resolution=true\n"
                       "5input=images\n"
                       "6output=check\n");
  if (!ok) {
    std::fprintf(stderr, "make-example-batch: could not write below %s\n", argv[1]);
    return 1;
  }
  return 0;
}

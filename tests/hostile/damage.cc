#include "damage.h"

#include <algorithm>
#include <cstdint>

namespace {

std::uint32_t draw(std::mt19937& random) { return static_cast<std::uint32_t>(random()); }

std::uint32_t below(std::mt19937& random, std::size_t n) {
  return n == 0 ? 0 : static_cast<std::uint32_t>(draw(random) % n);
}

unsigned byteAt(const std::string& file, std::size_t at) {
  return static_cast<unsigned char>(file[at]);
}

// Numbers in the EXIF block follow its byte order; the JPEG frame is big-endian.
std::uint32_t readNumber(const std::string& file, std::size_t at, int size, bool little) {
  std::uint32_t value = 0;
  for (int i = 0; i < size; ++i) {
    const unsigned byte = byteAt(file, at + static_cast<std::size_t>(little ? size - 1 - i : i));
    value = (value << 8) | byte;
  }
  return value;
}

void writeNumber(std::string& file, std::size_t at, int size, bool little, std::uint32_t value) {
  for (int i = 0; i < size; ++i) {
    const int shift = 8 * (little ? i : size - 1 - i);
    file[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> shift) & 0xFF);
  }
}

// Where the directories of the first EXIF block lie, read as loosely as a damaged
// file allows; empty when there is no block to damage.
struct ExifLayout {
  std::size_t tiff = 0;  // file position of the TIFF header
  bool little = false;
  std::vector<std::size_t> directories;  // file positions of IFD0 and the sub-IFD
};

ExifLayout findExifLayout(const std::string& file) {
  ExifLayout layout;
  const std::size_t app1 = file.find("\xFF\xE1");
  if (app1 == std::string::npos || app1 + 18 > file.size()) return layout;
  if (file.compare(app1 + 4, 6, std::string("Exif\0\0", 6)) != 0) return layout;
  layout.tiff = app1 + 10;
  layout.little = file[layout.tiff] == 'I';
  auto directoryAt = [&](std::uint32_t offset) -> std::size_t {
    const std::size_t at = layout.tiff + offset;
    return at + 2 <= file.size() ? at : 0;
  };
  const std::size_t ifd0 = directoryAt(readNumber(file, layout.tiff + 4, 4, layout.little));
  if (ifd0 == 0) return layout;
  layout.directories.push_back(ifd0);
  const std::uint32_t count = readNumber(file, ifd0, 2, layout.little);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t entry = ifd0 + 2 + 12 * i;
    if (entry + 12 > file.size()) break;
    if (readNumber(file, entry, 2, layout.little) == 0x8769) {
      const std::size_t sub = directoryAt(readNumber(file, entry + 8, 4, layout.little));
      if (sub != 0) layout.directories.push_back(sub);
    }
  }
  return layout;
}

std::uint32_t hostileCount(std::mt19937& random) {
  const std::uint32_t counts[] = {0,          1,          4,          5,          0x7FFFFFFF,
                                  0x80000000, 0x1FFFFFFF, 0x20000000, 0xFFFFFFFE, 0xFFFFFFFF};
  return draw(random) % 3 == 0 ? draw(random) : counts[below(random, std::size(counts))];
}

}  // namespace

std::vector<std::string> bitFlips(const std::string& file, int count, std::mt19937& random) {
  std::vector<std::string> variants;
  if (file.empty()) return variants;
  const std::size_t span = std::min<std::size_t>(file.size(), 65536);
  for (int v = 0; v < count; ++v) {
    std::string variant = file;
    for (std::uint32_t flips = 1 + below(random, 8); flips > 0; --flips) {
      const std::size_t at =
          draw(random) % 8 == 0 ? below(random, file.size()) : below(random, span);
      variant[at] = static_cast<char>(variant[at] ^ (1 << below(random, 8)));
    }
    variants.push_back(std::move(variant));
  }
  return variants;
}

std::vector<std::string> segmentCuts(const std::string& file) {
  std::vector<std::size_t> cuts;
  // Markers with a length run from FF xx to the next segment; the scan data after
  // SOS has no length, so the walk stops there.
  for (std::size_t at = 2; at + 4 <= file.size() && byteAt(file, at) == 0xFF;) {
    cuts.insert(cuts.end(), {at, at + 1, at + 2, at + 3, at + 4});
    const unsigned marker = byteAt(file, at + 1);
    const std::size_t length = readNumber(file, at + 2, 2, false);
    if (marker == 0xDA || length < 2) break;
    at += 2 + length;
  }
  std::vector<std::string> variants;
  for (std::size_t cut : cuts) {
    if (cut > file.size()) continue;
    variants.push_back(file.substr(0, cut));
    variants.push_back(file.substr(0, cut) + "\xFF\xD9");
  }
  return variants;
}

std::vector<std::string> entryDamage(const std::string& file, int count, std::mt19937& random) {
  std::vector<std::string> variants;
  const ExifLayout layout = findExifLayout(file);
  if (layout.directories.empty()) return variants;
  const bool little = layout.little;
  for (int v = 0; v < count; ++v) {
    std::string variant = file;
    const std::size_t directory = layout.directories[below(random, layout.directories.size())];
    const std::uint32_t entries = readNumber(variant, directory, 2, little);
    if (draw(random) % 4 == 0) {
      const std::uint32_t newCount[] = {0,           1,      entries + 1,
                                        entries * 2, 0xFFFF, below(random, 65536)};
      writeNumber(variant, directory, 2, little, newCount[below(random, std::size(newCount))]);
    }
    for (std::uint32_t hits = 1 + below(random, 4); hits > 0 && entries > 0; --hits) {
      const std::size_t entry = directory + 2 + 12 * below(random, entries);
      if (entry + 12 > variant.size()) continue;
      switch (below(random, 4)) {
        case 0: {
          const std::uint16_t types[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 255, 0xFFFF};
          writeNumber(variant, entry + 2, 2, little, types[below(random, std::size(types))]);
          break;
        }
        case 1: writeNumber(variant, entry + 4, 4, little, hostileCount(random)); break;
        case 2: {
          // Offsets at the block's end, just past it, and near 2^32.
          const std::uint32_t blockEnd = static_cast<std::uint32_t>(variant.size() - layout.tiff);
          const std::uint32_t offsets[] = {0,
                                           blockEnd - 1,
                                           blockEnd,
                                           blockEnd + 1,
                                           0xFFFFFFF8,
                                           0xFFFFFFFF,
                                           static_cast<std::uint32_t>(draw(random))};
          writeNumber(variant, entry + 8, 4, little, offsets[below(random, std::size(offsets))]);
          break;
        }
        default:  // a copy of another entry: repeated tags
          variant.replace(entry, 12, variant, directory + 2 + 12 * below(random, entries), 12);
          break;
      }
    }
    variants.push_back(std::move(variant));
  }
  return variants;
}

std::vector<std::string> app1Lengths(const std::string& file) {
  std::vector<std::string> variants;
  const std::size_t app1 = file.find("\xFF\xE1");
  if (app1 == std::string::npos || app1 + 4 > file.size()) return variants;
  const std::uint32_t right = readNumber(file, app1 + 2, 2, false);
  const std::uint32_t toEnd =
      static_cast<std::uint32_t>(std::min<std::size_t>(file.size() - app1 - 2, 0xFFFF));
  for (std::uint32_t length :
       {0u, 1u, 2u, 15u, 16u, 17u, right - 1, right + 1, 0xFFFEu, 0xFFFFu, toEnd, toEnd + 1}) {
    std::string variant = file;
    writeNumber(variant, app1 + 2, 2, false, length & 0xFFFF);
    variants.push_back(std::move(variant));
  }
  return variants;
}

std::vector<std::string> trailingGarbage(const std::string& file, std::mt19937& random) {
  std::string noise;
  for (int i = 0; i < 4096; ++i) noise += static_cast<char>(draw(random));
  return {file + noise, file + "\xFF\xD9\xFF\xD9", file + noise + "\xFF\xD9",
          file +
              std::string("\xFF\xE1\xFF\xFF"
                          "Exif\0\0MM\0\x2A\xFF\xFF\xFF\xF0",
                          18) +
              "\xFF\xD9"};
}

// Writes a hostile photograph for the memory benchmark: a sparse file of the given size
// whose eleven text tags (the image description, make, model, software, date, rights
// notice, the two capture dates, the sub-second time, the lens make and model) all
// point at one value that runs from the EXIF block almost to the end marker. A reader
// that copies every text whole holds the file eleven times over.
// With a fill character, the file is written whole, the values start 4 KB in and hold
// that character to the end: a camera make as long as the file, with no NUL to cut it.
// Usage: make-text-bomb <file> <bytes> [fill character]
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "jpeg_builder.h"

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: make-text-bomb <file> <bytes> [fill character]\n");
    return 2;
  }
  const std::uint64_t size = std::strtoull(argv[2], nullptr, 10);
  if (size < 65536 || size > 0xFFFFFFFFu) {
    std::fprintf(stderr, "make-text-bomb: the size must lie between 64 KB and 4 GB\n");
    return 2;
  }
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  if (argc == 4) {
    constexpr std::uint32_t kValueOffset = 4096;
    std::string head = textBombHead(kValueOffset, static_cast<std::uint32_t>(size - 4300));
    head.resize(static_cast<std::size_t>(size - 2), argv[3][0]);
    out.write(head.data(), static_cast<std::streamsize>(head.size()));
    out.write("\xFF\xD9", 2);
    return out ? 0 : 1;
  }
  // Each value starts right behind the TIFF header and ends 100 bytes before the file.
  const std::string head = textBombHead(8, static_cast<std::uint32_t>(size - 100));
  out.write(head.data(), static_cast<std::streamsize>(head.size()));
  // The rest is a hole but for the end marker: the file takes a few kilobytes on disk.
  out.seekp(static_cast<std::streamoff>(size - 2));
  out.write("\xFF\xD9", 2);
  return out ? 0 : 1;
}

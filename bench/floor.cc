// The floor a run over a batch is measured against: for every file below the folder
// one open, one read of its first 64 KB, one read of its last two bytes, one close.
// This is the least any reader of the EXIF block and the end marker must do.
// Usage: bench-floor <folder>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "walk_files.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: bench-floor <folder>\n");
    return 2;
  }
  static unsigned char head[64 * 1024];
  unsigned long files = 0;
  unsigned long ended = 0;  // files whose last two bytes are an end-of-image marker
  const bool listed = walkFiles(argv[1], [&](const std::string& path) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    ++files;
    unsigned char tail[2] = {0, 0};
    if (read(fd, head, sizeof head) > 0 && lseek(fd, -2, SEEK_END) >= 0 &&
        read(fd, tail, 2) == 2 && tail[0] == 0xFF && tail[1] == 0xD9) {
      ++ended;
    }
    close(fd);
  });
  std::printf("%lu files, %lu with an end marker\n", files, ended);
  return listed ? 0 : 1;
}

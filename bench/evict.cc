// Drops the cached pages of every file below a folder, so that the next run reads
// them from disk: a cold run without dropping the caches of the whole machine.
// Usage: bench-evict <folder>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "walk_files.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: bench-evict <folder>\n");
    return 2;
  }
  bool evicted = true;
  const bool listed = walkFiles(argv[1], [&](const std::string& path) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    // Pages still dirty are not dropped: the batch is synced once it is written.
    if (fd < 0 || posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED) != 0) evicted = false;
    if (fd >= 0) close(fd);
  });
  return listed && evicted ? 0 : 1;
}

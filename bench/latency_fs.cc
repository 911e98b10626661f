// A read-only mirror of a folder that answers every getattr, readdir, open and read
// only after a fixed latency, as a file share does across a network. The kernel keeps
// nothing (direct I/O, no attribute, entry or negative caching), so every run pays for
// every request again; many threads serve the requests, so requests made in parallel
// wait in parallel, as they do on a share.
// Usage: bench-latency-fs [--latency-ms <ms, default 1>] [--hold-read /<name>]
//                         <backing folder> <mount point>
// Returns once the mount is up and serves it in the background until it is unmounted
// (fusermount3 -u <mount point>).
// --hold-read never answers the reads of one file, as a share that loses a request or
// a file offline on cloud storage: a reader waits until its process ends (the kernel
// then interrupts the request, which is answered with EINTR so the process can go).
#define FUSE_USE_VERSION 31
#include <dirent.h>
#include <fcntl.h>
#include <fuse.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string gBacking;  // absolute: the daemon changes to / once the mount is up
std::chrono::milliseconds gLatency{1};
std::string gHeld;  // the path below the mount whose reads are never answered

// What one request to a share costs before any work is done.
void roundTrip() { std::this_thread::sleep_for(gLatency); }

std::string backingPath(const char* path) { return gBacking + path; }

void* init(fuse_conn_info* connection, fuse_config* config) {
  config->entry_timeout = 0;
  config->attr_timeout = 0;
  config->negative_timeout = 0;
  config->direct_io = 1;
  config->kernel_cache = 0;
  config->auto_cache = 0;
  // A held read learns that its reader has gone.
  config->intr = 1;
  // Otherwise the kernel sends the lookups in one folder one at a time.
  if (connection->capable & FUSE_CAP_PARALLEL_DIROPS) {
    connection->want |= FUSE_CAP_PARALLEL_DIROPS;
  }
  return nullptr;
}

int getAttributes(const char* path, struct stat* attributes, fuse_file_info*) {
  roundTrip();
  return lstat(backingPath(path).c_str(), attributes) == 0 ? 0 : -errno;
}

int openFolder(const char* path, fuse_file_info* info) {
  DIR* folder = opendir(backingPath(path).c_str());
  if (folder == nullptr) return -errno;
  info->fh = reinterpret_cast<std::uintptr_t>(folder);
  return 0;
}

// One call per request of the kernel, each a page of entries from `offset` on, so
// that a large folder costs several round trips, as on a share.
int readFolder(const char*, void* buffer, fuse_fill_dir_t fill, off_t offset, fuse_file_info* info,
               fuse_readdir_flags) {
  roundTrip();
  DIR* folder = reinterpret_cast<DIR*>(info->fh);
  if (offset == 0) rewinddir(folder);
  else seekdir(folder, offset);
  while (const dirent* entry = readdir(folder)) {
    struct stat attributes {};
    attributes.st_ino = entry->d_ino;
    attributes.st_mode = static_cast<mode_t>(DTTOIF(entry->d_type));
    if (fill(buffer, entry->d_name, &attributes, telldir(folder), fuse_fill_dir_flags{}) != 0) {
      break;  // the page is full; the kernel asks again from the last entry it took
    }
  }
  return 0;
}

int releaseFolder(const char*, fuse_file_info* info) {
  closedir(reinterpret_cast<DIR*>(info->fh));
  return 0;
}

int openFile(const char* path, fuse_file_info* info) {
  roundTrip();
  if ((info->flags & O_ACCMODE) != O_RDONLY) return -EROFS;
  const int fd = open(backingPath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return -errno;
  info->fh = static_cast<std::uint64_t>(fd);
  return 0;
}

int readFile(const char* path, char* buffer, size_t size, off_t offset, fuse_file_info* info) {
  roundTrip();
  if (!gHeld.empty() && gHeld == path) {
    while (!fuse_interrupted()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return -EINTR;
  }
  const ssize_t got = pread(static_cast<int>(info->fh), buffer, size, offset);
  return got < 0 ? -errno : static_cast<int>(got);
}

int releaseFile(const char*, fuse_file_info* info) {
  close(static_cast<int>(info->fh));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int first = 1;
  bool valid = true;
  if (argc > 2 && std::strcmp(argv[1], "--latency-ms") == 0) {
    char* end = nullptr;
    const long milliseconds = std::strtol(argv[2], &end, 10);
    valid = *end == '\0' && milliseconds >= 0 && milliseconds <= 60000;
    gLatency = std::chrono::milliseconds(milliseconds);
    first = 3;
  }
  if (argc > first + 1 && std::strcmp(argv[first], "--hold-read") == 0) {
    gHeld = argv[first + 1];
    valid = valid && gHeld.size() > 1 && gHeld[0] == '/';
    first += 2;
  }
  char backing[PATH_MAX];
  if (!valid || argc - first != 2 || realpath(argv[first], backing) == nullptr) {
    std::fprintf(stderr, "usage: bench-latency-fs [--latency-ms <ms, default 1>] "
                         "[--hold-read /<name>] <existing backing folder> <mount point>\n");
    return 2;
  }
  gBacking = backing;

  fuse_operations operations{};
  operations.init = init;
  operations.getattr = getAttributes;
  operations.opendir = openFolder;
  operations.readdir = readFolder;
  operations.releasedir = releaseFolder;
  operations.open = openFile;
  operations.read = readFile;
  operations.release = releaseFile;

  // Enough threads that a reader with 32 requests in flight never waits for one.
  std::string options = "ro,fsname=bench-latency-fs,max_threads=64";
  std::string dashO = "-o";
  std::vector<char*> arguments = {argv[0], dashO.data(), options.data(), argv[first + 1]};
  return fuse_main(static_cast<int>(arguments.size()), arguments.data(), &operations, nullptr);
}

#include "platform/platform.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>

#include "platform/posix_paths.h"

namespace platform {

void keepRunningWithoutConsole() { signal(SIGPIPE, SIG_IGN); }

std::string joinPath(const std::string& folder, const std::string& name) {
  return folder + "/" + name;
}

namespace {

// d_type saves a stat per entry; links and file systems that leave it unknown need
// the stat, which follows links as a folder enumeration on Windows would.
FolderEntry entryOf(int folderFd, const dirent& entry) {
  FolderEntry listed;
  listed.name = entry.d_name;
  mode_t type = DTTOIF(entry.d_type);
  if (entry.d_type == DT_LNK || entry.d_type == DT_UNKNOWN) {
    struct stat info;
    type = fstatat(folderFd, entry.d_name, &info, 0) == 0 ? info.st_mode & S_IFMT : 0;
  }
  listed.isFolder = S_ISDIR(type);
  listed.path.regularFile = S_ISREG(type);
  return listed;
}

}  // namespace

NativePath nativePathOf(const std::string&) { return {}; }

FolderId folderIdOf(const std::string& path) {
  FolderId id;
  struct stat info;
  if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
    id.known = true;
    id.volume = static_cast<std::uint64_t>(info.st_dev);
    id.index = static_cast<std::uint64_t>(info.st_ino);
  }
  return id;
}

bool namesSameFile(const std::string& entryName, const std::string& fileName) {
  return entryName == fileName;
}

bool listFolder(const std::string& folder, const NativePath&, FolderListing& listing) {
  // The trailing "/" makes an empty folder value mean the root, as "\*.*" does on
  // Windows. A path longer than PATH_MAX is opened folder by folder.
  const PathParent parent(folder + "/");
  if (!parent.usable()) return false;
  const int fd = openat(parent.folder(), parent.rest(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  DIR* dir = fdopendir(fd);
  if (dir == nullptr) {
    close(fd);
    return false;
  }
  struct stat info;
  if (fstat(fd, &info) == 0) {
    listing.id.known = true;
    listing.id.volume = static_cast<std::uint64_t>(info.st_dev);
    listing.id.index = static_cast<std::uint64_t>(info.st_ino);
  }
  listing.entries.clear();
  while (const dirent* entry = readdir(dir)) {
    listing.entries.push_back(entryOf(fd, *entry));
  }
  closedir(dir);
  // Linux returns entries in no stable order; byte order of the names keeps runs
  // reproducible.
  std::sort(listing.entries.begin(), listing.entries.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  return true;
}

std::filesystem::path streamPath(const std::string& path) { return path; }

bool pathExists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

bool isRegularFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

void createFolders(const std::string& path) {
  for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    mkdir(path.substr(0, slash).c_str(), 0777);
  }
  mkdir(path.c_str(), 0777);
}

namespace {

FolderId idOf(const struct stat& info) {
  FolderId id;
  id.known = true;
  id.volume = static_cast<std::uint64_t>(info.st_dev);
  id.index = static_cast<std::uint64_t>(info.st_ino);
  return id;
}

bool writeAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    done += static_cast<std::size_t>(written);
  }
  return true;
}

}  // namespace

FileFacts fileFactsOf(const std::string& path) {
  FileFacts facts;
  struct stat info;
  if (stat(path.c_str(), &info) != 0) {
    // A link to nothing is something all the same: writing there would follow it.
    facts.type = lstat(path.c_str(), &info) == 0 ? FileType::other : FileType::missing;
    return facts;
  }
  facts.id = idOf(info);
  if (S_ISREG(info.st_mode)) {
    facts.type = FileType::regular;
  } else if (S_ISDIR(info.st_mode)) {
    facts.type = FileType::folder;
  } else if (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode)) {
    facts.type = FileType::stream;
  } else {
    facts.type = FileType::other;
  }
  return facts;
}

FolderId standardOutputId() {
  struct stat info;
  if (fstat(STDOUT_FILENO, &info) != 0 || !S_ISREG(info.st_mode)) return FolderId{};
  return idOf(info);
}

PathParts splitPath(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return PathParts{".", path};
  return PathParts{slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

std::string fileHead(const std::string& path, std::size_t length) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::string();
  std::string head(length, '\0');
  struct stat info;
  ssize_t got = -1;
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) got = read(fd, head.data(), length);
  close(fd);
  head.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return head;
}

bool writeThrough(const std::string& path, const std::string& bytes) {
  if (path == "-") {
    // After what the console wrote, which goes out through the C stream.
    std::fflush(stdout);
    return writeAll(STDOUT_FILENO, bytes);
  }
  const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return false;
  const bool written = writeAll(fd, bytes);
  return close(fd) == 0 && written;
}

}  // namespace platform

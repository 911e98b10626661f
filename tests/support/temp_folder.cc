#include "temp_folder.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  static std::atomic<unsigned> counter{0};
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  for (;;) {
    fs::path candidate = fs::temp_directory_path() /
                         ("precheck-test-" + std::to_string(stamp) + "-" +
                          std::to_string(counter++));
    if (fs::create_directory(candidate)) {
      path_ = candidate;
      return;
    }
  }
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  // Tests may leave read-only folders behind; make them removable first.
  for (auto it = fs::recursive_directory_iterator(path_, ignored);
       it != fs::recursive_directory_iterator(); it.increment(ignored)) {
    if (!it->is_symlink(ignored)) {
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
  }
  fs::remove_all(path_, ignored);
}

std::string TempFolder::at(const std::string& relative) const {
  return (path_ / relative).string();
}

void TempFolder::writeFile(const fs::path& relative, const std::string& bytes) const {
  fs::path target = path_ / relative;
  fs::create_directories(target.parent_path());
  std::ofstream out(target, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void TempFolder::makeFolder(const std::string& relative) const {
  fs::create_directories(path_ / relative);
}

std::string readFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

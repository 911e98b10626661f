// A folder of its own for each test, removed when the test ends.
#ifndef PRECHECK_TESTS_SUPPORT_TEMP_FOLDER_H_
#define PRECHECK_TESTS_SUPPORT_TEMP_FOLDER_H_

#include <filesystem>
#include <string>

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The path below this folder, as a narrow string.
  std::string at(const std::string& relative) const;

  // Writes `bytes` to `relative`, creating the folders on the way.
  void writeFile(const std::filesystem::path& relative, const std::string& bytes) const;
  void makeFolder(const std::string& relative) const;

 private:
  std::filesystem::path path_;
};

// The whole content of a file, or an empty string when it cannot be read.
std::string readFileBytes(const std::string& path);

#endif  // PRECHECK_TESTS_SUPPORT_TEMP_FOLDER_H_

// Whole runs of the built program on a batch in a temporary folder, and the pieces
// of the transcript and of error.json that the runs are compared with.
#ifndef PRECHECK_TESTS_E2E_BATCH_RUN_H_
#define PRECHECK_TESTS_E2E_BATCH_RUN_H_

#ifndef _WIN32
#include <locale.h>
#endif

#include <filesystem>
#include <string>
#include <vector>

#include "common/messages.h"
#include "jpeg_builder.h"
#include "platform_conventions.h"
#include "run_program.h"
#include "temp_folder.h"

struct Switches {
  bool resolution = false;
  bool cameraMake = false;
  bool focalLength = false;
  bool gps = false;
};

inline constexpr Switches kAllChecks{true, true, true, true};

// A batch in images/, the configuration in task.cfg, the report in check/.
class Batch {
 public:
  Batch() { folder_.makeFolder("images"); }

  void add(const std::string& name, const std::string& bytes) const {
    folder_.writeFile("images/" + name, bytes);
  }
  void addPhoto(const std::string& name, const PhotoSpec& photo) const {
    add(name, makePhoto(photo));
  }
  std::string imagePath(const std::string& name) const { return folder_.at("images/" + name); }

  // Where the configuration sends the report, as it is written there.
  void setOutputFolder(const std::string& folder) { outputFolder_ = folder; }

  ProgramRun run(const Switches& on, const RunOptions& options = {}) const {
    return run(on, {}, options);
  }
  // With options before the configuration path.
  ProgramRun run(const Switches& on, std::vector<std::string> optionWords,
                 const RunOptions& options = {}) const {
    folder_.writeFile("task.cfg", configText(on, outputFolder_));
    optionWords.push_back("task.cfg");
    return runProgram(PRECHECK_BINARY, optionWords, folder_.path().string(), options);
  }

  // What the run prints before the first check: the path and the configuration echo.
  std::string echo(const Switches& on) const {
    return withConsoleLineEnds("task.cfg\n" + configText(on, outputFolder_));
  }

  std::string report() const { return readFileBytes(folder_.at("check/error.json")); }
  bool hasReport() const { return std::filesystem::exists(folder_.path() / "check" / "error.json"); }
  const TempFolder& folder() const { return folder_; }

  // The task configuration that `run` writes.
  static std::string configText(const Switches& on, const std::string& outputFolder = "check") {
    auto value = [](bool set) { return std::string(set ? "true" : "false"); };
    return "1focal=" + value(on.focalLength) + "\n2gps=" + value(on.gps) + "\n3make=" +
           value(on.cameraMake) + "\n4resolution=" + value(on.resolution) +
           "\n5input=images\n6output=" + outputFolder + "\n";
  }

 private:
  TempFolder folder_;
  std::string outputFolder_ = "check";
};

// Runs the program in `folder` with the command line `words`, keeping standard error.
inline ProgramRun runWords(const TempFolder& folder, const std::vector<std::string>& words) {
  RunOptions options;
  options.keepErrors = true;
  return runProgram(PRECHECK_BINARY, words, folder.path().string(), options);
}

// A survey photograph: 4000 by 3000, 8.8 mm (24 mm equivalent), a GPS position.
inline PhotoSpec surveyPhoto() {
  PhotoSpec photo = droneFrame(30.5);
  photo.pixelWidth = 4000;
  photo.pixelHeight = 3000;
  return photo;
}

// Transcript pieces, each ending with its line break as the console shows it.
inline std::string line(const std::string& text) { return withConsoleLineEnds(text + "\n"); }

inline std::string checkStart(const char* announcement, const char* progressText,
                       const std::vector<std::string>& names) {
  std::string text = line(announcement) + line("") + line(messages::kNumberOfImages +
                                                       std::to_string(names.size()));
  for (std::size_t i = 0; i < names.size(); ++i) {
    text += line(progressText + std::to_string(i + 1) + messages::kProgressArrow + names[i]);
  }
  return text;
}

inline std::string group(const std::string& key, std::size_t size) {
  return line(key) + line(std::to_string(size)) + line("");
}

inline std::string block(const std::vector<std::string>& names) {
  std::string text = line(messages::kOffendingCount + std::to_string(names.size()));
  for (std::size_t i = 0; i < names.size(); ++i) {
    text += line(messages::kOffendingNumber + std::string(messages::kOffendingNumberArrow) +
                 std::to_string(i + 1));
    text += line(messages::kOffendingName + std::string(messages::kOffendingNameArrow) + names[i]);
  }
  return text;
}

inline std::string resolutionStart(const std::vector<std::string>& names) {
  return checkStart(messages::kStartResolutionCheck, messages::kResolutionProgress, names);
}
inline std::string cameraMakeStart(const std::vector<std::string>& names) {
  return checkStart(messages::kStartCameraMakeCheck, messages::kCameraMakeProgress, names);
}
inline std::string focalLengthStart(const std::vector<std::string>& names) {
  return checkStart(messages::kStartFocalLengthCheck, messages::kFocalLengthProgress, names);
}
inline std::string gpsStart(const std::vector<std::string>& names) {
  return checkStart(messages::kStartGpsCheck, messages::kGpsProgress, names);
}

// One entry of error.json.
inline std::string entry(int code, const char* description, const std::vector<std::string>& names) {
  std::string text = "{\"errcode\":" + std::to_string(code) + ",\"error_des\":\"" + description +
                     "\",\"images\":[";
  for (std::size_t i = 0; i < names.size(); ++i) text += (i ? ",\"" : "\"") + names[i] + "\"";
  return text + "]}";
}

inline std::string reportOf(const std::vector<std::string>& entries) {
  std::string text = "{\"errors\":[";
  for (std::size_t i = 0; i < entries.size(); ++i) text += (i ? "," : "") + entries[i];
  return text + "]}";
}

#ifndef _WIN32
// Whether the system has the locale `name`, for runs in it.
inline bool systemHasLocale(const char* name) {
  const locale_t locale = newlocale(LC_ALL_MASK, name, static_cast<locale_t>(nullptr));
  if (locale == static_cast<locale_t>(nullptr)) return false;
  freelocale(locale);
  return true;
}
#endif

inline const std::string kNoImagesReport = "{\"errors\":[{\"errcode\":105,\"error_des\":\"" +
                                    std::string(messages::kNoImages) + "\"}]}";
inline const std::string kAllClear = line(messages::kAllClear);
inline const std::string kNotAnImage = "not an image, but a text file\n";

// All four checks over `names`, of which `read` are survey photographs read and the
// rest skipped, ending with the all-clear.
inline std::string surveyPassingAllChecks(const std::vector<std::string>& names,
                                          std::size_t read) {
  return resolutionStart(names) + group("4000*3000", read) + block({}) +
         cameraMakeStart(names) + group("DJI", read) + block({}) + focalLengthStart(names) +
         group("24", read) + gpsStart(names) + kAllClear;
}

#endif  // PRECHECK_TESTS_E2E_BATCH_RUN_H_

#include "app/command_line.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <iterator>
#include <utility>

#include "load/image_loader.h"

namespace {

CommandLine usageError(const std::string& problem) {
  CommandLine command;
  command.action = Action::usageError;
  command.problem = problem;
  return command;
}

std::string takeHelp(CommandLine& command, const std::string&) {
  command.action = Action::help;
  return std::string();
}

std::string takeVersion(CommandLine& command, const std::string&) {
  command.action = Action::version;
  return std::string();
}

std::string takeCheckConfig(CommandLine& command, const std::string&) {
  command.action = Action::checkConfig;
  return std::string();
}

std::string takeTable(CommandLine& command, const std::string& value) {
  command.tablePath = value;
  return std::string();
}

std::string takeIgnore(CommandLine& command, const std::string& value) {
  command.ignore.push_back(value);
  return std::string();
}

std::string takeMap(CommandLine& command, const std::string& value) {
  command.mapPath = value;
  return std::string();
}

std::string takeSurvey(CommandLine& command, const std::string& value) {
  command.surveyPath = value;
  return std::string();
}

std::string takeStrict(CommandLine& command, const std::string&) {
  command.strict = true;
  return std::string();
}

// A threshold of the survey: a decimal number (with a point, in every locale) in its
// range.
struct Threshold {
  const char* option;
  double SurveySettings::*setting;
  double least;
  double most;
};

const Threshold kThresholds[] = {
    {"--outlier-distance", &SurveySettings::outlierDistanceM, 0.0, 1e9},
    {"--outlier-factor", &SurveySettings::outlierMedianFactor, 0.0, 1e9},
    {"--repeated-images", &SurveySettings::repeatedCount, 2.0, 1e9},
    {"--horizon-pitch", &SurveySettings::horizonPitchDeg, -90.0, 90.0},
    {"--nadir-pitch", &SurveySettings::nadirMedianPitchDeg, -90.0, 90.0},
    {"--flight-gap", &SurveySettings::flightGapMinutes, 0.0, 1e9},
    {"--min-overlap", &SurveySettings::minOverlap, 0.0, 1.0},
    {"--turn-yaw", &SurveySettings::turnYawDeg, 0.0, 180.0},
    {"--blur-pixels", &SurveySettings::blurGsdFraction, 0.0, 1e9},
};

template <double SurveySettings::*setting>
std::string takeThreshold(CommandLine& command, const std::string& value) {
  const Threshold* threshold = nullptr;
  for (const Threshold& row : kThresholds) {
    if (row.setting == setting) threshold = &row;
  }
  double number = 0.0;
  const char* end = value.data() + value.size();
  const std::from_chars_result read =
      std::from_chars(value.data(), end, number, std::chars_format::fixed);
  if (read.ec != std::errc() || read.ptr != end || !std::isfinite(number) ||
      number < threshold->least || number > threshold->most) {
    return std::string(threshold->option) + " needs a number from " +
           std::to_string(static_cast<long long>(threshold->least)) + " to " +
           std::to_string(static_cast<long long>(threshold->most)) + ", not " + value;
  }
  command.survey.*setting = number;
  return std::string();
}

std::string takePage(CommandLine& command, const std::string& value) {
  command.pagePath = value;
  return std::string();
}

std::string takeThreads(CommandLine& command, const std::string& value) {
  if (parseThreadCount(value, command.threads)) return std::string();
  return "--threads needs a number from 1 to " + std::to_string(kMostThreads) + ", not " + value;
}

std::string takeReadTimeout(CommandLine& command, const std::string& value) {
  if (parseReadTimeout(value, command.readTimeoutMilliseconds)) {
    command.readTimeoutText = value;
    return std::string();
  }
  return "--read-timeout needs a number of seconds above 0 and up to " +
         std::to_string(kMostReadTimeoutSeconds) + ", not " + value;
}

std::string takeColour(CommandLine& command, const std::string& value) {
  const std::pair<const char*, ColourChoice> choices[] = {
      {"auto", ColourChoice::automatic}, {"always", ColourChoice::always}, {"never", ColourChoice::never}};
  for (const auto& [name, choice] : choices) {
    if (value == name) {
      command.colour = choice;
      return std::string();
    }
  }
  return "--color takes auto, always or never, not " + value;
}

const Option* optionNamed(const std::string& name) {
  for (std::size_t i = 0; i < kOptionCount; ++i) {
    const Option& option = kOptions[i];
    if (name == option.name || (option.alias != nullptr && name == option.alias)) return &option;
  }
  return nullptr;
}

}  // namespace

static_assert(kMostThreads == 256 && kDefaultLoadWorkers == 32,
              "the help of --threads gives both numbers");
static_assert(kDefaultReadTimeout.count() == 60, "the help of --read-timeout gives it");

const Option kOptions[] = {
    {"--help", "-h", nullptr, "print this text and exit", takeHelp},
    {"--version", nullptr, nullptr, "print the version and exit", takeVersion},
    {"--check-config", nullptr, nullptr,
     "show which setting each key binds to and what looks\nwrong, without running the checks",
     takeCheckConfig},
    {"--table", nullptr, "FILE", "also write a CSV table, one row per image", takeTable},
    {"--geojson", nullptr, "FILE", "also write the image positions as GeoJSON points", takeMap},
    {"--report", nullptr, "FILE",
     "also write an HTML page: the verdict, a map, what each\ncheck found and every image",
     takePage},
    {"--threads", nullptr, "N",
     "read images with at most N workers, 1 to 256 (default\n32, or the environment "
     "variable PRECHECK_THREADS)",
     takeThreads},
    {"--survey", nullptr, "FILE",
     "also write the survey of the batch as JSON: bad fixes, gaps\nin overlap, frames off "
     "the mission, mixed flights, missing\nbands (see SURVEY in the manual)",
     takeSurvey},
    {"--strict", nullptr, nullptr,
     "exit with 3 when the checks pass but the survey has findings", takeStrict},
    // The survey's thresholds; the defaults follow the failures reported on the trackers
    // of the processing tools, as the manual says for each.
    {"--outlier-distance", nullptr, "M",
     "a position farther than M metres from every other image\n(default 1000) ...",
     takeThreshold<&SurveySettings::outlierDistanceM>},
    {"--outlier-factor", nullptr, "X",
     "... and X times the median nearest distance is an\noutlier (default 20)",
     takeThreshold<&SurveySettings::outlierMedianFactor>},
    {"--repeated-images", nullptr, "N",
     "N images on one exact position are a repeated fix\n(default 3)",
     takeThreshold<&SurveySettings::repeatedCount>},
    {"--horizon-pitch", nullptr, "DEG",
     "a gimbal pitch above DEG is a horizon frame (default -30,\nas drone-tm proposes) ...",
     takeThreshold<&SurveySettings::horizonPitchDeg>},
    {"--nadir-pitch", nullptr, "DEG",
     "... in a batch whose median pitch is below DEG\n(default -60)",
     takeThreshold<&SurveySettings::nadirMedianPitchDeg>},
    {"--flight-gap", nullptr, "MIN",
     "a pause of over MIN minutes starts another flight\n(default 10)",
     takeThreshold<&SurveySettings::flightGapMinutes>},
    {"--min-overlap", nullptr, "F",
     "forward overlap below F (0 to 1) is a gap (default 0.6,\nthe least processing tools "
     "advise)",
     takeThreshold<&SurveySettings::minOverlap>},
    {"--turn-yaw", nullptr, "DEG",
     "a yaw change of DEG or more is a turn, not judged for\noverlap (default 30)",
     takeThreshold<&SurveySettings::turnYawDeg>},
    {"--blur-pixels", nullptr, "F",
     "motion over F ground pixels while exposing risks blur\n(default 0.5)",
     takeThreshold<&SurveySettings::blurGsdFraction>},
    {"--ignore", nullptr, "PATTERN",
     "leave out the files whose path below the input folder\nmatches PATTERN: * and ? "
     "within a folder, ** at any\ndepth (\"**/*.MRK\"); may be given again",
     takeIgnore},
    {"--read-timeout", nullptr, "SECONDS",
     "skip an image whose file gets no answer from the file\nsystem within SECONDS (default 60)",
     takeReadTimeout},
    {"--color", nullptr, "WHEN",
     "colour the verdict and the offending images on a terminal:\nauto (the default; none when "
     "NO_COLOR is set), always or never",
     takeColour},
};
const std::size_t kOptionCount = std::size(kOptions);

bool namesAnOption(const std::string& word) {
  return optionNamed(word.substr(0, word.find('='))) != nullptr;
}

bool parseThreadCount(const std::string& text, unsigned& threads) {
  if (text.empty() || text.size() > 3) return false;
  unsigned value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  if (value < 1 || value > kMostThreads) return false;
  threads = value;
  return true;
}

bool parseReadTimeout(const std::string& text, std::uint64_t& milliseconds) {
  const std::size_t point = text.find('.');
  const std::string whole = text.substr(0, point);
  const std::string fraction = point == std::string::npos ? "" : text.substr(point + 1);
  if (whole.empty() || whole.size() > 6 || fraction.size() > 3) return false;
  if (point != std::string::npos && fraction.empty()) return false;
  std::uint64_t value = 0;
  for (const char c : whole + fraction + std::string(3 - fraction.size(), '0')) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (value == 0 || value > kMostReadTimeoutSeconds * 1000) return false;
  milliseconds = value;
  return true;
}

CommandLine parseCommandLine(const std::vector<std::string>& words,
                             const std::function<bool(const std::string&)>& exists) {
  CommandLine command;
  std::size_t next = 0;
  bool optionGiven = false;
  // A lone "-" is no option: it has always been a (missing) configuration path.
  while (next < words.size() && words[next].size() > 1 && words[next][0] == '-' &&
         !exists(words[next])) {
    const std::string& word = words[next++];
    // "--name=value" gives the value in the same word.
    const std::size_t equals = word.find('=');
    const bool valueAttached = word.compare(0, 2, "--") == 0 && equals != std::string::npos;
    const std::string name = valueAttached ? word.substr(0, equals) : word;
    std::string value = valueAttached ? word.substr(equals + 1) : std::string();
    optionGiven = true;
    if (name == "--") break;
    const Option* option = optionNamed(name);
    // An option without a value takes none in its word either: "--help=yes" is unknown.
    if (option == nullptr || (option->value == nullptr && valueAttached)) {
      return usageError("unknown option " + word);
    }
    if (option->value != nullptr && !valueAttached) {
      if (next == words.size()) return usageError(name + " needs a value");
      value = words[next++];
    }
    if (option->value != nullptr && value.empty()) return usageError(name + " needs a value");
    const std::string problem = option->take(command, value);
    if (!problem.empty()) return usageError(problem);
    // Help and the version are all a run does, whatever follows.
    if (command.action == Action::help || command.action == Action::version) return command;
  }
  if (next == words.size()) {
    return optionGiven ? usageError("the configuration path is missing") : command;
  }
  if (command.action == Action::checkConfig &&
      (!command.tablePath.empty() || !command.mapPath.empty() || !command.pagePath.empty())) {
    return usageError(
        "--check-config runs no checks, so --table, --geojson and --report have nothing to "
        "write");
  }
  if (command.action == Action::checkConfig && (!command.surveyPath.empty() || command.strict)) {
    return usageError("--check-config runs no checks, so --survey and --strict have no survey");
  }
  if (command.action != Action::checkConfig) command.action = Action::run;
  command.configPath = words[next++];
  command.echoed.assign(words.begin() + static_cast<std::ptrdiff_t>(next), words.end());
  return command;
}

#include "app/command_line.h"

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
     "read images with N workers, 1 to 256 (default 32,\nor the environment variable "
     "PRECHECK_THREADS)",
     takeThreads},
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
  if (command.action != Action::checkConfig) command.action = Action::run;
  command.configPath = words[next++];
  command.echoed.assign(words.begin() + static_cast<std::ptrdiff_t>(next), words.end());
  return command;
}

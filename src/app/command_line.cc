#include "app/command_line.h"

#include <cstddef>

namespace {

CommandLine usageError(const std::string& problem) {
  CommandLine command;
  command.action = Action::usageError;
  command.problem = problem;
  return command;
}

// Every option the parser takes, by its name.
const char* const kOptionNames[] = {"-h",        "--help",    "--version", "--check-config",
                                    "--table",   "--geojson", "--threads"};

}  // namespace

bool namesAnOption(const std::string& word) {
  const std::string name = word.substr(0, word.find('='));
  for (const char* option : kOptionNames) {
    if (name == option) return true;
  }
  return false;
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
    if (word == "-h" || word == "--help") {
      command.action = Action::help;
      return command;
    }
    if (word == "--version") {
      command.action = Action::version;
      return command;
    }
    if (word == "--check-config") {
      command.action = Action::checkConfig;
      continue;
    }
    if (name != "--table" && name != "--geojson" && name != "--threads") {
      return usageError("unknown option " + word);
    }
    if (!valueAttached) {
      if (next == words.size()) return usageError(name + " needs a value");
      value = words[next++];
    }
    if (value.empty()) return usageError(name + " needs a value");
    if (name == "--table") {
      command.tablePath = value;
    } else if (name == "--geojson") {
      command.mapPath = value;
    } else if (!parseThreadCount(value, command.threads)) {
      return usageError("--threads needs a number from 1 to " + std::to_string(kMostThreads) +
                        ", not " + value);
    }
  }
  if (next == words.size()) {
    return optionGiven ? usageError("the configuration path is missing") : command;
  }
  if (command.action == Action::checkConfig &&
      (!command.tablePath.empty() || !command.mapPath.empty())) {
    return usageError(
        "--check-config runs no checks, so --table and --geojson have nothing to write");
  }
  if (command.action != Action::checkConfig) command.action = Action::run;
  command.configPath = words[next++];
  command.echoed.assign(words.begin() + static_cast<std::ptrdiff_t>(next), words.end());
  return command;
}

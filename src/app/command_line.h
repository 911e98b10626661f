// The command line: options for people, then the configuration path and the words
// behind it, which are echoed and ignored as they always were.
#ifndef PRECHECK_APP_COMMAND_LINE_H_
#define PRECHECK_APP_COMMAND_LINE_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "survey/survey.h"

enum class Action {
  nothing,      // no word at all
  run,          // the checks on the configuration
  checkConfig,  // how the configuration is read, without the checks
  help,
  version,
  usageError,
};

// Whether the terminal shows colours: by default unless NO_COLOR is set and not empty.
enum class ColourChoice { automatic, always, never };

struct CommandLine {
  Action action = Action::nothing;
  std::string configPath;
  std::vector<std::string> echoed;  // the words after the configuration path
  std::string tablePath;            // --table; empty when not asked for
  std::string mapPath;              // --geojson; empty when not asked for
  std::string surveyPath;           // --survey; empty when not asked for
  bool strict = false;              // --strict: survey findings fail a passing run
  SurveySettings survey;            // the survey's thresholds
  std::string pagePath;             // --report; empty when not asked for
  unsigned threads = 0;             // --threads; 0 when not given
  std::vector<std::string> ignore;  // --ignore patterns, in order
  // --read-timeout, as given and in milliseconds; empty and 0 when not given.
  std::string readTimeoutText;
  std::uint64_t readTimeoutMilliseconds = 0;
  ColourChoice colour = ColourChoice::automatic;  // --color
  std::string problem;              // what is wrong, for Action::usageError
};

// Reads the words after the program name. A word is an option only before the
// configuration path and only when nothing of that name exists (`exists`), so that
// every command line that named a configuration before there were options keeps its
// meaning.
CommandLine parseCommandLine(const std::vector<std::string>& words,
                             const std::function<bool(const std::string&)>& exists);

// One option: its names, whether it takes a value, its line of help, and what it does
// to the command line. Adding an option is a row of kOptions and its `take` function.
struct Option {
  const char* name;   // "--table"
  const char* alias;  // "-h", or null
  const char* value;  // what the value is called in the help ("FILE"); null: no value
  const char* help;   // for --help; "\n" starts another line of it
  // Takes the option, with its value when it has one; returns what is wrong, or empty.
  std::string (*take)(CommandLine& command, const std::string& value);
};

extern const Option kOptions[];
extern const std::size_t kOptionCount;

// Whether `word` names an option, as `--table`, `--table=x.csv` or `-h`: behind the
// configuration path such a word is only echoed, which people at a terminal are told.
bool namesAnOption(const std::string& word);

// A number of image reading workers, from 1 to kMostThreads, in decimal digits only.
inline constexpr unsigned kMostThreads = 256;
bool parseThreadCount(const std::string& text, unsigned& threads);

// A time limit in seconds, above 0 and at most kMostReadTimeoutSeconds, in decimal
// digits with up to three after a point ("60", "0.5").
inline constexpr std::uint64_t kMostReadTimeoutSeconds = 86400;
bool parseReadTimeout(const std::string& text, std::uint64_t& milliseconds);

#endif  // PRECHECK_APP_COMMAND_LINE_H_

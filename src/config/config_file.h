// The task configuration file: lines of key=value. Key names mean nothing to the
// program; a value's setting is chosen by the place of its key in byte order.
#ifndef PRECHECK_CONFIG_CONFIG_FILE_H_
#define PRECHECK_CONFIG_CONFIG_FILE_H_

#include <fstream>
#include <istream>
#include <map>
#include <string>
#include <vector>

#include "common/console.h"

// std::string compares as unsigned bytes, which is the order the settings rely on.
using ConfigMap = std::map<std::string, std::string>;

// Opens the configuration file for reading as text. A FIFO or a device is refused,
// not opened: the open of a FIFO waits for a writer that may never come, and a device
// such as /dev/zero never ends. Returns whether `stream` is open.
bool openConfigFile(const std::string& path, std::ifstream& stream);

// Empties `map`, then fills it from the file at `path`; the last line of a key wins.
// Returns false (after printing "file open error") when the file cannot be opened.
bool readConfigFile(const std::string& path, ConfigMap& map, Console& console);

// Fills `map` from the lines of `in`, which is read to its end; the last line of a
// key wins. readConfigFile's reading, apart from the file.
void readConfigLines(std::istream& in, ConfigMap& map);

// Splits one line into a trimmed key and value. Returns false for a line that holds
// no entry: empty, a comment, no "=" before any "#", or an empty key.
bool parseConfigLine(const std::string& line, std::string& key, std::string& value);

// Removes spaces and tabs at both ends, in place.
void trimBlanks(std::string& text);

// Appends the values in ascending key order and echoes each entry as key=value.
void listConfigValues(const ConfigMap& map, std::vector<std::string>& values,
                      Console& console);

#endif  // PRECHECK_CONFIG_CONFIG_FILE_H_

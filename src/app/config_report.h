// The configuration as people need to see it: `precheck --check-config`, and the
// lines a run writes on standard error about values that look wrong.
#ifndef PRECHECK_APP_CONFIG_REPORT_H_
#define PRECHECK_APP_CONFIG_REPORT_H_

#include <string>

#include "common/console.h"
#include "config/config_file.h"

// Prints every key of the configuration at `path` in sorted order with its value,
// the setting it binds to and that setting's state (check on or off, folder there or
// not), then what looks wrong. Runs no check and writes nothing. Returns the exit
// code: 0 when nothing looks wrong, 1 otherwise or when the file cannot be opened.
int checkConfiguration(const std::string& path, Console& console);

// One line on standard error for each entry of `entries` that looks wrong. Returns
// whether one of them stops the run.
bool warnAboutConfig(const ConfigEntries& entries);

#endif  // PRECHECK_APP_CONFIG_REPORT_H_

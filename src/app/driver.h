#ifndef PRECHECK_APP_DRIVER_H_
#define PRECHECK_APP_DRIVER_H_

// Runs one pre-check as the command line asks and returns the process result:
// 0 when the batch passed (or no configuration path was given), 1 otherwise.
int runPrecheck(int argc, char** argv);

#endif  // PRECHECK_APP_DRIVER_H_

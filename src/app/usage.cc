#include "app/usage.h"

#include "app/command_line.h"
#include "load/image_loader.h"

// The build passes the project's version in; see CMakeLists.txt.
#ifndef PRECHECK_VERSION
#error "PRECHECK_VERSION must be defined by the build"
#endif

std::string usageText() {
  return std::string() +
         "Usage: precheck [OPTION]... TASK.CFG\n"
         "Checks a batch of photographs before photogrammetric processing: that all\n"
         "images share one pixel resolution and one camera make, that none has a zero or\n"
         "missing focal length, and that each carries a usable GPS position. Prints what it\n"
         "finds and writes error.json into the output folder.\n"
         "\n"
         "TASK.CFG holds lines of key=value. The key names mean nothing; the keys sorted\n"
         "byte by byte give the values their meaning:\n"
         "  1st  focal length check  on when the value is exactly \"true\"\n"
         "  2nd  GPS check           on when exactly \"true\"\n"
         "  3rd  camera make check   on when exactly \"true\"\n"
         "  4th  resolution check    on when exactly \"true\"\n"
         "  5th  input folder        every file below it, at any depth, is checked\n"
         "  6th  output folder       receives error.json; created when missing\n"
         "For example:\n"
         "  1focal=true\n"
         "  2gps=true\n"
         "  3make=true\n"
         "  4resolution=true\n"
         "  5input=survey/images\n"
         "  6output=survey/check\n"
         "\n"
         "Options, before TASK.CFG only:\n"
         "  -h, --help          print this text and exit\n"
         "      --version       print the version and exit\n"
         "      --check-config  show which setting each key binds to and what looks\n"
         "                      wrong, without running the checks\n"
         "      --table FILE    also write a CSV table, one row per image\n"
         "      --geojson FILE  also write the image positions as GeoJSON points\n"
         "      --threads N     read images with N workers, 1 to " +
         std::to_string(kMostThreads) + " (default " + std::to_string(kDefaultLoadWorkers) +
         ",\n"
         "                      or the environment variable PRECHECK_THREADS)\n"
         "      --              take the next word as TASK.CFG even if it starts with -\n"
         "\n"
         "Exit codes:\n"
         "  0  the batch passed: every check that ran passed, and files were found\n"
         "  1  a check found offending images, no file was found, the configuration\n"
         "     could not be read, or the file of --table or --geojson could not be\n"
         "     written; with --check-config: something in the configuration looks wrong\n"
         "  2  the command line could not be understood\n"
         "\n"
         "More in the manual page precheck(1) and in README.md.";
}

const char* versionText() { return "precheck " PRECHECK_VERSION; }

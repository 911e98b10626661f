// The files the command line asks for beside error.json (--table, --geojson, --report): where each
// goes, checked before the run does any work, so that none of them destroys an input.
#ifndef PRECHECK_APP_ASKED_FILES_H_
#define PRECHECK_APP_ASKED_FILES_H_

#include <string>
#include <vector>

#include "app/command_line.h"
#include "checks/checks.h"
#include "config/task_config.h"
#include "load/image_records.h"
#include "report/survey_report.h"
#include "scan/image_scan.h"

// What a run found, for the files that show it.
struct RunFindings {
  ImageRecords& images;
  const std::string& inputFolder;
  const CheckOutcomes& checks;
  const std::string& reportPath;  // where error.json goes
  bool reportWritten;
  const SurveyOfRun& survey;
};

struct AskedFileKind {
  const char* option;  // "--table"
  const char* what;    // "table", as people call it
  std::string CommandLine::*path;
  // The first bytes of every such file this program writes: a file below the input
  // folder that starts otherwise is not one of ours, and is never replaced.
  const char* signature;
  std::string (*text)(const RunFindings& findings);
};

std::string tableText(const RunFindings& findings);
std::string mapText(const RunFindings& findings);
std::string surveyText(const RunFindings& findings);
std::string pageText(const RunFindings& findings);

inline const AskedFileKind kAskedFileKinds[] = {
    {"--table", "table", &CommandLine::tablePath, "file,status,reason,", tableText},
    {"--geojson", "map", &CommandLine::mapPath, "{\"type\":\"FeatureCollection\"", mapText},
    {"--survey", "survey", &CommandLine::surveyPath, "{\"images\":", surveyText},
    {"--report", "HTML page", &CommandLine::pagePath, "<!DOCTYPE html>", pageText},
};

struct AskedFile {
  const AskedFileKind* kind;
  std::string path;
  // Written into what stands there (a FIFO, a device, standard output), never replaced.
  bool stream = false;
};

struct AskedFilesPlan {
  std::vector<AskedFile> files;
  // The run's own files, which the scan leaves out: the report, and the asked files
  // that lie below the input folder.
  std::vector<OwnFile> ownFiles;
  // Why the command line is refused, as one line for standard error; empty when not.
  std::string refusal;
};

// Checks every asked file's path: a folder, the configuration file, the report, another
// asked file, and a file below the input folder that this program did not write are
// refused; "-", a FIFO and a device are written through.
AskedFilesPlan planAskedFiles(const CommandLine& command, const TaskConfig& config,
                              const std::string& reportName);

// Writes an asked file as its plan says. False when it could not be written.
bool writeAskedFile(const AskedFile& file, const std::string& bytes);

#endif  // PRECHECK_APP_ASKED_FILES_H_

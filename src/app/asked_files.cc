#include "app/asked_files.h"

#include "platform/platform.h"
#include "report/image_table.h"
#include "report/report_page.h"

namespace {

bool sameId(const platform::FolderId& a, const platform::FolderId& b) {
  return a.known && b.known && a.volume == b.volume && a.index == b.index;
}

// Whether two paths name one file: the same file when both exist, else the same name in
// the same folder, else the same text.
bool sameFile(const std::string& a, const std::string& b) {
  const platform::FileFacts factsA = platform::fileFactsOf(a);
  const platform::FileFacts factsB = platform::fileFactsOf(b);
  if (factsA.id.known && factsB.id.known) return sameId(factsA.id, factsB.id);
  const platform::PathParts partsA = platform::splitPath(a);
  const platform::PathParts partsB = platform::splitPath(b);
  const platform::FolderId folderA = platform::folderIdOf(partsA.folder);
  const platform::FolderId folderB = platform::folderIdOf(partsB.folder);
  if (folderA.known && folderB.known) {
    return sameId(folderA, folderB) && platform::namesSameFile(partsA.name, partsB.name);
  }
  return a == b;
}

// Whether `folder` is `ancestor` or lies below it, links followed: each step up is the
// folder's "..", as the system resolves it.
bool isWithin(const std::string& folder, const platform::FolderId& ancestor) {
  std::string at = folder;
  platform::FolderId below;
  for (int depth = 0; depth < 1024; ++depth) {
    const platform::FolderId id = platform::folderIdOf(at);
    if (!id.known) return false;
    if (sameId(id, ancestor)) return true;
    if (sameId(id, below)) return false;  // the root, its own parent
    below = id;
    at = platform::joinPath(at, "..");
  }
  return false;
}

// Why `file` must not be written, or empty.
std::string refusalOf(const AskedFile& file, const std::vector<AskedFile>& earlier,
                      const std::string& configPath, const std::string& reportPath,
                      const platform::FolderId& inputFolder, bool& belowInput) {
  const platform::FileFacts facts = platform::fileFactsOf(file.path);
  if (facts.type == platform::FileType::folder) return "that is a folder";
  if (facts.type == platform::FileType::other) {
    return "that is neither a file nor a stream (a socket, a block device or a link to "
           "nothing)";
  }
  if (sameFile(file.path, configPath)) return "that is the configuration file";
  if (sameFile(file.path, reportPath)) return "that is the report of this run, error.json";
  for (const AskedFile& other : earlier) {
    if (!other.stream && sameFile(file.path, other.path)) {
      return std::string("that is also the file of ") + other.kind->option;
    }
  }
  belowInput = isWithin(platform::splitPath(file.path).folder, inputFolder);
  if (belowInput && facts.type == platform::FileType::regular) {
    const std::string signature = file.kind->signature;
    if (platform::fileHead(file.path, signature.size()) != signature) {
      return "that is a file below the input folder, an image of the batch";
    }
  }
  return std::string();
}

}  // namespace

AskedFilesPlan planAskedFiles(const CommandLine& command, const TaskConfig& config,
                              const std::string& reportName) {
  AskedFilesPlan plan;
  plan.ownFiles.push_back(OwnFile{config.outputFolder, reportName});
  const std::string reportPath = platform::joinPath(config.outputFolder, reportName);
  const platform::FolderId inputFolder = platform::folderIdOf(config.inputFolder);
  const platform::FolderId standardOutput = platform::standardOutputId();
  for (const AskedFileKind& kind : kAskedFileKinds) {
    AskedFile file{&kind, command.*kind.path};
    if (file.path.empty()) continue;
    const platform::FileFacts facts = platform::fileFactsOf(file.path);
    file.stream = file.path == "-" || facts.type == platform::FileType::stream ||
                  sameId(facts.id, standardOutput);
    if (!file.stream) {
      bool belowInput = false;
      const std::string why = refusalOf(file, plan.files, command.configPath, reportPath,
                                        inputFolder, belowInput);
      if (!why.empty()) {
        plan.refusal = std::string(kind.option) + " " + file.path + ": " + why + "; write the " +
                       kind.what + " elsewhere";
        return plan;
      }
      if (belowInput) {
        const platform::PathParts parts = platform::splitPath(file.path);
        plan.ownFiles.push_back(OwnFile{parts.folder, parts.name});
      }
    }
    plan.files.push_back(file);
  }
  return plan;
}

bool writeAskedFile(const AskedFile& file, const std::string& bytes) {
  if (file.stream) return platform::writeThrough(file.path, bytes);
  return platform::replaceFile(file.path, bytes);
}

std::string tableText(const RunFindings& findings) {
  return imageTableText(findings.images, findings.inputFolder, findings.checks, findings.survey);
}

std::string mapText(const RunFindings& findings) {
  return imageMapText(findings.images, findings.inputFolder, findings.checks, findings.survey);
}

std::string surveyText(const RunFindings& findings) { return surveyJsonText(findings.survey); }
std::string pageText(const RunFindings& findings) {
  // The survey's images are the run's, in list order, whenever it ran.
  const bool surveyed = findings.survey.result.images == findings.images.size() &&
                        findings.survey.result.perImage.size() == findings.images.size();
  return reportPageText(PageFacts{findings.images, findings.inputFolder, findings.checks,
                                  findings.reportPath, findings.reportWritten,
                                  surveyed ? &findings.survey.result : nullptr});
}

#include "app/run_summary.h"

namespace {

std::string counted(std::size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

// "  label:" padded to the column where the values start.
std::string label(const std::string& name) {
  const std::string text = "  " + name + ":";
  return text + std::string(text.size() < 17 ? 17 - text.size() : 1, ' ');
}

// Where a file went, or that it could not be written.
void writeFileLine(Console& console, const std::string& name, bool written,
                   const std::string& path) {
  console.writeLine(
      {own(label(name)), own(written ? "written to " : "could not be written to "), outside(path)});
}

}  // namespace

void printSummary(const RunSummary& summary, Console& console) {
  console.writeLine({});
  console.writeLine({own("Summary")});
  for (std::size_t row = 0; row < kCheckCount; ++row) {
    const std::optional<Offending>& offending = summary.checks.byCheck[row];
    const std::string found = offending ? counted(summary.images, "image", "images") + ", " +
                                              std::to_string(offending->size()) + " offending"
                                        : std::string("not run");
    console.writeLine({own(label(kChecks[row].name)), own(found)});
  }
  console.writeLine(
      {own(label("not readable")), own(counted(summary.unreadable, "file", "files"))});
  const char* verdicts[] = {summary.checks.anyRan() ? "passed" : "passed, but no check ran",
                            "not passed: offending images",
                            "not passed: no file below the input folder"};
  console.writeLine({own(label("verdict")), own(verdicts[static_cast<int>(summary.verdict)]),
                     own(" (exit code "), own(std::to_string(summary.exitCode)), own(")")});
  if (summary.verdict == Verdict::passed) {
    console.writeLine({own(label("error.json")), own("not written, since the batch passed")});
  } else {
    writeFileLine(console, "error.json", summary.reportWritten, summary.reportPath);
  }
  for (const RunSummary::AskedFile& file : summary.askedFiles) {
    writeFileLine(console, file.what, file.written, file.path);
  }
}

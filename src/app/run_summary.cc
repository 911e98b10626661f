#include "app/run_summary.h"

namespace {

std::string counted(std::size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

void printSummary(const RunSummary& summary, Console& console) {
  const char* checkNames[4] = {"  resolution:    ", "  camera make:   ", "  focal length:  ",
                               "  GPS:           "};
  console.writeLine({});
  console.writeLine({own("Summary")});
  for (int check = 0; check < 4; ++check) {
    const std::optional<std::size_t>& offending = summary.offending[check];
    const std::string found =
        offending ? counted(summary.images, "image", "images") + ", " +
                        std::to_string(*offending) + " offending"
                  : std::string("not run");
    console.writeLine({own(checkNames[check]), own(found)});
  }
  console.writeLine({own("  not readable:  "), own(counted(summary.unreadable, "file", "files"))});
  const char* verdicts[] = {"passed", "not passed: offending images",
                            "not passed: no file below the input folder"};
  console.writeLine({own("  verdict:       "), own(verdicts[static_cast<int>(summary.verdict)]),
                     own(" (exit code "), own(std::to_string(summary.exitCode)), own(")")});
  if (summary.verdict == Verdict::passed) {
    console.writeLine({own("  error.json:    not written, since the batch passed")});
  } else {
    console.writeLine({own(summary.reportWritten ? "  error.json:    written to "
                                                 : "  error.json:    could not be written to "),
                       outside(summary.reportPath)});
  }
}

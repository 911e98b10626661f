// A batch that hostile conditions could leave on a survey laptop or a share: damaged
// variants of real photographs and of built files, and awkward folder content.
#ifndef PRECHECK_TESTS_HOSTILE_HOSTILE_BATCH_H_
#define PRECHECK_TESTS_HOSTILE_HOSTILE_BATCH_H_

#include <cstdint>
#include <set>
#include <string>

struct HostileScale {
  int flipsPerSource = 0;        // bit-flip variants of each source file
  int entryDamagePerSource = 0;  // variants with damaged directory entries
  int filesInOneFolder = 0;      // small files side by side in one folder
  int largeDirectoryFiles = 0;   // blocks full of block-sized values (at most 4)
};

// A few seconds under the sanitizers, for every test run.
HostileScale smallScale();
// Thousands of variants and 100,000 files in one folder.
HostileScale bigScale();

struct HostileBatch {
  int files = 0;                // files written, special files and links included
  std::set<std::string> names;  // every name the program may show for one of them: the
                                // text after the last "/" or "\" of its path
  std::set<std::string> mustBeRead;  // names of files the run must list and read
  std::string leased;  // a file to hold a write lease on during the run, below the folder
};

// Writes the batch into `folder`, which exists and is empty, from the photographs in
// `corpusFolder`. The same seed gives the same batch.
HostileBatch writeHostileBatch(const std::string& folder, const std::string& corpusFolder,
                               const HostileScale& scale, std::uint32_t seed);

#endif  // PRECHECK_TESTS_HOSTILE_HOSTILE_BATCH_H_

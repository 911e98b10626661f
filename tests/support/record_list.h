// Image records held in a list, for tests that run the checks in-process.
#ifndef PRECHECK_TESTS_SUPPORT_RECORD_LIST_H_
#define PRECHECK_TESTS_SUPPORT_RECORD_LIST_H_

#include <string>
#include <utility>
#include <vector>

#include "load/image_records.h"

class RecordList final : public ImageRecords {
 public:
  void add(std::string path, ImageRecord record) {
    paths_.push_back(std::move(path));
    records_.push_back(std::move(record));
  }

  std::size_t size() const override { return records_.size(); }
  const std::string& path(std::size_t index) const override { return paths_[index]; }
  const ImageRecord& record(std::size_t index) override { return records_[index]; }

 private:
  std::vector<std::string> paths_;
  std::vector<ImageRecord> records_;
};

#endif  // PRECHECK_TESTS_SUPPORT_RECORD_LIST_H_

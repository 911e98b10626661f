// The images of a run, telling how many have been handed to the checks so far: what a
// progress bar shows. The first check takes every record in order; later ones take
// records already read, which move nothing.
#ifndef PRECHECK_APP_COUNTED_RECORDS_H_
#define PRECHECK_APP_COUNTED_RECORDS_H_

#include <cstddef>
#include <functional>
#include <string>
#include <utility>

#include "load/image_records.h"

class CountedRecords final : public ImageRecords {
 public:
  using Progress = std::function<void(std::size_t done, std::size_t all)>;

  CountedRecords(ImageRecords& images, Progress progress)
      : images_(images), progress_(std::move(progress)) {}

  std::size_t size() const override { return images_.size(); }
  const std::string& path(std::size_t index) const override { return images_.path(index); }
  const ImageRecord& record(std::size_t index) override {
    const ImageRecord& record = images_.record(index);
    if (index + 1 > done_) {
      done_ = index + 1;
      progress_(done_, images_.size());
    }
    return record;
  }
  bool readWholeMake(std::size_t index,
                     const std::function<void(std::string_view)>& take) override {
    return images_.readWholeMake(index, take);
  }

 private:
  ImageRecords& images_;
  const Progress progress_;
  std::size_t done_ = 0;
};

#endif  // PRECHECK_APP_COUNTED_RECORDS_H_

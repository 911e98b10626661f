// The images of a run as the checks take them: in list order, each with its path and
// its record, read once for the whole run.
#ifndef PRECHECK_LOAD_IMAGE_RECORDS_H_
#define PRECHECK_LOAD_IMAGE_RECORDS_H_

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "load/image_record.h"

class ImageRecords {
 public:
  virtual ~ImageRecords() = default;

  virtual std::size_t size() const = 0;
  virtual const std::string& path(std::size_t index) const = 0;

  // The record of image `index` (below size()). The first time, this may wait for the
  // image to be read; callers ask in list order, so that what is read ahead is used.
  virtual const ImageRecord& record(std::size_t index) = 0;

  // Hands the whole camera make of image `index`, whose record keeps only its start, to
  // `take` in pieces, read again from the image's file. False when the file no longer
  // gives it; records without files have none to read.
  virtual bool readWholeMake(std::size_t /*index*/,
                             const std::function<void(std::string_view)>& /*take*/) {
    return false;
  }
};

#endif  // PRECHECK_LOAD_IMAGE_RECORDS_H_

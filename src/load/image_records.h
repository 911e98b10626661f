// The images of a run as the checks take them: in list order, each with its path and
// its record, read once for the whole run.
#ifndef PRECHECK_LOAD_IMAGE_RECORDS_H_
#define PRECHECK_LOAD_IMAGE_RECORDS_H_

#include <cstddef>
#include <string>

#include "load/image_record.h"

class ImageRecords {
 public:
  virtual ~ImageRecords() = default;

  virtual std::size_t size() const = 0;
  virtual const std::string& path(std::size_t index) const = 0;

  // The record of image `index` (below size()). The first time, this may wait for the
  // image to be read; callers ask in list order, so that what is read ahead is used.
  virtual const ImageRecord& record(std::size_t index) = 0;
};

#endif  // PRECHECK_LOAD_IMAGE_RECORDS_H_

// Reading one image: open it, read what its EXIF block needs, parse, keep the record.
#ifndef PRECHECK_LOAD_LOAD_IMAGE_H_
#define PRECHECK_LOAD_LOAD_IMAGE_H_

#include <memory>
#include <string>

#include "load/file_bytes.h"
#include "load/image_record.h"
#include "platform/platform.h"

// The record of the image at `path`, opened by its native path. Never fails as a
// whole: whatever stops one image (it is gone, unreadable, larger than 2 GiB, or its
// parse cannot get memory) is the record's skip reason, and the run goes on with the
// next. With `keepDetails` the record also holds what the table, the map, the page and
// the survey show (model, capture time, frame size, the flight's XMP values); without
// it, only what the checks key on, which costs no read past the EXIF block. A thread
// that reads one image after another gives it `pieces` to read into, and a caller that
// keeps the details of many images gives `detailsInto`, the place for this one's.
ImageRecord loadImage(platform::ImageFiles& files, const std::string& path,
                      const platform::NativePath& native, bool keepDetails = false,
                      ReadPieces* pieces = nullptr,
                      std::shared_ptr<ImageDetails> detailsInto = nullptr);

#endif  // PRECHECK_LOAD_LOAD_IMAGE_H_

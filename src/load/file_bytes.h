// The bytes of one image file as the EXIF parser asks for them, read with positioned
// reads. The parser looks at the start of a file, its end and what its EXIF block
// points at: those ranges are read, a few pages each, and nothing else. On a share
// where every request waits a millisecond, two requests a file instead of dozens.
#ifndef PRECHECK_LOAD_FILE_BYTES_H_
#define PRECHECK_LOAD_FILE_BYTES_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "exif/byte_source.h"
#include "platform/platform.h"

// How much is read at a time, with page <= head <= wholeFile. The defaults suit
// photographs on disks and shares; tests and the fuzzer make them small, so that small
// inputs cross every boundary.
struct ReadSizes {
  std::uint64_t page = 4096;
  // One read of a file this small costs less than two reads of its ends.
  std::uint64_t wholeFile = 12 * 1024;
  // The EXIF block follows the start of the file; its directories and the values the
  // checks use lie in its first few kilobytes in the layouts of the cameras we know.
  std::uint64_t head = 8 * 1024;
  // A range the ends do not hold is read with some pages around it: the directory or
  // value next asked for is likely near.
  std::uint64_t other = 16 * 1024;
  // A range this long is asked for only by the searches through a file without an EXIF
  // block near its start: from the first on, the file is read from front to back.
  std::uint64_t inOrder = 64 * 1024;
};

// Bytes read from `start` on, in storage that outlives one file. Not cleared before a
// read: they are read over at once.
struct ReadPiece {
  std::uint64_t start = 0;
  std::size_t size = 0;
  std::unique_ptr<unsigned char[]> bytes;
  std::size_t capacity = 0;
  bool holds(std::uint64_t offset, std::size_t length) const {
    return offset >= start && offset - start <= size && length <= size - (offset - start);
  }
  const unsigned char* at(std::uint64_t offset) const { return bytes.get() + (offset - start); }
};

// The storage of a FileBytes, which a reading thread keeps from one file to the next:
// memory fresh from the system for each file cost the search through a file without
// metadata a sixth of its time in page faults.
struct ReadPieces {
  ReadPiece head;
  ReadPiece tail;
  // Other ranges, replaced in turn: a directory and the values it points at are often
  // apart.
  std::array<ReadPiece, 4> others;
  // The searches' pieces, each replacing the one before: they read a file in order.
  ReadPiece inOrder;
};

class FileBytes final : public ByteSource {
 public:
  // `pieces` outlives this; whatever it held is read over.
  FileBytes(platform::ImageFile& file, ReadPieces& pieces, const ReadSizes& sizes = {});
  // With storage of its own.
  explicit FileBytes(platform::ImageFile& file, const ReadSizes& sizes = {});

  // Reads the start and the end of the file, where the parser looks first: the whole
  // file when it is small, else its first pages and the page that holds its last
  // bytes. False when a read failed.
  bool readEnds();

  std::uint64_t size() const override { return size_; }
  const unsigned char* bytesAt(std::uint64_t offset, std::size_t length) override;
  bool copyTo(std::uint64_t offset, std::size_t length, unsigned char* destination) override;

  // True once any read has failed: then the parse saw gaps, and its result is void.
  bool failed() const { return failed_; }

 private:
  bool read(std::uint64_t start, std::size_t length, ReadPiece& piece);
  const ReadPiece* pieceHolding(std::uint64_t offset, std::size_t length) const;

  std::uint64_t pageStart(std::uint64_t offset) const { return offset - offset % sizes_.page; }

  platform::ImageFile& file_;
  std::uint64_t size_;
  ReadSizes sizes_;
  std::unique_ptr<ReadPieces> ownPieces_;
  ReadPieces& pieces_;
  std::size_t nextOther_ = 0;
  bool failed_ = false;
  bool inOrder_ = false;
};

#endif  // PRECHECK_LOAD_FILE_BYTES_H_

// The bytes a parse reads. A photograph on a slow share is not read whole: the parser
// asks for the ranges it needs and the source fetches them. A buffer in memory is a
// source too, for callers that hold the whole file.
#ifndef PRECHECK_EXIF_BYTE_SOURCE_H_
#define PRECHECK_EXIF_BYTE_SOURCE_H_

#include <cstddef>
#include <cstdint>

class ByteSource {
 public:
  virtual ~ByteSource() = default;

  virtual std::uint64_t size() const = 0;

  // The `length` bytes at `offset`, readable until the next call on this source.
  // nullptr when they do not all lie before size() or cannot be read; a source that
  // failed to read says so to its owner, who throws the parse away.
  virtual const unsigned char* bytesAt(std::uint64_t offset, std::size_t length) = 0;

  // Copies the `length` bytes at `offset` to `destination`, for values too long to be
  // held twice; false as bytesAt.
  virtual bool copyTo(std::uint64_t offset, std::size_t length, unsigned char* destination) = 0;
};

// A buffer the caller holds for as long as the source is used.
class MemoryBytes final : public ByteSource {
 public:
  MemoryBytes(const unsigned char* data, std::uint64_t length) : data_(data), length_(length) {}

  std::uint64_t size() const override { return length_; }
  const unsigned char* bytesAt(std::uint64_t offset, std::size_t length) override;
  bool copyTo(std::uint64_t offset, std::size_t length, unsigned char* destination) override;

 private:
  const unsigned char* data_;
  std::uint64_t length_;
};

#endif  // PRECHECK_EXIF_BYTE_SOURCE_H_

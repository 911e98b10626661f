#include "exif/byte_source.h"

#include <cstring>

const unsigned char* MemoryBytes::bytesAt(std::uint64_t offset, std::size_t length) {
  if (data_ == nullptr || offset > length_ || length > length_ - offset) return nullptr;
  return data_ + offset;
}

bool MemoryBytes::copyTo(std::uint64_t offset, std::size_t length, unsigned char* destination) {
  const unsigned char* bytes = bytesAt(offset, length);
  if (bytes == nullptr) return false;
  if (length > 0) std::memcpy(destination, bytes, length);
  return true;
}

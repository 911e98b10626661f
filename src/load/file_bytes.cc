#include "load/file_bytes.h"

#include <algorithm>
#include <cstring>

bool FileBytes::read(std::uint64_t start, std::size_t length, Piece& piece) {
  if (piece.capacity < length) {
    piece.bytes.reset(new unsigned char[length]);
    piece.capacity = length;
  }
  piece.start = start;
  piece.size = length;
  if (file_.readAt(start, length, piece.bytes.get())) return true;
  piece.size = 0;
  failed_ = true;
  return false;
}

bool FileBytes::readEnds() {
  if (size_ <= sizes_.wholeFile) return read(0, static_cast<std::size_t>(size_), head_);
  if (!read(0, static_cast<std::size_t>(sizes_.head), head_)) return false;
  // The page that holds the end marker, where the search for it starts.
  const std::uint64_t tailStart = std::max(sizes_.head, pageStart(size_ - 2));
  return read(tailStart, static_cast<std::size_t>(size_ - tailStart), tail_);
}

const FileBytes::Piece* FileBytes::pieceHolding(std::uint64_t offset, std::size_t length) const {
  if (head_.holds(offset, length)) return &head_;
  if (tail_.holds(offset, length)) return &tail_;
  for (const Piece& other : others_) {
    if (other.holds(offset, length)) return &other;
  }
  return nullptr;
}

const unsigned char* FileBytes::bytesAt(std::uint64_t offset, std::size_t length) {
  if (offset > size_ || length > size_ - offset) return nullptr;
  if (const Piece* piece = pieceHolding(offset, length)) return piece->at(offset);
  if (!inOrder_ && length >= sizes_.inOrder) {
    inOrder_ = true;
    file_.readOnInOrder();
  }
  const std::uint64_t start = pageStart(offset);
  const std::uint64_t end = std::min(size_, std::max(offset + length, start + sizes_.other));
  Piece& piece = others_[nextOther_];
  nextOther_ = (nextOther_ + 1) % others_.size();
  if (!read(start, static_cast<std::size_t>(end - start), piece)) return nullptr;
  return piece.at(offset);
}

bool FileBytes::copyTo(std::uint64_t offset, std::size_t length, unsigned char* destination) {
  if (offset > size_ || length > size_ - offset) return false;
  if (const Piece* piece = pieceHolding(offset, length)) {
    if (length > 0) std::memcpy(destination, piece->at(offset), length);
    return true;
  }
  // Straight into place: a long value is not held twice.
  if (file_.readAt(offset, length, destination)) return true;
  failed_ = true;
  return false;
}

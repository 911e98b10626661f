#include "load/file_bytes.h"

#include <algorithm>
#include <cstring>

FileBytes::FileBytes(platform::ImageFile& file, ReadPieces& pieces, const ReadSizes& sizes)
    : file_(file), size_(file.size()), sizes_(sizes), pieces_(pieces) {
  // What the pieces hold is another file's.
  pieces_.head.size = pieces_.tail.size = pieces_.inOrder.size = 0;
  for (ReadPiece& other : pieces_.others) other.size = 0;
}

FileBytes::FileBytes(platform::ImageFile& file, const ReadSizes& sizes)
    : file_(file), size_(file.size()), sizes_(sizes), ownPieces_(new ReadPieces),
      pieces_(*ownPieces_) {}

bool FileBytes::read(std::uint64_t start, std::size_t length, ReadPiece& piece) {
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
  if (size_ <= sizes_.wholeFile) return read(0, static_cast<std::size_t>(size_), pieces_.head);
  if (!read(0, static_cast<std::size_t>(sizes_.head), pieces_.head)) return false;
  // The page that holds the end marker, where the search for it starts.
  const std::uint64_t tailStart = std::max(sizes_.head, pageStart(size_ - 2));
  return read(tailStart, static_cast<std::size_t>(size_ - tailStart), pieces_.tail);
}

const ReadPiece* FileBytes::pieceHolding(std::uint64_t offset, std::size_t length) const {
  if (pieces_.head.holds(offset, length)) return &pieces_.head;
  if (pieces_.tail.holds(offset, length)) return &pieces_.tail;
  for (const ReadPiece& other : pieces_.others) {
    if (other.holds(offset, length)) return &other;
  }
  if (pieces_.inOrder.holds(offset, length)) return &pieces_.inOrder;
  return nullptr;
}

const unsigned char* FileBytes::bytesAt(std::uint64_t offset, std::size_t length) {
  if (offset > size_ || length > size_ - offset) return nullptr;
  if (const ReadPiece* piece = pieceHolding(offset, length)) return piece->at(offset);
  const bool searching = length >= sizes_.inOrder;
  if (searching && !inOrder_) {
    inOrder_ = true;
    file_.readOnInOrder();
  }
  const std::uint64_t start = pageStart(offset);
  const std::uint64_t end = std::min(size_, std::max(offset + length, start + sizes_.other));
  ReadPiece* piece = &pieces_.inOrder;
  if (!searching) {
    piece = &pieces_.others[nextOther_];
    nextOther_ = (nextOther_ + 1) % pieces_.others.size();
  }
  if (!read(start, static_cast<std::size_t>(end - start), *piece)) return nullptr;
  return piece->at(offset);
}

bool FileBytes::copyTo(std::uint64_t offset, std::size_t length, unsigned char* destination) {
  if (offset > size_ || length > size_ - offset) return false;
  if (const ReadPiece* piece = pieceHolding(offset, length)) {
    if (length > 0) std::memcpy(destination, piece->at(offset), length);
    return true;
  }
  // Straight into place: a long value is not held twice.
  if (file_.readAt(offset, length, destination)) return true;
  failed_ = true;
  return false;
}

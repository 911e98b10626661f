// SHA-256, for telling long texts apart without holding them: a camera make as long as
// its file is kept as its digest. A hostile file cannot make two makes collide, as it
// could with a checksum.
#ifndef PRECHECK_COMMON_SHA256_H_
#define PRECHECK_COMMON_SHA256_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

using Sha256Digest = std::array<std::uint8_t, 32>;

class Sha256 {
 public:
  Sha256();
  // Adds the next bytes of the message.
  void add(std::string_view bytes);
  // The digest of everything added; the object is spent afterwards.
  Sha256Digest finish();

 private:
  void compress(const std::uint8_t* block);

  std::uint32_t state_[8];
  std::uint8_t block_[64];
  std::size_t filled_ = 0;
  std::uint64_t length_ = 0;  // bytes added
};

#endif  // PRECHECK_COMMON_SHA256_H_

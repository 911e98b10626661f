#include "common/sha256.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string hex(const Sha256Digest& digest) {
  std::string text;
  for (const std::uint8_t byte : digest) {
    text += "0123456789abcdef"[byte >> 4];
    text += "0123456789abcdef"[byte & 15];
  }
  return text;
}

// The test vectors of FIPS 180-4's examples and NIST's long message, fed whole and in
// pieces that cross the 64-byte blocks at every offset.
TEST(Sha256, GivesTheStandardsDigests) {
  const std::pair<std::string, const char*> cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1000000, 'a'),
       "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto& [message, expected] : cases) {
    Sha256 whole;
    whole.add(message);
    EXPECT_EQ(hex(whole.finish()), expected) << message.size();
    Sha256 pieces;
    for (std::size_t at = 0, step = 1; at < message.size(); at += step, step = step % 97 + 1) {
      pieces.add(std::string_view(message).substr(at, step));
    }
    EXPECT_EQ(hex(pieces.finish()), expected) << message.size();
  }
}

}  // namespace

// The block checksum: every way the machine can compute it gives the same
// value, whatever the length and alignment, and the changes a rewrite of a
// block makes (one byte, two words or two stripes trading places, a longer
// run of the same bytes) change it.
#include "platform/checksum.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>

namespace vintorel {
namespace {

const vector_way ways[] = {vector_way::portable, vector_way::sse2, vector_way::avx2, vector_way::avx512};

std::string random_bytes(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (auto& b : bytes) b = static_cast<char>(random());
  return bytes;
}

TEST(block_checksum, every_way_agrees_at_every_length_and_alignment) {
  const std::string bytes = random_bytes(65536 + 64, 7);
  std::vector<std::size_t> sizes;
  for (std::size_t size = 0; size <= 200; ++size) sizes.push_back(size);
  for (std::size_t size : {1000, 4095, 65535, 65536}) sizes.push_back(size);
  for (std::size_t size : sizes) {
    for (std::size_t shift : {0, 3, 8}) {
      const std::uint64_t expected = block_checksum_by(vector_way::portable, bytes.data() + shift, size);
      EXPECT_EQ(block_checksum(bytes.data() + shift, size), expected) << size << " at " << shift;
      for (vector_way way : ways) {
        if (!vector_way_available(way)) continue;
        EXPECT_EQ(block_checksum_by(way, bytes.data() + shift, size), expected)
            << size << " at " << shift << " way " << static_cast<int>(way);
      }
    }
  }
}

TEST(block_checksum, a_rewritten_block_changes_it) {
  const std::string block = random_bytes(65536, 11);
  const std::uint64_t original = block_checksum(block.data(), block.size());
  std::set<std::uint64_t> seen{original};
  // One bit of one byte, in the stripes and in the tail behind them.
  for (std::size_t at : {std::size_t{0}, std::size_t{31}, std::size_t{32767}, std::size_t{65535}}) {
    for (int bit : {0, 7}) {
      std::string changed = block;
      changed[at] = static_cast<char>(changed[at] ^ (1 << bit));
      EXPECT_TRUE(seen.insert(block_checksum(changed.data(), changed.size())).second) << at << " bit " << bit;
    }
  }
  std::string tail = block.substr(0, 100);
  const std::uint64_t tail_sum = block_checksum(tail.data(), tail.size());
  tail[99] = static_cast<char>(tail[99] ^ 1);
  EXPECT_NE(block_checksum(tail.data(), tail.size()), tail_sum);
  // Two lines of equal length that trade places: whole stripes, or words of one stripe.
  std::string stripes = block;
  std::swap_ranges(stripes.begin() + 64, stripes.begin() + 128, stripes.begin() + 640);
  EXPECT_TRUE(seen.insert(block_checksum(stripes.data(), stripes.size())).second);
  std::string words = block;
  std::swap_ranges(words.begin(), words.begin() + 8, words.begin() + 16);
  EXPECT_TRUE(seen.insert(block_checksum(words.data(), words.size())).second);
  // Runs of NUL bytes (holes) of different lengths.
  const std::string zeros(65536, '\0');
  for (std::size_t size : {0, 1, 64, 65, 65536}) EXPECT_TRUE(seen.insert(block_checksum(zeros.data(), size)).second);
}

}  // namespace
}  // namespace vintorel

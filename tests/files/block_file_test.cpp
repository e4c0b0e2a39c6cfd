// Tests of the block-cached file reader: ranges across blocks, the end of the
// file, a file truncated after it was opened.
#include "platform/block_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "scratch_dir.h"

namespace vintorel {
namespace {

TEST(block_file, ranges_across_blocks_the_end_of_the_file_and_a_truncation_on_the_disk) {
  test_support::scratch_dir dir;
  block_file file;
  const std::size_t size = block_file::block_size * 7 + 123;  // more blocks than the cache holds
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  ASSERT_TRUE(open_block_file(file, dir.write("f", bytes)));
  EXPECT_EQ(file.size, size);
  const std::uint64_t ranges[][2] = {{65535, 2}, {10, 65536 * 3}, {size - 123, 123}, {0, size}, {size, 0}};
  // Twice, so the second round finds some blocks cached and evicts others.
  for (int round = 0; round < 2; ++round) {
    for (const auto& r : ranges) {
      std::string got(r[1], '\0');
      ASSERT_TRUE(read_at(file, r[0], got.data(), r[1])) << r[0] << "+" << r[1];
      EXPECT_EQ(got, bytes.substr(r[0], r[1])) << r[0] << "+" << r[1];
    }
  }
  char buffer[8] = "xxxxxxx";
  EXPECT_FALSE(read_at(file, size - 1, buffer, 2));
  EXPECT_FALSE(read_at(file, UINT64_MAX, buffer, 2));
  EXPECT_EQ(std::string(buffer), "xxxxxxx");
  EXPECT_FALSE(file.changed);  // a bad request is not a change of the file
  EXPECT_TRUE(block_file_unchanged(file));

  // Truncated on the disk: seen at the next disk read, and it sticks.
  ASSERT_EQ(truncate((dir / "f").c_str(), 10), 0);
  EXPECT_FALSE(read_at(file, block_file::block_size, buffer, 1));
  EXPECT_TRUE(file.changed);
  EXPECT_FALSE(read_at(file, 0, buffer, 1));
  EXPECT_FALSE(block_file_unchanged(file));
}

}  // namespace
}  // namespace vintorel

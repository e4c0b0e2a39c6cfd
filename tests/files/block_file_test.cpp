// Tests of the block-cached file reader: ranges across blocks, the end of the
// file, files that are not regular, offsets beyond 4 GiB, changes on the disk.
#include "platform/block_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "scratch_dir.h"

namespace vintorel {
namespace {

using test_support::scratch_dir;
using test_support::write_bytes;

std::string pattern_bytes(std::size_t count) {
  std::string bytes(count, '\0');
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  return bytes;
}

TEST(block_file, reads_any_range_across_block_borders) {
  scratch_dir dir;
  const std::size_t size = block_file::block_size * 7 + 123;  // more blocks than the cache holds
  std::string bytes = pattern_bytes(size);
  ASSERT_TRUE(write_bytes(dir / "f", bytes));
  block_file file;
  ASSERT_TRUE(open_block_file(file, dir / "f"));
  EXPECT_EQ(file.size, size);
  const std::uint64_t ranges[][2] = {
      {0, 1},          {65535, 2},          {65536, 65536},   {10, 65536 * 3},  // three borders
      {size - 1, 1},   {size - 123, 123},   {0, size},        {65536 * 5 - 1, 1},
      {65536 * 2, 0},  {size, 0},           {100, 50},        {65536 * 6 + 5, 500}};
  // Twice, so the second round finds some blocks cached and evicts others.
  for (int round = 0; round < 2; ++round) {
    for (const auto& r : ranges) {
      std::string got(r[1], '\0');
      ASSERT_TRUE(read_at(file, r[0], got.data(), r[1])) << r[0] << "+" << r[1];
      EXPECT_EQ(got, bytes.substr(r[0], r[1])) << r[0] << "+" << r[1];
    }
  }
  EXPECT_TRUE(block_file_unchanged(file));
}

TEST(block_file, reading_past_the_end_fails_without_touching_the_rest) {
  scratch_dir dir;
  ASSERT_TRUE(write_bytes(dir / "f", "hello"));
  block_file file;
  ASSERT_TRUE(open_block_file(file, dir / "f"));
  char buffer[8] = "xxxxxxx";
  EXPECT_FALSE(read_at(file, 3, buffer, 3));
  EXPECT_FALSE(read_at(file, 6, buffer, 0));
  EXPECT_FALSE(read_at(file, UINT64_MAX, buffer, 2));
  EXPECT_TRUE(read_at(file, 3, buffer, 2));
  EXPECT_EQ(std::string(buffer, 2), "lo");
  EXPECT_FALSE(file.changed);  // a bad request is not a change of the file
}

TEST(block_file, only_regular_files_open) {
  scratch_dir dir;
  block_file file;
  EXPECT_FALSE(open_block_file(file, dir / "missing"));
  EXPECT_FALSE(open_block_file(file, dir.dir()));  // a directory
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
  EXPECT_FALSE(open_block_file(file, dir / "fifo"));  // and it does not wait for a writer
  ASSERT_TRUE(write_bytes(dir / "plain", "x"));
  EXPECT_FALSE(open_block_file(file, dir / "plain/below"));
  EXPECT_FALSE(is_open(file));
}

TEST(block_file, a_truncation_is_seen_at_the_next_disk_read_and_sticks) {
  scratch_dir dir;
  std::string bytes = pattern_bytes(block_file::block_size * 3);
  ASSERT_TRUE(write_bytes(dir / "f", bytes));
  block_file file;
  ASSERT_TRUE(open_block_file(file, dir / "f"));
  char c;
  ASSERT_TRUE(read_at(file, 0, &c, 1));
  ASSERT_EQ(truncate((dir / "f").c_str(), 10), 0);
  EXPECT_FALSE(read_at(file, block_file::block_size * 2, &c, 1));
  EXPECT_TRUE(file.changed);
  EXPECT_FALSE(read_at(file, 0, &c, 1));
  EXPECT_FALSE(block_file_unchanged(file));
}

TEST(block_file, offsets_beyond_four_gibibytes_in_a_sparse_file) {
  scratch_dir dir;
  const std::uint64_t far = (std::uint64_t{1} << 32) + 300 * 1000 * 1000ull;  // about 4.3 GiB
  int fd = open((dir / "sparse").c_str(), O_WRONLY | O_CREAT, 0600);
  ASSERT_GE(fd, 0);
  const char tail[] = "far away";
  // A hole up to `far`, then a few bytes; the file takes almost no space.
  bool written = pwrite(fd, tail, 8, static_cast<off_t>(far)) == 8 &&
                 pwrite(fd, "x", 1, static_cast<off_t>(std::uint64_t{1} << 32) - 1) == 1;
  close(fd);
  if (!written) GTEST_SKIP() << "no sparse files of this size here";
  block_file file;
  ASSERT_TRUE(open_block_file(file, dir / "sparse"));
  EXPECT_EQ(file.size, far + 8);
  char buffer[9] = {};
  ASSERT_TRUE(read_at(file, far, buffer, 8));
  EXPECT_STREQ(buffer, "far away");
  ASSERT_TRUE(read_at(file, (std::uint64_t{1} << 32) - 2, buffer, 3));
  EXPECT_EQ(std::string(buffer, 3), std::string("\0x\0", 3));
  EXPECT_FALSE(read_at(file, far + 1, buffer, 8));
}

}  // namespace
}  // namespace vintorel

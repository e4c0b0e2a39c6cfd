// Tests of whole reads and writes through a file descriptor: short and
// interrupted writes, and the read limit.
#include "platform/fd_io.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "scratch_dir.h"

namespace vintorel {
namespace {

// A write(2) that takes at most three bytes a call, is interrupted every other
// call, and stops taking anything once `room` bytes are written.
std::string written;
std::size_t room = 0;
int calls = 0;
ssize_t choppy_write(int, const void* data, std::size_t size) {
  if (++calls % 2 == 0) {
    errno = EINTR;
    return -1;
  }
  std::size_t n = std::min({size, std::size_t{3}, room - written.size()});
  written.append(static_cast<const char*>(data), n);
  return static_cast<ssize_t>(n);
}

TEST(write_all, continues_short_and_interrupted_writes_and_fails_when_nothing_is_taken) {
  room = 100;
  EXPECT_TRUE(write_all(-1, "hello, world", choppy_write));
  EXPECT_EQ(written, "hello, world");
  EXPECT_TRUE(write_all(-1, "", choppy_write));
  written.clear();
  room = 5;
  EXPECT_FALSE(write_all(-1, "hello, world", choppy_write));
  EXPECT_EQ(written, "hello");
  EXPECT_FALSE(write_all(-1, "x"));  // the real write(2) on a closed descriptor
}

TEST(read_all, reads_to_the_end_up_to_the_limit) {
  test_support::scratch_dir dir;
  std::string big(40000, 'a');  // several reads
  big.back() = 'z';
  std::string path = dir.write("big", big), out = "old";
  for (std::size_t limit : {big.size(), big.size() - 1}) {
    int fd = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(read_all(fd, out, limit), limit == big.size());
    EXPECT_EQ(out, limit == big.size() ? big : "");
    ::close(fd);
  }
  int fd = ::open(dir.write("empty", "").c_str(), O_RDONLY);
  EXPECT_TRUE(read_all(fd, out, 0));
  EXPECT_EQ(out, "");
  ::close(fd);
  EXPECT_FALSE(read_all(-1, out, 10));
}

}  // namespace
}  // namespace vintorel

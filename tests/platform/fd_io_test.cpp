// Tests of whole writes through a file descriptor: short and interrupted writes,
// and a disk that takes nothing more.
#include "platform/fd_io.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>

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

}  // namespace
}  // namespace vintorel

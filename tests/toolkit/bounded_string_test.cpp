// Tests of the bounded string helpers and of string loads into small buffers:
// they never write past the buffer nor cut a double-byte character in half.
#include "toolkit/bounded_string.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/string_table.h"

namespace vintorel {
namespace {

TEST(bounded_string, copy_append_and_make_room_stay_inside_the_buffer) {
  char buffer[6];
  EXPECT_EQ(copy_bounded(buffer, sizeof buffer, "abcdefgh"), 5u);
  EXPECT_STREQ(buffer, "abcde");
  EXPECT_EQ(copy_bounded(buffer, sizeof buffer, "ab"), 2u);
  EXPECT_EQ(append_bounded(buffer, sizeof buffer, "cdefgh"), 5u);
  EXPECT_STREQ(buffer, "abcde");
  EXPECT_EQ(copy_bounded(buffer, 0, "abc"), 0u);
  // An unterminated buffer is terminated rather than overrun.
  std::memset(buffer, 'y', sizeof buffer);
  EXPECT_EQ(append_bounded(buffer, sizeof buffer, "z"), 5u);
  EXPECT_EQ(buffer[5], '\0');

  char room[8] = "abcdef";
  make_room(room, sizeof room, 3);  // shifts right and cuts the end
  EXPECT_EQ(std::string(room + 3), "abcd");
  char small[4] = "ab";
  make_room(small, sizeof small, 10);  // no room at all: only the terminator stays
  EXPECT_EQ(small[3], '\0');
}

TEST(bounded_string, loads_and_searches_respect_double_byte_characters) {
  char buffer[8];
  // "エラー" is 6 bytes; 5 bytes of room hold two characters, never half of one.
  EXPECT_EQ(load_string(5, buffer, 6), 4u);
  EXPECT_EQ(std::string(buffer), load_string(5).substr(0, 4));
  EXPECT_EQ(load_string(1000, buffer, sizeof buffer), 1u);
  EXPECT_STREQ(buffer, "?");
  EXPECT_EQ(load_string(0, buffer, 1), 0u);
  EXPECT_STREQ(buffer, "");
  // 0x83 0x41 is a katakana; its second byte "A" is not the letter a.
  EXPECT_EQ(find_ignore_case("Hello World", "WORLD"), 6u);
  EXPECT_EQ(find_ignore_case("\x83\x41" "a", "a"), 2u);
  EXPECT_EQ(find_ignore_case("\x83\x41", "A"), std::string_view::npos);
}

}  // namespace
}  // namespace vintorel

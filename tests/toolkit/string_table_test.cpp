// Tests of the string table and the bounded string helpers.
#include "toolkit/string_table.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/cp932.h"
#include "toolkit/bounded_string.h"

namespace vintorel {
namespace {

TEST(string_table, every_string_survives_shift_jis) {
  // A character with no Shift_JIS form would have turned into "?".
  for (int id = 0; id < string_table_size; ++id) {
    ASSERT_NE(string_utf8(id), nullptr) << id;
    std::string back;
    EXPECT_TRUE(sjis_to_utf8_string(load_string(id), back));
    EXPECT_EQ(back, string_utf8(id)) << id;
    EXPECT_LT(load_string(id).size(), 256u) << id;  // fits a message box text
  }
}

TEST(string_table, missing_ids_and_bounded_loads) {
  char buffer[8];
  for (int id : {-1, 37, 1000}) {
    EXPECT_EQ(load_string(id), "?");
    EXPECT_EQ(string_utf8(id), nullptr);
    EXPECT_EQ(load_string(id, buffer, sizeof buffer), 1u);
    EXPECT_STREQ(buffer, "?");
  }
  // "エラー" is 6 bytes; 5 bytes of room hold two characters, never half of one.
  EXPECT_EQ(load_string(5, buffer, 6), 4u);
  EXPECT_EQ(std::string(buffer), load_string(5).substr(0, 4));
  EXPECT_EQ(load_string(0, buffer, 4), 3u);
  EXPECT_STREQ(buffer, "Vin");
  EXPECT_EQ(load_string(0, buffer, 1), 0u);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(load_string(0, buffer, 0), 0u);
}

TEST(bounded_string, copy_append_and_make_room_stay_inside_the_buffer) {
  char buffer[6];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(copy_bounded(buffer, sizeof buffer, "abcdefgh"), 5u);
  EXPECT_STREQ(buffer, "abcde");
  EXPECT_EQ(copy_bounded(buffer, sizeof buffer, "ab"), 2u);
  EXPECT_EQ(append_bounded(buffer, sizeof buffer, "cd"), 4u);
  EXPECT_STREQ(buffer, "abcd");
  EXPECT_EQ(append_bounded(buffer, sizeof buffer, "efgh"), 5u);
  EXPECT_STREQ(buffer, "abcde");
  EXPECT_EQ(copy_bounded(buffer, 0, "abc"), 0u);
  EXPECT_STREQ(buffer, "abcde");
  // An unterminated buffer is terminated rather than overrun.
  std::memset(buffer, 'y', sizeof buffer);
  EXPECT_EQ(append_bounded(buffer, sizeof buffer, "z"), 5u);
  EXPECT_EQ(buffer[5], '\0');

  char room[8] = "abcdef";
  make_room(room, sizeof room, 3);  // shifts right and cuts the end
  EXPECT_EQ(std::string(room + 3), "abcd");
  EXPECT_EQ(std::memcmp(room, "abc", 3), 0);  // left for the caller
  char small[4] = "ab";
  make_room(small, sizeof small, 1);
  EXPECT_STREQ(small + 1, "ab");
  make_room(small, sizeof small, 10);  // no room at all: only the terminator stays
  EXPECT_EQ(small[3], '\0');
}

TEST(bounded_string, find_ignore_case_matches_at_character_starts) {
  EXPECT_EQ(find_ignore_case("Hello World", "WORLD"), 6u);
  EXPECT_EQ(find_ignore_case("Hello", ""), 0u);
  EXPECT_EQ(find_ignore_case("ab", "abc"), std::string_view::npos);
  // 0x83 0x41 is a katakana; its second byte "A" is not the letter a.
  EXPECT_EQ(find_ignore_case("\x83\x41" "a", "a"), 2u);
  EXPECT_EQ(find_ignore_case("\x83\x41", "A"), std::string_view::npos);
}

}  // namespace
}  // namespace vintorel

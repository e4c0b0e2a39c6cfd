// Tests of the string table and the bounded string helpers.
#include "toolkit/string_table.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/cp932.h"
#include "toolkit/bounded_string.h"

namespace vintorel {
namespace {

std::string utf8(const byte_string& sjis) {
  std::string out;
  EXPECT_TRUE(sjis_to_utf8_string(sjis, out));
  return out;
}

TEST(string_table, exact_texts) {
  EXPECT_EQ(load_string(0), "Vintorel");
  EXPECT_EQ(utf8(load_string(2)), "通知");
  EXPECT_EQ(utf8(load_string(5)), "エラー");
  EXPECT_EQ(load_string(7), "[\x91\x7D\x93\xFC]");  // "[挿入]"
  EXPECT_EQ(load_string(8), "[\x8F\xE3\x8F\x91]");  // "[上書]"
  EXPECT_EQ(utf8(load_string(13)),
            "'['と']'の文字は使用できません.\nまた、先頭や最後に空白を置くことはできません.");
  EXPECT_EQ(utf8(load_string(17)),
            "以下のものに限り、変更した設定は次回の起動時から有効になります.\n\n"
            "・数値\n・セーフモードスイッチ\n・色\n・フォント名");
  EXPECT_EQ(utf8(load_string(22)), "文字コードセット/改行コード種が変更されていますがよろしいですか?");
  EXPECT_EQ(utf8(load_string(36)), "指定されたフォントファイルに問題があります.");
}

TEST(string_table, every_string_survives_shift_jis) {
  // A character with no Shift_JIS form would have turned into "?".
  for (int id = 0; id < string_table_size; ++id) {
    ASSERT_NE(string_utf8(id), nullptr) << id;
    EXPECT_EQ(utf8(load_string(id)), string_utf8(id)) << id;
    EXPECT_LT(load_string(id).size(), 256u) << id;  // fits a message box text
  }
}

TEST(string_table, version_text_names_the_product_platform_and_version) {
  std::string text = utf8(load_string(1));
  EXPECT_EQ(text.rfind("Vintorel\n", 0), 0u);
  EXPECT_NE(text.find("Linux"), std::string::npos);
  EXPECT_NE(text.find(VINTOREL_VERSION), std::string::npos);
}

TEST(string_table, missing_ids_load_as_question_mark) {
  for (int id : {-1, 37, 1000}) {
    EXPECT_EQ(load_string(id), "?");
    EXPECT_EQ(string_utf8(id), nullptr);
    char buffer[8];
    EXPECT_EQ(load_string(id, buffer, sizeof buffer), 1u);
    EXPECT_STREQ(buffer, "?");
  }
}

TEST(string_table, bounded_load_never_splits_a_character) {
  char buffer[6];
  // "エラー" is 6 bytes; 5 bytes of room hold two characters.
  EXPECT_EQ(load_string(5, buffer, sizeof buffer), 4u);
  EXPECT_EQ(std::string(buffer), load_string(5).substr(0, 4));
  EXPECT_EQ(load_string(0, buffer, 4), 3u);
  EXPECT_STREQ(buffer, "Vin");
  EXPECT_EQ(load_string(0, buffer, 1), 0u);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(load_string(0, buffer, 0), 0u);
}

TEST(bounded_string, copy_and_append_stay_inside_the_buffer) {
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
}

TEST(bounded_string, make_room_shifts_right_and_cuts_the_end) {
  char buffer[8] = "abcdef";
  make_room(buffer, sizeof buffer, 3);
  EXPECT_EQ(std::string(buffer + 3), "abcd");
  EXPECT_EQ(std::memcmp(buffer, "abc", 3), 0);  // left for the caller
  char small[4] = "ab";
  make_room(small, sizeof small, 1);
  EXPECT_STREQ(small + 1, "ab");
  make_room(small, sizeof small, 10);  // no room at all: only the terminator stays
  EXPECT_EQ(small[3], '\0');
}

TEST(bounded_string, find_ignore_case_matches_at_character_starts) {
  EXPECT_EQ(find_ignore_case("Hello World", "WORLD"), 6u);
  EXPECT_EQ(find_ignore_case("Hello", ""), 0u);
  EXPECT_EQ(find_ignore_case("Hello", "xyz"), std::string_view::npos);
  EXPECT_EQ(find_ignore_case("ab", "abc"), std::string_view::npos);
  // 0x83 0x41 is a katakana; its second byte "A" is not the letter a.
  EXPECT_EQ(find_ignore_case("\x83\x41" "a", "a"), 2u);
  EXPECT_EQ(find_ignore_case("\x83\x41", "A"), std::string_view::npos);
}

}  // namespace
}  // namespace vintorel

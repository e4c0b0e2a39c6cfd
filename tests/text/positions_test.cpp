// Tests of byte offsets and display columns, character classes, word lengths
// and horizontal scrolling.
#include "text/positions.h"

#include <gtest/gtest.h>

#include "text/char_class.h"
#include "text_fixture.h"

namespace vintorel {
namespace {

const byte_string hiragana_a = "\x82\xA0";  // あ
const byte_string katakana_a = "\x83\x41";  // ア
const byte_string kanji = "\x88\x9F";       // 亜

struct positions : testing::text_test {
  positions() : text_test(pane_view{}) {}
  void on_line(const byte_string& line, int tab = 8) {
    context.pane.tab_size = tab;
    text({line, "last"});
  }
};

TEST_F(positions, tabs_stop_at_multiples_of_the_tab_size) {
  on_line("\ta\tb", 4);
  EXPECT_EQ(column_of_position(document, context, 0), 0);
  EXPECT_EQ(column_of_position(document, context, 1), 4);
  EXPECT_EQ(column_of_position(document, context, 2), 5);
  EXPECT_EQ(column_of_position(document, context, 3), 8);
  EXPECT_EQ(position_of_column(document, context, 2), 1);  // the TAB straddles 2
  EXPECT_EQ(position_of_column(document, context, 6), 3);
  EXPECT_EQ(update_end_column(document, context), 9);
  // Beyond the end both stop at the terminator.
  EXPECT_EQ(position_of_column(document, context, 100), 4);
  EXPECT_EQ(column_of_position(document, context, 100), 9);
}

TEST_F(positions, double_byte_characters_take_two_columns) {
  on_line("ab" + hiragana_a + "c");
  EXPECT_EQ(column_of_position(document, context, 2), 2);
  // The second byte of the character gives the column after it.
  EXPECT_EQ(column_of_position(document, context, 3), 4);
  EXPECT_EQ(position_of_column(document, context, 3), 4);
  EXPECT_EQ(document.end_column, 5);
  document.position = 2;
  EXPECT_TRUE(is_on_double_byte(document));
  document.position = 4;
  EXPECT_FALSE(is_on_double_byte(document));
}

TEST_F(positions, a_line_without_cr_lf_stops_at_its_last_byte) {
  on_line("abc");
  // A line of a file with mixed line ends may end in a LF alone.
  document.current->text = "ab\tc\n";
  document.current->length = 5;
  EXPECT_EQ(terminator_offset(document), 4);
  EXPECT_EQ(update_end_column(document, context), 9);
  EXPECT_EQ(position_of_column(document, context, 50), 4);
}

TEST(char_class, classes_of_single_and_double_byte_characters) {
  const std::pair<const char*, int> rows[] = {
      {"a", 0},        {"_", 0},        {"\xB1", 1},  // half-width katakana
      {" ", 2},        {"\x82\x60", 3},              // full-width A
      {"\x82\x4F", 4}, {"\x82\xA0", 5}, {"\x83\x41", 6},  // 0, hiragana, katakana
      {"\x81\x5B", 6},                               // prolonged sound mark
      {"\x88\x9F", 7}, {"\x88\x9E", 8},             // first kanji, just below it
      {"\x81", 2},                                   // a lead byte with nothing behind it
  };
  for (const auto& [bytes, expected] : rows) EXPECT_EQ(character_class(bytes), expected) << bytes;
}

TEST(char_class, trail_bytes_are_found_by_walking_from_the_line_start) {
  // a, あ, the character 82 82, z; one byte in front so that line - 1 exists.
  const char buffer[] = "#a\x82\xA0\x82\x82z";
  const char* line = buffer + 1;
  EXPECT_FALSE(is_trail_byte(line, line));
  EXPECT_TRUE(is_trail_byte(line, line - 1));
  EXPECT_FALSE(is_trail_byte(line, line + 1));
  EXPECT_TRUE(is_trail_byte(line, line + 2));
  EXPECT_FALSE(is_trail_byte(line, line + 3));
  EXPECT_TRUE(is_trail_byte(line, line + 4));  // 0x82 here is a second byte
  EXPECT_FALSE(is_trail_byte(line, line + 5));
  EXPECT_FALSE(follows_double_byte(line, line));
  EXPECT_FALSE(follows_double_byte(line, line + 1));
  EXPECT_TRUE(follows_double_byte(line, line + 3));
  EXPECT_TRUE(follows_double_byte(line, line + 5));
  EXPECT_FALSE(follows_double_byte(line, line + 6));
}

TEST_F(positions, word_lengths_follow_runs_of_one_class) {
  on_line("foo_1 , a" + hiragana_a + hiragana_a + katakana_a + kanji);
  EXPECT_EQ(word_length_at(document, 0), 5);
  EXPECT_EQ(word_length_at(document, 6), 2);  // comma and blank are one class
  EXPECT_EQ(word_length_at(document, 9), 4);  // two hiragana, not the katakana
  EXPECT_EQ(word_length_at(document, 13), 2);
  EXPECT_EQ(word_length_at(document, 15), 2);
  EXPECT_EQ(word_length_at(document, 17), 0);  // the terminator

  document.position = 0;
  EXPECT_EQ(word_length_before(document), 0);
  document.position = 5;
  EXPECT_EQ(word_length_before(document), 5);
  document.position = 8;
  EXPECT_EQ(word_length_before(document), 3);  // blank, comma, blank
  document.position = 9;
  EXPECT_EQ(word_length_before(document), 1);  // just the a
  document.position = 13;
  EXPECT_EQ(word_length_before(document), 4);
  document.position = 17;
  EXPECT_EQ(word_length_before(document), 2);
}

TEST_F(positions, scrolling_keeps_the_cursor_in_the_rightmost_columns) {
  on_line(byte_string(200, 'x') + hiragana_a);
  context.pane.columns = 80;
  document.column = 100;
  scroll_to_cursor(document, context, false);
  EXPECT_EQ(document.left_column, 21);
  EXPECT_TRUE(is_cursor_visible(document, context));
  document.column = 50;
  scroll_to_cursor(document, context, false);
  EXPECT_EQ(document.left_column, 0);
  // A double-byte character never starts in the last visible column.
  document.column = 79;
  scroll_to_cursor(document, context, true);
  EXPECT_EQ(document.left_column, 1);
  document.column = 200;
  scroll_to_cursor(document, context, true);
  EXPECT_EQ(document.left_column, 122);
}

}  // namespace
}  // namespace vintorel

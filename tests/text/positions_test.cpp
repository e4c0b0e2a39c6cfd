// Tests of byte offsets and display columns, character classes and second bytes.
#include "text/positions.h"

#include <gtest/gtest.h>

#include "text/char_class.h"
#include "text_fixture.h"

namespace vintorel {
namespace {

struct positions : testing::text_test {
  positions() : text_test(pane_view{}) {}
};

TEST_F(positions, columns_of_tabs_and_double_byte_characters) {
  context.pane.tab_size = 4;
  text({"\ta\tb\x82\xA0" "c", "last"});
  // A second byte gives the column after its character; beyond the end, the terminator's.
  const std::pair<std::int32_t, std::int32_t> columns[] = {{1, 4}, {2, 5}, {3, 8}, {5, 11}, {7, 12}, {100, 12}};
  for (auto [position, column] : columns) EXPECT_EQ(column_of_position(document, context, position), column);
  // A TAB or a character straddling the column gives the position after it.
  const std::pair<std::int32_t, std::int32_t> places[] = {{2, 1}, {6, 3}, {10, 6}, {100, 7}};
  for (auto [column, position] : places) EXPECT_EQ(position_of_column(document, context, column), position);
  // A line of a file with mixed line ends may end in a LF alone.
  document.current->text = "ab\tc\n";
  document.current->length = 5;
  EXPECT_EQ(terminator_offset(document), 4);
  EXPECT_EQ(update_end_column(document, context), 5);
  EXPECT_EQ(position_of_column(document, context, 50), 4);
}

TEST(char_class, classes_and_second_bytes) {
  const std::pair<const char*, int> rows[] = {
      {"a", 0},        {"_", 0},        {"\xB1", 1}, {" ", 2},        {"\x82\x60", 3}, {"\x82\x4F", 4},
      {"\x82\xA0", 5}, {"\x83\x41", 6}, {"\x81\x5B", 6},  // katakana and the prolonged sound mark
      {"\x88\x9F", 7}, {"\x88\x9E", 8},                   // the first kanji, just below it
      {"\x81", 2},                                        // a lead byte with nothing behind it
  };
  for (const auto& [bytes, expected] : rows) EXPECT_EQ(character_class(bytes), expected) << bytes;
  // a, あ, the character 82 82, z: 0x82 at 4 is a second byte.
  const char line[] = "a\x82\xA0\x82\x82z";
  const bool trail[] = {false, false, true, false, true, false};
  for (int p = 0; p < 6; ++p) {
    EXPECT_EQ(is_trail_byte(line, line + p), trail[p]) << p;
    EXPECT_EQ(follows_double_byte(line, line + p), p == 3 || p == 5) << p;
  }
}

}  // namespace
}  // namespace vintorel

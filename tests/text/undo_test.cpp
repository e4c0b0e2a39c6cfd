// Tests of the deleted-character buffer, undo_char and undo_line.
#include "text/undo.h"

#include <gtest/gtest.h>

#include "text/deleted_chars.h"
#include "text/editing.h"
#include "text/motion.h"
#include "text_fixture.h"

namespace vintorel {
namespace {

using testing::make_text;
using testing::place_cursor;
using testing::text_with_cursor;

struct undo : testing::text_test {
  deleted_char_buffer deleted{1024};

  undo() : text_test({1, 0, 5, 10, 8, false}) { context.deleted = &deleted; }
};

TEST_F(undo, a_double_byte_character_comes_back_whole) {
  text({"a\x82\xA0z", "last"}, 0, 1);
  delete_char(document, context, true, true, false);
  undo_char(document, context);
  EXPECT_EQ(shown(), "a|\x82\xA0z\nlast");
  expect_sound();
}

TEST(deleted_chars, a_full_buffer_drops_its_oldest_quarter) {
  deleted_char_buffer buffer(4);
  record_deletion(buffer, false, 'a', 0);
  record_deletion(buffer, false, 'b', 0);
  record_deletion(buffer, true, 'c', 0);
  EXPECT_EQ(buffer.count, 3);
  record_deletion(buffer, false, 'd', 0);  // 4 / 4 = 1 entry dropped first
  EXPECT_EQ(buffer.count, 3);
  EXPECT_EQ(buffer.storage[1], 'b');
  EXPECT_EQ(buffer.storage[3], 1);
  EXPECT_EQ(buffer.storage[4], 'c');
  EXPECT_EQ(buffer.storage[7], 'd');
  EXPECT_EQ(buffer.storage[9], 0);

  deleted_char_buffer small(1);  // below the minimum
  EXPECT_EQ(small.limit, 4);
  EXPECT_EQ(small.storage.size(), 13u);

  deleted_char_buffer large(100);
  for (int i = 0; i < 1000; ++i) {
    record_deletion(large, false, static_cast<unsigned char>('A' + i % 26), 0);
    ASSERT_LE(large.count, 99);
    ASSERT_EQ(large.storage[3 * static_cast<std::size_t>(large.count)], 0);
  }
  EXPECT_EQ(large.storage[3 * (large.count - 1) + 1], 'A' + 999 % 26);
}

TEST_F(undo, nothing_is_undone_from_an_empty_buffer_or_in_a_block) {
  text({"abc", "last"}, 0, 1);
  undo_char(document, context);
  EXPECT_EQ(shown(), "a|bc\nlast");
  delete_char(document, context, true, true, false);
  document.block_state = 2;
  undo_char(document, context);
  EXPECT_EQ(shown(), "a|c\nlast");
  EXPECT_EQ(deleted.count, 1);
  // A read-only text keeps the entry for later.
  document.block_state = 0;
  document.state = read_only_state;
  undo_char(document, context);
  EXPECT_EQ(deleted.count, 1);
  document.state = modified_state;
  undo_char(document, context);
  EXPECT_EQ(shown(), "a|bc\nlast");
}

TEST_F(undo, undo_char_works_in_whatever_text_is_current) {
  text({"abc", "last"}, 0, 0);
  delete_char(document, context, true, true, false);
  text_document other;
  make_text(other, {"xyz"});
  place_cursor(other, context, 0, 3);
  undo_char(other, context);
  EXPECT_EQ(text_with_cursor(other), "xyz|a");
}

TEST_F(undo, undo_line_restores_the_line_as_the_cursor_found_it) {
  text({"abc", "def", "last"}, 1, 2);
  std::int64_t size = document.size;
  insert_string(document, context, "XYZ", true, true, false);
  delete_char(document, context, true, true, false);
  screen.log.clear();
  undo_line(document, context);
  EXPECT_EQ(shown(), "abc\n|def\nlast");
  EXPECT_EQ(document.size, size);
  EXPECT_EQ(screen.take_screen(), (log_lines{"erase 2,5", "paint 1", "status", "draw 2,0"}));
  EXPECT_EQ(deleted.count, 1);  // the buffer is not touched
  expect_sound();
}

TEST_F(undo, undo_line_scrolls_back_to_the_first_column) {
  text({"abc", "last"}, 0, 3);
  insert_string(document, context, "0123456789", true, true, false);
  EXPECT_NE(document.left_column, 0);
  screen.log.clear();
  undo_line(document, context);
  EXPECT_EQ(document.left_column, 0);
  EXPECT_EQ(screen.take_screen(), (log_lines{"repaint", "draw 1,0"}));
  expect_sound();
}

TEST_F(undo, undo_line_refuses_read_only_texts_and_blocks) {
  text({"abc", "last"}, 0, 2);
  document.block_state = 1;
  undo_line(document, context);
  EXPECT_EQ(document.position, 2);
  document.block_state = 0;
  document.state = read_only_state;
  undo_line(document, context);
  EXPECT_EQ(document.position, 2);
  EXPECT_TRUE(screen.log.empty());
}

}  // namespace
}  // namespace vintorel

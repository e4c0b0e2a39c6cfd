// Tests of the text buffer and its line index: loading the cursor line, line
// ends of every kind, offsets past 4 GiB, a file that changes on the disk while
// its text is open; byte offsets and display columns, character classes and
// second bytes.
#include "text/text_document.h"

#include <gtest/gtest.h>
#include <sys/time.h>
#include <unistd.h>

#include <functional>

#include "files/charset.h"
#include "files/load_text.h"
#include "scratch_dir.h"
#include "text/char_class.h"
#include "text/positions.h"
#include "text_fixture.h"

namespace vintorel {
namespace {

using test_support::scratch_dir;
using test_support::write_bytes;

void load(text_document& document, const std::string& path, linefeed_kind linefeed_code) {
  load_text_file(document, path, false, 0, 0, 0, 0, shift_jis, linefeed_code);
  ASSERT_NE(document.state, failed_state);
}

// Loading the cursor line of a text whose only line is `line` at a desired column.
TEST(text_document, cursor_placement_by_desired_column) {
  struct { byte_string line; std::int32_t tab, desired, position, column, end_column; } rows[] = {
      {"ab\tc\x1A", 8, 5, 2, 2, 9},            // inside the TAB: stop before it
      {"ab\tc\x1A", 0, 3, 3, 3, 4},            // a tab size below 1 counts as 1
      {"abc\x88\x9F" "d\x1A", 8, 4, 3, 3, 6},  // the kanji spans the column
      {"\x82\x1A", 8, -1, 1, 1, 1},            // a lead byte before the end mark
  };
  for (const auto& row : rows) {
    text_document document;
    document.create_empty("???");
    ASSERT_TRUE(document.replace_line(0, row.line));
    document.desired_column = row.desired;
    ASSERT_TRUE(document.load_current_line(row.tab));
    EXPECT_EQ(document.position, row.position) << row.line;
    EXPECT_EQ(document.column, row.column) << row.line;
    EXPECT_EQ(document.end_column, row.end_column) << row.line;
  }
}

// LF and CR files read as CR LF; a line of another kind keeps its own line end,
// and the cursor at its end stands before it, never past its bytes.
TEST(text_document, line_ends_of_every_kind) {
  struct { const char* bytes; linefeed_kind linefeed; std::vector<byte_string> lines; } files[] = {
      {"abc\nxy", lf, {"abc\r\n", "xy\x1A"}},
      {"abc\rxy", cr, {"abc\r\n", "xy\x1A"}},
      {"one\r\ntwo\nthree\rend", crlf, {"one\r\n", "two\n", "three\r", "end\x1A"}},
      {"one\ntwo\r\nend", lf, {"one\r\n", "two\r\n", "end\x1A"}},  // not CR CR LF
      {"a\r", crlf, {"a\r\x1A"}},                                  // a final CR stays in the last line
      {"a\x82\r\nb", crlf, {"a\x82\r\n", "b\x1A"}},                // a lead byte before the line end
  };
  scratch_dir dir;
  for (const auto& file : files) {
    SCOPED_TRACE(file.bytes);
    ASSERT_TRUE(write_bytes(dir / "a.txt", file.bytes));
    text_document document;
    load(document, dir / "a.txt", file.linefeed);
    ASSERT_EQ(testing::internal_lines(document), file.lines);
    for (const byte_string& line : file.lines) {
      document.desired_column = -1;
      ASSERT_TRUE(document.load_current_line(8));
      EXPECT_EQ(document.position, static_cast<std::int32_t>(line.find_first_of("\r\n\x1A")));
      EXPECT_EQ(document.end_column, document.position);
      document.commit_current_line();
      ++document.current_line;
    }
    EXPECT_EQ(document.state, unchanged_state);
  }
}

TEST(line_index, offsets_beyond_four_gibibytes_in_about_eight_bytes_a_line) {
  line_index index;
  index.begin_file_lines(0);
  ASSERT_TRUE(index.append_file_line(UINT32_MAX));
  ASSERT_TRUE(index.append_file_line(UINT32_MAX));
  for (int i = 0; i < 100000; ++i) ASSERT_TRUE(index.append_file_line(10));
  ASSERT_TRUE(index.append_memory_line("\x1A"));
  index.compact();
  EXPECT_EQ(index.offset(2), 2ull * UINT32_MAX);
  EXPECT_EQ(index.offset(100001), 2ull * UINT32_MAX + 999990);
  index.erase(0);
  EXPECT_EQ(index.offset(1), 2ull * UINT32_MAX);
  EXPECT_TRUE(index.check());
  EXPECT_LT(static_cast<double>(index.memory_bytes()) / 100000, 8.2);
}

// The file is truncated or rewritten after loading: every fetch from it
// fails cleanly, also from blocks read before, while the in-memory last line
// and an edited line are kept. A file replaced by rename is still read.
// Only the blocks whose bytes changed become unreadable: a block still cached,
// a block another program left as it was, and the whole of a file replaced by
// a rename (the text keeps reading its own) stay readable.
TEST(text_document, a_file_changed_on_the_disk_is_unreadable_where_its_bytes_changed) {
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "line " + std::to_string(i) + "\r\n";
  ASSERT_GT(text.size(), 3 * block_file::block_size);
  // Line 10000 lies in block 1, line 15000 in block 2, line 19999 in the last
  // block, which loading cached when it read the last line.
  const std::size_t line_15000 = text.find("line 15000");
  struct change {
    std::function<void(const std::string&)> make;
    bool line_10000, line_15000;
  };
  const change changes[] = {
      {[](const std::string& path) { ASSERT_EQ(truncate(path.c_str(), 100), 0); }, false, false},
      {[&](const std::string& path) {
         std::string rewritten = text + "last";
         rewritten[line_15000 + 9] = 'X';
         write_bytes(path, rewritten);
         struct timeval times[2] = {{1000000000, 0}, {1000000000, 0}};
         ASSERT_EQ(utimes(path.c_str(), times), 0);
       }, true, false},
      {[](const std::string& path) {  // a touch changes nothing
         struct timeval times[2] = {{1000000000, 0}, {1000000000, 0}};
         ASSERT_EQ(utimes(path.c_str(), times), 0);
       }, true, true},
      {[](const std::string& path) { ASSERT_EQ(rename((path + ".new").c_str(), path.c_str()), 0); }, true, true},
  };
  for (const change& c : changes) {
    scratch_dir dir;
    write_bytes(dir / "a.txt", text + "last");
    write_bytes(dir / "a.txt.new", "other\r\n");
    text_document document;
    load(document, dir / "a.txt", crlf);
    byte_string line;
    ASSERT_TRUE(document.fetch_line(0, line));  // the first block is now cached
    document.current_line = 5;
    ASSERT_TRUE(document.load_current_line(8));
    document.current->text = "edited\r\n";
    document.current->length = 8;
    c.make(dir / "a.txt");
    document.commit_current_line();
    ASSERT_TRUE(document.fetch_line(5, line));
    EXPECT_EQ(line, "edited\r\n");
    EXPECT_TRUE(document.fetch_line(0, line));
    EXPECT_EQ(document.fetch_line(10000, line), c.line_10000);
    if (c.line_10000) {
      EXPECT_EQ(line, "line 10000\r\n");
    }
    EXPECT_EQ(document.fetch_line(15000, line), c.line_15000);
    document.current_line = 19999;
    EXPECT_TRUE(document.load_current_line(8));
    ASSERT_TRUE(document.fetch_line(20000, line));
    EXPECT_EQ(line, "last\x1A");
    EXPECT_TRUE(document.lines.check());
  }
}

using positions = testing::text_test;

TEST_F(positions, columns_of_tabs_and_double_byte_characters) {
  context.pane.tab_size = 4;
  text({"\ta\tb\x82\xA0" "c", "last"});
  // A second byte gives the column after its character; beyond the end, the terminator's.
  const std::pair<std::int32_t, std::int32_t> columns[] = {{1, 4}, {2, 5}, {3, 8}, {5, 11}, {7, 12}, {100, 12}};
  for (auto [position, column] : columns) EXPECT_EQ(column_of_position(document, context, position), column);
  // A TAB or a character straddling the column gives the position after it.
  const std::pair<std::int32_t, std::int32_t> places[] = {{2, 1}, {6, 3}, {10, 6}, {100, 7}};
  for (auto [column, position] : places) EXPECT_EQ(position_of_column(document, context, column), position);
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

// Tests of the text buffer and its line index: loading the cursor line, line
// ends of every kind, commits, offsets past 4 GiB, and a file that changes on
// the disk while its text is open.
#include "text/text_document.h"

#include <gtest/gtest.h>
#include <sys/time.h>
#include <unistd.h>

#include "files/charset.h"
#include "files/load_text.h"
#include "scratch_dir.h"

namespace vintorel {
namespace {

using test_support::scratch_dir;
using test_support::write_bytes;

void load(text_document& document, const std::string& path, int linefeed_code) {
  load_text_file(document, path, false, 0, 0, 0, 0, shift_jis, linefeed_code);
  ASSERT_NE(document.state, failed_state);
  ASSERT_TRUE(document.lines.check());
}

// Loading the cursor line of a text whose only line is `line` at a desired column.
TEST(text_document, cursor_placement_by_desired_column) {
  struct {
    byte_string line;
    std::int32_t tab, desired, position, column, end_column;
  } rows[] = {
      {"\x1A", 8, -1, 0, 0, 0},                // a new text: the mark alone
      {"ab\tc\x1A", 8, 5, 2, 2, 9},            // inside the TAB: stop before it
      {"ab\tc\x1A", 4, 4, 3, 4, 5},
      {"ab\tc\x1A", 0, 3, 3, 3, 4},            // a tab size below 1 counts as 1
      {"abc\x88\x9F" "d\x1A", 8, 4, 3, 3, 6},  // the kanji spans the column
      {"\t\x82\xA0x\x1A", 8, -1, 4, 11, 11},
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
  struct {
    const char* bytes;
    int linefeed;
    std::vector<byte_string> lines;
  } files[] = {
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
    ASSERT_EQ(document.line_count(), static_cast<std::int32_t>(file.lines.size()));
    for (std::int32_t i = 0; i < document.line_count(); ++i) {
      const byte_string& expected = file.lines[static_cast<std::size_t>(i)];
      byte_string line;
      ASSERT_TRUE(document.fetch_line(i, line));
      EXPECT_EQ(line, expected);
      document.current_line = i;
      document.desired_column = -1;
      ASSERT_TRUE(document.load_current_line(8));
      EXPECT_EQ(document.position, static_cast<std::int32_t>(expected.find_first_of("\r\n\x1A")));
      EXPECT_EQ(document.end_column, document.position);
      document.commit_current_line();
    }
    EXPECT_EQ(document.state, unchanged_state);
  }
}

int modified_calls = 0;

TEST(text_document, only_a_changed_line_is_committed_to_memory) {
  scratch_dir dir;
  write_bytes(dir / "a.txt", "first\r\nsecond\r\n");
  text_document document;
  document.on_modified = [](text_document&) { ++modified_calls; };
  load(document, dir / "a.txt", crlf);
  for (const char* text : {"first\r\n", "2nd\r\n"}) {
    document.desired_column = 0;
    ASSERT_TRUE(document.load_current_line(8));
    document.current->text = text;  // the editor keeps length in step itself
    document.current->length = document.current->text.size();
    document.commit_current_line();
    ++document.current_line;
  }
  EXPECT_FALSE(document.lines.is_in_memory(0));
  EXPECT_TRUE(document.lines.is_in_memory(1));
  EXPECT_EQ(document.lines.text(1), "2nd\r\n");
  EXPECT_EQ(document.previous_line, 1);
  EXPECT_EQ(document.state, modified_state);
  EXPECT_EQ(modified_calls, 1);
  EXPECT_TRUE(document.lines.check());
}

TEST(line_index, offsets_beyond_four_gibibytes_in_about_sixteen_bytes_a_line) {
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
  EXPECT_LT(static_cast<double>(index.memory_bytes()) / 100000, 17.0);
}

// The file is truncated, grown or rewritten after loading: every fetch from it
// fails cleanly, also from blocks read before; the in-memory last line still
// works, and an edited line is kept.
TEST(text_document, a_file_changed_on_the_disk_is_no_longer_read) {
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "line " + std::to_string(i) + "\r\n";
  const std::function<void(const std::string&)> changes[] = {
      [](const std::string& path) { ASSERT_EQ(truncate(path.c_str(), 100), 0); },
      [](const std::string& path) { ASSERT_EQ(truncate(path.c_str(), 0), 0); },
      [&](const std::string& path) { write_bytes(path, text + "last" + "more\r\n"); },
      [&](const std::string& path) {
        write_bytes(path, text.substr(0, text.size() - 10) + "X" + text.substr(text.size() - 9) + "last");
        struct timeval times[2] = {{1000000000, 0}, {1000000000, 0}};  // differs even on a coarse clock
        ASSERT_EQ(utimes(path.c_str(), times), 0);
      },
  };
  for (const auto& change : changes) {
    scratch_dir dir;
    write_bytes(dir / "a.txt", text + "last");
    text_document document;
    load(document, dir / "a.txt", crlf);
    byte_string line;
    ASSERT_TRUE(document.fetch_line(0, line));  // the first block is now cached
    document.current_line = 5;
    ASSERT_TRUE(document.load_current_line(8));
    document.current->text = "edited\r\n";
    document.current->length = 8;
    change(dir / "a.txt");
    document.commit_current_line();
    ASSERT_TRUE(document.fetch_line(5, line));
    EXPECT_EQ(line, "edited\r\n");
    EXPECT_FALSE(document.fetch_line(10000, line));
    EXPECT_FALSE(document.fetch_line(0, line));
    document.current_line = 19999;
    EXPECT_FALSE(document.load_current_line(8));
    EXPECT_FALSE(document.current);
    ASSERT_TRUE(document.fetch_line(20000, line));
    EXPECT_EQ(line, "last\x1A");
    EXPECT_TRUE(document.lines.check());
  }
}

TEST(text_document, a_file_replaced_by_rename_is_still_read) {
  scratch_dir dir;
  write_bytes(dir / "a.txt", "one\r\ntwo\r\nlast");
  text_document document;
  load(document, dir / "a.txt", crlf);
  write_bytes(dir / "new.txt", "other\r\n");
  ASSERT_EQ(rename((dir / "new.txt").c_str(), (dir / "a.txt").c_str()), 0);
  byte_string line;
  ASSERT_TRUE(document.fetch_line(1, line));
  EXPECT_EQ(line, "two\r\n");
}

}  // namespace
}  // namespace vintorel

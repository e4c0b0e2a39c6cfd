// Tests of the text buffer: fetching lines, the current-line buffer, commits,
// and a file that changes on the disk while its text is open.
#include "text/text_document.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include "files/charset.h"
#include "files/load_text.h"
#include "scratch_dir.h"

namespace vintorel {
namespace {

using test_support::scratch_dir;
using test_support::write_bytes;

// Loads the cursor line with the cursor on its terminator (desired column -1).
void load_at_end(text_document& document) {
  document.desired_column = -1;
  ASSERT_TRUE(document.load_current_line(8));
}

void load(text_document& document, const std::string& path, int charset_code, int linefeed_code) {
  load_text_file(document, path, false, 0, 0, 0, 0, charset_code, linefeed_code);
  ASSERT_NE(document.state, failed_state);
  ASSERT_TRUE(document.lines.check());
}

// Loading the cursor line of a text whose first line is `line` (internal form;
// one ending in the end mark is the only line) at a desired column.
TEST(text_document, cursor_placement_by_desired_column) {
  struct {
    byte_string line;
    std::int32_t tab, desired, position, column, end_column;
  } rows[] = {
      {"\x1A", 8, -1, 0, 0, 0},                  // a new text: the mark alone
      {"ab\tc\r\n", 8, 5, 2, 2, 9},              // inside the TAB: stop before it
      {"ab\tc\r\n", 8, 8, 3, 8, 9},
      {"ab\tc\r\n", 4, 4, 3, 4, 5},
      {"ab\tc\r\n", 0, 3, 3, 3, 4},              // a tab size below 1 counts as 1
      {"abc\x88\x9F" "d\r\n", 8, 4, 3, 3, 6},    // the kanji spans the column
      {"abc\x88\x9F" "d\r\n", 8, 5, 5, 5, 6},
      {"\t\x82\xA0x\r\n", 8, -1, 4, 11, 11},
      {"a\x82\r\n", 8, -1, 2, 2, 2},             // a lead byte before the line end
      {"\x82\x1A", 8, -1, 1, 1, 1},               // the same before the end mark
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.line);
    text_document document;
    document.create_empty("???");
    if (row.line.back() == '\x1A')
      ASSERT_TRUE(document.replace_line(0, row.line));
    else
      ASSERT_TRUE(document.insert_line(0, row.line));
    document.current_line = 0;
    document.desired_column = row.desired;
    ASSERT_TRUE(document.load_current_line(row.tab));
    EXPECT_EQ(document.position, row.position);
    EXPECT_EQ(document.column, row.column);
    EXPECT_EQ(document.end_column, row.end_column);
    if (row.desired < 0) {
      EXPECT_EQ(document.desired_column, row.column);
    }
  }
  // Outside the index there is no line to load.
  text_document document;
  document.create_empty("???");
  for (std::int32_t line : {1, -1}) {
    document.current_line = line;
    EXPECT_FALSE(document.load_current_line(8));
    EXPECT_FALSE(document.current);
  }
}

TEST(text_document, fetch_normalises_lf_and_cr_files_to_crlf) {
  scratch_dir dir;
  write_bytes(dir / "lf.txt", "abc\nxy");
  write_bytes(dir / "cr.txt", "abc\rxy");
  write_bytes(dir / "crlf.txt", "abc\r\nxy");
  struct {
    const char* name;
    int linefeed;
  } cases[] = {{"lf.txt", lf}, {"cr.txt", cr}, {"crlf.txt", crlf}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    text_document document;
    load(document, dir / c.name, shift_jis, c.linefeed);
    ASSERT_EQ(document.line_count(), 2);
    byte_string line;
    ASSERT_TRUE(document.fetch_line(0, line));
    EXPECT_EQ(line, "abc\r\n");
    EXPECT_EQ(line.size(), 5u);
    ASSERT_TRUE(document.fetch_line(1, line));
    EXPECT_EQ(line, "xy\x1A");
  }
}

TEST(text_document, lines_of_another_line_end_kind_are_never_walked_past_their_bytes) {
  scratch_dir dir;
  // A CRLF file holding a LF line and a lone-CR line; a LF file holding a CR LF line.
  write_bytes(dir / "crlf.txt", "one\r\ntwo\nthree\rend");
  write_bytes(dir / "lf.txt", "one\ntwo\r\nend");
  {
    text_document document;
    load(document, dir / "crlf.txt", shift_jis, crlf);
    ASSERT_EQ(document.line_count(), 4);
    byte_string line;
    ASSERT_TRUE(document.fetch_line(1, line));
    EXPECT_EQ(line, "two\n");  // kept as it is: the file's own line end
    document.current_line = 1;
    load_at_end(document);
    EXPECT_EQ(document.position, 3);  // before the LF, not after it
    EXPECT_EQ(document.end_column, 3);
    document.commit_current_line();
    ASSERT_TRUE(document.fetch_line(2, line));
    EXPECT_EQ(line, "three\r");
    document.current_line = 2;
    load_at_end(document);
    EXPECT_EQ(document.position, 5);
    EXPECT_EQ(document.end_column, 5);
    document.commit_current_line();
    EXPECT_EQ(document.state, unchanged_state);
  }
  {
    text_document document;
    load(document, dir / "lf.txt", shift_jis, lf);
    byte_string line;
    ASSERT_TRUE(document.fetch_line(1, line));
    EXPECT_EQ(line, "two\r\n");  // not CR CR LF
  }
}

TEST(text_document, a_final_cr_stays_in_the_last_line) {
  scratch_dir dir;
  write_bytes(dir / "a.txt", "a\r");
  text_document document;
  load(document, dir / "a.txt", shift_jis, crlf);
  ASSERT_EQ(document.line_count(), 1);
  load_at_end(document);
  EXPECT_EQ(document.current->text, "a\r\x1A");
  EXPECT_EQ(document.position, 1);
  EXPECT_EQ(document.end_column, 1);
}

int modified_calls = 0;
void count_modified(text_document&) { ++modified_calls; }

TEST(text_document, committing_a_changed_line_puts_it_in_memory) {
  scratch_dir dir;
  write_bytes(dir / "a.txt", "first\r\nsecond\r\n");
  text_document document;
  modified_calls = 0;
  document.on_modified = count_modified;
  load(document, dir / "a.txt", shift_jis, crlf);
  // Moving over an unchanged line keeps its file record.
  document.desired_column = 0;
  ASSERT_TRUE(document.load_current_line(8));
  EXPECT_FALSE(document.is_line_changed());
  document.commit_current_line();
  EXPECT_FALSE(document.current);
  EXPECT_FALSE(document.lines.is_in_memory(0));
  EXPECT_EQ(document.lines.offset(0), 0u);
  EXPECT_EQ(document.state, unchanged_state);
  EXPECT_EQ(modified_calls, 0);
  EXPECT_FALSE(document.is_modified());

  document.current_line = 1;
  document.desired_column = 0;
  ASSERT_TRUE(document.load_current_line(8));
  document.current->text = "2nd\r\n";  // the editor keeps length in step itself
  document.current->length = 5;
  EXPECT_TRUE(document.is_line_changed());
  EXPECT_TRUE(document.is_modified());
  EXPECT_EQ(document.state, unchanged_state);  // not before the commit
  document.commit_current_line();
  EXPECT_FALSE(document.current);
  EXPECT_EQ(document.previous_line, 1);
  EXPECT_EQ(document.state, modified_state);
  EXPECT_EQ(modified_calls, 1);
  EXPECT_TRUE(document.lines.check());
  ASSERT_EQ(document.line_count(), 3);
  EXPECT_TRUE(document.lines.is_in_memory(1));
  byte_string line;
  ASSERT_TRUE(document.fetch_line(1, line));
  EXPECT_EQ(line, "2nd\r\n");
  EXPECT_FALSE(document.lines.is_in_memory(0));
  EXPECT_TRUE(document.is_modified());  // state 2 stays without a buffer
}

// The file is rewritten, truncated or grown after loading: every fetch from it
// fails cleanly, the in-memory last line still works.
class changed_file : public ::testing::Test {
 protected:
  void SetUp() override {
    path = dir / "a.txt";
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "line " + std::to_string(i) + "\r\n";
    text += "last";
    ASSERT_TRUE(write_bytes(path, text));
    load(document, path, shift_jis, crlf);
    ASSERT_EQ(document.line_count(), 20001);
    byte_string line;
    ASSERT_TRUE(document.fetch_line(0, line));  // the first block is now cached
    EXPECT_EQ(line, "line 0\r\n");
  }
  // Line 10000 lies in a block not read yet; line 0 and the lines near the end
  // (read for the last line) are cached.
  void expect_file_lines_fail() {
    byte_string line;
    EXPECT_FALSE(document.fetch_line(10000, line));
    EXPECT_FALSE(document.fetch_line(0, line));  // once seen, a change fails cached blocks too
    EXPECT_FALSE(document.fetch_line(19999, line));
    document.current_line = 19999;
    document.desired_column = 0;
    EXPECT_FALSE(document.load_current_line(8));
    EXPECT_FALSE(document.current);
    ASSERT_TRUE(document.fetch_line(20000, line));
    EXPECT_EQ(line, "last\x1A");
    document.current_line = 20000;
    EXPECT_TRUE(document.load_current_line(8));
  }
  scratch_dir dir;
  std::string path;
  text_document document;
};

TEST_F(changed_file, truncated) {
  ASSERT_EQ(truncate(path.c_str(), 100), 0);
  expect_file_lines_fail();
}

TEST_F(changed_file, truncated_to_nothing) {
  ASSERT_EQ(truncate(path.c_str(), 0), 0);
  expect_file_lines_fail();
}

TEST_F(changed_file, grown) {
  std::string text = test_support::read_bytes(path) + "more\r\n";
  ASSERT_TRUE(write_bytes(path, text));
  expect_file_lines_fail();
}

TEST_F(changed_file, rewritten_with_the_same_size) {
  std::string text = test_support::read_bytes(path);
  text[text.size() - 10] = 'X';
  ASSERT_TRUE(write_bytes(path, text));
  // Make sure the modification time differs even on a coarse clock.
  struct timeval times[2] = {{1000000000, 0}, {1000000000, 0}};
  ASSERT_EQ(utimes(path.c_str(), times), 0);
  expect_file_lines_fail();
}

TEST_F(changed_file, an_edited_line_is_kept_when_its_stored_line_cannot_be_read) {
  document.current_line = 5;
  document.desired_column = 0;
  ASSERT_TRUE(document.load_current_line(8));
  document.current->text = "edited\r\n";
  document.current->length = 8;
  ASSERT_EQ(truncate(path.c_str(), 0), 0);
  EXPECT_TRUE(document.is_line_changed());
  document.commit_current_line();
  EXPECT_EQ(document.state, modified_state);
  byte_string line;
  ASSERT_TRUE(document.fetch_line(5, line));
  EXPECT_EQ(line, "edited\r\n");
  EXPECT_TRUE(document.lines.check());
}

TEST_F(changed_file, replaced_by_rename_keeps_reading_the_opened_file) {
  // Another program saving by rename leaves the opened file intact, and the
  // text keeps showing what it loaded.
  ASSERT_TRUE(write_bytes(dir / "new.txt", "other\r\n"));
  ASSERT_EQ(rename((dir / "new.txt").c_str(), path.c_str()), 0);
  byte_string line;
  ASSERT_TRUE(document.fetch_line(19999, line));
  EXPECT_EQ(line, "line 19999\r\n");
}

}  // namespace
}  // namespace vintorel

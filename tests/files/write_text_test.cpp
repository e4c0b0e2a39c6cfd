// Tests of writing a text: line ends, character sets, the end mark, failures
// that must be reported, the backup name and the temporary save path.
#include "files/write_text.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "files/charset.h"
#include "files/load_text.h"
#include "scratch_dir.h"

namespace vintorel {
namespace {

using test_support::read_bytes;
using test_support::scratch_dir;
using test_support::write_bytes;

class writing : public ::testing::Test {
 protected:
  // Loads `bytes` as a file of the given kind.
  void load(const std::string& bytes, int charset_code, int linefeed_code) {
    ASSERT_TRUE(write_bytes(dir / "in.txt", bytes));
    load_text_file(document, dir / "in.txt", false, 0, 0, 0, 0, charset_code, linefeed_code);
    ASSERT_EQ(document.state, unchanged_state);
  }
  std::string written(int save_charset, int save_linefeed) {
    document.save_charset = save_charset;
    document.save_linefeed = save_linefeed;
    EXPECT_TRUE(write_text(document, dir / "out.txt"));
    return read_bytes(dir / "out.txt");
  }
  scratch_dir dir;
  text_document document;
};

TEST_F(writing, a_text_of_one_empty_line_writes_an_empty_file) {
  document.create_empty("???");
  ASSERT_TRUE(write_bytes(dir / "out.txt", "old contents"));
  EXPECT_EQ(written(shift_jis, crlf), "");
  EXPECT_EQ(written(utf8, lf), "");
  EXPECT_EQ(written(iso2022jp, cr), "");
}

TEST_F(writing, line_ends_are_converted_without_joining_or_splitting_lines) {
  const struct {
    std::string in;
    int file_linefeed, save_linefeed;
    std::string out;
  } cases[] = {
      // The final CR of a CR file stays in the last line and becomes the new line end.
      {"one\rtwo\r", cr, cr, "one\rtwo\r"},
      {"one\rtwo\r", cr, lf, "one\ntwo\n"},
      {"one\rtwo\r", cr, crlf, "one\r\ntwo\r\n"},
      {"one\r\ntwo\r", crlf, crlf, "one\r\ntwo\r"},  // a lone final CR in a CRLF file stays
      // Mixed line ends: kept as they are for the same kind, each one converted otherwise.
      {"a\r\nb\nc\rd", crlf, crlf, "a\r\nb\nc\rd"},
      {"a\r\nb\nc\rd", crlf, lf, "a\nb\nc\nd"},
      {"a\r\nb\nc\rd", crlf, cr, "a\rb\rc\rd"},
      {"a\nb\r\nc\n", lf, crlf, "a\r\nb\r\nc\r\n"},  // no extra CR, so no extra line
      {"a\nb\r\nc\n", lf, cr, "a\rb\rc\r"},
      {"a\nb\r\nc\n", lf, lf, "a\nb\nc\n"},
      {"a\rb\nc\r", cr, cr, "a\rb\rc\r"},
      {"a\rb\nc\r", cr, lf, "a\nb\nc\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.in) + " to " + std::to_string(c.save_linefeed));
    load(c.in, shift_jis, c.file_linefeed);
    EXPECT_EQ(written(shift_jis, c.save_linefeed), c.out);
  }
}

TEST_F(writing, the_current_line_is_committed_written_and_loaded_again) {
  load("one\r\ntwo\r\nthree", shift_jis, crlf);
  document.current_line = 1;
  document.desired_column = 2;
  ASSERT_TRUE(document.load_current_line(8));
  document.current->text = "TWO!\r\n";
  document.current->length = 6;
  EXPECT_EQ(written(shift_jis, crlf), "one\r\nTWO!\r\nthree");
  EXPECT_EQ(document.state, modified_state);  // writing does not make it unchanged
  ASSERT_TRUE(document.current);
  EXPECT_EQ(document.current->text, "TWO!\r\n");
  EXPECT_EQ(document.position, 2);
  EXPECT_EQ(document.column, 2);
}

TEST_F(writing, a_kanji_on_the_last_line_shifts_back_before_the_end) {
  load("x\n\x8A\xBF", shift_jis, lf);
  EXPECT_EQ(written(iso2022jp, lf), "x\n\x1B$B4A\x1B(B");
}

TEST_F(writing, a_nul_byte_inside_a_line_survives_every_encoder) {
  load(std::string("a\0\x8A\xBF\r\n", 6), shift_jis, crlf);
  EXPECT_EQ(written(shift_jis, crlf), std::string("a\0\x8A\xBF\r\n", 6));
  EXPECT_EQ(written(utf8, crlf), std::string("a\0\xE6\xBC\xA2\r\n", 7));
  EXPECT_EQ(written(euc_jp, lf), std::string("a\0\xB4\xC1\n", 5));
  EXPECT_EQ(written(iso2022jp, crlf), std::string("a\0\x1B$B4A\x1B(B\r\n", 12));
}

TEST_F(writing, a_long_text_crosses_the_write_buffer) {
  std::string text;
  for (int i = 0; i < 30000; ++i) text += "line number " + std::to_string(i) + "\r\n";
  load(text, shift_jis, crlf);
  EXPECT_EQ(written(shift_jis, crlf), text);
}

TEST_F(writing, failures_are_reported) {
  load("one\r\ntwo", shift_jis, crlf);
  ASSERT_TRUE(write_bytes(dir / "plain", "x"));
  EXPECT_FALSE(write_text(document, dir / "no-such-dir/out.txt"));
  EXPECT_FALSE(write_text(document, dir / "plain/out.txt"));  // a path through a file
  EXPECT_FALSE(write_text(document, dir.dir()));              // a directory
  // A full device: the data cannot be written, whoever runs the test.
  if (access("/dev/full", W_OK) == 0) {
    EXPECT_FALSE(write_text(document, "/dev/full"));
  }
}

TEST_F(writing, a_private_file_is_never_one_someone_else_prepared) {
  load("one\r\ntwo", shift_jis, crlf);
  std::string path = dir / "vintorel.tmp";
  ASSERT_TRUE(write_text_private(document, path));
  EXPECT_EQ(read_bytes(path), "one\r\ntwo");
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  ASSERT_EQ(unlink(path.c_str()), 0);

  // Neither a link nor a second name of one of the user's files is written
  // through, and neither a FIFO nor a directory.
  std::string victim = dir.write("victim.txt", "precious");
  ASSERT_EQ(symlink(victim.c_str(), path.c_str()), 0);
  EXPECT_FALSE(write_text_private(document, path));
  ASSERT_EQ(unlink(path.c_str()), 0);
  ASSERT_EQ(link(victim.c_str(), path.c_str()), 0);
  EXPECT_FALSE(write_text_private(document, path));
  ASSERT_EQ(unlink(path.c_str()), 0);
  EXPECT_EQ(read_bytes(victim), "precious");
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  EXPECT_FALSE(write_text_private(document, path));  // and does not hang
  ASSERT_EQ(unlink(path.c_str()), 0);
  EXPECT_FALSE(write_text_private(document, dir.dir()));
}

TEST_F(writing, a_line_that_cannot_be_fetched_fails_the_write) {
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "line\r\n";
  load(text, shift_jis, crlf);
  ASSERT_EQ(truncate((dir / "in.txt").c_str(), 10), 0);
  EXPECT_FALSE(write_text(document, dir / "out.txt"));
}

TEST_F(writing, failing_to_load_the_current_line_again_is_a_failure) {
  load("one\r\ntwo", shift_jis, crlf);
  document.current_line = 7;  // no such line
  EXPECT_FALSE(write_text(document, dir / "out.txt"));
  EXPECT_EQ(read_bytes(dir / "out.txt"), "one\r\ntwo");
}

TEST(backup_name, the_stamp_goes_before_the_extension_of_the_file_name) {
  std::tm t{};
  t.tm_year = 2011 - 1900;
  t.tm_mon = 1;
  t.tm_mday = 3;
  t.tm_hour = 4;
  t.tm_min = 5;
  t.tm_sec = 6;
  EXPECT_EQ(backup_name("dir/a.txt", t), "dir/a(20110203040506).txt");
  EXPECT_EQ(backup_name("Makefile", t), "Makefile(20110203040506)");
  EXPECT_EQ(backup_name("/src/v1.2/Makefile", t), "/src/v1.2/Makefile(20110203040506)");
  EXPECT_EQ(backup_name("dir.d\\file", t), "dir.d\\file(20110203040506)");
  EXPECT_EQ(backup_name("a.tar.gz", t), "a.tar(20110203040506).gz");
  EXPECT_EQ(backup_name("/x/name.", t), "/x/name(20110203040506).");
  t.tm_year = 1999 - 1900;
  t.tm_mon = 11;
  t.tm_mday = 31;
  t.tm_hour = 23;
  t.tm_min = 59;
  t.tm_sec = 58;
  EXPECT_EQ(backup_name("b.c", t), "b(19991231235958).c");
}

}  // namespace
}  // namespace vintorel

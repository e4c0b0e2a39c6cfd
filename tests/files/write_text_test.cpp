// Tests of writing a text: line ends, character sets at the last line, failures
// that must be reported and the private temporary file.
#include "files/write_text.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "files/charset.h"
#include "files/load_text.h"
#include "scratch_dir.h"

namespace vintorel {
namespace {

using test_support::read_bytes;

class writing : public ::testing::Test {
 protected:
  void load(const std::string& bytes, charset charset_code, linefeed_kind linefeed_code) {
    load_text_file(document, dir.write("in.txt", bytes), false, 0, 0, 0, 0, charset_code, linefeed_code);
    ASSERT_EQ(document.state, unchanged_state);
  }
  std::string written(charset save_charset, linefeed_kind save_linefeed) {
    document.save_charset = save_charset;
    document.save_linefeed = save_linefeed;
    EXPECT_TRUE(write_text(document, dir / "out.txt"));
    return read_bytes(dir / "out.txt");
  }
  test_support::scratch_dir dir;
  text_document document;
};

TEST_F(writing, line_ends_and_last_lines_are_converted_without_joining_or_splitting_lines) {
  const struct {
    std::string in;
    linefeed_kind file_linefeed;
    charset save_charset;
    linefeed_kind save_linefeed;
    std::string out;
  } cases[] = {
      // The final CR of a CR file stays in the last line and becomes the new line end.
      {"one\rtwo\r", cr, shift_jis, crlf, "one\r\ntwo\r\n"},
      {"one\r\ntwo\r", crlf, shift_jis, crlf, "one\r\ntwo\r"},  // a lone final CR in a CRLF file stays
      // Mixed line ends: kept as they are for the same kind, each one converted otherwise.
      {"a\r\nb\nc\rd", crlf, shift_jis, crlf, "a\r\nb\nc\rd"},
      {"a\r\nb\nc\rd", crlf, shift_jis, lf, "a\nb\nc\nd"},
      {"a\nb\r\nc\n", lf, shift_jis, crlf, "a\r\nb\r\nc\r\n"},  // no extra CR, so no extra line
      {"", crlf, iso2022jp, cr, ""},               // one empty line: an empty file
      {"x\n\x8A\xBF", lf, iso2022jp, lf, "x\n\x1B$B4A\x1B(B"},  // shifted back before the end
      {std::string("a\0\x8A\xBF\r\n", 6), crlf, utf8, crlf, std::string("a\0\xE6\xBC\xA2\r\n", 7)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.in) + " to " + linefeed_name(c.save_linefeed));
    load(c.in, shift_jis, c.file_linefeed);
    EXPECT_EQ(written(c.save_charset, c.save_linefeed), c.out);
  }
}

TEST_F(writing, a_long_text_crosses_the_write_buffer_and_failures_are_reported) {
  std::string text;
  for (int i = 0; i < 30000; ++i) text += "line number " + std::to_string(i) + "\r\n";
  load(text, shift_jis, crlf);
  EXPECT_EQ(written(shift_jis, crlf), text);
  for (const std::string& path : {dir / "no-such-dir/out.txt", dir.write("plain", "x") + "/out.txt", dir.dir()})
    EXPECT_FALSE(write_text(document, path)) << path;
  // A full device: the data cannot be written, whoever runs the test.
  if (access("/dev/full", W_OK) == 0) {
    EXPECT_FALSE(write_text(document, "/dev/full"));
  }
  // The file changed after loading: a line that cannot be fetched fails the write.
  ASSERT_EQ(truncate((dir / "in.txt").c_str(), 10), 0);
  EXPECT_FALSE(write_text(document, dir / "out.txt"));
}

}  // namespace
}  // namespace vintorel

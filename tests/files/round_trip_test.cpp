// Loading a file and writing it back in its own character set and line end
// gives the same bytes, for every character set and line end.
#include <gtest/gtest.h>

#include <vector>

#include "files/charset.h"
#include "files/load_text.h"
#include "files/write_text.h"
#include "scratch_dir.h"

namespace vintorel {
namespace {

using test_support::read_bytes;
using test_support::scratch_dir;
using test_support::write_bytes;

// The same five lines in each character set: kanji, hiragana and katakana,
// half-width katakana, ASCII with a TAB, an empty line, and a mixed line with
// characters whose second Shift_JIS byte is 0x5C.
const std::vector<std::string>& lines_in(int charset_code) {
  static const std::vector<std::string> sjis = {
      "\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x83\x65\x83\x4C\x83\x58\x83\x67",
      "\xB6\xC0\xB6\xC5\x20\xC3\xBD\xC4",
      "ASCII\tline",
      "",
      "\x95\x5C\x8E\xA6\x82\xC6\x83\x5C\x81\x5B\x83\x58\x81\x41\x8A\xBF\x8E\x9A\x82\xC6\xB6\xC5\x82\xCC"
      "\x8D\xAC\x8D\xDD\x20\x61\x62\x63"};
  static const std::vector<std::string> jis = {
      "\x1B\x24\x42\x46\x7C\x4B\x5C\x38\x6C\x24\x4E\x25\x46\x25\x2D\x25\x39\x25\x48\x1B\x28\x42",
      "\x1B\x28\x49\x36\x40\x36\x45\x1B\x28\x42\x20\x1B\x28\x49\x43\x3D\x44\x1B\x28\x42",
      "ASCII\tline",
      "",
      "\x1B\x24\x42\x49\x3D\x3C\x28\x24\x48\x25\x3D\x21\x3C\x25\x39\x21\x22\x34\x41\x3B\x7A\x24\x48\x1B"
      "\x28\x49\x36\x45\x1B\x24\x42\x24\x4E\x3A\x2E\x3A\x5F\x1B\x28\x42\x20\x61\x62\x63"};
  static const std::vector<std::string> euc = {
      "\xC6\xFC\xCB\xDC\xB8\xEC\xA4\xCE\xA5\xC6\xA5\xAD\xA5\xB9\xA5\xC8",
      "\x8E\xB6\x8E\xC0\x8E\xB6\x8E\xC5\x20\x8E\xC3\x8E\xBD\x8E\xC4",
      "ASCII\tline",
      "",
      "\xC9\xBD\xBC\xA8\xA4\xC8\xA5\xBD\xA1\xBC\xA5\xB9\xA1\xA2\xB4\xC1\xBB\xFA\xA4\xC8\x8E\xB6\x8E\xC5"
      "\xA4\xCE\xBA\xAE\xBA\xDF\x20\x61\x62\x63"};
  static const std::vector<std::string> utf = {
      "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE3\x83\x86\xE3\x82\xAD\xE3\x82\xB9\xE3\x83\x88",
      "\xEF\xBD\xB6\xEF\xBE\x80\xEF\xBD\xB6\xEF\xBE\x85\x20\xEF\xBE\x83\xEF\xBD\xBD\xEF\xBE\x84",
      "ASCII\tline",
      "",
      "\xE8\xA1\xA8\xE7\xA4\xBA\xE3\x81\xA8\xE3\x82\xBD\xE3\x83\xBC\xE3\x82\xB9\xE3\x80\x81\xE6\xBC\xA2"
      "\xE5\xAD\x97\xE3\x81\xA8\xEF\xBD\xB6\xEF\xBE\x85\xE3\x81\xAE\xE6\xB7\xB7\xE5\x9C\xA8\x20\x61\x62"
      "\x63"};
  switch (charset_code) {
    case iso2022jp: return jis;
    case euc_jp: return euc;
    case utf8: return utf;
    default: return sjis;
  }
}

const char* line_end(int linefeed_code) {
  return linefeed_code == lf ? "\n" : linefeed_code == cr ? "\r" : "\r\n";
}

std::string file_bytes(int charset_code, int linefeed_code, bool final_line_end) {
  std::string bytes;
  const auto& lines = lines_in(charset_code);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    bytes += lines[i];
    if (i + 1 < lines.size() || final_line_end) bytes += line_end(linefeed_code);
  }
  return bytes;
}

struct round_trip_case {
  int charset_code;
  int linefeed_code;
  bool final_line_end;
};

class round_trip : public ::testing::TestWithParam<round_trip_case> {};

TEST_P(round_trip, writes_back_the_same_bytes) {
  const auto& c = GetParam();
  scratch_dir dir;
  std::string bytes = file_bytes(c.charset_code, c.linefeed_code, c.final_line_end);
  ASSERT_TRUE(write_bytes(dir / "in.txt", bytes));
  text_document document;
  load_text_file(document, dir / "in.txt", false, 0, 0, 0, 0, c.charset_code, c.linefeed_code);
  ASSERT_EQ(document.state, unchanged_state);
  // A final CR stays in the last line, so a CR file has one line less.
  bool final_cr = c.final_line_end && c.linefeed_code == cr;
  ASSERT_EQ(document.line_count(), c.final_line_end && !final_cr ? 6 : 5);

  // Every line comes out in the internal form, whatever the file's form.
  const auto& sjis = lines_in(shift_jis);
  byte_string line;
  for (std::int32_t i = 0; i < 4; ++i) {
    ASSERT_TRUE(document.fetch_line(i, line));
    EXPECT_EQ(line, sjis[static_cast<std::size_t>(i)] + "\r\n") << "line " << i;
  }
  ASSERT_TRUE(document.fetch_line(4, line));
  EXPECT_EQ(line, sjis[4] + (final_cr ? "\r\x1A" : c.final_line_end ? "\r\n" : "\x1A"));

  // Visiting every line without changing it changes nothing.
  for (std::int32_t i = 0; i < document.line_count(); ++i) {
    document.commit_current_line();
    document.current_line = i;
    document.desired_column = -1;
    ASSERT_TRUE(document.load_current_line(4));
  }
  EXPECT_FALSE(document.is_modified());

  ASSERT_TRUE(write_text(document, dir / "out.txt"));
  EXPECT_EQ(read_bytes(dir / "out.txt"), bytes);

  // And the written file loads to the same lines again.
  text_document again;
  load_text_file(again, dir / "out.txt", false, 0, 0, 0, 0, c.charset_code, c.linefeed_code);
  ASSERT_EQ(again.line_count(), document.line_count());
  byte_string other;
  for (std::int32_t i = 0; i < document.line_count(); ++i) {
    ASSERT_TRUE(document.fetch_line(i, line));
    ASSERT_TRUE(again.fetch_line(i, other));
    EXPECT_EQ(line, other);
  }
}

std::vector<round_trip_case> all_cases() {
  std::vector<round_trip_case> cases;
  for (int charset_code : {shift_jis, iso2022jp, euc_jp, utf8})
    for (int linefeed_code : {crlf, lf, cr})
      for (bool final_line_end : {true, false}) cases.push_back({charset_code, linefeed_code, final_line_end});
  return cases;
}

std::string case_name(const ::testing::TestParamInfo<round_trip_case>& info) {
  static const char* charsets[] = {"", "", "sjis", "jis", "euc", "utf8"};
  static const char* linefeeds[] = {"", "crlf", "lf", "cr"};
  return std::string(charsets[info.param.charset_code]) + "_" + linefeeds[info.param.linefeed_code] +
         (info.param.final_line_end ? "_final_line_end" : "_no_final_line_end");
}

INSTANTIATE_TEST_SUITE_P(every_charset_and_line_end, round_trip, ::testing::ValuesIn(all_cases()), case_name);

// Converting between character sets and line ends and back again is lossless
// for these lines too.
TEST(round_trip_through_another_kind, comes_back_unchanged) {
  scratch_dir dir;
  std::string original = file_bytes(shift_jis, crlf, true);
  ASSERT_TRUE(write_bytes(dir / "a.txt", original));
  std::string path = dir / "a.txt";
  for (int charset_code : {iso2022jp, euc_jp, utf8}) {
    for (int linefeed_code : {lf, cr}) {
      SCOPED_TRACE(charset_code * 10 + linefeed_code);
      text_document document;
      load_text_file(document, path, false, 0, 0, 0, 0, shift_jis, crlf);
      document.save_charset = charset_code;
      document.save_linefeed = linefeed_code;
      ASSERT_TRUE(write_text(document, dir / "other.txt"));
      EXPECT_EQ(read_bytes(dir / "other.txt"), file_bytes(charset_code, linefeed_code, true));
      text_document back;
      load_text_file(back, dir / "other.txt", false, 0, 0, 0, 0, charset_code, linefeed_code);
      back.save_charset = shift_jis;
      back.save_linefeed = crlf;
      ASSERT_TRUE(write_text(back, dir / "back.txt"));
      EXPECT_EQ(read_bytes(dir / "back.txt"), original);
    }
  }
}

}  // namespace
}  // namespace vintorel

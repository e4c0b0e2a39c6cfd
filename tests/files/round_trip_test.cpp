// Loading a file and writing it back in its own character set and line end
// gives the same bytes, for every character set and line end; written in
// another character set it gives that set's bytes.
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

// The same three lines in each character set: half-width katakana, an empty
// line, and a mixed line of kanji, hiragana, katakana (some whose second
// Shift_JIS byte is 0x5C), half-width katakana and ASCII.
constexpr std::size_t line_count = 3;
const std::string* lines_in(charset charset_code) {
  static const std::string lines[4][line_count] = {
      {"\xB6\xC0\xB6\xC5\x20\xC3\xBD\xC4", "",
       "\x95\x5C\x8E\xA6\x82\xC6\x83\x5C\x81\x5B\x83\x58\x81\x41\x8A\xBF\x8E\x9A\x82\xC6\xB6\xC5\x82\xCC"
       "\x8D\xAC\x8D\xDD\x20\x61\x62\x63"},
      {"\x1B\x28\x49\x36\x40\x36\x45\x1B\x28\x42\x20\x1B\x28\x49\x43\x3D\x44\x1B\x28\x42", "",
       "\x1B\x24\x42\x49\x3D\x3C\x28\x24\x48\x25\x3D\x21\x3C\x25\x39\x21\x22\x34\x41\x3B\x7A\x24\x48\x1B"
       "\x28\x49\x36\x45\x1B\x24\x42\x24\x4E\x3A\x2E\x3A\x5F\x1B\x28\x42\x20\x61\x62\x63"},
      {"\x8E\xB6\x8E\xC0\x8E\xB6\x8E\xC5\x20\x8E\xC3\x8E\xBD\x8E\xC4", "",
       "\xC9\xBD\xBC\xA8\xA4\xC8\xA5\xBD\xA1\xBC\xA5\xB9\xA1\xA2\xB4\xC1\xBB\xFA\xA4\xC8\x8E\xB6\x8E\xC5"
       "\xA4\xCE\xBA\xAE\xBA\xDF\x20\x61\x62\x63"},
      {"\xEF\xBD\xB6\xEF\xBE\x80\xEF\xBD\xB6\xEF\xBE\x85\x20\xEF\xBE\x83\xEF\xBD\xBD\xEF\xBE\x84", "",
       "\xE8\xA1\xA8\xE7\xA4\xBA\xE3\x81\xA8\xE3\x82\xBD\xE3\x83\xBC\xE3\x82\xB9\xE3\x80\x81\xE6\xBC\xA2"
       "\xE5\xAD\x97\xE3\x81\xA8\xEF\xBD\xB6\xEF\xBE\x85\xE3\x81\xAE\xE6\xB7\xB7\xE5\x9C\xA8\x20\x61\x62\x63"}};
  return lines[code_of(charset_code) - code_of(shift_jis)];
}

const char* line_end(linefeed_kind linefeed_code) {
  return linefeed_code == lf ? "\n" : linefeed_code == cr ? "\r" : "\r\n";
}

std::string file_bytes(charset charset_code, linefeed_kind linefeed_code, bool final_line_end) {
  std::string bytes;
  for (std::size_t i = 0; i < line_count; ++i) {
    bytes += lines_in(charset_code)[i];
    if (i + 1 < line_count || final_line_end) bytes += line_end(linefeed_code);
  }
  return bytes;
}

struct round_trip_case {
  charset charset_code;
  linefeed_kind linefeed_code;
  bool final_line_end;
};

class round_trip : public ::testing::TestWithParam<round_trip_case> {};

TEST_P(round_trip, writes_back_the_same_bytes_and_converts_to_every_other_charset) {
  const auto& c = GetParam();
  scratch_dir dir;
  std::string bytes = file_bytes(c.charset_code, c.linefeed_code, c.final_line_end);
  ASSERT_TRUE(write_bytes(dir / "in.txt", bytes));
  text_document document;
  load_text_file(document, dir / "in.txt", false, 0, 0, 0, 0, c.charset_code, c.linefeed_code);
  ASSERT_EQ(document.state, unchanged_state);
  // A final CR stays in the last line, so a CR file has one line less.
  bool final_cr = c.final_line_end && c.linefeed_code == cr;
  ASSERT_EQ(document.line_count(), c.final_line_end && !final_cr ? 4 : 3);

  // Every line comes out in the internal form, whatever the file's form.
  const std::string* sjis = lines_in(shift_jis);
  byte_string line;
  for (std::int32_t i = 0; i < 2; ++i) {
    ASSERT_TRUE(document.fetch_line(i, line));
    EXPECT_EQ(line, sjis[i] + "\r\n") << "line " << i;
  }
  ASSERT_TRUE(document.fetch_line(2, line));
  EXPECT_EQ(line, sjis[2] + (final_cr ? "\r\x1A" : c.final_line_end ? "\r\n" : "\x1A"));

  // Visiting every line without changing it changes nothing.
  for (std::int32_t i = 0; i < document.line_count(); ++i) {
    document.commit_current_line();
    document.current_line = i;
    document.desired_column = -1;
    ASSERT_TRUE(document.load_current_line(4));
  }
  EXPECT_FALSE(document.is_modified());

  for (charset charset_code : {shift_jis, iso2022jp, euc_jp, utf8}) {
    document.save_charset = charset_code;
    ASSERT_TRUE(write_text(document, dir / "out.txt"));
    EXPECT_EQ(read_bytes(dir / "out.txt"), file_bytes(charset_code, c.linefeed_code, c.final_line_end))
        << "written as " << charset_name(charset_code);
  }
}

std::vector<round_trip_case> all_cases() {
  std::vector<round_trip_case> cases;
  for (charset charset_code : {shift_jis, iso2022jp, euc_jp, utf8})
    for (linefeed_kind linefeed_code : {crlf, lf, cr})
      for (bool final_line_end : {true, false}) cases.push_back({charset_code, linefeed_code, final_line_end});
  return cases;
}

std::string case_name(const ::testing::TestParamInfo<round_trip_case>& info) {
  const char* names[] = {"", "", "sjis", "jis", "euc", "utf8", "crlf", "lf", "cr"};
  return std::string(names[code_of(info.param.charset_code)]) + "_" + names[code_of(info.param.linefeed_code) + 5] +
         (info.param.final_line_end ? "_final_line_end" : "_no_final_line_end");
}

INSTANTIATE_TEST_SUITE_P(every_charset_and_line_end, round_trip, ::testing::ValuesIn(all_cases()), case_name);

}  // namespace
}  // namespace vintorel

// The status line text at its limits: field widths, the percentage, character
// codes in each save charset, long names and cutting to a width.
#include <gtest/gtest.h>

#include "display/status_line.h"
#include "display_fixture.h"
#include "files/charset.h"

namespace vintorel {
namespace {

using test::fill_document;

status_fields fields_of(const std::vector<byte_string>& lines, std::int32_t line, std::int32_t position,
                        std::int32_t column = 0) {
  text_document d;
  fill_document(d, lines, "/home/u/a.txt");
  d.current_line = line;
  d.position = position;
  d.column = column;
  d.size = 12;
  return status_fields_of(d);
}

TEST(StatusLine, LineColumnAndSizeStopAtTheirWidths) {
  status_fields f;
  f.code = 0x41;
  f.percent = 50;
  f.name = "n";
  f.line = 9999, f.column = 999, f.size = 999999999;
  EXPECT_EQ(status_line_text(f), "0x41 9999:999 50%   999999999 SJIS/CRLF    n");
  f.line = 10000, f.column = 1000, f.size = 1000000000;
  EXPECT_EQ(status_line_text(f), "0x41 9999:999 50%   999999999 SJIS/CRLF    n");
  f.line = 123456, f.column = 5000, f.size = 5000000000LL;
  EXPECT_EQ(status_line_text(f), "0x41 9999:999 50%   999999999 SJIS/CRLF    n");
  // The longest form fits the narrowest window of 80 columns.
  f.name = byte_string(37, 'x');
  f.code = 0x0D0A;
  f.state = '*';
  EXPECT_EQ(status_line_text(f).size(), 80u);
}

TEST(StatusLine, PercentShowsOneHundredAsNinetyNine) {
  EXPECT_EQ(fields_of({"a\r\n", "b\r\n", "\x1A"}, 2, 0).percent, 99);
  EXPECT_EQ(fields_of({"a\r\n", "b\r\n", "\x1A"}, 1, 0).percent, 66);
  EXPECT_EQ(fields_of({"\x1A"}, 0, 0).percent, 99);
  status_fields f = fields_of({"a\r\n", "b\r\n", "\x1A"}, 2, 0);
  EXPECT_EQ(status_line_text(f), "0x1A    3:1   99%          12 SJIS/CRLF    /home/u/a.txt");
}

TEST(StatusLine, CharacterCodeFollowsTheLineEndKindAndTheSaveCharset) {
  struct row {
    byte_string line;
    std::int32_t position;
    int charset;
    int linefeed;
    unsigned code;
  };
  const std::vector<row> rows = {
      {"ab\r\n", 2, shift_jis, crlf, 0x0D0A},
      {"ab\r\n", 2, shift_jis, lf, 0x0A},
      {"ab\r\n", 2, shift_jis, cr, 0x0D},
      {"\x82\xA0\r\n", 0, shift_jis, crlf, 0x82A0},  // hiragana A
      {"\x82\xA0\r\n", 0, iso2022jp, crlf, 0x2422},
      {"\x82\xA0\r\n", 0, euc_jp, crlf, 0xA4A2},
      {"\x82\xA0\r\n", 0, utf8, crlf, 0x3042},
      {"\xFA\x40\r\n", 0, euc_jp, crlf, 0},  // an NEC special character has no JIS form
      {"\x82\r\n", 0, shift_jis, crlf, 0x82},  // a lead byte before the line end is a single byte
      {"\x82\r\n", 5, shift_jis, crlf, 0},
  };
  for (const row& r : rows)
    EXPECT_EQ(status_character_code(r.line, r.position, r.charset, r.linefeed), r.code) << r.line << r.position;
  status_fields f = fields_of({"ab\r\n", "\x1A"}, 0, 2);
  EXPECT_EQ(status_line_text(f).substr(0, 5), "0D0A ");
  for (auto [code, shown] : std::vector<std::pair<unsigned, std::string>>{{0x0A, "0x0A "}, {0x3042, "3042 "}}) {
    f.code = code;
    EXPECT_EQ(status_line_text(f).substr(0, 5), shown);
  }
}

TEST(StatusLine, LongNamesKeepTheirLastPartCutTo37Bytes) {
  const byte_string forty(40, 'n');
  EXPECT_EQ(status_name(forty), byte_string(37, 'n'));
  EXPECT_EQ(status_name("/home/user/projects/somewhere/deep/below/file.txt"), "file.txt");
  EXPECT_EQ(status_name("C:\\work\\a-rather-long-directory-name\\x.c"), "x.c");
  EXPECT_EQ(status_name("/short/name.txt"), "/short/name.txt");
  EXPECT_EQ(status_name("/" + forty + "/" + forty), byte_string(37, 'n'));
  // "\" as the second byte of a double-byte character is no separator.
  const byte_string so = "\x83\x5C";  // katakana SO
  byte_string name = "/dir/" + byte_string(36, 'a') + so + "b.txt";
  EXPECT_EQ(status_name(name), (byte_string(36, 'a') + so + "b.txt").substr(0, 37));
}

TEST(FitToWidth, PadsAndCutsWithoutSplittingACharacter) {
  EXPECT_EQ(fit_to_width("ab", 4), "ab  ");
  EXPECT_EQ(fit_to_width("abcdef", 4), "abcd");
  EXPECT_EQ(fit_to_width("abc\x82\xA0", 4), "abc ");
  EXPECT_EQ(fit_to_width("x", 0), "");
}

}  // namespace
}  // namespace vintorel

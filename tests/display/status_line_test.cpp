// The status line text at its limits: field widths, character codes next to
// line ends, long names and cutting to a width.
#include <gtest/gtest.h>

#include "display/status_line.h"
#include "files/charset.h"

namespace vintorel {
namespace {

TEST(StatusLine, OverlongFieldsStopAtTheirWidthsAndTheLineFitsEightyColumns) {
  status_fields f;
  f.code = 0x0D0A;
  f.percent = 99;
  f.state = '*';
  f.name = byte_string(37, 'x');
  f.line = 123456, f.column = 5000, f.size = 5000000000LL;
  EXPECT_EQ(status_line_text(f), "0D0A 9999:999 99%   999999999 SJIS/CRLF  * " + f.name);
  EXPECT_EQ(status_line_text(f).size(), 80u);
}

TEST(StatusLine, CharacterCodeFollowsTheLineEndKindAndTheSaveCharset) {
  struct row {
    byte_string line;
    std::int32_t position;
    charset save_charset;
    linefeed_kind linefeed;
    unsigned code;
  };
  const std::vector<row> rows = {
      {"ab\r\n", 2, shift_jis, crlf, 0x0D0A},
      {"ab\r\n", 2, shift_jis, lf, 0x0A},
      {"\x82\xA0\r\n", 0, iso2022jp, crlf, 0x2422},
      {"\x82\xA0\r\n", 0, utf8, crlf, 0x3042},
      {"\xFA\x40\r\n", 0, euc_jp, crlf, 0},  // an NEC special character has no JIS form
      {"\x82\r\n", 0, shift_jis, crlf, 0x82},  // a lead byte before the line end is a single byte
      {"\x82\r\n", 5, shift_jis, crlf, 0},
  };
  for (const row& r : rows)
    EXPECT_EQ(status_character_code(r.line, r.position, r.save_charset, r.linefeed), r.code) << r.line << r.position;
}

TEST(StatusLine, LongNamesAndCutsToAWidth) {
  // "\" as the second byte of a double-byte character is no separator.
  const byte_string so = "\x83\x5C";  // katakana SO
  const byte_string name = byte_string(36, 'a') + so + "b.txt";
  EXPECT_EQ(status_name("/dir/" + name), name.substr(0, 36));  // the cut never splits it either
  EXPECT_EQ(status_name("/" + byte_string(40, 'n') + "/x.c"), "x.c");
  // The cut to a width never splits a double-byte character.
  EXPECT_EQ(fit_to_width("ab", 4), "ab  ");
  EXPECT_EQ(fit_to_width("abcdef", 4), "abcd");
  EXPECT_EQ(fit_to_width("abc\x82\xA0", 4), "abc ");
  EXPECT_EQ(fit_to_width("x", 0), "");
}

}  // namespace
}  // namespace vintorel

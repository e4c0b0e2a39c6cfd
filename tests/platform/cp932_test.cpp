// Tests of the code page 932 rules: code mapping, character walking, search,
// comparison and the Unicode conversions.
#include "platform/cp932.h"

#include <gtest/gtest.h>

#include <string>

namespace vintorel {
namespace {

TEST(cp932, every_code_round_trips_through_jis_and_unicode) {
  int mapped = 0, unicode = 0;
  for (unsigned sjis = 0; sjis <= 0x1FFFF; ++sjis) {
    const unsigned jis = jms_to_jis(sjis);
    if (jis == 0) continue;
    ++mapped;
    ASSERT_EQ(jis_to_jms(jis), sjis) << std::hex << sjis;
    const char16_t u = sjis_char_to_unicode(sjis);
    if (u == 0) continue;
    ++unicode;
    // NEC and IBM duplicates map back to one preferred code of the same character.
    ASSERT_EQ(sjis_char_to_unicode(unicode_to_sjis_char(u)), u) << std::hex << sjis;
  }
  EXPECT_EQ(mapped, 94 * 94);
  EXPECT_GT(unicode, 6879);  // JIS X 0208 plus the vendor rows
}

TEST(cp932, searching_respects_character_starts) {
  constexpr auto npos = std::string_view::npos;
  struct { const char *hay, *needle; std::size_t start, found; } finds[] = {
      {"\x83\x41" "A", "A", 0, 2},  // katakana whose second byte is 'A'
      {"x\x82\xa0y\x82\xa0", "\x82\xa0", 3, 4},
      {"a\x82\xa0", "a\x82", 0, npos},  // a lone lead byte never matches half a character
      {"\x88\x9f\x88\x9f\x9f\x88", "\x9f\x88", 0, 4},
  };
  for (auto f : finds) EXPECT_EQ(mbs_find(f.hay, f.needle, f.start), f.found) << f.hay << " / " << f.needle;
  EXPECT_NE(mbs_compare_nocase("\x83\x41", "\x83\x61", 2), 0);  // different katakana
}

TEST(cp932, what_has_no_counterpart_becomes_question_marks_without_reading_past_the_end) {
  std::u16string wide;
  for (auto [in, out] : {std::pair<std::string, std::u16string>{"A\x82\xa0\x83\x41\xb1\x81\x5f", u"Aあアｱ＼"},
                         {"a\x82", u"a?"},        // lead byte at the end
                         {"\x82\r\n", u"?\r\n"},  // a lead byte never takes a line end
                         {"\x80\xa0\xfd\xfe\xff\x81\xad", u"??????"}}) {
    ASSERT_TRUE(sjis_to_utf16(in, wide));
    EXPECT_EQ(wide, out);
  }
  byte_string sjis;
  for (auto [in, out] : {std::pair<std::string, std::string>{"\xef\xbb\xbf" "a\xe4\xb8\x82", "?a?"},  // BOM, non-932 kanji
                         {"\xe3\x81\x82\xe3\x81", "\x82\xa0?"},  // truncated at the end
                         {"\xe3\x81" "A", "?A"},
                         {"\xc0\x80\xed\xa0\x80\xf4\x90\x80\x80", std::string(9, '?')}}) {  // overlong, surrogate, too large
    ASSERT_TRUE(utf8_to_sjis_string(in, sjis));
    EXPECT_EQ(sjis, out);
  }
}

}  // namespace
}  // namespace vintorel

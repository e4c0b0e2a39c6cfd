// Tests of the code page 932 rules: code mapping, character walking, search,
// comparison and the Unicode conversions.
#include "platform/cp932.h"

#include <gtest/gtest.h>

#include <string>

namespace vintorel {
namespace {

TEST(cp932, byte_classes_and_jis_mapping_at_their_boundaries) {
  for (unsigned b : {0x80u, 0x81u, 0x9Fu, 0xA0u, 0xA1u, 0xDFu, 0xE0u, 0xFCu, 0xFDu}) {
    EXPECT_EQ(is_lead_byte(b), (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) << std::hex << b;
    EXPECT_EQ(is_kana(b), b >= 0xA1 && b <= 0xDF) << std::hex << b;
  }
  // Row 1 cell 1, end of lead 0x9F, start of lead 0xE0, cell after the skipped 0x7F, row 94 cell 94.
  for (auto [sjis, jis] : {std::pair{0x8140u, 0x2121u}, {0x9FFCu, 0x5E7Eu}, {0xE040u, 0x5F21u},
                           {0x8180u, 0x2160u}, {0xEFFCu, 0x7E7Eu}})
    EXPECT_EQ(jms_to_jis(sjis), jis) << std::hex << sjis;
  for (unsigned code : {0u, 0x41u, 0x8040u, 0x813Fu, 0x817Fu, 0x81FDu, 0xA0A1u, 0xDF40u, 0xF040u, 0xFA40u, 0xFC40u,
                        0x10000u + 0x82A0u})
    EXPECT_EQ(jms_to_jis(code), 0u) << std::hex << code;
  for (unsigned code : {0u, 0x2020u, 0x2120u, 0x217Fu, 0x7F21u, 0xA1A1u, 0x10000u + 0x2422u})
    EXPECT_EQ(jis_to_jms(code), 0u) << std::hex << code;
}

TEST(cp932, jis_mapping_round_trips_every_code) {
  int mapped = 0;
  for (unsigned sjis = 0; sjis <= 0xFFFF; ++sjis) {
    const unsigned jis = jms_to_jis(sjis);
    if (jis == 0) continue;
    ++mapped;
    ASSERT_EQ(jis_to_jms(jis), sjis) << std::hex << sjis;
  }
  EXPECT_EQ(mapped, 94 * 94);
  for (unsigned row = 1; row <= 94; ++row)
    for (unsigned cell = 1; cell <= 94; ++cell) {
      const unsigned jis = (row + 0x20) << 8 | (cell + 0x20);
      ASSERT_EQ(jms_to_jis(jis_to_jms(jis)), jis);
    }
}

TEST(cp932, walking_searching_and_comparing_respect_character_starts) {
  const char* text = "a\x82\xa0" "b\x83\x41";  // a, hiragana, b, katakana whose second byte is 'A'
  // Inside a character (2, 5), the character that holds the position is the one before it.
  const std::size_t from[] = {0, 1, 2, 3, 4, 5, 6}, to[] = {0, 0, 1, 1, 3, 4, 4};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(previous_char(text, from[i]), to[i]) << from[i];

  constexpr auto npos = std::string_view::npos;
  struct { const char *hay, *needle; std::size_t start, found; } finds[] = {
      {"\x83\x41" "A", "A", 0, 2},
      {"\x83\x41", "A", 0, npos},
      {"x\x82\xa0y\x82\xa0", "\x82\xa0", 3, 4},
      {"abc", "", 3, 3},
      {"abc", "x", 4, npos},
      {"ab", "abc", 0, npos},
      {"a\x82\xa0", "a\x82", 0, npos},  // a lone lead byte never matches half a character
      {"a\x82", "a\x82", 0, 0},
      {"\x88\x9f\x88\x9f\x9f\x88", "\x9f\x88", 0, 4},
  };
  for (auto f : finds) EXPECT_EQ(mbs_find(f.hay, f.needle, f.start), f.found) << f.hay << " / " << f.needle;

  EXPECT_EQ(mbs_compare_nocase("Hello", "hELLO", 5), 0);
  EXPECT_LT(mbs_compare_nocase("abc", "abd", 3), 0);
  EXPECT_GT(mbs_compare_nocase("abD", "abc", 3), 0);
  EXPECT_EQ(mbs_compare_nocase("abX", "abY", 2), 0);
  EXPECT_NE(mbs_compare_nocase("\x83\x41", "\x83\x61", 2), 0);  // different katakana
  EXPECT_EQ(mbs_compare_nocase("\x83\x41" "A", "\x83\x41" "a", 3), 0);
  EXPECT_EQ(mbs_compare_nocase("ab\0x", "AB\0y", 4), 0);  // stops after a shared NUL
}

TEST(cp932, unicode_conversion_of_valid_text) {
  const std::string sjis = "A\x82\xa0\x83\x41\xb1\x81\x5f";  // A, あ, ア, half-width ｱ, ＼
  std::u16string wide;
  ASSERT_TRUE(sjis_to_utf16(sjis, wide));
  EXPECT_EQ(wide, u"Aあアｱ＼");
  byte_string back;
  ASSERT_TRUE(utf16_to_sjis(wide, back));
  EXPECT_EQ(back, sjis);
  std::string utf8;
  ASSERT_TRUE(sjis_to_utf8_string(sjis, utf8));
  EXPECT_EQ(utf8, "Aあアｱ＼");
  ASSERT_TRUE(utf8_to_sjis_string(utf8, back));
  EXPECT_EQ(back, sjis);

  std::string line = "\xc2\xa7\xce\xb1\xef\xbd\xb1" "a";  // converted in place, never growing
  EXPECT_EQ(line.substr(0, convert_utf8_to_sjis(line.data(), line.size(), line.data())),
            "\x81\x98\x83\xbf\xb1" "a");
}

TEST(cp932, every_double_byte_character_round_trips_through_unicode) {
  int mapped = 0;
  for (unsigned row = 1; row <= 94; ++row)
    for (unsigned cell = 1; cell <= 94; ++cell) {
      const unsigned sjis = jis_to_jms((row + 0x20) << 8 | (cell + 0x20));
      const char16_t u = sjis_char_to_unicode(sjis);
      if (u == 0) continue;
      ++mapped;
      // NEC and IBM duplicates map back to one preferred code of the same character.
      ASSERT_EQ(sjis_char_to_unicode(unicode_to_sjis_char(u)), u) << std::hex << sjis;
    }
  EXPECT_GT(mapped, 6879);  // JIS X 0208 plus the vendor rows
}

TEST(cp932, what_has_no_counterpart_becomes_question_marks) {
  std::u16string wide;
  for (auto [in, out] : {std::pair<std::string, std::u16string>{"a\x82", u"a?"},  // lead byte at the end
                         {"\x82\r\n", u"?\r\n"},  // a lead byte never takes a line end
                         {"\x80\xa0\xfd\xfe\xff", u"?????"},
                         {"\x81\xad", u"?"}}) {  // unassigned code in row 2
    ASSERT_TRUE(sjis_to_utf16(in, wide));
    EXPECT_EQ(wide, out);
  }
  byte_string sjis;
  ASSERT_TRUE(utf16_to_sjis(u"a\U0001F600b", sjis));
  EXPECT_EQ(sjis, "a?b");
  ASSERT_TRUE(utf16_to_sjis(std::u16string(u"x") + char16_t(0xD800) + u"y" + char16_t(0xDC00), sjis));
  EXPECT_EQ(sjis, "x?y?");
  // Malformed UTF-8 is replaced without reading past the end.
  for (auto [in, out] : {std::pair<std::string, std::string>{"\xef\xbb\xbf" "a\xe4\xb8\x82", "?a?"},  // BOM, non-932 kanji
                         {"\xe3\x81\x82\xe3\x81", "\x82\xa0?"},  // truncated at the end
                         {"\xe3\x81" "A", "?A"},
                         {"\xc0\x80\xed\xa0\x80\xf4\x90\x80\x80", std::string(9, '?')},  // overlong, surrogate, too large
                         {"\x80\xbf", "??"}}) {
    ASSERT_TRUE(utf8_to_sjis_string(in, sjis));
    EXPECT_EQ(sjis, out);
  }
}

}  // namespace
}  // namespace vintorel

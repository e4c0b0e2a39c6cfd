// Tests of the code page 932 rules: code mapping, character walking, search,
// comparison and the Unicode conversions.
#include "platform/cp932.h"

#include <gtest/gtest.h>

#include <string>

namespace vintorel {
namespace {

TEST(cp932, lead_bytes_and_kana) {
  EXPECT_FALSE(is_lead_byte(0x80));
  EXPECT_TRUE(is_lead_byte(0x81));
  EXPECT_TRUE(is_lead_byte(0x9F));
  EXPECT_FALSE(is_lead_byte(0xA0));
  EXPECT_FALSE(is_lead_byte(0xDF));
  EXPECT_TRUE(is_lead_byte(0xE0));
  EXPECT_TRUE(is_lead_byte(0xFC));
  EXPECT_FALSE(is_lead_byte(0xFD));
  EXPECT_TRUE(is_kana(0xA1));
  EXPECT_TRUE(is_kana(0xDF));
  EXPECT_FALSE(is_kana(0xA0));
  EXPECT_FALSE(is_kana(0xE0));
}

TEST(cp932, jis_mapping_known_codes) {
  EXPECT_EQ(jms_to_jis(0x8140), 0x2121u);  // ideographic space, row 1 cell 1
  EXPECT_EQ(jms_to_jis(0x8148), 0x2129u);  // full-width question mark
  EXPECT_EQ(jms_to_jis(0x82A0), 0x2422u);  // hiragana a
  EXPECT_EQ(jms_to_jis(0x889F), 0x3021u);  // first level-1 kanji
  EXPECT_EQ(jms_to_jis(0x9FFC), 0x5E7Eu);  // row 62 cell 94, last code of lead 0x9F
  EXPECT_EQ(jms_to_jis(0xE040), 0x5F21u);  // row 63 starts the second lead range
  EXPECT_EQ(jms_to_jis(0x8180), 0x2160u);  // cell 64 follows the skipped 0x7F
  EXPECT_EQ(jms_to_jis(0xEFFC), 0x7E7Eu);  // row 94 cell 94
  EXPECT_EQ(jis_to_jms(0x2422), 0x82A0u);
  EXPECT_EQ(jis_to_jms(0x5F21), 0xE040u);
  EXPECT_EQ(jis_to_jms(0x7E7E), 0xEFFCu);
}

TEST(cp932, jis_mapping_is_zero_outside_its_ranges) {
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

TEST(cp932, previous_char_steps_over_double_byte_characters) {
  const std::string text = "a\x82\xa0" "b\x83\x41";  // a, hiragana, b, katakana whose second byte is 'A'
  EXPECT_EQ(previous_char(text.c_str(), 0), 0u);
  EXPECT_EQ(previous_char(text.c_str(), 1), 0u);
  EXPECT_EQ(previous_char(text.c_str(), 3), 1u);
  EXPECT_EQ(previous_char(text.c_str(), 4), 3u);
  EXPECT_EQ(previous_char(text.c_str(), 6), 4u);
  // Inside a character, the character that holds the position is the one before it.
  EXPECT_EQ(previous_char(text.c_str(), 2), 1u);
  EXPECT_EQ(previous_char(text.c_str(), 5), 4u);
}

TEST(cp932, find_matches_only_at_character_starts) {
  const std::string text = "\x83\x41" "A";  // katakana a (second byte 'A'), then 'A'
  EXPECT_EQ(mbs_find(text, "A"), 2u);
  EXPECT_EQ(mbs_find("\x83\x41", "A"), std::string_view::npos);
  EXPECT_EQ(mbs_find("x\x82\xa0y\x82\xa0", "\x82\xa0"), 1u);
  EXPECT_EQ(mbs_find("x\x82\xa0y\x82\xa0", "\x82\xa0", 3), 4u);
  EXPECT_EQ(mbs_find("abc", ""), 0u);
  EXPECT_EQ(mbs_find("abc", "", 3), 3u);
  EXPECT_EQ(mbs_find("abc", "x", 4), std::string_view::npos);
  EXPECT_EQ(mbs_find("ab", "abc"), std::string_view::npos);
  // A needle ending in a lone lead byte must not match the first half of a character.
  EXPECT_EQ(mbs_find("a\x82\xa0", "a\x82"), std::string_view::npos);
  EXPECT_EQ(mbs_find("a\x82", "a\x82"), 0u);
  // A repeated pattern with double-byte characters.
  EXPECT_EQ(mbs_find("\x88\x9f\x88\x9f\x9f\x88", "\x9f\x88"), 4u);
}

TEST(cp932, compare_folds_ascii_but_not_second_bytes) {
  EXPECT_EQ(mbs_compare_nocase("Hello", "hELLO", 5), 0);
  EXPECT_LT(mbs_compare_nocase("abc", "abd", 3), 0);
  EXPECT_GT(mbs_compare_nocase("abD", "abc", 3), 0);
  EXPECT_EQ(mbs_compare_nocase("abX", "abY", 2), 0);
  // 0x83 0x41 and 0x83 0x61 are different katakana.
  EXPECT_NE(mbs_compare_nocase("\x83\x41", "\x83\x61", 2), 0);
  EXPECT_EQ(mbs_compare_nocase("\x83\x41" "A", "\x83\x41" "a", 3), 0);
  // Stops after a shared NUL.
  EXPECT_EQ(mbs_compare_nocase("ab\0x", "AB\0y", 4), 0);
  EXPECT_EQ(mbs_compare_nocase("", "", 0), 0);
}

TEST(cp932, unicode_conversion_of_valid_text) {
  const std::string sjis = "A\x82\xa0\x83\x41\xb1\x81\x5f";  // A, あ, ア, half-width ｱ, backslash-like ＼
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
}

TEST(cp932, every_double_byte_character_round_trips_through_unicode) {
  int mapped = 0;
  for (unsigned row = 1; row <= 94; ++row)
    for (unsigned cell = 1; cell <= 94; ++cell) {
      const unsigned sjis = jis_to_jms((row + 0x20) << 8 | (cell + 0x20));
      const char16_t u = sjis_char_to_unicode(sjis);
      if (u == 0) continue;
      ++mapped;
      // NEC and IBM duplicates map back to one preferred code; it must still be the same character.
      ASSERT_EQ(sjis_char_to_unicode(unicode_to_sjis_char(u)), u) << std::hex << sjis;
    }
  EXPECT_GT(mapped, 6879);  // JIS X 0208 plus the vendor rows
}

TEST(cp932, invalid_shift_jis_becomes_question_marks) {
  std::u16string wide;
  ASSERT_TRUE(sjis_to_utf16("a\x82", wide));  // lead byte at the very end
  EXPECT_EQ(wide, u"a?");
  ASSERT_TRUE(sjis_to_utf16("\x82\r\n", wide));  // a lead byte never takes a line end
  EXPECT_EQ(wide, u"?\r\n");
  ASSERT_TRUE(sjis_to_utf16("\x80\xa0\xfd\xfe\xff", wide));
  EXPECT_EQ(wide, u"?????");
  ASSERT_TRUE(sjis_to_utf16("\x81\xad", wide));  // unassigned code in row 2
  EXPECT_EQ(wide, u"?");
}

TEST(cp932, unicode_without_shift_jis_form_becomes_question_mark) {
  byte_string out;
  ASSERT_TRUE(utf16_to_sjis(u"a\U0001F600b", out));  // surrogate pair
  EXPECT_EQ(out, "a?b");
  ASSERT_TRUE(utf16_to_sjis(std::u16string(u"x") + char16_t(0xD800) + u"y" + char16_t(0xDC00), out));
  EXPECT_EQ(out, "x?y?");
  ASSERT_TRUE(utf8_to_sjis_string("\xef\xbb\xbf" "a\xe4\xb8\x82", out));  // BOM and a kanji outside code page 932
  EXPECT_EQ(out, "?a?");
}

TEST(cp932, malformed_utf8_is_replaced_without_reading_past_the_end) {
  byte_string out;
  ASSERT_TRUE(utf8_to_sjis_string(std::string_view("\xe3\x81\x82\xe3\x81", 5), out));  // truncated at the end
  EXPECT_EQ(out, "\x82\xa0?");
  ASSERT_TRUE(utf8_to_sjis_string("\xe3\x81" "A", out));  // truncated in the middle: one mark, 'A' kept
  EXPECT_EQ(out, "?A");
  ASSERT_TRUE(utf8_to_sjis_string("\xc0\x80\xed\xa0\x80\xf4\x90\x80\x80", out));  // overlong, surrogate, too large
  EXPECT_EQ(out, std::string(9, '?'));
  ASSERT_TRUE(utf8_to_sjis_string("\x80\xbf", out));  // stray continuation bytes
  EXPECT_EQ(out, "??");
}

TEST(cp932, utf8_conversion_in_place_never_grows) {
  std::string line = "\xc2\xa7\xce\xb1\xef\xbd\xb1" "a";  // section sign, alpha, half-width ｱ, a
  const std::size_t n = convert_utf8_to_sjis(line.data(), line.size(), line.data());
  EXPECT_EQ(line.substr(0, n), "\x81\x98\x83\xbf\xb1" "a");
}

}  // namespace
}  // namespace vintorel

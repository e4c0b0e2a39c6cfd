// Files made with iconv from one Japanese text, in every character set a user
// meets: each opens in the character set the user expects, with the classic
// detection when the "detect UTF8" switch is off, and each is written back
// byte for byte when saved unchanged in its own character set.
#include <gtest/gtest.h>

#include <string>

#include "files/charset.h"
#include "files/iconv_convert.h"
#include "files/load_text.h"
#include "files/reference_detect.h"
#include "files/write_text.h"
#include "scratch_dir.h"

namespace vintorel {
namespace {

using test_support::read_bytes;

std::string convert(const char* to, const std::string& utf8_text) {
  std::optional<std::string> out = test_support::iconv_convert(to, "UTF-8", utf8_text);
  EXPECT_TRUE(out) << to;
  return out.value_or("");
}

TEST(detect_files, each_charset_opens_as_expected_and_saves_back_unchanged) {
  const std::string text = "日本語のテキストを編集する。\n漢字、ひらがな、カタカナ。\nline 3: abc 123\n";
  const std::string kana = "半角ｶﾀｶﾅも\n";
  const std::string jisx0212 = "補助漢字の丂\n";
  // Valid UTF-8 for its first 64 KiB (plain ASCII), Shift_JIS after that.
  std::string ascii_head;
  while (ascii_head.size() < 70000) ascii_head += "an ascii line of a long file\n";
  const struct {
    const char* name;
    std::string bytes;
    charset expected;
  } cases[] = {
      {"UTF-8", convert("UTF-8", text), utf8},
      {"UTF-8 with a BOM", "\xEF\xBB\xBF" + convert("UTF-8", text), utf8},
      {"UTF-8 with an emoji", convert("UTF-8", text + "😀\n"), utf8},
      {"EUC-JP", convert("EUC-JP", text), euc_jp},
      {"EUC-JP with half-width katakana", convert("EUC-JP", text + kana), euc_jp},
      {"EUC-JP with JIS X 0212", convert("EUC-JP", text + jisx0212), euc_jp},
      {"Shift_JIS", convert("CP932", text + kana), shift_jis},
      {"ISO-2022-JP", convert("ISO-2022-JP", text), iso2022jp},
      {"ASCII", "plain\nascii\n", shift_jis},
      {"Shift_JIS after 64 KiB of ASCII", ascii_head + convert("CP932", text), shift_jis},
  };
  test_support::scratch_dir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir.write("in.txt", c.bytes);
    for (bool guess : {true, false}) {
      text_document document;
      load_text_file(document, path, false, 0, 0, 0, 0, unknown_charset, unknown_linefeed, 1, guess);
      ASSERT_EQ(document.state, unchanged_state);
      charset classic = unknown_charset;
      linefeed_kind linefeed = unknown_linefeed;
      test_support::reference_detect(reinterpret_cast<const std::uint8_t*>(c.bytes.data()), c.bytes.size(), classic,
                                     linefeed);
      EXPECT_EQ(document.file_charset, guess ? c.expected : classic) << "guess " << guess;
      EXPECT_EQ(document.file_linefeed, lf);
      if (!guess) continue;
      ASSERT_TRUE(write_text(document, dir / "out.txt"));
      EXPECT_TRUE(read_bytes(dir / "out.txt") == c.bytes);
    }
  }
  // A binary file is not loaded, and says why.
  text_document document;
  load_text_file(document, dir.write("bin", std::string("ab\0cd", 5)), false, 0, 0, 0, 0, unknown_charset, unknown_linefeed);
  EXPECT_EQ(document.state, failed_state);
  EXPECT_EQ(document.file_charset, binary);
}

}  // namespace
}  // namespace vintorel

// Texts in four charsets and line ends edited and saved in others; the bytes
// on disk are checked against iconv.
#include <cstdio>

#include "main_window_fixture.h"

namespace vintorel {
namespace {

using window_test::main_window_test;

class charset_saving_test : public main_window_test {
 protected:
  void SetUp() override {
    main_window_test::SetUp();
    ::setenv("TMP_RAM", files.dir().c_str(), 1);
  }
  void TearDown() override {
    main_window_test::TearDown();
    ::unsetenv("TMP_RAM");
  }
  // UTF-8 text in `charset` by iconv; empty when iconv fails.
  std::string iconv_to(const std::string& utf8, const char* charset) {
    std::string in = files.write("iconv.in", utf8);
    std::string command = std::string("iconv -f UTF-8 -t ") + charset + " '" + in + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return {};
    std::string out;
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, got);
    return ::pclose(pipe) == 0 ? out : std::string();
  }
  static std::string with_line_end(const std::string& text, const char* end) {
    std::string out;
    for (char c : text) c == '\n' ? out += end : out += c;
    return out;
  }
};

TEST_F(charset_saving_test, four_charsets_saved_in_others_match_iconv) {
  struct kind {
    const char* name;
    const char* from;
    const char* from_end;
    int loaded_charset;
    int save_charset_id;   // menu item
    int save_linefeed_id;  // menu item
    const char* to;
    const char* to_end;
  };
  const std::string original = "日本語のテキスト\nsecond 行\n半角ｶﾅ\n";
  const std::string edited = "x日本語のテキスト\nsecond 行\n半角ｶﾅ\n";
  const kind kinds[] = {
      {"sjis.txt", "SHIFT_JIS", "\r\n", 2, 330, 333, "EUC-JP", "\n"},
      {"euc.txt", "EUC-JP", "\n", 4, 331, 334, "UTF-8", "\r"},
      {"jis.txt", "ISO-2022-JP", "\r\n", 3, 328, 332, "SHIFT_JIS", "\r\n"},
      {"cr.txt", "SHIFT_JIS", "\r", 2, 330, 332, "EUC-JP", "\r\n"},
  };
  std::vector<std::string> paths;
  for (const kind& k : kinds) {
    // Half-width kana has no ISO-2022-JP form; that file holds the rest only.
    std::string text = std::string(k.from) == "ISO-2022-JP" ? "日本語のテキスト\nsecond 行\n" : original;
    std::string bytes = iconv_to(with_line_end(text, k.from_end), k.from);
    ASSERT_FALSE(bytes.empty()) << k.name;
    paths.push_back(files.write(k.name, bytes));
  }
  // EUC-JP is only recognised by bytes 0xFD or 0xFE; this one is opened in
  // it as a remembered text would be.
  start(files_to_open({paths[0]}));
  ASSERT_TRUE(w->open_text(2, paths[1], false, 0, 0, 0, 0, 4, 2));
  ASSERT_TRUE(w->open_text(3, paths[2], false));
  ASSERT_TRUE(w->open_text(4, paths[3], false));
  for (std::size_t i = 0; i < std::size(kinds); ++i) {
    const kind& k = kinds[i];
    w->send_command(401 + static_cast<int>(i) + 1);
    settle();
    ASSERT_EQ(current().name, paths[i]);
    EXPECT_EQ(current().file_charset, k.loaded_charset) << k.name;
    command(270);
    type("x");
    command(k.save_charset_id);
    command(k.save_linefeed_id);
    answers.confirm_answers = {true, true};
    command(226);
    std::string expected_text =
        std::string(k.from) == "ISO-2022-JP" ? "x日本語のテキスト\nsecond 行\n" : edited;
    EXPECT_EQ(files.read(k.name), iconv_to(with_line_end(expected_text, k.to_end), k.to)) << k.name;
  }
}

TEST_F(charset_saving_test, a_same_charset_save_keeps_unedited_lines_byte_for_byte) {
  std::string bytes = iconv_to("first\r\n全角と半角ｶﾅ\r\n\r\nlast line\r\n", "SHIFT_JIS");
  ASSERT_FALSE(bytes.empty());
  std::string path = files.write("same.txt", bytes);
  start(files_to_open({path}));
  type("y");
  answers.confirm_answers = {true};
  command(226);
  EXPECT_EQ(files.read("same.txt"), "y" + bytes);
}

}  // namespace
}  // namespace vintorel

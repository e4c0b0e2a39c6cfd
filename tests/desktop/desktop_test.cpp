// The editor as a real X client on Xvfb: keys typed with xdotool, files
// checked on disk against iconv, and the clipboard shared with a second Qt
// client (tests/desktop/probe).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <sys/stat.h>

#include <fstream>
#include <string>
#include <vector>

#include "desktop/desktop_support.h"

namespace vintorel {
namespace {

using namespace desktop_support;

std::string iconv_to(const scratch_dir& dir, const std::string& utf8, const char* charset) {
  dir.write("iconv.in", utf8);
  return run_tool({"iconv", "-f", "UTF-8", "-t", charset, dir.path("iconv.in")}, {});
}

std::string with_line_end(const std::string& text, const char* end) {
  std::string out;
  for (char c : text) c == '\n' ? out += end : out += c;
  return out;
}

const char* const caption_confirm = "確認";
const char* const caption_error = "エラー";

class desktop_test : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(x.display().empty()) << "Xvfb did not start"; }
  x_server x;
};

// Each file is edited at its first line and saved with Shift+Tab and Ctrl+Tab
// moving the charset and the line end on; the saved text is reopened in its
// new charset, so the EUC-JP file is the one the first save made.
TEST_F(desktop_test, typed_edits_saved_in_other_charsets_and_line_ends_match_iconv) {
  desktop_editor editor(x);
  const scratch_dir& dir = editor.dir;
  const std::string text = "日本語のテキスト\nsecond 行\n半角ｶﾅ\n";
  const std::string jis_text = "日本語のテキスト\nsecond 行\n";  // no half-width kana in ISO-2022-JP
  dir.write("sjis.txt", iconv_to(dir, with_line_end(text, "\r\n"), "SHIFT_JIS"));
  dir.write("jis.txt", iconv_to(dir, with_line_end(jis_text, "\r\n"), "ISO-2022-JP"));
  dir.write("cr.txt", iconv_to(dir, with_line_end(text, "\r"), "SHIFT_JIS"));

  struct step {
    const char* file;
    const char* typed;
    int charset_steps;   // Shift+Tab: Shift_JIS, ISO-2022-JP, EUC-JP, UTF-8
    int linefeed_steps;  // Ctrl+Tab: CRLF, LF, CR
    std::string expected_utf8;
    const char* to;
    const char* to_end;
  };
  const step steps[] = {
      {"sjis.txt", "x", 2, 1, "x" + text, "EUC-JP", "\n"},          // Shift_JIS CRLF to EUC-JP LF
      {"sjis.txt", "y", 1, 1, "xy" + text, "UTF-8", "\r"},          // the EUC-JP LF file (cursor kept) to UTF-8 CR
      {"jis.txt", "z", 3, 0, "z" + jis_text, "SHIFT_JIS", "\r\n"},  // ISO-2022-JP CRLF to Shift_JIS
      {"cr.txt", "w", 2, 1, "w" + text, "EUC-JP", "\r\n"},          // Shift_JIS CR to EUC-JP CRLF
  };
  ASSERT_TRUE(editor.start({dir.path("sjis.txt")})) << editor.log();
  std::string current = "sjis.txt";
  for (const step& s : steps) {
    if (s.file != current) {
      ASSERT_EQ(editor.quit(), 0) << editor.log();
      ASSERT_TRUE(editor.start({dir.path(s.file)})) << editor.log();
      current = s.file;
    }
    std::vector<std::string> keys = {s.typed};
    keys.insert(keys.end(), static_cast<std::size_t>(s.charset_steps), "shift+Tab");
    keys.insert(keys.end(), static_cast<std::size_t>(s.linefeed_steps), "ctrl+Tab");
    keys.push_back("F2");
    editor.keys(keys);
    std::string first = editor.answer_box(caption_confirm);  // save this text?
    ASSERT_FALSE(first.empty()) << s.file << editor.log();
    ASSERT_FALSE(editor.answer_box(caption_confirm, first).empty()) << s.file;  // charset or line end changed
    std::string expected = iconv_to(dir, with_line_end(s.expected_utf8, s.to_end), s.to);
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(eventually([&] { return dir.read(s.file) == expected; })) << s.file << " as " << s.to;
  }
  EXPECT_EQ(editor.quit(), 0) << editor.log();
}

TEST_F(desktop_test, a_same_charset_save_keeps_unedited_lines_byte_for_byte) {
  desktop_editor editor(x);
  const std::string bytes = iconv_to(editor.dir, "first\r\n全角と半角ｶﾅ\r\n\r\nlast line\r\n", "SHIFT_JIS");
  ASSERT_FALSE(bytes.empty());
  editor.dir.write("same.txt", bytes);
  ASSERT_TRUE(editor.start({editor.dir.path("same.txt")})) << editor.log();
  editor.keys({"y", "F2"});
  ASSERT_FALSE(editor.answer_box(caption_confirm).empty()) << editor.log();
  EXPECT_TRUE(eventually([&] { return editor.dir.read("same.txt") == "y" + bytes; }));
  EXPECT_EQ(editor.quit(), 0) << editor.log();
}

// A pushed line reaches another program through the clipboard, and text that
// program puts there pastes as lines whatever its line ends.
TEST_F(desktop_test, the_clipboard_is_shared_with_another_program) {
  desktop_editor editor(x);
  std::string probe = std::string(VINTOREL_BINARY_DIR) + "/clipboard_probe";
  editor.dir.write("clip.txt", "first\r\nsecond \x8d\x73\r\n");  // "second 行"
  ASSERT_TRUE(editor.start({editor.dir.path("clip.txt")})) << editor.log();
  editor.keys({"Down", "F3"});
  std::string read_back;
  EXPECT_TRUE(eventually([&] {
    return (read_back = run_tool({probe, "read"}, editor.env)) == "second 行\n";
  })) << read_back;

  int out[2];
  ASSERT_EQ(::pipe2(out, O_CLOEXEC), 0);
  pid_t owner = spawn_child({probe, "own", "one\ntwo\r\nthree\rfour"}, editor.env, "", out[1]);
  ::close(out[1]);
  char said[6] = {};
  EXPECT_EQ(::read(out[0], said, 5), 5);
  ::close(out[0]);
  editor.keys({"F4", "F2"});
  EXPECT_FALSE(editor.answer_box(caption_confirm).empty()) << editor.log();
  EXPECT_TRUE(eventually([&] {
    return editor.dir.read("clip.txt") == "first\r\none\r\ntwo\r\nthree\r\nfoursecond \x8d\x73\r\n";
  })) << editor.dir.read("clip.txt");
  ::kill(owner, SIGTERM);
  wait_for_child(owner, 5s);
  EXPECT_EQ(editor.quit(), 0) << editor.log();
}

// A failure nobody catches ends the editor, but the edits are in a rescue file
// beside their file first, and the user is told where.
TEST_F(desktop_test, an_uncaught_failure_leaves_the_edits_in_a_rescue_file) {
  desktop_editor editor(x);
  editor.env.push_back("VINTOREL_TEST_FAULTS=1");
  editor.dir.write("kept.txt", "hello\r\n");
  const std::string kept = editor.dir.path("kept.txt");
  ASSERT_TRUE(editor.start({kept})) << editor.log();
  editor.keys({"x", "y", "Down"});  // leaving the line makes the text modified
  ASSERT_TRUE(eventually([&] { return editor.list().find("2 " + kept + "\n") != std::string::npos; }))
      << editor.list();
  send_request(editor.instance_directory(), {request_kind::fail_for_test, false}, 2000);
  EXPECT_TRUE(eventually([&] { return editor.dir.read("kept.txt.rescue") == "xyhello\r\n"; })) << editor.log();
  EXPECT_EQ(editor.dir.read("kept.txt"), "hello\r\n");
  EXPECT_FALSE(editor.answer_box(caption_error).empty()) << editor.log();
  EXPECT_NE(editor.wait_end(20s), -1) << editor.log();
}

#if !defined(__SANITIZE_ADDRESS__)
// Within 1 GiB of address space a 10 MiB file opens, takes edits and saves;
// a file whose line index alone needs more is refused with a box, and the
// editor goes on. (The sanitizers reserve far more address space than this.)
TEST_F(desktop_test, under_a_one_gib_address_space_limit_a_file_too_big_is_refused_and_editing_goes_on) {
  desktop_editor editor(x);
  editor.prefix = {"prlimit", "--as=1073741824", "--"};
  std::string line = "0123456789 abcdefghij \x93\xfa\x96\x7b\x8c\xea\r\n";
  std::string big;
  while (big.size() < (10u << 20)) big += line;
  editor.dir.write("big.txt", big);
  // 160 Mi empty lines: a line index of several hundred MiB at the least.
  editor.dir.write("lines.txt", std::string(160u << 20, '\n'));
  ASSERT_TRUE(editor.start({editor.dir.path("big.txt")})) << editor.log();
  editor.keys({"y", "End", "z", "F2"});
  ASSERT_FALSE(editor.answer_box(caption_confirm).empty()) << editor.log();
  EXPECT_TRUE(eventually([&] { return editor.dir.read("big.txt") == "y" + big + "z"; })) << editor.log();

  pid_t second = spawn_child({editor.dir.path("vintorel"), editor.dir.path("lines.txt")}, editor.env, "", -1,
                             editor.dir.path("second.log"));
  EXPECT_EQ(wait_for_child(second, 30s), 0) << editor.dir.read("second.log");
  EXPECT_FALSE(editor.answer_box(caption_error, "", 120s).empty()) << editor.log();
  std::string texts = editor.list();
  EXPECT_NE(texts.find("big.txt\n"), std::string::npos) << texts;
  EXPECT_EQ(texts.find("lines.txt"), std::string::npos) << texts;
  EXPECT_EQ(editor.quit(), 0) << editor.log();
}
#endif

}  // namespace
}  // namespace vintorel

namespace vintorel {
namespace {

using namespace desktop_support;

std::uint64_t file_size(const std::string& path) {
  struct stat status;
  return ::stat(path.c_str(), &status) == 0 ? static_cast<std::uint64_t>(status.st_size) : 0;
}

// A 1 GiB Shift_JIS file is shown before it is wholly indexed; End and a
// character typed at once land at the end of the text, and the save holds
// every byte of the file and the character.
TEST_F(desktop_test, keys_typed_while_a_one_gib_file_is_indexed_all_arrive) {
  desktop_editor editor(x);
  std::string block;
  for (int i = 0; block.size() < (1u << 20); ++i)
    block += "line " + std::to_string(i) + " \x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x65\x83\x4c\x83\x58\x83\x67\r\n";
  const std::uint64_t blocks = 1024;
  {
    std::ofstream out(editor.dir.path("huge.txt"), std::ios::binary);
    for (std::uint64_t i = 0; i < blocks; ++i) out.write(block.data(), static_cast<std::streamsize>(block.size()));
    ASSERT_TRUE(out.good());
  }
  ASSERT_TRUE(editor.start({editor.dir.path("huge.txt")})) << editor.log();
  editor.keys({"End", "x", "F2"});
  ASSERT_FALSE(editor.answer_box(caption_confirm, "", 120s).empty()) << editor.log();
  const std::uint64_t expected_size = blocks * block.size() + 1;
  EXPECT_TRUE(eventually([&] { return file_size(editor.dir.path("huge.txt")) == expected_size; }, 120s));
  // The saved file, block by block: the original bytes, then the character.
  std::ifstream in(editor.dir.path("huge.txt"), std::ios::binary);
  std::string read(block.size(), '\0');
  for (std::uint64_t i = 0; i < blocks; ++i) {
    in.read(read.data(), static_cast<std::streamsize>(read.size()));
    ASSERT_EQ(read, block) << "block " << i;
  }
  EXPECT_EQ(in.get(), 'x');
  EXPECT_EQ(in.get(), std::char_traits<char>::eof());
  EXPECT_EQ(editor.quit(), 0) << editor.log();
}

}  // namespace
}  // namespace vintorel

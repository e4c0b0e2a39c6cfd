// Runs the golden behaviour files of tests/text/golden: each gives a start text
// with a cursor mark, commands by name, and the expected text with the cursor.
//
// File format (UTF-8; text is converted to Shift_JIS):
//   # comment lines anywhere
//   set auto_indent on | set overwrite on
//   --- text          start text; "|" marks the cursor (default: start of line 0)
//   --- do            one text command a line (any of the text model's commands,
//                     run as dispatch runs it) with its argument or "xN" to repeat it
//   --- expect        the text afterwards with its cursor mark
// Escapes in texts and arguments: \t TAB, \\ backslash, \xHH a byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "platform/cp932.h"
#include "text/deleted_chars.h"
#include "text/text_commands.h"
#include "text_fixture.h"

namespace vintorel {
namespace {

namespace fs = std::filesystem;
const fs::path golden_dir = fs::path(VINTOREL_TEST_DATA).parent_path() / "golden";

// Converts to Shift_JIS and resolves the escapes; "|" stays.
byte_string decode(const std::string& utf8) {
  byte_string sjis, out;
  EXPECT_TRUE(utf8_to_sjis_string(utf8, sjis)) << utf8;
  for (std::size_t i = 0; i < sjis.size(); ++i) {
    char c = sjis[i] == '\\' && i + 1 < sjis.size() ? sjis[++i] : 0;
    if (c == 'x') {
      out += static_cast<char>(std::stoi(sjis.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += c == 't' ? '\t' : c ? c : sjis[i];
    }
  }
  return out;
}

class golden : public ::testing::TestWithParam<std::string> {};

TEST_P(golden, behaves_as_written) {
  std::ifstream in(golden_dir / (GetParam() + ".txt"));
  std::map<std::string, std::vector<std::string>> sections;
  std::string section = "set", line;
  while (std::getline(in, line)) {
    if (line.starts_with("--- "))
      section = line.substr(4);
    else if (!line.starts_with("#") && (!line.empty() || section == "text" || section == "expect"))
      sections[section].push_back(line);
  }

  text_document d;
  deleted_char_buffer deleted{1024};
  edit_context c;
  c.deleted = &deleted;
  for (const std::string& setting : sections["set"]) {
    ASSERT_TRUE(setting == "set overwrite on" || setting == "set auto_indent on") << "unknown setting " << setting;
    (setting == "set overwrite on" ? c.overwrite_mode : c.pane.auto_indent) = true;
  }

  std::vector<byte_string> lines;
  std::int32_t cursor_line = 0, cursor_position = 0;
  for (const std::string& text : sections["text"]) {
    lines.push_back(decode(text));
    if (std::size_t bar = lines.back().find('|'); bar != byte_string::npos) {
      lines.back().erase(bar, 1);
      cursor_line = static_cast<std::int32_t>(lines.size() - 1);
      cursor_position = static_cast<std::int32_t>(bar);
    }
  }
  testing::make_text(d, lines);
  testing::place_cursor(d, c, cursor_line, cursor_position);

  for (const std::string& command : sections["do"]) {
    std::size_t blank = command.find(' ');
    std::string name = command.substr(0, blank);
    std::string arg = blank == std::string::npos ? "" : command.substr(blank + 1);
    bool repeat = arg.size() > 1 && arg[0] == 'x' && arg.find_first_not_of("0123456789", 1) == std::string::npos;
    int times = repeat ? std::stoi(arg.substr(1)) : 1;
    if (repeat) arg.clear();
    const text_command* run = find_text_command(name);
    ASSERT_NE(run, nullptr) << "unknown command " << name;
    for (int i = 0; i < times; ++i) {
      run->run(d, c, decode(arg));
      ASSERT_EQ(testing::check_text(d, c), "") << "after " << command;
    }
  }

  std::string expected;
  for (const std::string& text : sections["expect"]) expected += (expected.empty() ? "" : "\n") + decode(text);
  EXPECT_EQ(testing::text_with_cursor(d), expected);
}

std::vector<std::string> golden_names() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(golden_dir))
    if (entry.path().extension() == ".txt") names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

INSTANTIATE_TEST_SUITE_P(files, golden, ::testing::ValuesIn(golden_names()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace vintorel

// Runs the golden behaviour files of tests/text/golden: each gives a start text
// with a cursor mark, commands by name, and the expected text with the cursor.
//
// File format (UTF-8; text is converted to Shift_JIS):
//   # comment lines anywhere
//   set columns 20 | rows 5 | tab 4 | auto_indent on | overwrite on | top 3 | left 2
//   --- text          start text; "|" marks the cursor (default: start of line 0)
//   --- do            one command a line, optionally followed by "xN" to repeat
//   --- expect        the text afterwards with its cursor mark
//   --- check         optional "top N", "left N", "column N", "desired N", "state N",
//                     "lines N", "deleted N" (entries in the deleted-character buffer)
// Escapes in texts and arguments: \t TAB, \| a literal bar, \\ backslash, \xHH a byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "platform/cp932.h"
#include "text/deleted_chars.h"
#include "text/editing.h"
#include "text/motion.h"
#include "text/undo.h"
#include "text_fixture.h"

namespace vintorel {
namespace {

using testing::check_text;
using testing::make_text;
using testing::place_cursor;
using testing::text_with_cursor;

struct golden_case {
  std::string name;
  std::vector<std::string> settings;
  std::vector<std::string> text;
  std::vector<std::string> commands;
  std::vector<std::string> expect;
  std::vector<std::string> checks;
};

// Beside the data folder of this test program.
std::string golden_dir() {
  return (std::filesystem::path(VINTOREL_TEST_DATA).parent_path() / "golden").string();
}

golden_case read_case(const std::filesystem::path& path) {
  golden_case result;
  result.name = path.stem().string();
  std::ifstream in(path);
  std::string line;
  std::vector<std::string>* section = &result.settings;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("#", 0) == 0) continue;
    if (line == "--- text") section = &result.text;
    else if (line == "--- do") section = &result.commands;
    else if (line == "--- expect") section = &result.expect;
    else if (line == "--- check") section = &result.checks;
    else if (section == &result.settings || section == &result.commands || section == &result.checks) {
      if (!line.empty()) section->push_back(line);
    } else {
      section->push_back(line);
    }
  }
  return result;
}

// Converts to Shift_JIS and resolves escapes; `cursor` receives the offset of
// an unescaped "|" (which is removed), or stays npos.
byte_string decode(const std::string& utf8, std::size_t* cursor = nullptr) {
  byte_string sjis;
  EXPECT_TRUE(utf8_to_sjis_string(utf8, sjis)) << utf8;
  byte_string out;
  for (std::size_t i = 0; i < sjis.size(); ++i) {
    char c = sjis[i];
    if (c == '\\' && i + 1 < sjis.size()) {
      char e = sjis[++i];
      if (e == 't') out += '\t';
      else if (e == 'x' && i + 2 < sjis.size()) {
        out += static_cast<char>(std::stoi(sjis.substr(i + 1, 2), nullptr, 16));
        i += 2;
      } else out += e;
    } else if (c == '|' && cursor) {
      *cursor = out.size();
    } else {
      out += c;
    }
  }
  return out;
}

// The expected text in the form text_with_cursor gives.
std::string expected_text(const std::vector<std::string>& lines) {
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::size_t cursor = byte_string::npos;
    byte_string line = decode(lines[i], &cursor);
    if (cursor != byte_string::npos) line.insert(cursor, "|");
    out += (i ? "\n" : "") + line;
  }
  return out;
}

struct golden_run {
  text_document document;
  deleted_char_buffer deleted{1024};
  edit_context context;
  std::map<std::string, std::function<void(const std::string&)>> commands;

  golden_run() {
    context.deleted = &deleted;
    context.pane = {1, 0, 19, 80, 8, false};
    auto& d = document;
    auto& c = context;
    auto simple = [&](const char* name, std::function<void()> f) {
      commands[name] = [f](const std::string&) { f(); };
    };
    // As command dispatch calls them.
    simple("backward_char", [&] { backward_char(d, c, true); });
    simple("forward_char", [&] { forward_char(d, c, true); });
    simple("backward_word", [&] { backward_word(d, c); });
    simple("forward_word", [&] { forward_word(d, c); });
    simple("backward_page", [&] { backward_page(d, c); });
    simple("forward_page", [&] { forward_page(d, c); });
    simple("backward_head", [&] { backward_head(d, c, true); });
    simple("forward_tail", [&] { forward_tail(d, c, true); });
    simple("backward_line", [&] { backward_line(d, c, true, true, false); });
    simple("forward_line", [&] { forward_line(d, c, true, true, false); });
    simple("backward_line_screen", [&] { backward_line_screen(d, c); });
    simple("forward_line_screen", [&] { forward_line_screen(d, c); });
    simple("backward_line_page", [&] { backward_line_page(d, c); });
    simple("forward_line_page", [&] { forward_line_page(d, c); });
    simple("backward_line_head", [&] { backward_line_head(d, c, true); });
    simple("forward_line_tail", [&] { forward_line_tail(d, c, true); });
    simple("mark", [&] { mark(d); });
    simple("jump_mark", [&] { jump_mark(d, c); });
    simple("jump_previousline", [&] { jump_previousline(d, c); });
    commands["jump"] = [&](const std::string& arg) { jump(d, c, std::stoi(arg)); };
    commands["go_to_position"] = [&](const std::string& arg) {
      std::istringstream in(arg);
      std::int32_t line = 0, desired = 0, top = -1;
      in >> line >> desired >> top;
      go_to_position(d, c, line, desired, top, true);
    };
    commands["insert_string"] = [&](const std::string& arg) {
      insert_string(d, c, decode(arg), true, true, false);
    };
    simple("insert_tab", [&] { insert_tab(d, c); });
    simple("insert_space", [&] { insert_space(d, c); });
    simple("insert_linefeed", [&] { insert_linefeed(d, c, true, true, false, true); });
    simple("insert_line", [&] { insert_line(d, c, true); });
    simple("delete_char", [&] { delete_char(d, c, true, true, false); });
    simple("delete_word", [&] { delete_word(d, c); });
    simple("delete_tail", [&] { delete_tail(d, c, true, true); });
    simple("backspace_char", [&] { backspace_char(d, c, true, true); });
    simple("backspace_word", [&] { backspace_word(d, c); });
    simple("backspace_head", [&] { backspace_head(d, c, true, true); });
    simple("change_wordcase", [&] { change_word_case(d, c); });
    simple("change_mode_insert", [&] { c.overwrite_mode = !c.overwrite_mode; });
    simple("undo_char", [&] { undo_char(d, c); });
    simple("undo_line", [&] { undo_line(d, c); });
  }
};

class golden : public ::testing::TestWithParam<std::string> {};

TEST_P(golden, behaves_as_written) {
  golden_case test = read_case(golden_dir() + "/" + GetParam() + ".txt");
  ASSERT_FALSE(test.text.empty()) << "no text section";
  ASSERT_FALSE(test.expect.empty()) << "no expect section";
  golden_run run;
  std::int32_t top = 0, left = 0;
  for (const std::string& setting : test.settings) {
    std::istringstream in(setting);
    std::string word, key, value;
    in >> word >> key >> value;
    ASSERT_EQ(word, "set") << setting;
    if (key == "columns") run.context.pane.columns = std::stoi(value);
    else if (key == "rows") run.context.pane.rows = std::stoi(value);
    else if (key == "tab") run.context.pane.tab_size = std::stoi(value);
    else if (key == "auto_indent") run.context.pane.auto_indent = value == "on";
    else if (key == "overwrite") run.context.overwrite_mode = value == "on";
    else if (key == "top") top = std::stoi(value);
    else if (key == "left") left = std::stoi(value);
    else FAIL() << "unknown setting " << setting;
  }

  std::vector<byte_string> lines;
  std::int32_t cursor_line = 0, cursor_position = 0;
  for (std::size_t i = 0; i < test.text.size(); ++i) {
    std::size_t cursor = byte_string::npos;
    lines.push_back(decode(test.text[i], &cursor));
    if (cursor != byte_string::npos) {
      cursor_line = static_cast<std::int32_t>(i);
      cursor_position = static_cast<std::int32_t>(cursor);
    }
  }
  make_text(run.document, lines);
  place_cursor(run.document, run.context, cursor_line, cursor_position);
  run.document.top_line = top;
  run.document.left_column = left;

  for (const std::string& command : test.commands) {
    std::string name = command, argument;
    std::size_t blank = command.find(' ');
    if (blank != std::string::npos) {
      name = command.substr(0, blank);
      argument = command.substr(blank + 1);
    }
    int times = 1;
    if (argument.size() > 1 && argument[0] == 'x' &&
        argument.find_first_not_of("0123456789", 1) == std::string::npos) {
      times = std::stoi(argument.substr(1));
      argument.clear();
    }
    auto found = run.commands.find(name);
    ASSERT_NE(found, run.commands.end()) << "unknown command " << name;
    for (int i = 0; i < times; ++i) {
      found->second(argument);
      ASSERT_EQ(check_text(run.document, run.context), "") << "after " << command;
    }
  }

  EXPECT_EQ(text_with_cursor(run.document), expected_text(test.expect));
  for (const std::string& check : test.checks) {
    std::istringstream in(check);
    std::string key;
    std::int64_t value = 0;
    in >> key >> value;
    std::int64_t actual = key == "top"       ? run.document.top_line
                          : key == "left"    ? run.document.left_column
                          : key == "column"  ? run.document.column
                          : key == "desired" ? run.document.desired_column
                          : key == "state"   ? run.document.state
                          : key == "lines"   ? run.document.line_count()
                          : key == "deleted" ? run.deleted.count
                                             : -999;
    ASSERT_NE(actual, -999) << "unknown check " << check;
    EXPECT_EQ(actual, value) << check;
  }
}

std::vector<std::string> golden_names() {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(golden_dir(), error))
    if (entry.path().extension() == ".txt") names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

INSTANTIATE_TEST_SUITE_P(files, golden, ::testing::ValuesIn(golden_names()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace vintorel

// Building texts in memory for tests of the text model, reading them back with
// a cursor mark, the checks that must hold after any command, and the fixture
// the command tests share.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recording_display.h"
#include "text/char_class.h"
#include "text/edit_context.h"
#include "text/positions.h"
#include "text/text_document.h"

namespace vintorel::testing {

// Replaces `document` by a new text whose lines are `lines` (without line ends);
// every line but the last gets CR LF, the last the end mark.
inline void make_text(text_document& document, const std::vector<byte_string>& lines) {
  document.create_empty("test.txt");
  document.size = -1;  // the end mark does not count
  for (std::size_t i = 0; i < lines.size(); ++i) {
    bool last = i + 1 == lines.size();
    byte_string line = lines[i] + (last ? "\x1A" : "\r\n");
    document.size += static_cast<std::int64_t>(line.size());
    auto at = static_cast<std::int32_t>(i);
    ASSERT_TRUE(last ? document.replace_line(at, line) : document.insert_line(at, line));
  }
}

// Puts the cursor at byte `position` of `line` as a motion would leave it.
inline void place_cursor(text_document& document, const edit_context& context, std::int32_t line,
                         std::int32_t position) {
  document.commit_current_line();
  document.current_line = line;
  document.desired_column = 0;
  ASSERT_TRUE(reload_current_line(document, context));
  document.position = position;
  document.column = document.desired_column = column_of_position(document, context, position);
}

// The lines of the text in internal form, the cursor line from its buffer.
inline std::vector<byte_string> internal_lines(text_document& document) {
  std::vector<byte_string> result(static_cast<std::size_t>(document.line_count()));
  for (std::int32_t i = 0; i < document.line_count(); ++i) {
    byte_string& line = result[static_cast<std::size_t>(i)];
    if (i == document.current_line && document.current) line = document.current->text;
    else if (!document.fetch_line(i, line)) line = "<unreadable>";
  }
  return result;
}

// The text with line ends stripped, the lines joined by "\n", and "|" where
// the cursor stands.
inline std::string text_with_cursor(text_document& document) {
  std::vector<byte_string> lines = internal_lines(document);
  std::string out;
  for (std::int32_t i = 0; i < static_cast<std::int32_t>(lines.size()); ++i) {
    byte_string line = lines[static_cast<std::size_t>(i)];
    line.resize(line.size() - (line.ends_with("\r\n") ? 2 : line.ends_with('\x1A') ? 1 : 0));
    if (i == document.current_line && document.current)
      line.insert(std::min(line.size(), static_cast<std::size_t>(document.position)), "|");
    out += (i > 0 ? "\n" : "") + line;
  }
  return out;
}

// Everything that must hold after any command; empty when all is well.
inline std::string check_text(text_document& document, const edit_context& context) {
  std::vector<byte_string> lines = internal_lines(document);
  std::int64_t total = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    // The last line ends in the end mark, every other in CR LF; neither holds another CR or 26.
    byte_string end = i + 1 == lines.size() ? "\x1A" : "\r\n";
    total += static_cast<std::int64_t>(lines[i].size());
    if (!lines[i].ends_with(end) || lines[i].find_first_of("\r\x1A") != lines[i].size() - end.size())
      return "line " + std::to_string(i) + " not ended by " + (end == "\r\n" ? "CR LF" : "26") + " alone";
  }
  if (document.size != total - 1)
    return "size " + std::to_string(document.size) + " but lines hold " + std::to_string(total - 1);
  if (!document.lines.check()) return "line index broken";
  if (!document.current) return "no current-line buffer";
  const byte_string& text = document.current->text;
  if (document.current->length != text.size()) return "current length out of step";
  std::int32_t end = terminator_offset(document);
  if (document.position < 0 || document.position > end) return "cursor beyond the terminator";
  if (is_trail_byte(text.c_str(), text.c_str() + document.position)) return "cursor on a second byte";
  if (document.column != column_of_position(document, context, document.position))
    return "column out of step with position";
  if (document.end_column != column_of_position(document, context, end)) return "end_column out of step";
  std::int32_t rows = context.pane.visible_rows();
  if (document.top_line < 0 || document.top_line > std::max(0, document.line_count() - rows))
    return "top_line out of range";
  if (document.current_line < document.top_line || document.current_line >= document.top_line + rows)
    return "cursor line not shown";
  if (document.left_column < 0 || !is_cursor_visible(document, context)) return "cursor column not shown";
  return "";
}

// One text shown in one pane, with a display that logs its requests. The
// fixtures of the command tests derive from it and wire the buffers and the
// user they need into `context`.
struct text_test : ::testing::Test {
  text_document document;
  recording_display screen;
  edit_context context;

  explicit text_test(const pane_view& pane = {}) {
    context.display = &screen;
    context.pane = pane;
  }
  // A new text of `lines` with the cursor at byte `position` of `line`; the
  // requests made so far are forgotten.
  void text(const std::vector<byte_string>& lines, std::int32_t line = 0, std::int32_t position = 0) {
    make_text(document, lines);
    put_cursor(line, position);
    screen.log.clear();
  }
  void put_cursor(std::int32_t line, std::int32_t position) { place_cursor(document, context, line, position); }
  std::string shown() { return text_with_cursor(document); }
  void expect_sound() { EXPECT_EQ(check_text(document, context), ""); }
};

}  // namespace vintorel::testing

// Fuzzes the text model through its command table: the input's first part is
// the text (lines split at LF), the rest chooses commands, two bytes each (the
// command and the byte it types). After every command the line index must be
// sound, the cursor inside its line and the text writable in full.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "text/deleted_chars.h"
#include "text/search_strings.h"
#include "text/string_stack.h"
#include "text/text_commands.h"
#include "text/text_document.h"

using namespace vintorel;

namespace {

// A line end, the end mark or a NUL never stands inside a line of the internal
// form, and is never typed; the fuzzer's bytes are kept to what can be there.
char in_line(std::uint8_t b) { return b == '\r' || b == '\n' || b == 0x1A || b == 0 ? 'x' : static_cast<char>(b); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t text_size = data[0] % 64 < size - 1 ? data[0] % 64 : size - 1;
  std::string text;
  for (std::size_t i = 0; i < text_size; ++i) text += data[1 + i] == '\n' ? '\n' : in_line(data[1 + i]);
  text_document document;
  document.create_empty("fuzz.txt");
  std::size_t start = 0;
  for (std::int32_t line = 0;; ++line) {
    std::size_t lf = text.find('\n', start);
    if (lf == std::string::npos) {
      document.replace_line(line, text.substr(start) + '\x1A');
      break;
    }
    document.insert_line(line, text.substr(start, lf - start) + "\r\n");
    start = lf + 1;
  }
  deleted_char_buffer deleted(16);
  string_stack stack(8);
  search_strings search;
  search.search_string = "a";
  edit_context context;
  context.deleted = &deleted;
  context.stack = &stack;
  context.search = &search;
  context.pane.rows = 5;
  context.pane.columns = 20;
  document.current_line = 0;
  document.desired_column = 0;
  document.load_current_line(context.tab_size());

  const auto commands = text_commands();
  for (std::size_t at = 1 + text_size; at + 1 < size; at += 2) {
    const text_command& command = commands[data[at] % commands.size()];
    command.run(document, context, byte_string(1, in_line(data[at + 1])));
    if (!document.lines.check()) std::abort();
    if (document.current_line < 0 || document.current_line >= document.line_count()) std::abort();
    if (document.current &&
        (document.position < 0 || static_cast<std::size_t>(document.position) > document.current->text.size()))
      std::abort();
  }
  document.commit_current_line();
  byte_string line;
  for (std::int32_t i = 0; i < document.line_count(); ++i)
    if (!document.fetch_line(i, line)) std::abort();
  return 0;
}

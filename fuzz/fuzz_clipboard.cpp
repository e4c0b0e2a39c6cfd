// Fuzzes inserting clipboard text (arbitrary bytes from another program) into a
// text: line ends of every kind, zero bytes, end marks, stray lead bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "line_checks.h"
#include "platform/user_interface.h"
#include "text/char_class.h"
#include "text/clipboard.h"
#include "text/edit_context.h"
#include "text/positions.h"
#include "text/text_document.h"

using namespace vintorel;

namespace {

class fixed_clipboard : public user_interface {
 public:
  byte_string text;
  bool get_clipboard_text(byte_string& out) override {
    out = text;
    return true;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 8192) return 0;
  fixed_clipboard user;
  user.text.assign(reinterpret_cast<const char*>(data), size);
  text_document document;
  document.create_empty("fuzz");
  document.insert_line(0, "ab\r\n");
  document.size = 4;
  edit_context context;
  context.ui = &user;
  context.pane.columns = 7;
  context.pane.rows = 3;
  document.desired_column = 1;
  if (!reload_current_line(document, context)) std::abort();
  insert_clipboard(document, context);

  if (!document.current) std::abort();
  const byte_string& current = document.current->text;
  if (document.position < 0 || document.position > terminator_offset(document)) std::abort();
  if (is_trail_byte(current.c_str(), current.c_str() + document.position)) std::abort();
  if (!is_cursor_visible(document, context)) std::abort();
  fuzz_checks::require_sound_lines(document);
  return 0;
}

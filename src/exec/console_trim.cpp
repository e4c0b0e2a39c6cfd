// Trimming the console to its line limit.
#include "exec/console_trim.h"

#include <algorithm>

#include "text/motion.h"

namespace vintorel {

bool trim_console(text_document& console, edit_context& context, int limit) {
  if (limit < 1) limit = 1;
  std::int32_t count = console.line_count();
  if (!console.current || count <= limit) return false;
  std::int32_t excess = count - (limit / 4) * 3;
  // The last line holds the end mark and is only ever emptied.
  std::int32_t removed = std::min(excess, count - 1);
  console.commit_current_line();
  console.block_state = block_kind::none;
  std::int64_t bytes = 0;
  byte_string line;
  for (std::int32_t i = 0; i < removed; ++i) {
    if (console.fetch_line(i, line)) bytes += static_cast<std::int64_t>(line.size());
  }
  if (!console.remove_lines(0, removed)) return false;
  if (excess > removed && console.fetch_line(0, line)) {
    bytes += static_cast<std::int64_t>(line.size()) - 1;
    console.replace_line(0, byte_string(1, '\x1A'));
  }
  if (console.size >= 0) console.size = std::max<std::int64_t>(0, console.size - bytes);
  console.current_line = 0;
  console.top_line = 0;
  console.left_column = 0;
  console.desired_column = 0;
  // Marks follow their lines; those of removed lines go to the top.
  console.previous_line = std::max(0, console.previous_line - removed);
  console.mark_line = std::max(0, console.mark_line - removed);
  console.current.reset();
  if (!console.load_current_line(context.tab_size())) return true;
  forward_line_tail(console, context, false);
  return true;
}

}  // namespace vintorel

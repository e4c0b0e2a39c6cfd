// Command dispatch: every command id the main window receives (keys, menus,
// typed text, hand-overs) is looked up in the command table, checked against
// its menu item and handed to the record's handler.
#include <new>
#include <stdexcept>

#include "app/window_main.h"
#include "app/window_menus.h"
#include "shell/command_table.h"
#include "platform/string_table.h"

namespace vintorel {

void window_::on_command(int number, std::intptr_t parameter) {
  // A command that arrives while another waits for a file to be indexed runs
  // after it, as it would have had the file been indexed at once.
  if (waiting_) {
    defer_command(number, parameter);
    return;
  }
  command_id id = to_command_id(number);
  const command_record* record = find_command_record(id);
  // Ids of no command (200, the gaps) and commands not handled yet do nothing.
  if (!record || !record->run) return;
  // Only commands that need none of the lines still being indexed run before
  // the indexing is done; the others wait for it. Cancelling the wait drops
  // the command.
  if (is_loading() && !runs_while_loading(id) && !wait_for_loading()) return;
  // Commands greyed in their menu are refused silently.
  if (record->available != command_id::none && (!menus_ || !menus_->is_enabled(record->available))) return;
  ++running_commands_;
  try {
    record->run(*this, id, parameter);
  } catch (const std::bad_alloc&) {
    // Memory ran out in a part that does not check for it: this command gives
    // up, the editor and its texts go on.
    error(string_caption_error, string_memory);
  } catch (const std::length_error&) {
    error(string_caption_error, string_memory);
  }
  --running_commands_;
  run_deferred_commands();
}

}  // namespace vintorel

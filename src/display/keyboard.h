// The keyboard of the main window as plain logic: which key slot a key press,
// a typed byte or the escape prefix selects, which bytes are typed as text,
// and when the bottom line must be redrawn (the escape mark, the Shift labels).
#pragma once
#include <cstdint>

#include "platform/byte_string.h"
#include "platform/key_slots.h"

namespace vintorel {

// The keyboard state of the main window.
struct keyboard_state {
  bool escape_pending = false;          // Esc was pressed: the next letter is a command
  unsigned char pending_lead_byte = 0;  // first byte of a double-byte character message
  bool composing = false;               // an input-method composition is in progress
  bool shift_held = false;              // the bottom line shows the Shift labels
};

// What the window does after one keyboard message.
struct key_action {
  int slot = -1;                    // the key slot whose command is posted; -1 none
  byte_string insert;               // bytes sent as insert_string; empty none
  bool redraw_bottom_line = false;  // the escape mark or the Shift labels changed
};

// The position (0..13) of a virtual key among the named keys; -1 for any other
// key. Space counts (index 1) although it is handled as a typed byte.
int named_key_index(int virtual_key);
// The Ctrl slot when Ctrl is held, else the Shift slot when Shift is held, else
// the plain slot.
int choose_slot(int plain, int with_shift, int with_ctrl, bool shift, bool ctrl);

// A key went down. Codes outside 0..127 only clear a pending escape prefix.
key_action keyboard_key_down(keyboard_state& state, int virtual_key, bool shift, bool ctrl);
// A key went up: only Shift matters.
key_action keyboard_key_up(keyboard_state& state, int virtual_key);
// A byte of a character message.
key_action keyboard_char(keyboard_state& state, unsigned char byte, bool shift, bool ctrl);

// The composition as the editor draws it: the string, plus one blank (which has
// no attribute) when the composition cursor stands at its end, so the cursor
// shows there.
byte_string composition_display_text(const byte_string& text, int cursor_offset);

// The full-width space in Shift_JIS: the input method commits it at once, and
// it is inserted when committed rather than when the composition ends.
inline bool is_full_width_space(const byte_string& text) { return text == "\x81\x40"; }

}  // namespace vintorel

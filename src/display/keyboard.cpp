// Key slots from key presses and typed bytes, the escape prefix and the Shift
// labels of the main window's keyboard.
#include "display/keyboard.h"

#include "platform/cp932.h"
#include "platform/virtual_keys.h"

namespace vintorel {

namespace {

// The named keys in slot order.
constexpr int named_keys[named_key_count] = {vk_tab,    vk_space,     vk_back, vk_return,
                                             vk_insert, vk_delete,    vk_home,      vk_end,
                                             vk_prior, vk_next, vk_up,        vk_down,
                                             vk_left,   vk_right};

bool is_letter_key(int key) { return key >= vk_a && key <= vk_z; }

// Keys that leave a pending escape prefix alone: modifiers, lock keys and Esc.
bool keeps_escape(int key) {
  return key == vk_shift || key == vk_control || key == vk_menu || key == vk_capital ||
         key == vk_kana || key == vk_escape;
}

void clear_escape(keyboard_state& state, key_action& action) {
  state.escape_pending = false;
  action.redraw_bottom_line = true;
}

}  // namespace

int named_key_index(int virtual_key) {
  for (int i = 0; i < named_key_count; ++i) {
    if (named_keys[i] == virtual_key) return i;
  }
  return -1;
}

int choose_slot(int plain, int with_shift, int with_ctrl, bool shift, bool ctrl) {
  if (ctrl) return with_ctrl;
  if (shift) return with_shift;
  return plain;
}

key_action keyboard_key_down(keyboard_state& state, int virtual_key, bool shift, bool ctrl) {
  key_action action;
  // A letter keeps the prefix for its character message, which picks the slot.
  if (state.escape_pending && !keeps_escape(virtual_key) && !is_letter_key(virtual_key)) {
    clear_escape(state, action);
  }
  // The key code is a signed byte: codes above 127 go no further.
  if (virtual_key < 0 || virtual_key > 127) return action;

  if (is_letter_key(virtual_key) && ctrl) {
    action.slot = first_ctrl_letter_slot + (virtual_key - vk_a);
    return action;
  }
  if (virtual_key >= vk_f1 && virtual_key <= vk_f12) {
    // Ctrl does not matter for the function keys.
    action.slot = (shift ? first_shift_function_slot : first_function_slot) + (virtual_key - vk_f1);
    return action;
  }
  int named = named_key_index(virtual_key);
  if (named >= 0 && named != space_key_index) {
    action.slot = choose_slot(first_plain_named_slot + named, first_shift_named_slot + named,
                              first_ctrl_named_slot + named, shift, ctrl);
    return action;
  }
  if (virtual_key == vk_shift) {
    state.shift_held = true;
    action.redraw_bottom_line = true;
    return action;
  }
  if (virtual_key == vk_escape) {
    if (shift) {
      action.slot = shift_escape_slot;
    } else {
      state.escape_pending = !state.escape_pending;
      action.redraw_bottom_line = true;
    }
  }
  return action;
}

key_action keyboard_key_up(keyboard_state& state, int virtual_key) {
  key_action action;
  if (virtual_key == vk_shift) {
    state.shift_held = false;
    action.redraw_bottom_line = true;
  }
  return action;
}

key_action keyboard_char(keyboard_state& state, unsigned char byte, bool shift, bool ctrl) {
  key_action action;
  // Double-byte characters are not taken from character messages: the trail
  // byte of one is dropped with its lead byte (the input method delivers them).
  if (state.pending_lead_byte != 0) {
    state.pending_lead_byte = 0;
    return action;
  }
  if (is_lead_byte(byte)) {
    state.pending_lead_byte = byte;
  } else if (byte == ' ') {
    action.slot = choose_slot(first_plain_named_slot + space_key_index,
                              first_shift_named_slot + space_key_index,
                              first_ctrl_named_slot + space_key_index, shift, ctrl);
  } else if (byte >= '!' && byte <= '~') {
    if (state.escape_pending || state.composing) {
      if (byte >= 'A' && byte <= 'Z') action.slot = first_escape_letter_slot + (byte - 'A');
      if (byte >= 'a' && byte <= 'z') action.slot = first_escape_letter_slot + (byte - 'a');
    } else {
      action.insert.assign(1, static_cast<char>(byte));
    }
  }
  // Control characters, 0x7F and half-width katakana type nothing.
  if (state.escape_pending && byte != 0x1B) clear_escape(state, action);
  return action;
}

byte_string composition_display_text(const byte_string& text, int cursor_offset) {
  byte_string shown = text;
  if (cursor_offset == static_cast<int>(text.size())) shown += ' ';
  return shown;
}

}  // namespace vintorel

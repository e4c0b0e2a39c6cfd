// The layout of the 121 key slots: which keystroke each slot stands for. The
// keyboard picks slots by these numbers and the key bindings name them.
#pragma once

namespace vintorel {

constexpr int key_slot_count = 121;
constexpr int first_function_slot = 0;         // f1 ... f12
constexpr int first_shift_function_slot = 12;  // shift f1 ... shift f12
constexpr int first_escape_letter_slot = 24;   // esc a ... esc z
constexpr int first_ctrl_letter_slot = 50;     // ctrl a ... ctrl z
constexpr int function_key_count = 12;
constexpr int letter_count = 26;
// The fourteen named keys, plain, with Shift and with Ctrl, in the order of
// named_key_names.
constexpr int first_plain_named_slot = 77;
constexpr int first_shift_named_slot = 92;
constexpr int first_ctrl_named_slot = 107;
constexpr int named_key_count = 14;
constexpr const char* named_key_names[named_key_count] = {"tab",    "space", "backspace", "enter", "insert",
                                                          "delete", "home",  "end",       "pageup", "pagedown",
                                                          "up",     "down",  "left",      "right"};
constexpr int space_key_index = 1;  // the one named key that arrives as a typed byte
constexpr int shift_escape_slot = 91;
// Slots that have no name and are never bound: Esc itself and Ctrl+Esc.
constexpr int escape_slot = 76;
constexpr int ctrl_escape_slot = 106;

}  // namespace vintorel

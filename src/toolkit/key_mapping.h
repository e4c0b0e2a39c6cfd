// Qt keys to the virtual-key numbers and typed bytes that the keyboard
// handlers receive, and the Shift and Ctrl state as of the input being handled.
#pragma once
#include <Qt>

#include "platform/byte_string.h"
#include "platform/virtual_keys.h"

class QKeyEvent;
class QString;

namespace vintorel {

// The virtual-key number of a Qt key; `modifiers` tells keypad keys apart.
// Keys without a code of their own give vk_unknown; 0 for Qt::Key_unknown.
int virtual_key_of(int qt_key, Qt::KeyboardModifiers modifiers);

// The bytes a key event types, in Shift_JIS, as the character messages carry
// them (control characters included, Delete's 0x7F left out).
byte_string typed_bytes(const QKeyEvent& event);

// Shift and Ctrl as they were when the input being handled was made (the
// last key, mouse or drop event the toolkit saw); before any input, as the
// window system reports them.
bool shift_down();
bool ctrl_down();
// Records the modifier state of an input event. A Shift or Ctrl key event
// counts the key itself as pressed or released.
void note_key_state(const QKeyEvent& event);
void note_modifiers(Qt::KeyboardModifiers modifiers);
// Makes the application note the modifiers of every input event from now on
// (windows and dialogs call it when they are created; once is enough).
void track_input();

}  // namespace vintorel

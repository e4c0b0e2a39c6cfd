// The input-method context of a window: the composition in progress and the
// string just committed, handed out as the keyboard handlers expect them
// (Shift_JIS, one attribute byte per byte, cursor offset in bytes).
#pragma once
#include <QList>
#include <QInputMethodEvent>
#include <QRect>
#include <QString>

#include "platform/byte_string.h"

namespace vintorel {

// Change flags of on_composition.
constexpr unsigned composition_string_changed = 0x8;
constexpr unsigned composition_attributes_changed = 0x10;
constexpr unsigned composition_cursor_changed = 0x80;
constexpr unsigned composition_result_ready = 0x800;
constexpr unsigned composition_all_changed =
    composition_string_changed | composition_attributes_changed | composition_cursor_changed;

// Attribute bytes of the composition string.
constexpr unsigned char attribute_input = 0;   // not the target clause
constexpr unsigned char attribute_target = 1;  // the clause being converted

// The composition converted to Shift_JIS.
struct composition_text {
  byte_string text;
  byte_string attributes;  // one per byte of text
  int cursor = 0;          // byte offset of the input-method cursor in text
};

// Converts a pre-edit string with its attributes: the clause that the input
// method shows with a background of its own is the target clause; the cursor
// is the Cursor attribute's position (the end when there is none).
composition_text convert_preedit(const QString& preedit,
                                 const QList<QInputMethodEvent::Attribute>& attributes);

class composition_context {
 public:
  // Length in bytes of the string committed by the event being handled
  // (on_composition, on_composition_end); 0 when there is none.
  int result_length() const { return static_cast<int>(result_.size()); }
  byte_string result_string() const { return result_; }
  // The composition in progress (empty when none).
  int composition_length() const { return static_cast<int>(composition_.text.size()); }
  byte_string composition_string() const { return composition_.text; }
  byte_string composition_attributes() const { return composition_.attributes; }
  int cursor_offset() const { return composition_.cursor; }
  // Places the candidate window: its top-left corner at this client position.
  void set_candidate_position(int x, int y);

  // For the window: the state the next handler call sees.
  void set(const composition_text& composition, const byte_string& result) {
    composition_ = composition;
    result_ = result;
  }
  void clear() { set(composition_text(), byte_string()); }
  // The rectangle the input method places its windows by, in client coordinates.
  QRect cursor_rectangle() const { return cursor_rectangle_; }
  void set_cursor_rectangle(const QRect& rectangle);

 private:
  composition_text composition_;
  byte_string result_;
  QRect cursor_rectangle_;
};

}  // namespace vintorel

// The roots of the window class tree: `control` (one Qt widget and the
// operations every window and control shares) and `overlap` (a top-level
// window or dialog, with the position helpers).
#pragma once
#include <QPointer>
#include <QWidget>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/byte_string.h"
#include "platform/user_interface.h"

class QPainter;

namespace vintorel {

class control {
 public:
  control() = default;
  control(const control&) = delete;
  control& operator=(const control&) = delete;
  virtual ~control();

  // The widget; null before creation or attachment, after destruction, and
  // after an attach to a missing item. Operations on a null handle do nothing.
  QWidget* handle() const { return handle_; }

  // Painting the background; true when done (nothing else paints it then).
  virtual bool on_erase_background(QPainter& painter) {
    (void)painter;
    return false;
  }

  void set_focus();
  void enable();
  void disable();
  // The text in Shift_JIS, at most size - 1 bytes (never half a double-byte
  // character), always terminated. Returns the number of bytes stored.
  std::size_t get_text(char* buffer, std::size_t size) const;
  byte_string text() const;
  void set_text(std::string_view sjis);
  // An edit accepts at most n - 1 bytes of typed text from now on.
  void limit_text(int n);
  // Length of the text in Shift_JIS bytes.
  int text_length() const;
  // The first 10 characters of the text read as a decimal integer, as atoi
  // reads them (0 when they do not start with a number); clamped to int.
  int get_number() const;
  // Destroys the widget (windows and dialogs run on_destroy first).
  virtual void destroy();

  // Message boxes owned by this object's window (caption and text are
  // string-table ids).
  void notice(int caption_id, int text_id) const;
  bool confirm(int caption_id, int text_id) const;
  choice choose(int caption_id, int text_id) const;
  void error(int caption_id, int text_id) const;

  // The timer object's tick; windows, dialogs and edits pass it to on_timer.
  virtual void deliver_timer(int timer_id) { (void)timer_id; }

 protected:
  // Stores the object in the widget, where object_of finds it.
  void bind(QWidget* widget);
  void unbind();

  QPointer<QWidget> handle_;
};

// The object stored in a widget by a window, dialog or attached control; null
// when none.
control* object_of(const QWidget* widget);

// The text of any widget in Shift_JIS (an edit's, a button's, a label's, else
// the window title), and setting it.
byte_string widget_text(const QWidget* widget);
void set_widget_text(QWidget* widget, std::string_view sjis);

// The top-left corner of a window's client area in screen coordinates.
QPoint client_origin(const QWidget* widget);

class overlap : public control {
 public:
  // Scroll bars and list-item dragging; no widget of this system sends them.
  virtual void on_hscroll(int position, int code) { (void)position, (void)code; }
  virtual void on_vscroll(int position, int code) { (void)position, (void)code; }
  virtual void on_drag_move() {}
  virtual void on_drop(int control_id) { (void)control_id; }
  virtual void on_drag_timer() {}
  virtual void on_drag_cancel() {}

  // Moves the window so that its centre is its parent's centre (the screen's
  // when it has no parent); the size stays.
  void centre_on_parent();
  void centre_on_screen();
  // Moves the window's top-left corner (frame included) to a screen position.
  void move_to(int x, int y);
  // Unless the window is hidden, minimised or maximised, stores the screen
  // position of its client area's top-left corner (client_origin) or of its
  // frame's; otherwise x and y stay as they are.
  void remember_position(int& x, int& y, bool client_origin) const;

  bool is_minimized() const;
  bool is_maximized() const;
  bool is_hidden() const;

 protected:
  // The widget whose top-left corner is the client area's.
  virtual QWidget* client_widget() const { return handle_; }
};

}  // namespace vintorel

// `edit`: a single-line or multi-line edit control whose keys, characters,
// double clicks, painting and changes reach virtual operations; and its five
// subclasses, which enable the dialog's OK button while their text is valid.
#pragma once
#include <QColor>
#include <QMetaObject>
#include <memory>
#include <optional>

#include "toolkit/child.h"

class QObject;
class QEvent;

namespace vintorel {

class edit : public child {
 public:
  ~edit() override;

  QColor text_colour;
  std::optional<QColor> background_colour;  // none: transparent
  bool ime_open = false;
  // Swallow an input-method open (or close) notification once.
  bool swallow_ime_open = false;
  bool swallow_ime_close = false;

  // ---- operations, in their order ----
  // Double click at (x, y); flags as the mouse-key bits (1 left, 2 right,
  // 4 Shift, 8 Ctrl). True swallows it.
  virtual bool on_double_click(int flags, int x, int y) {
    (void)flags, (void)x, (void)y;
    return false;
  }
  // A typed byte (Shift_JIS); true swallows it.
  virtual bool on_char(unsigned char byte) {
    (void)byte;
    return false;
  }
  // A key as a virtual-key number; true swallows the key and its characters.
  virtual bool on_key_down(int virtual_key) {
    (void)virtual_key;
    return false;
  }
  virtual void on_paint() {}
  virtual void on_timer(int timer_id) { (void)timer_id; }
  // The caret as high as the font's line and as wide as its average
  // character (twice that while the input method is open).
  virtual void create_caret();
  virtual void destroy_caret();
  // The text changed (by typing or set_text).
  virtual void on_change() {}

  QBrush on_control_colour(QPalette& palette) override;
  void set_font(const QFont& font) override;
  void deliver_timer(int timer_id) override { on_timer(timer_id); }

  bool caret_shown() const { return caret_shown_; }
  int caret_width() const { return caret_width_; }

  // For the event filter.
  bool handle_event(QEvent& event);

 protected:
  void attached() override;
  void detaching() override;
  // Enables or disables the dialog's OK button (id 1).
  void enable_ok(bool enabled) const;

 private:
  std::unique_ptr<QObject> filter_;
  QMetaObject::Connection change_connection_;
  bool caret_shown_ = false;
  int caret_width_ = 0;
};

// Line number: OK while the text's first 10 characters read as a non-zero number.
class edit_linenumber : public edit {
 public:
  static constexpr int limit = 10;
  void on_change() override;

 protected:
  void attached() override;
};

// Command line: OK while not empty.
class edit_commandline : public edit {
 public:
  static constexpr int limit = 255;
  void on_change() override;

 protected:
  void attached() override;
};

// Title: OK while not empty; no limit of its own.
class edit_title : public edit {
 public:
  void on_change() override;
};

// Tab size: OK while the text reads as a number of at least 1.
class edit_tabsize : public edit {
 public:
  static constexpr int limit = 2;
  void on_change() override;

 protected:
  void attached() override;
};

// Keyword: OK while not empty.
class edit_keyword : public edit {
 public:
  static constexpr int limit = 127;
  void on_change() override;

 protected:
  void attached() override;
};

}  // namespace vintorel

// `child`: a control inside a dialog, attached to the dialog item with its
// id; and the small controls `check`, `button` and `commoncontrol`.
#pragma once
#include <QBrush>
#include <QFont>
#include <QPalette>
#include <QRect>

#include "toolkit/control.h"

class QPainter;

namespace vintorel {

// What an owner-drawn item is drawn with.
struct draw_item_record {
  QPainter* painter = nullptr;
  QRect rectangle;  // the item's rectangle in the control
  int index = -1;
  bool selected = false;
  bool focused = false;
};

class child : public control {
 public:
  ~child() override;

  // Attaches the object to the item `id` of the dialog; false (and no handle)
  // when the dialog has no such item or the item has an object already.
  bool attach(QWidget* dialog_handle, int id);
  // Lets go of the item; the widget stays with its dialog.
  void detach();
  int id() const { return id_; }

  // The control's colours: sets them in `palette` and returns the background
  // brush (no brush: the style's). Asked when the object is attached.
  virtual QBrush on_control_colour(QPalette& palette) {
    (void)palette;
    return QBrush();
  }
  // Draws an owner-drawn item; false leaves it to the default drawing.
  virtual bool on_draw_item(const draw_item_record& record) {
    (void)record;
    return false;
  }
  QFont get_font() const;
  virtual void set_font(const QFont& font);

  // Asks on_control_colour again and applies the answer.
  void refresh_colours();

 protected:
  // Hooks of attach and detach for the subclasses.
  virtual void attached() {}
  virtual void detaching() {}

 private:
  int id_ = -1;
};

// Check box.
class check : public child {
 public:
  bool is_checked() const;
  void set_checked(bool checked = true);
};

// Push button.
class button : public child {};

// A control that reports clicks and focus as notifications.
class commoncontrol : public child {
 public:
  virtual void on_set_focus() {}
  virtual void on_click() {}
  virtual void on_right_click() {}
  virtual void on_double_click() {}
  virtual void on_custom_draw(const draw_item_record& record) { (void)record; }
};

}  // namespace vintorel

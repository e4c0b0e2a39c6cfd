// `listbox`: an owner-drawn list box whose items may carry an icon of the
// list's image list (stored as ":<icon>:<text>"), drawn in alternating colours.
#pragma once
#include <QColor>
#include <QIcon>
#include <QMetaObject>
#include <string_view>
#include <vector>

#include "platform/byte_string.h"
#include "toolkit/child.h"

class QListWidget;

namespace vintorel {

class listbox : public child {
 public:
  ~listbox() override;

  QColor text_colour;
  QColor background_colour;
  QColor alternate_colour;  // odd items
  std::vector<QIcon> images;  // the image list; empty: none

  // Adds an item (Shift_JIS); with an icon index it is stored as
  // ":<index>:<text>". A sorted list box keeps its items in order (ASCII
  // letters compared without case). Returns the item's index, -1 on failure.
  int add(std::string_view text, int icon_index = -1);
  // The item's text without an icon prefix; empty for a bad index.
  byte_string text_at(int index) const;
  // The item as stored, prefix included.
  byte_string stored_text(int index) const;
  // Index of the first item whose text (without prefix) is exactly `text`; -1.
  int find(std::string_view text) const;
  int count() const;
  // The selected item, -1 when none.
  int selection() const;
  // Selects an item (-1: none) without notifying on_select_change.
  void select(int index);
  void remove(int index);

  // The user changed the selection, or double-clicked an item.
  virtual void on_select_change() {}
  virtual void on_double_click() {}

  QBrush on_control_colour(QPalette& palette) override;
  bool on_draw_item(const draw_item_record& record) override;

  // The alternate colour of a background: each component plus 32 when below
  // 128, else minus 32.
  static QColor alternate_of(const QColor& background);
  // Splits ":<n>:<text>" into n and text; -1 and the whole text otherwise.
  static int split_icon_prefix(std::string_view stored, std::string_view& text);

 protected:
  void attached() override;
  void detaching() override;

 private:
  QListWidget* list() const;
  bool quiet_ = false;  // changes made by the program notify nothing
  std::vector<QMetaObject::Connection> connections_;
};

}  // namespace vintorel

// Dialog templates in code: the dialog's caption and size and its controls
// with id, kind, rectangle, text and style, all in dialog units, as the
// dialog resources describe them.
#pragma once
#include <QRect>
#include <vector>

class QDialog;
class QWidget;

namespace vintorel {

// Dialog units to pixels: a fixed rule, 2 pixels per unit both ways, with the
// dialog font 12 pixels high (a 13-unit button holds a line of it).
constexpr int dialog_unit_pixels = 2;
constexpr int dialog_font_pixels = 12;
constexpr int to_pixels(int dialog_units) { return dialog_units * dialog_unit_pixels; }
QRect dialog_rectangle(int x, int y, int width, int height);

enum class control_kind {
  static_text,     // STATIC
  edit,            // EDIT
  button,          // BUTTON (push button)
  default_button,  // BUTTON (default push button)
  check_box,       // BUTTON (auto check box)
  list_box,        // LISTBOX (owner-drawn, with strings)
};

// Styles (combine with |).
enum control_style : unsigned {
  style_none = 0,
  style_border = 1u << 0,
  style_auto_hscroll = 1u << 1,
  style_multi_line = 1u << 2,
  style_read_only = 1u << 3,
  style_vertical_scroll = 1u << 4,
  style_digits_only = 1u << 5,
  style_right_aligned = 1u << 6,
  style_lower_case = 1u << 7,
  style_sorted = 1u << 8,
  style_disabled = 1u << 9,
};

// Controls without an id (static texts) have no_id.
constexpr int no_id = -1;

struct control_template {
  int id = no_id;
  control_kind kind = control_kind::static_text;
  int x = 0, y = 0, width = 0, height = 0;  // dialog units
  const char* text = "";                     // UTF-8 (source text)
  unsigned style = style_none;
};

struct dialog_template {
  const char* name = "";     // "DIALOG_JUMP"
  const char* caption = "";  // UTF-8
  int width = 0, height = 0;  // dialog units, client area
  bool system_menu = true;    // caption bar with the close button
  std::vector<control_template> controls;
};

// Creates the template's controls in `dialog` and sizes it. Control widgets
// carry their ids (find them with dialog_item).
void build_dialog(QDialog& dialog, const dialog_template& t);

// The control of a dialog (or window) with the given id, or null.
QWidget* dialog_item(const QWidget* dialog, int id);
// Marks a widget as the dialog item with this id.
void set_dialog_item_id(QWidget* widget, int id);
// The id of a dialog item, no_id when the widget is none.
int dialog_item_id(const QWidget* widget);

}  // namespace vintorel

// Builds a dialog's controls from its template.
#include "toolkit/dialog_template.h"

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "toolkit/dialog.h"
#include "toolkit/edit_validator.h"
#include "toolkit/qt_text.h"

namespace vintorel {
namespace {

constexpr const char* id_property = "vintorel_id";

// A button's click is a command to the dialog, with the button as parameter.
void connect_click(QAbstractButton* button, QDialog* host, int id) {
  QObject::connect(button, &QAbstractButton::clicked, host, [host, button, id] {
    if (auto* d = dynamic_cast<dialog*>(object_of(host))) {
      d->on_command(id, reinterpret_cast<std::intptr_t>(button));
    }
  });
}

QWidget* make_edit(QDialog& host, const control_template& c) {
  if (c.style & style_multi_line) {
    auto* edit = new QPlainTextEdit(&host);
    edit->setPlainText(from_utf8(c.text));
    edit->setReadOnly(c.style & style_read_only);
    edit->setVerticalScrollBarPolicy((c.style & style_vertical_scroll) ? Qt::ScrollBarAlwaysOn
                                                                       : Qt::ScrollBarAlwaysOff);
    edit->setLineWrapMode((c.style & style_auto_hscroll) ? QPlainTextEdit::NoWrap
                                                         : QPlainTextEdit::WidgetWidth);
    if (!(c.style & style_border)) edit->setFrameShape(QFrame::NoFrame);
    return edit;
  }
  auto* edit = new QLineEdit(&host);
  edit->setText(from_utf8(c.text));
  edit->setReadOnly(c.style & style_read_only);
  edit->setFrame(c.style & style_border);
  if (c.style & style_right_aligned) edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  edit->setValidator(
      new edit_validator(edit, c.style & style_digits_only, c.style & style_lower_case));
  return edit;
}

}  // namespace

QRect dialog_rectangle(int x, int y, int width, int height) {
  return QRect(to_pixels(x), to_pixels(y), to_pixels(width), to_pixels(height));
}

void set_dialog_item_id(QWidget* widget, int id) {
  if (widget) widget->setProperty(id_property, id);
}

int dialog_item_id(const QWidget* widget) {
  if (!widget) return no_id;
  QVariant v = widget->property(id_property);
  return v.isValid() ? v.toInt() : no_id;
}

QWidget* dialog_item(const QWidget* dialog_widget, int id) {
  if (!dialog_widget || id == no_id) return nullptr;
  for (QWidget* w : dialog_widget->findChildren<QWidget*>()) {
    // Items of this dialog only, not of a modeless dialog it owns.
    if (w->window() == dialog_widget->window() && dialog_item_id(w) == id) return w;
  }
  return nullptr;
}

void build_dialog(QDialog& host, const dialog_template& t) {
  QFont font = host.font();
  font.setPixelSize(dialog_font_pixels);
  host.setFont(font);
  host.setWindowTitle(from_utf8(t.caption));
  host.setObjectName(QString::fromLatin1(t.name));
  host.setFixedSize(to_pixels(t.width), to_pixels(t.height));

  for (const control_template& c : t.controls) {
    QWidget* w = nullptr;
    switch (c.kind) {
      case control_kind::static_text: {
        auto* label = new QLabel(from_utf8(c.text), &host);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        w = label;
        break;
      }
      case control_kind::edit:
        w = make_edit(host, c);
        break;
      case control_kind::button:
      case control_kind::default_button: {
        auto* button = new QPushButton(from_utf8(c.text), &host);
        button->setAutoDefault(true);
        if (c.kind == control_kind::default_button) button->setDefault(true);
        connect_click(button, &host, c.id);
        w = button;
        break;
      }
      case control_kind::check_box: {
        auto* check = new QCheckBox(from_utf8(c.text), &host);
        connect_click(check, &host, c.id);
        w = check;
        break;
      }
      case control_kind::list_box: {
        auto* list = new QListWidget(&host);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setProperty("vintorel_sorted", bool(c.style & style_sorted));
        if (!(c.style & style_border)) list->setFrameShape(QFrame::NoFrame);
        w = list;
        break;
      }
    }
    w->setGeometry(dialog_rectangle(c.x, c.y, c.width, c.height));
    if (c.style & style_disabled) w->setEnabled(false);
    set_dialog_item_id(w, c.id);
  }
}

}  // namespace vintorel

// Text, focus and enabling of any widget; object lookup; position helpers.
#include "toolkit/control.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <climits>
#include <cstring>

#include "platform/cp932.h"
#include "toolkit/edit_validator.h"
#include "toolkit/message_box.h"
#include "toolkit/qt_text.h"

namespace vintorel {
namespace {

constexpr const char* object_property = "vintorel_object";

QString widget_qtext(const QWidget* w) {
  if (auto* line = dynamic_cast<const QLineEdit*>(w)) return line->text();
  if (auto* plain = dynamic_cast<const QPlainTextEdit*>(w)) {
    // A multi-line edit's text has CR LF line ends.
    QString text = plain->toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
  }
  if (auto* button = dynamic_cast<const QAbstractButton*>(w)) return button->text();
  if (auto* label = dynamic_cast<const QLabel*>(w)) return label->text();
  return w->windowTitle();
}

}  // namespace

control::~control() { unbind(); }

void control::bind(QWidget* widget) {
  handle_ = widget;
  if (widget) {
    widget->setProperty(object_property, QVariant::fromValue(reinterpret_cast<quintptr>(this)));
  }
}

void control::unbind() {
  if (handle_ && object_of(handle_) == this) handle_->setProperty(object_property, QVariant());
  handle_ = nullptr;
}

control* object_of(const QWidget* widget) {
  if (!widget) return nullptr;
  QVariant v = widget->property(object_property);
  if (!v.isValid()) return nullptr;
  return reinterpret_cast<control*>(v.value<quintptr>());
}

QPoint client_origin(const QWidget* widget) {
  return widget ? widget->mapToGlobal(QPoint(0, 0)) : QPoint();
}

void control::set_focus() {
  if (!handle_) return;
  if (handle_->isWindow()) handle_->activateWindow();
  handle_->setFocus(Qt::OtherFocusReason);
}

void control::enable() {
  if (handle_) handle_->setEnabled(true);
}

void control::disable() {
  if (handle_) handle_->setEnabled(false);
}

std::size_t control::get_text(char* buffer, std::size_t size) const {
  if (size == 0) return 0;
  byte_string t = text();
  std::size_t length = 0;
  while (length < t.size()) {
    std::size_t step = is_lead_byte(static_cast<unsigned char>(t[length])) ? 2 : 1;
    if (length + step > size - 1 || length + step > t.size()) break;
    length += step;
  }
  std::memcpy(buffer, t.data(), length);
  buffer[length] = '\0';
  return length;
}

byte_string widget_text(const QWidget* widget) {
  return widget ? to_sjis(widget_qtext(widget)) : byte_string();
}

void set_widget_text(QWidget* widget, std::string_view sjis) {
  if (!widget) return;
  QString text = to_qstring(sjis);
  if (auto* line = dynamic_cast<QLineEdit*>(widget)) {
    line->setText(text);
  } else if (auto* plain = dynamic_cast<QPlainTextEdit*>(widget)) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    plain->setPlainText(text);
  } else if (auto* button = dynamic_cast<QAbstractButton*>(widget)) {
    button->setText(text);
  } else if (auto* label = dynamic_cast<QLabel*>(widget)) {
    label->setText(text);
  } else {
    widget->setWindowTitle(text);
  }
}

byte_string control::text() const { return widget_text(handle_); }

void control::set_text(std::string_view sjis) { set_widget_text(handle_, sjis); }

void control::limit_text(int n) {
  auto* line = dynamic_cast<QLineEdit*>(handle_.data());
  if (!line) return;
  auto* validator = const_cast<edit_validator*>(dynamic_cast<const edit_validator*>(line->validator()));
  if (!validator) {
    validator = new edit_validator(line, false, false);
    line->setValidator(validator);
  }
  validator->set_max_bytes(n > 0 ? n - 1 : 0);
}

int control::text_length() const { return static_cast<int>(text().size()); }

int control::get_number() const {
  byte_string t = text().substr(0, 10);
  std::size_t i = 0;
  while (i < t.size() && (t[i] == ' ' || (t[i] >= '\t' && t[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  long long value = 0;
  for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) value = value * 10 + (t[i] - '0');
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

void control::destroy() {
  if (!handle_) return;
  QWidget* w = handle_;
  unbind();
  w->hide();
  w->deleteLater();
}

void control::notice(int caption_id, int text_id) const {
  vintorel::notice(handle_, caption_id, text_id);
}
bool control::confirm(int caption_id, int text_id) const {
  return vintorel::confirm(handle_, caption_id, text_id);
}
choice control::choose(int caption_id, int text_id) const {
  return vintorel::choose(handle_, caption_id, text_id);
}
void control::error(int caption_id, int text_id) const {
  vintorel::error(handle_, caption_id, text_id);
}

void overlap::centre_on_parent() {
  if (!handle_) return;
  QWidget* parent = handle_->parentWidget();
  if (!parent) {
    centre_on_screen();
    return;
  }
  QPoint centre = parent->window()->frameGeometry().center();
  QRect frame = handle_->frameGeometry();
  frame.moveCenter(centre);
  handle_->move(frame.topLeft());
}

void overlap::centre_on_screen() {
  if (!handle_) return;
  QScreen* screen = handle_->screen() ? handle_->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  QRect frame = handle_->frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  handle_->move(frame.topLeft());
}

void overlap::move_to(int x, int y) {
  if (handle_) handle_->move(x, y);
}

bool overlap::is_minimized() const { return handle_ && handle_->isMinimized(); }
bool overlap::is_maximized() const { return handle_ && handle_->isMaximized(); }
bool overlap::is_hidden() const { return !handle_ || !handle_->isVisible(); }

void overlap::remember_position(int& x, int& y, bool client_origin_wanted) const {
  if (is_hidden() || is_minimized() || is_maximized()) return;
  QPoint p = client_origin_wanted ? client_origin(client_widget())
                                  : handle_->frameGeometry().topLeft();
  x = p.x();
  y = p.y();
}

}  // namespace vintorel

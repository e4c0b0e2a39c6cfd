// Edit controls: the event filter that stands in for subclassing, colours,
// the caret, and the OK rules of the five subclasses.
#include "toolkit/edit.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>

#include "toolkit/dialog_template.h"
#include "toolkit/key_mapping.h"

namespace vintorel {
namespace {

class edit_filter : public QObject {
 public:
  explicit edit_filter(edit* owner) : owner_(owner) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    (void)watched;
    return owner_->handle_event(*event);
  }

 private:
  edit* owner_;
};

}  // namespace

edit::~edit() { detach(); }

void edit::attached() {
  filter_ = std::make_unique<edit_filter>(this);
  handle_->installEventFilter(filter_.get());
  if (auto* line = dynamic_cast<QLineEdit*>(handle_.data())) {
    change_connection_ =
        QObject::connect(line, &QLineEdit::textChanged, [this] { on_change(); });
  } else if (auto* plain = dynamic_cast<QPlainTextEdit*>(handle_.data())) {
    // A multi-line edit loses its border.
    plain->setFrameShape(QFrame::NoFrame);
    change_connection_ =
        QObject::connect(plain, &QPlainTextEdit::textChanged, [this] { on_change(); });
  }
  if (handle_->hasFocus()) create_caret();
}

void edit::detaching() {
  QObject::disconnect(change_connection_);
  if (handle_ && filter_) handle_->removeEventFilter(filter_.get());
  filter_.reset();
  caret_shown_ = false;
}

QBrush edit::on_control_colour(QPalette& palette) {
  bool read_only = false;
  if (auto* line = dynamic_cast<QLineEdit*>(handle_.data())) read_only = line->isReadOnly();
  if (auto* plain = dynamic_cast<QPlainTextEdit*>(handle_.data())) read_only = plain->isReadOnly();
  if (!text_colour.isValid()) text_colour = palette.color(QPalette::WindowText);
  if (!background_colour) {
    background_colour = palette.color(read_only ? QPalette::Button : QPalette::Base);
  }
  palette.setColor(QPalette::Text, text_colour);
  palette.setColor(QPalette::Base, *background_colour);
  return QBrush(*background_colour);
}

void edit::create_caret() {
  if (!handle_) return;
  QFontMetrics metrics(handle_->font());
  caret_width_ = metrics.averageCharWidth() * (ime_open ? 2 : 1);
  if (auto* plain = dynamic_cast<QPlainTextEdit*>(handle_.data())) plain->setCursorWidth(caret_width_);
  caret_shown_ = true;
}

void edit::destroy_caret() { caret_shown_ = false; }

void edit::set_font(const QFont& font) {
  child::set_font(font);
  if (handle_ && handle_->hasFocus()) {
    destroy_caret();
    create_caret();
  }
}

bool edit::handle_event(QEvent& event) {
  switch (event.type()) {
    case QEvent::KeyPress: {
      auto& key = static_cast<QKeyEvent&>(event);
      // Keys with Alt are the dialog's (access keys), as system keys are.
      if (key.modifiers().testFlag(Qt::AltModifier)) return false;
      int vk = virtual_key_of(key.key(), key.modifiers());
      if (vk != 0 && on_key_down(vk)) return true;
      bool swallowed = false;
      for (char c : typed_bytes(key)) {
        if (on_char(static_cast<unsigned char>(c))) swallowed = true;
      }
      return swallowed;
    }
    case QEvent::MouseButtonDblClick: {
      auto& mouse = static_cast<QMouseEvent&>(event);
      int flags = 0;
      if (mouse.buttons() & Qt::LeftButton) flags |= 1;
      if (mouse.buttons() & Qt::RightButton) flags |= 2;
      if (mouse.modifiers() & Qt::ShiftModifier) flags |= 4;
      if (mouse.modifiers() & Qt::ControlModifier) flags |= 8;
      QPoint p = mouse.position().toPoint();
      return on_double_click(flags, p.x(), p.y());
    }
    case QEvent::Paint:
      on_paint();
      return false;
    case QEvent::FocusIn:
      create_caret();
      return false;
    case QEvent::FocusOut:
      destroy_caret();
      return false;
    default:
      return false;
  }
}

void edit::enable_ok(bool enabled) const {
  if (!handle_) return;
  if (QWidget* ok = dialog_item(handle_->window(), 1)) ok->setEnabled(enabled);
}

void edit_linenumber::attached() {
  edit::attached();
  limit_text(limit + 1);
}
void edit_linenumber::on_change() { enable_ok(text_length() > 0 && get_number() != 0); }

void edit_commandline::attached() {
  edit::attached();
  limit_text(limit + 1);
}
void edit_commandline::on_change() { enable_ok(text_length() > 0); }

void edit_title::on_change() { enable_ok(text_length() > 0); }

void edit_tabsize::attached() {
  edit::attached();
  limit_text(limit + 1);
}
void edit_tabsize::on_change() { enable_ok(text_length() > 0 && get_number() >= 1); }

void edit_keyword::attached() {
  edit::attached();
  limit_text(limit + 1);
}
void edit_keyword::on_change() { enable_ok(text_length() > 0); }

}  // namespace vintorel

// The up-down control: two arrow buttons that step a number shown in the buddy.
#include "toolkit/updown.h"

#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <string>

#include "toolkit/dialog_template.h"

namespace vintorel {
namespace {

class buddy_filter : public QObject {
 public:
  explicit buddy_filter(updown* owner) : owner_(owner) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    (void)watched;
    if (event->type() != QEvent::KeyPress) return false;
    return owner_->handle_buddy_key(static_cast<QKeyEvent*>(event)->key());
  }

 private:
  updown* owner_;
};

}  // namespace

updown::~updown() { detach(); }

bool updown::create(int x, int y, int width, int height, QWidget* dialog_handle, int id,
                    child& buddy, int upper, int lower, int start) {
  detach();
  if (!dialog_handle || !buddy.handle()) return false;
  QWidget* b = buddy.handle();
  auto* w = new QWidget(dialog_handle);
  auto* layout = new QVBoxLayout(w);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* up = new QToolButton(w);
  auto* down = new QToolButton(w);
  up->setArrowType(Qt::UpArrow);
  down->setArrowType(Qt::DownArrow);
  for (QToolButton* arrow : {up, down}) {
    arrow->setAutoRepeat(true);
    arrow->setFocusPolicy(Qt::NoFocus);
    arrow->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    layout->addWidget(arrow);
  }
  if (width <= 0) {
    // Aligned to the buddy's right end; the buddy gets narrower.
    QRect r = b->geometry();
    int arrow_width = to_pixels(6);
    b->setGeometry(r.x(), r.y(), r.width() - arrow_width, r.height());
    w->setGeometry(r.right() + 1 - arrow_width, r.y(), arrow_width, r.height());
  } else {
    w->setGeometry(x, y, width, height);
  }
  set_dialog_item_id(w, id);
  w->show();
  if (!attach(dialog_handle, id)) {
    delete w;
    return false;
  }
  up_connection_ = QObject::connect(up, &QToolButton::clicked, w, [this] { step(1); });
  down_connection_ = QObject::connect(down, &QToolButton::clicked, w, [this] { step(-1); });
  buddy_ = b;
  buddy_filter_ = std::make_unique<buddy_filter>(this);
  b->installEventFilter(buddy_filter_.get());
  lower_ = lower < upper ? lower : upper;
  upper_ = lower < upper ? upper : lower;
  set_position(start);
  return true;
}

void updown::detaching() {
  if (buddy_ && buddy_filter_) buddy_->removeEventFilter(buddy_filter_.get());
  buddy_filter_.reset();
  buddy_ = nullptr;
  // The arrows stay with the dialog but no longer call this object.
  QObject::disconnect(up_connection_);
  QObject::disconnect(down_connection_);
}

int updown::position() const {
  if (buddy_) {
    byte_string text = widget_text(buddy_);
    bool digits = !text.empty() && text.size() <= 9;
    for (char c : text) digits = digits && c >= '0' && c <= '9';
    if (digits) {
      int v = std::stoi(text);
      return v < lower_ ? lower_ : (v > upper_ ? upper_ : v);
    }
  }
  return position_;
}

void updown::set_position(int value) {
  position_ = value < lower_ ? lower_ : (value > upper_ ? upper_ : value);
  if (!buddy_) return;
  set_widget_text(buddy_, std::to_string(position_));
}

void updown::step(int delta) { set_position(position() + delta); }

bool updown::handle_buddy_key(int qt_key) {
  if (qt_key == Qt::Key_Up) {
    step(1);
    return true;
  }
  if (qt_key == Qt::Key_Down) {
    step(-1);
    return true;
  }
  return false;
}

}  // namespace vintorel

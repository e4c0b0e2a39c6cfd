#include "toolkit/input_hold.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace vintorel {

input_hold::input_hold(QWidget* window) : window_(window) {
  if (QCoreApplication* application = QCoreApplication::instance()) application->installEventFilter(this);
}

input_hold::~input_hold() {
  if (QCoreApplication* application = QCoreApplication::instance()) application->removeEventFilter(this);
  for (kept_event& k : kept_) {
    if (k.target) QCoreApplication::postEvent(k.target, k.event.release());
  }
}

bool input_hold::eventFilter(QObject* target, QEvent* event) {
  if (!window_ || !target->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(target);
  if (widget->window() != window_->window()) return false;
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::InputMethod:
      kept_.push_back({QPointer<QObject>(target), std::unique_ptr<QEvent>(event->clone())});
      return true;
    case QEvent::ShortcutOverride:
      // Accepted, so that no shortcut of the menus takes a key meanwhile; the
      // key itself comes as a press and is kept.
      event->accept();
      return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::DragEnter:
    case QEvent::Drop:
      return true;
    case QEvent::Close:
      event->ignore();
      return true;
    default:
      return false;
  }
}

}  // namespace vintorel

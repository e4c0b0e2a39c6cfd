// Dialogs over QDialog: building from a template, the modal and modeless runs,
// and Cancel by Escape or the close button.
#include "toolkit/dialog.h"

#include <QCloseEvent>
#include <QDialog>
#include <QThread>

#include "toolkit/key_mapping.h"

namespace vintorel {
namespace {

class dialog_host : public QDialog {
 public:
  dialog_host(dialog* owner, QWidget* parent, Qt::WindowFlags flags)
      : QDialog(parent, flags), owner_(owner) {}
  void detach() { owner_ = nullptr; }
  dialog* owner() const { return owner_; }

  // Escape and the close button ask the dialog with Cancel, as a dialog
  // manager would; the dialog ends itself or stays.
  void reject() override {
    if (owner_) owner_->on_command(id_cancel, 0);
  }
  void accept() override {
    if (owner_) owner_->on_command(id_ok, 0);
  }

 protected:
  void changeEvent(QEvent* event) override {
    QDialog::changeEvent(event);
    if (owner_ && event->type() == QEvent::ActivationChange) {
      owner_->on_activate(isActiveWindow(), isMinimized());
    }
  }

 private:
  dialog* owner_;
};

dialog_host* host_of(const QWidget* w) {
  return static_cast<dialog_host*>(const_cast<QWidget*>(w));
}

}  // namespace

dialog::~dialog() {
  if (handle_) {
    host_of(handle_)->detach();
    QWidget* w = handle_;
    unbind();
    delete w;
  }
}

int dialog::run(const dialog_template& t, QWidget* parent, bool modeless) {
  if (handle_) return -1;
  track_input();
  Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (t.system_menu) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  auto* host = new dialog_host(this, parent, flags);
  host->setModal(!modeless);
  build_dialog(*host, t);
  QBrush background = on_dialog_colour();
  if (background.style() != Qt::NoBrush) {
    QPalette palette = host->palette();
    palette.setBrush(QPalette::Window, background);
    host->setPalette(palette);
  }
  bind(host);
  modeless_ = modeless;
  ended_ = false;
  result_ = 0;

  on_init();
  if (modeless) {
    if (handle_ && !ended_) host->show();
    return 1;
  }
  if (handle_ && !ended_) host->exec();
  int result = result_;
  tear_down();
  return result;
}

void dialog::end(int result) {
  result_ = result;
  ended_ = true;
  if (handle_ && handle_->isVisible()) {
    if (modeless_) {
      handle_->hide();
    } else {
      host_of(handle_)->done(result);
    }
  }
}

void dialog::destroy() { tear_down(); }

void dialog::tear_down() {
  if (!handle_) return;
  on_destroy();
  if (!handle_) return;
  auto* host = host_of(handle_);
  host->detach();
  unbind();
  host->hide();
  // A modal dialog's loop has returned, so nothing of it is on the stack; a
  // modeless one may be destroying itself from one of its own events.
  if (modeless_) {
    host->deleteLater();
  } else {
    delete host;
  }
}

QWidget* dialog::item(int id) const { return dialog_item(handle_, id); }

void dialog::post_command(int id, std::intptr_t parameter) {
  if (!handle_) return;
  auto* host = host_of(handle_);
  QMetaObject::invokeMethod(
      host,
      [host, id, parameter] {
        if (host->owner()) host->owner()->on_command(id, parameter);
      },
      Qt::QueuedConnection);
}

void dialog::send_command(int id, std::intptr_t parameter) {
  if (!handle_) return;
  auto* host = host_of(handle_);
  if (QThread::currentThread() == host->thread()) {
    on_command(id, parameter);
    return;
  }
  QMetaObject::invokeMethod(
      host,
      [host, id, parameter] {
        if (host->owner()) host->owner()->on_command(id, parameter);
      },
      Qt::BlockingQueuedConnection);
}

}  // namespace vintorel

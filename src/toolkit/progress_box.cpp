#include "toolkit/progress_box.h"

#include <QProgressDialog>

#include "platform/string_table.h"
#include "platform/user_interface.h"
#include "toolkit/message_box.h"
#include "toolkit/qt_text.h"

namespace vintorel {

progress_box::~progress_box() { delete dialog_.data(); }

void progress_box::show(int percent) {
  if (shown_) return;
  shown_ = true;
  if (user_interface* responder = box_responder()) {
    answered_cancel_ = responder->cancel_wait(caption_id_, text_id_);
    return;
  }
  auto* dialog = new QProgressDialog(owner_);
  dialog->setWindowTitle(to_qstring(load_string(caption_id_)));
  dialog->setLabelText(to_qstring(load_string(text_id_)));
  dialog->setRange(0, 100);
  dialog->setValue(percent);
  dialog->setMinimumDuration(0);
  dialog->setAutoClose(false);
  dialog->setAutoReset(false);
  // Not modal and not activated: keys keep going to the window, which holds
  // them until the wait is over.
  dialog->setWindowModality(Qt::NonModal);
  dialog->setAttribute(Qt::WA_ShowWithoutActivating);
  dialog->show();
  dialog_ = dialog;
}

void progress_box::set_percent(int percent) {
  if (dialog_) dialog_->setValue(percent);
}

bool progress_box::cancelled() const { return answered_cancel_ || (dialog_ && dialog_->wasCanceled()); }

}  // namespace vintorel

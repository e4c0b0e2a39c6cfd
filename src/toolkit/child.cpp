// Attaching control objects to dialog items; check boxes.
#include "toolkit/child.h"

#include <QAbstractButton>

#include "toolkit/dialog_template.h"

namespace vintorel {

child::~child() { detach(); }

bool child::attach(QWidget* dialog_handle, int id) {
  detach();
  QWidget* item = dialog_item(dialog_handle, id);
  if (!item || object_of(item)) return false;
  id_ = id;
  bind(item);
  refresh_colours();
  attached();
  return true;
}

void child::detach() {
  if (!handle_) return;
  detaching();
  unbind();
}

void child::refresh_colours() {
  if (!handle_) return;
  QPalette palette = handle_->palette();
  QBrush background = on_control_colour(palette);
  if (background.style() != Qt::NoBrush) palette.setBrush(QPalette::Base, background);
  handle_->setPalette(palette);
}

QFont child::get_font() const { return handle_ ? handle_->font() : QFont(); }

void child::set_font(const QFont& font) {
  if (handle_) handle_->setFont(font);
}

bool check::is_checked() const {
  auto* b = dynamic_cast<QAbstractButton*>(handle_.data());
  return b && b->isChecked();
}

void check::set_checked(bool checked) {
  if (auto* b = dynamic_cast<QAbstractButton*>(handle_.data())) b->setChecked(checked);
}

}  // namespace vintorel

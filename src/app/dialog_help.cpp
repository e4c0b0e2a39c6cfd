// The help window built from its template; its text is an excerpt of the
// manual, empty when the manual is missing or shorter than the range.
#include "app/dialog_help.h"

#include <QGuiApplication>
#include <QScreen>

#include "files/manual_excerpt.h"
#include "toolkit/control.h"

namespace vintorel {

namespace {

constexpr int id_manual_text = 806;
constexpr int id_close = 8;

dialog_template help_template() {
  dialog_template t;
  t.name = "DIALOG_HELP";
  t.caption = "説明";
  t.width = 332;
  t.height = 147;
  t.controls = {
      {id_manual_text, control_kind::edit, 0, 1, 332, 132, "",
       style_multi_line | style_read_only | style_vertical_scroll},
      {id_close, control_kind::default_button, 296, 134, 36, 13, "閉じる", style_none},
  };
  return t;
}

}  // namespace

bool dialog_help::open(QWidget* parent) { return run(help_template(), parent, true) == 1; }

void dialog_help::on_init() {
  if (QWidget* box = handle()) {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
      QRect area = screen->availableGeometry();
      box->move(area.center() - QPoint(box->width() / 2, box->height() / 2));
    }
  }
  set_widget_text(item(id_manual_text), read_manual_excerpt(manual_path_, first_line_, line_count_));
}

void dialog_help::on_command(int id, std::intptr_t) {
  if (id == id_close || id == id_cancel) first_line_ = -1;
}

void help_slot::open(QWidget* parent, const std::string& manual_path, int first_line, int line_count) {
  if (help_) return;
  help_ = std::make_unique<dialog_help>(manual_path, first_line, line_count);
  if (!help_->open(parent)) help_.reset();
}

void help_slot::collect() {
  if (help_ && help_->closed()) close();
}

void help_slot::close() {
  if (!help_) return;
  help_->destroy();
  help_.reset();
}

}  // namespace vintorel

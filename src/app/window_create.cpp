// The main window's life: creation of everything the editor needs, closing,
// destruction with the remembered position, moves, painting and the helpers
// that redraw the panes.
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QSocketNotifier>
#include <QTimer>

#include "app/window_entries.h"
#include "app/window_main.h"
#include "app/window_menus.h"
#include "display/painter.h"
#include "files/index_loader.h"
#include "display/screen_setup.h"
#include "display/status_line.h"
#include "platform/instance.h"
#include "settings/settings_file.h"
#include "toolkit/key_mapping.h"
#include "platform/string_table.h"

namespace vintorel {

window_::window_(main_window_setup setup)
    : setup_(std::move(setup)),
      painter_(display_),
      work_(display_, *setup_.settings, setup_.settings_directory + "ext.ini") {
  backend_ = std::move(setup_.backend);
  if (!backend_) backend_ = std::make_unique<memory_backend>();
  display_.backend = backend_.get();
  apply_settings(display_, *setup_.settings);
  display_.on_invalidate = [this](const pixel_rect& r) {
    if (QWidget* c = client()) c->update(r.x, r.y, r.width, r.height);
  };
  display_.show_error = [this](int id) { ui_.error(string_caption_error, id); };
  display_.search_string = &work_.search.search_string;
  painter_.on_update_menus = [this] { refresh_menus(); };
  painter_.on_repaint_other_pane = [this] { repaint_other(); };
}

window_::~window_() {
  // A window that was never destroyed through the toolkit still lets go of
  // its texts before the surfaces go.
  work_.discard_texts();
  release_surfaces(display_);
}

bool window_::create_main(const window_position& position, int show_command) {
  position_ = position;
  bool ok = create(load_string(string_product), position.x, position.y, display_.client_pixel_width(),
                   display_.client_pixel_height(), show_command, true);
  if (ok) on_move();
  return ok;
}

int window_::on_create() {
  ui_.set_owner(frame());
  read_only_start_ = ctrl_down() || setup_.start.read_only;
  keys_ = keyboard_state();
  display_.bottom_line.escape_pending = false;

  set_pane_layout(display_.layout, display_.lines, display_.columns, false, false);
  if (!create_surfaces(display_) || !load_sheets(display_)) {
    release_surfaces(display_);
    return -1;
  }
  draw_bottom_line();

  work_.deleted = deleted_char_buffer(setup_.settings->buffer_delete);
  work_.strings = string_stack(setup_.settings->buffer_block);

  menus_ = std::make_unique<window_menus>(menu_bar(), [this](command_id id) { on_command(to_int(id), 0); });
  for (const std::string& title : style_menu_titles(ini_path("ext.ini"))) menus_->add_style_entry(title);
  rebuild_program_menus(*this);

  work_.discard_texts();
  if (!new_text(std::string(console_text_name))) return -1;
  work_.command_directory =
      setup_.command_directory.empty() ? setup_.settings_directory : setup_.command_directory;

  const start_request& start = setup_.start;
  if (!start.empty) {
    if (start.items.command_mode) {
      work_.command_directory = start.items.directory;
      work_.last_command = start.items.command;
      // The command runs once the window is up, as any command would.
      QTimer::singleShot(0, frame(), [this] { run_command_in(*this, work_.command_directory, work_.last_command); });
      created_ = true;
      return 0;
    }
    for (const std::string& file : start.items.files) open_text(work_.text_count(), file, read_only_start_);
  }
  // With nothing but the console, the file dialog follows at once.
  if (work_.text_count() == 1) post(*this, command_id::open_file);
  created_ = true;
  return 0;
}

void window_::on_destroy() {
  if (notifier_) {
    delete notifier_;
    notifier_ = nullptr;
  }
  server_.reset();
  loading_.clear();
  loading_timer_.stop();
  work_.discard_texts();
  menus_.reset();
  work_.deleted.clear();
  work_.strings.clear();
  release_surfaces(display_);
  // Writing the position is not checked: nothing can be done about it now.
  if (created_) write_window_position(ini_path("layout.ini"), position_);
}

void window_::on_close() {
  if (close_all_texts()) destroy();
}

void window_::on_move() {
  remember_position(position_.x, position_.y, true);
}

bool window_::on_paint() {
  QWidget* c = client();
  surface* screen = display_.surfaces.screen_image;
  if (!c) return false;
  // A lost screen image is rebuilt; the rebuilt surfaces are blank, so
  // everything is drawn again before it is shown.
  if (screen && screen->is_lost()) {
    if (rebuild_surfaces(display_)) redraw_everything();
    screen = display_.surfaces.screen_image;
  }
  if (!screen || screen->is_lost() || screen->bytes_per_pixel() != 4) return true;
  QRect area = paint_rectangle().intersected(QRect(0, 0, display_.client_pixel_width(), display_.client_pixel_height()));
  if (area.isEmpty()) return true;
  // The screen image is 32-bit 0x00RRGGBB, shown one pixel for one pixel.
  QImage image(screen->data(), screen->width(), screen->height(), static_cast<qsizetype>(screen->stride()),
               QImage::Format_RGB32);
  QPainter painter(c);
  painter.drawImage(area.topLeft(), image, area);
  return true;
}

edit_context window_::context() {
  edit_context c = work_.context(work_.current_pane());
  c.display = &painter_;
  c.ui = &ui_;
  return c;
}

void window_::draw_cursor(bool shown) {
  text_document* d = work_.current_text();
  if (!d) return;
  pane_view pane = current_pane(display_);
  std::int32_t row = pane.first_row + d->current_line - d->top_line;
  std::int32_t column = pane.first_column + d->column - d->left_column;
  if (shown) {
    painter_.draw_cursor(pane, row, column);
  } else {
    painter_.erase_cursor(pane, row, column);
  }
}

void window_::repaint_current() {
  text_document* d = work_.current_text();
  if (!d) return;
  repaint_pane(display_, current_pane(display_), *d);
  draw_cursor();
}

void window_::repaint_other() {
  if (!work_.dual()) return;
  int other = work_.other_pane();
  int index = work_.pane_text(other);
  if (index < 0 || index >= work_.text_count()) return;
  repaint_pane(display_, pane_of(display_, other), work_.text_at(index));
}

void window_::draw_bottom_line() {
  display_.bottom_line.escape_pending = keys_.escape_pending;
  display_.bottom_line.overwrite = work_.overwrite;
  vintorel::draw_bottom_line(display_, keys_.shift_held);
}

void window_::redraw_everything() {
  draw_bottom_line();
  repaint_current();
  repaint_other();
}

void window_::paint_now() {
  if (QWidget* c = client()) c->repaint();
}

void window_::before_dialog() {
  keys_.shift_held = false;
  draw_bottom_line();
}

}  // namespace vintorel

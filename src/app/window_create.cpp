// The main window's life: creation of everything the editor needs, closing,
// destruction with the remembered position, moves, painting and the helpers
// that redraw the panes.
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QSocketNotifier>

#include "app/window_main.h"
#include "app/window_menus.h"
#include "display/painter.h"
#include "display/screen_setup.h"
#include "display/status_line.h"
#include "platform/instance.h"
#include "settings/settings_file.h"
#include "toolkit/key_mapping.h"
#include "toolkit/string_table.h"

namespace vintorel {

namespace {
// The one main window, for the text model's modification hook.
window_* the_main_window = nullptr;
}  // namespace

window_::window_(main_window_setup setup)
    : setup_(std::move(setup)),
      painter_(display_),
      deleted_(setup_.settings->buffer_delete),
      stack_(setup_.settings->buffer_block) {
  backend_ = std::move(setup_.backend);
  if (!backend_) backend_ = std::make_unique<memory_backend>();
  display_.backend = backend_.get();
  apply_settings(display_, *setup_.settings);
  display_.on_invalidate = [this](const pixel_rect& r) {
    if (QWidget* c = client()) c->update(r.x, r.y, r.width, r.height);
  };
  display_.show_error = [this](int id) { ui_.error(string_caption_error, id); };
  display_.search_string = &search_.search_string;
  painter_.on_update_menus = [this] { refresh_menus(); };
  painter_.on_repaint_other_pane = [this] { repaint_other(); };
  the_main_window = this;
}

window_::~window_() {
  if (the_main_window == this) the_main_window = nullptr;
  // A window that was never destroyed through the toolkit still lets go of
  // its texts before the surfaces go.
  discard_texts();
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

  deleted_ = deleted_char_buffer(setup_.settings->buffer_delete);
  stack_ = string_stack(setup_.settings->buffer_block);

  menus_ = std::make_unique<window_menus>(menu_bar(), [this](int id) { on_command(id, 0); });
  for (const std::string& title : style_menu_titles(ini_path("ext.ini"))) menus_->add_style_entry(title);
  for (const std::string& title : section_names(ini_path("program.ini"), 128)) menus_->add_program_entry(title);

  texts_.clear();
  if (!new_text(console_name)) return -1;
  command_directory_ = setup_.executable_directory;

  const start_request& start = setup_.start;
  if (!start.empty) {
    if (start.items.command_mode) {
      command_directory_ = start.items.directory;
      last_command_ = start.items.command;
      if (setup_.run_command) setup_.run_command(command_directory_, last_command_);
      created_ = true;
      return 0;
    }
    for (const std::string& file : start.items.files) open_text(text_count(), file, read_only_start_);
  }
  // With nothing but the console, the file dialog follows at once.
  if (text_count() == 1) post_command(217);
  created_ = true;
  return 0;
}

void window_::on_destroy() {
  if (notifier_) {
    delete notifier_;
    notifier_ = nullptr;
  }
  server_.reset();
  pane_index_ = {-1, -1};
  discard_texts();
  menus_.reset();
  deleted_.clear();
  stack_.clear();
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

void window_::discard_texts() {
  // Each text commits its cursor line as it goes; nobody is told any more.
  for (auto& text : texts_) text->on_modified = nullptr;
  texts_.clear();
}

text_document* window_::current_text() {
  int index = current_text_index();
  if (index < 0 || index >= text_count()) return nullptr;
  return texts_[static_cast<std::size_t>(index)].get();
}

bool window_::is_console(const text_document& document) const {
  return !texts_.empty() && texts_.front().get() == &document;
}

edit_context window_::context() {
  edit_context c;
  int pane = current_pane_index();
  c.pane = pane_of(display_, pane);
  c.pane.auto_indent = pane_styles_[static_cast<std::size_t>(pane)].auto_indent != 0;
  c.display = &painter_;
  c.ui = &ui_;
  c.deleted = &deleted_;
  c.stack = &stack_;
  c.search = &search_;
  const settings_record& s = *setup_.settings;
  c.settings.tab_size = s.tab_size;
  c.settings.buffer_delete = s.buffer_delete;
  c.settings.buffer_block = s.buffer_block;
  c.settings.ignore_case = s.ignore_case;
  c.settings.word_search = s.word_search;
  c.overwrite_mode = overwrite_;
  return c;
}

void window_::draw_current_cursor() {
  text_document* d = current_text();
  if (!d) return;
  pane_view pane = current_pane(display_);
  painter_.draw_cursor(pane, pane.first_row + d->current_line - d->top_line,
                       pane.first_column + d->column - d->left_column);
}

void window_::erase_current_cursor() {
  text_document* d = current_text();
  if (!d) return;
  pane_view pane = current_pane(display_);
  painter_.erase_cursor(pane, pane.first_row + d->current_line - d->top_line,
                        pane.first_column + d->column - d->left_column);
}

void window_::repaint_current() {
  text_document* d = current_text();
  if (!d) return;
  repaint_pane(display_, current_pane(display_), *d);
  draw_current_cursor();
}

void window_::repaint_other() {
  if (!display_.layout.dual) return;
  int other = 1 - current_pane_index();
  int index = pane_text(other);
  if (index < 0 || index >= text_count()) return;
  repaint_pane(display_, pane_of(display_, other), text_at(index));
}

void window_::draw_bottom_line() {
  display_.bottom_line.escape_pending = keys_.escape_pending;
  display_.bottom_line.overwrite = overwrite_;
  vintorel::draw_bottom_line(display_, keys_.shift_held);
}

void window_::redraw_everything() {
  draw_bottom_line();
  repaint_current();
  repaint_other();
}

void window_::before_dialog() {
  keys_.shift_held = false;
  draw_bottom_line();
}

void window_::on_text_modified(text_document& document) {
  if (the_main_window) the_main_window->text_modified(document);
}

}  // namespace vintorel

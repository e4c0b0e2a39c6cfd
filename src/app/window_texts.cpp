// The list of open texts and the panes that show them: opening, new texts,
// switching, closing (with saving), the second pane and the text-switch menu.
#include "app/window_main.h"
#include "app/window_menus.h"
#include "display/painter.h"
#include "files/charset.h"
#include "files/file_system.h"
#include "files/index_loader.h"
#include "files/load_text.h"
#include "files/save_text.h"
#include "files/write_text.h"
#include "platform/string_table.h"
#include "shell/key_bindings.h"

namespace vintorel {

namespace {

// The one main window, for the text model's modification hook.
window_* the_main_window = nullptr;

// A text became modified: its text-switch entry gets its mark.
void text_modified(text_document& document) {
  if (!the_main_window || !the_main_window->has_menus()) return;
  workspace& work = the_main_window->work();
  int i = work.index_of(document);
  if (i < 0) return;
  the_main_window->menus().set_text_entry(
      i, text_entry_label(document.size, text_entry_mark(i == 0, document.state == read_only_state,
                                                         document.is_modified()),
                          document.name));
}

// The text-switch entries of the texts shown in a pane are greyed, the others
// enabled.
void grey_shown_text_entries(window_menus& menus, const workspace& work) {
  for (int i = 0; i < work.text_count() && i < max_list_entries; ++i) {
    bool shown = work.pane_text(0) == i || (work.dual() && work.pane_text(1) == i);
    menus.set_enabled(text_entry_id(i), !shown);
  }
}

}  // namespace

void window_::show_text(int index) {
  if (index < 0 || index >= work_.text_count()) return;
  work_.show_text(index);
  repaint_current();
  refresh_menus();
}

bool window_::new_text(const std::string& name) {
  auto document = std::make_unique<text_document>();
  document->create_empty(name);
  if (document->state == failed_state) {
    ui_.error(string_caption_error, string_memory);
    return false;
  }
  add_text(work_.text_count(), std::move(document));
  return true;
}

void window_::add_text(int index, std::unique_ptr<text_document> document) {
  the_main_window = this;
  work_.on_text_modified = &text_modified;
  work_.add_text(index, std::move(document));
  rebuild_text_entries();
  repaint_current();
  refresh_menus();
}

bool window_::open_text(int index, const std::string& path, bool read_only, std::int32_t top_line,
                        std::int32_t current_line, std::int32_t left_column, std::int32_t desired_column,
                        charset charset_code, linefeed_kind linefeed_code) {
  if (index < 0 || index > work_.text_count()) index = work_.text_count();
  std::string full = full_path(path);
  if (full.empty() || full.size() >= max_path) {
    ui_.error(string_caption_error, string_file_error);
    return false;
  }
  if (is_binary_extension(full, setup_.settings->binary_extension)) return false;

  // A text open under the same name is shown again when its access fits.
  for (int i = 0; i < work_.text_count(); ++i) {
    text_document& open = work_.text_at(i);
    if (open.name != full) continue;
    std::string attributes;
    if (!get_attribute_string(full, attributes)) {
      ui_.error(string_caption_error, string_file_error);
      return false;
    }
    bool plain = attributes.compare(0, 3, "---") == 0;
    bool reuse = (open.state == read_only_state && (read_only || !plain)) ||
                 ((open.state == unchanged_state || open.state == modified_state) && !read_only && plain);
    if (!reuse) continue;
    if (work_.current_text_index() == i) return true;
    if (work_.dual() && work_.pane_text(work_.other_pane()) == i) {
      send(*this, command_id::change_window);
      return true;
    }
    show_text(i);
    return true;
  }

  auto document = std::make_unique<text_document>();
  background_load rest;
  load_text_file(*document, full, read_only, top_line, left_column, current_line, desired_column, charset_code,
                 linefeed_code, display_.layout.pane_rows, setup_.settings->detect_utf8, written_.get(), &rest);
  written_.reset();
  // A binary file is refused without a word.
  if (document->file_charset == binary) return false;
  if (document->state == failed_state) {
    ui_.error(string_caption_error, string_file_error);
    return false;
  }
  text_document& opened = *document;
  add_text(index, std::move(document));
  // A large file shows its first screen now; a worker indexes the rest.
  if (rest.loader) {
    watch_loading(opened, std::move(rest.loader));
  } else {
    tell_about_loaded_text(opened);
  }
  return true;
}

void window_::tell_about_loaded_text(text_document& document) {
  // Lines that editing would change beyond the edit: said once per file, since
  // every save opens the file again.
  constexpr std::uint64_t lossy_check_bytes = 4 << 20;
  if (document.has_overlong_line) ui_.notice(string_caption_notice, string_overlong_line);
  if (!lossy_files_told_.count(document.name) && first_lossy_line(document, lossy_check_bytes) >= 0) {
    lossy_files_told_.insert(document.name);
    ui_.notice(string_caption_notice, string_lossy_characters);
  }
}

void window_::close_second_pane() {
  if (!work_.dual()) return;
  if (display_.layout.side_by_side) {
    fill_cells(display_, 0, 0, display_.lines, display_.columns, display_.colours[back_normal]);
  }
  work_.close_second_pane();
  draw_bottom_line();
  rebuild_text_entries();
  repaint_current();
  refresh_menus();
}

bool window_::save_text(text_document& document) {
  if (document.name == "???") {
    byte_string chosen;
    document.name.clear();
    if (!ui_.choose_file(true, chosen)) {
      document.name = "???";
      return false;
    }
    document.name = chosen;
  }
  std::string path = document.name;
  // Another program changed or replaced the file since it was opened: it is
  // not overwritten without asking.
  if (is_open(document.file) && change_on_disk(document.file, path) == disk_change::changed &&
      !ui_.confirm(string_caption_confirm, string_changed_on_disk))
    return false;
  save_options options;
  options.keep_backup = setup_.settings->backup;
  options.tab_size = display_.pane_styles[static_cast<std::size_t>(work_.current_pane())].tab_size;
  // The text stays open, modified and readable unless the file now holds it.
  options.keep_written = keep_written_;
  save_result result = save_text_file(document, path, options);
  written_ = std::move(result.written);
  if (result.backup_failed) ui_.error(string_caption_error, string_file_error);
  switch (result.status) {
    case save_status::saved:
      break;
    case save_status::not_written:
      ui_.error(string_caption_error, string_file_error);
      return false;
    case save_status::kept_elsewhere:
      ui_.error_with_path(string_caption_error, string_text_kept, result.kept_path);
      return false;
    case save_status::lines_unreadable:
      if (result.kept_path.empty()) {
        ui_.error(string_caption_error, string_file_error);
      } else {
        ui_.error_with_path(string_caption_error, string_edits_rescued, result.kept_path);
      }
      return false;
  }
  document.destroy();
  if (is_main_settings_path(path, ini_path("vintorel.ini"))) {
    load_runtime_group(*setup_.settings, key_binding_table, ini_path("vintorel.ini"));
    apply_runtime_settings(display_, *setup_.settings);
    draw_bottom_line();
    ui_.notice(string_caption_notice, string_settings_reloaded);
  }
  return true;
}

bool window_::close_text(close_mode mode, bool keep_panes) {
  int index = work_.current_text_index();
  // The console is never closed before the window goes.
  if (index <= 0) return false;
  text_document& document = work_.text_at(index);
  bool save = false;
  if (mode == close_mode::save) {
    save = true;
  } else if (mode == close_mode::ask && document.is_modified()) {
    before_dialog();
    switch (ui_.choose(string_caption_choose, string_save_question)) {
      case choice::cancel:
        return false;
      case choice::no:
        break;
      case choice::yes:
        save = document.save_charset == document.file_charset && document.save_linefeed == document.file_linefeed;
        // Cancel here closes without saving; it does not cancel the closing.
        if (!save) save = ui_.confirm(string_caption_confirm, string_charset_changed);
        break;
    }
  }
  if (save && !save_text(document)) return false;

  stop_loading(document);
  if (work_.remove_current_text(keep_panes)) {
    close_second_pane();
    return true;
  }
  rebuild_text_entries();
  if (work_.current_text()) {
    repaint_current();
  } else {
    int current = work_.current_pane();
    fill_cells(display_, display_.layout.pane_first_row[current] - 1, display_.layout.pane_first_column[current],
               display_.layout.pane_rows + 1, display_.layout.pane_columns, display_.colours[back_normal]);
  }
  refresh_menus();
  return true;
}

bool window_::close_all_texts() {
  if (work_.text_count() <= 1) return true;
  close_second_pane();
  send(*this, text_entry_id(work_.text_count() - 1));
  while (work_.current_text_index() != 0) {
    if (!close_text(close_mode::ask, false)) return false;
  }
  return true;
}

void window_::rebuild_text_entries() {
  if (!menus_) return;
  menus_->remove_text_entries();
  for (int i = 0; i < work_.text_count(); ++i) {
    text_document& d = work_.text_at(i);
    menus_->add_text_entry(
        text_entry_label(d.size, text_entry_mark(i == 0, d.state == read_only_state, d.is_modified()), d.name));
  }
  grey_shown_text_entries(*menus_, work_);
}

void window_::refresh_menus() {
  if (!menus_) return;
  text_document* d = work_.current_text();
  menu_rule_input in;
  in.text_count = work_.text_count();
  in.dual = work_.dual();
  in.deleted_chars_empty = work_.deleted.count == 0;
  in.string_stack_empty = work_.strings.empty();
  in.search_string_empty = work_.search.search_string.empty();
  if (d) {
    in.read_only = d->state == read_only_state;
    // A text whose character set or line end was changed can be saved as it is,
    // to convert the file.
    in.needs_saving = d->is_modified() || d->save_charset != d->file_charset || d->save_linefeed != d->file_linefeed;
    in.is_console = work_.is_console(*d);
  } else {
    // An empty pane offers nothing that works on a text.
    in.read_only = true;
    in.is_console = true;
  }
  for (const menu_item_state& s : menu_rule_states(in)) menus_->set_enabled(s.id, s.enabled);
  menus_->set_charset_mark(d ? code_of(d->save_charset) : 0);
  menus_->set_linefeed_mark(d ? code_of(d->save_linefeed) : 0);
  // Greying in the text-switch submenu follows the panes.
  grey_shown_text_entries(*menus_, work_);
}

}  // namespace vintorel

// The list of open texts and the panes that show them: opening, new texts,
// switching, closing (with saving), the second pane and the text-switch menu.
#include "app/key_bindings.h"
#include "app/window_main.h"
#include "app/window_menus.h"
#include "display/painter.h"
#include "files/charset.h"
#include "files/file_system.h"
#include "files/load_text.h"
#include "files/save_text.h"
#include "files/write_text.h"
#include "toolkit/string_table.h"

namespace vintorel {

void window_::load_pane_style(int pane) {
  int index = pane_text(pane);
  pane_style& style = pane_styles_[static_cast<std::size_t>(pane)];
  if (index < 0) {
    style = pane_style();
    style.tab_size = setup_.settings->tab_size;
  } else {
    vintorel::load_pane_style(style, text_at(index).name, ini_path("ext.ini"), setup_.settings->tab_size);
  }
  pane_style_view& view = display_.pane_styles[static_cast<std::size_t>(pane)];
  view.tab_size = style.tab_size;
  view.keywords = style.keywords;
}

void window_::fit_top_line(text_document& document) {
  // The pane is filled where the text is long enough.
  std::int32_t rows = display_.layout.pane_rows;
  if (document.line_count() - document.top_line < rows) {
    std::int32_t top = document.line_count() - rows;
    document.top_line = top < 0 ? 0 : top;
  }
}

void window_::show_in_current_pane(int index) {
  int pane = current_pane_index();
  pane_index_[static_cast<std::size_t>(pane)] = index;
  text_document& d = text_at(index);
  std::int32_t rows = display_.layout.pane_rows;
  if (d.current_line - d.top_line >= rows) d.top_line = d.current_line - rows + 1;
  if (d.current_line < d.top_line) d.top_line = d.current_line;
  load_pane_style(pane);
}

void window_::show_text(int index) {
  if (index < 0 || index >= text_count()) return;
  show_in_current_pane(index);
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
  add_text(text_count(), std::move(document));
  return true;
}

void window_::add_text(int index, std::unique_ptr<text_document> document) {
  document->on_modified = &window_::on_text_modified;
  texts_.insert(texts_.begin() + index, std::move(document));
  int other = 1 - current_pane_index();
  if (display_.layout.dual && pane_index_[static_cast<std::size_t>(other)] >= index)
    ++pane_index_[static_cast<std::size_t>(other)];
  show_in_current_pane(index);
  text_at(index).load_current_line(display_.pane_styles[static_cast<std::size_t>(current_pane_index())].tab_size);
  rebuild_text_entries();
  repaint_current();
  refresh_menus();
}

bool window_::open_text(int index, const std::string& path, bool read_only, std::int32_t top_line,
                        std::int32_t current_line, std::int32_t left_column, std::int32_t desired_column,
                        int charset_code, int linefeed_code) {
  if (index < 0 || index > text_count()) index = text_count();
  std::string full = full_path(path);
  if (full.empty() || full.size() >= max_path) {
    ui_.error(string_caption_error, string_file_error);
    return false;
  }
  if (is_binary_extension(full, setup_.settings->binary_extension)) return false;

  // A text open under the same name is shown again when its access fits.
  for (int i = 0; i < text_count(); ++i) {
    text_document& open = text_at(i);
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
    if (current_text_index() == i) return true;
    if (display_.layout.dual && pane_text(1 - current_pane_index()) == i) {
      send_command(223);
      return true;
    }
    show_text(i);
    return true;
  }

  int detected_charset = 0, detected_linefeed = 0;
  detect_charset(full, detected_charset, detected_linefeed);
  if (detected_charset == binary) return false;
  // The loader need not read the file's head a second time.
  if (charset_code == 0) {
    charset_code = detected_charset;
    linefeed_code = detected_linefeed;
  }

  auto document = std::make_unique<text_document>();
  load_text_file(*document, full, read_only, top_line, left_column, current_line, desired_column, charset_code,
                 linefeed_code, display_.layout.pane_rows);
  if (document->state == failed_state) {
    ui_.error(string_caption_error, string_file_error);
    return false;
  }
  // Lines that editing would change beyond the edit: said once per file, since
  // every save opens the file again.
  constexpr std::uint64_t lossy_check_bytes = 4 << 20;
  bool lossy = !lossy_files_told_.count(full) && first_lossy_line(*document, lossy_check_bytes) >= 0;
  add_text(index, std::move(document));
  if (lossy) {
    lossy_files_told_.insert(full);
    ui_.notice(string_caption_notice, string_lossy_characters);
  }
  return true;
}

void window_::close_second_pane() {
  if (!display_.layout.dual) return;
  if (display_.layout.side_by_side) {
    fill_cells(display_, 0, 0, display_.lines, display_.columns, display_.colours[back_normal]);
  }
  int was_current = current_pane_index();
  int other_text = pane_index_[static_cast<std::size_t>(1 - was_current)];
  set_pane_layout(display_.layout, display_.lines, display_.columns, false, false);
  if (was_current == 1) {
    pane_index_[0] = pane_index_[1];
    pane_styles_[0] = pane_styles_[1];
    display_.pane_styles[0] = display_.pane_styles[1];
  }
  pane_index_[1] = -1;
  // A current pane that showed none (its text could not be reloaded) gives way
  // to the other pane's text: the single pane always shows one.
  if (pane_index_[0] < 0) pane_index_[0] = other_text >= 0 ? other_text : text_count() - 1;
  load_pane_style(0);
  draw_bottom_line();
  if (text_document* d = current_text()) fit_top_line(*d);
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
  options.tab_size = display_.pane_styles[static_cast<std::size_t>(current_pane_index())].tab_size;
  // The text stays open, modified and readable unless the file now holds it.
  save_result result = save_text_file(document, path, options);
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

bool window_::close_text(int mode, bool keep_panes) {
  int index = current_text_index();
  // The console is never closed before the window goes.
  if (index <= 0) return false;
  text_document& document = text_at(index);
  bool save = false;
  if (mode == 1) {
    save = true;
  } else if (mode == 2 && document.is_modified()) {
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

  // A text being discarded commits its cursor line as it goes; the window
  // must not hear of that while the list is being changed.
  document.on_modified = nullptr;
  texts_.erase(texts_.begin() + index);
  int current = current_pane_index();
  int other = 1 - current;
  if (!display_.layout.dual) {
    pane_index_[0] = text_count() - 1;
    load_pane_style(0);
    fit_top_line(text_at(pane_index_[0]));
  } else {
    int& other_index = pane_index_[static_cast<std::size_t>(other)];
    // Both panes may have shown the closed text; the other one then shows none.
    if (other_index == index) {
      other_index = -1;
    } else if (other_index > index) {
      --other_index;
    }
    int last = text_count() - 1;
    int next = last == other_index ? last - 1 : last;
    if (next <= 0) {
      pane_index_[static_cast<std::size_t>(current)] = -1;
      if (!keep_panes) {
        display_.layout.current_pane = other;
        close_second_pane();
        return true;
      }
    } else {
      pane_index_[static_cast<std::size_t>(current)] = next;
      fit_top_line(text_at(next));
    }
    load_pane_style(current);
  }
  rebuild_text_entries();
  if (current_text()) {
    repaint_current();
  } else {
    fill_cells(display_, display_.layout.pane_first_row[current] - 1, display_.layout.pane_first_column[current],
               display_.layout.pane_rows + 1, display_.layout.pane_columns, display_.colours[back_normal]);
  }
  refresh_menus();
  return true;
}

bool window_::close_all_texts() {
  if (text_count() <= 1) return true;
  close_second_pane();
  send_command(400 + text_count());
  while (current_text_index() != 0) {
    if (!close_text(2, false)) return false;
  }
  return true;
}

void window_::rebuild_text_entries() {
  if (!menus_) return;
  menus_->remove_text_entries();
  for (int i = 0; i < text_count(); ++i) {
    text_document& d = text_at(i);
    menus_->add_text_entry(
        text_entry_label(d.size, text_entry_mark(i == 0, d.state == read_only_state, d.is_modified()), d.name));
  }
  // The entries of the texts in a pane are greyed, the others enabled.
  for (int i = 0; i < text_count() && i < max_text_entries; ++i) {
    bool shown = pane_index_[0] == i || (display_.layout.dual && pane_index_[1] == i);
    menus_->set_enabled(first_text_entry_id + i, !shown);
  }
}

void window_::text_modified(text_document& document) {
  if (!menus_) return;
  for (int i = 0; i < text_count(); ++i) {
    if (texts_[static_cast<std::size_t>(i)].get() != &document) continue;
    menus_->set_text_entry(
        i, text_entry_label(document.size, text_entry_mark(i == 0, document.state == read_only_state,
                                                           document.is_modified()),
                            document.name));
  }
}

void window_::refresh_menus() {
  if (!menus_) return;
  text_document* d = current_text();
  menu_rule_input in;
  in.text_count = text_count();
  in.dual = display_.layout.dual;
  in.deleted_chars_empty = deleted_.count == 0;
  in.string_stack_empty = stack_.empty();
  in.search_string_empty = search_.search_string.empty();
  if (d) {
    in.read_only = d->state == read_only_state;
    in.needs_saving = d->is_modified();
    in.is_console = is_console(*d);
  } else {
    // An empty pane offers nothing that works on a text.
    in.read_only = true;
    in.is_console = true;
  }
  for (const menu_item_state& s : menu_rule_states(in)) menus_->set_enabled(s.id, s.enabled);
  menus_->set_charset_mark(d ? d->save_charset : 0);
  menus_->set_linefeed_mark(d ? d->save_linefeed : 0);
  // Greying in the text-switch submenu follows the panes.
  for (int i = 0; i < text_count() && i < max_text_entries; ++i) {
    bool shown = pane_index_[0] == i || (display_.layout.dual && pane_index_[1] == i);
    menus_->set_enabled(first_text_entry_id + i, !shown);
  }
}

}  // namespace vintorel

// The text list and the panes: adding, showing, the second pane, switching
// and taking texts out, in the order the main window relies on.
#include "shell/workspace.h"

#include "display/painter.h"

namespace vintorel {

workspace::workspace(display_context& display, const settings_record& settings, std::string styles_path)
    : deleted(settings.buffer_delete),
      strings(settings.buffer_block),
      display_(display),
      settings_(settings),
      styles_path_(std::move(styles_path)) {}

workspace::~workspace() { discard_texts(); }

text_document* workspace::current_text() {
  int index = current_text_index();
  if (index < 0 || index >= text_count()) return nullptr;
  return texts_[static_cast<std::size_t>(index)].get();
}

bool workspace::is_console(const text_document& document) const {
  return !texts_.empty() && texts_.front().get() == &document;
}

int workspace::index_of(const text_document& document) const {
  for (int i = 0; i < text_count(); ++i)
    if (texts_[static_cast<std::size_t>(i)].get() == &document) return i;
  return -1;
}

edit_context workspace::context(int pane) {
  edit_context c;
  c.pane = pane_of(display_, pane);
  c.pane.auto_indent = style(pane).auto_indent != 0;
  c.deleted = &deleted;
  c.stack = &strings;
  c.search = &search;
  c.settings.tab_size = settings_.tab_size;
  c.settings.buffer_delete = settings_.buffer_delete;
  c.settings.buffer_block = settings_.buffer_block;
  c.settings.ignore_case = settings_.ignore_case;
  c.settings.word_search = settings_.word_search;
  c.overwrite_mode = overwrite;
  return c;
}

void workspace::load_pane_style(int pane) {
  pane = pane == 1 ? 1 : 0;
  int index = pane_text(pane);
  pane_style& style = pane_styles_[static_cast<std::size_t>(pane)];
  if (index < 0) {
    style = pane_style();
    style.tab_size = settings_.tab_size;
  } else {
    vintorel::load_pane_style(style, text_at(index).name, styles_path_, settings_.tab_size);
  }
  pane_style_view& view = display_.pane_styles[static_cast<std::size_t>(pane)];
  view.tab_size = style.tab_size;
  view.keywords = style.keywords;
}

void workspace::fit_top_line(text_document& document) {
  std::int32_t rows = display_.layout.pane_rows;
  if (document.line_count() - document.top_line < rows) {
    std::int32_t top = document.line_count() - rows;
    document.top_line = top < 0 ? 0 : top;
  }
}

void workspace::show_text(int index) {
  int pane = current_pane();
  pane_index_[static_cast<std::size_t>(pane)] = index;
  text_document& d = text_at(index);
  std::int32_t rows = display_.layout.pane_rows;
  if (d.current_line - d.top_line >= rows) d.top_line = d.current_line - rows + 1;
  if (d.current_line < d.top_line) d.top_line = d.current_line;
  load_pane_style(pane);
}

void workspace::add_text(int index, std::unique_ptr<text_document> document) {
  document->on_modified = on_text_modified;
  texts_.insert(texts_.begin() + index, std::move(document));
  int other = other_pane();
  if (dual() && pane_index_[static_cast<std::size_t>(other)] >= index) ++pane_index_[static_cast<std::size_t>(other)];
  show_text(index);
  text_at(index).load_current_line(display_.pane_styles[static_cast<std::size_t>(current_pane())].tab_size);
}

bool workspace::open_second_pane() {
  pane_layout& layout = display_.layout;
  if (text_count() < 2) return false;
  set_pane_layout(layout, display_.lines, display_.columns, true, false);
  int last = text_count() - 1;
  pane_index_[1] = pane_index_[0] == last ? last - 1 : last;
  layout.current_pane = 0;
  for (int pane : {0, 1}) {
    text_document& t = text_at(pane_index_[static_cast<std::size_t>(pane)]);
    if (t.current_line - t.top_line >= layout.pane_rows) t.top_line = t.current_line - layout.pane_rows + 1;
    load_pane_style(pane);
  }
  return true;
}

void workspace::place_panes_side_by_side() {
  set_pane_layout(display_.layout, display_.lines, display_.columns, true, true);
  for (int pane : {0, 1}) {
    int index = pane_text(pane);
    if (index >= 0) fit_top_line(text_at(index));
  }
}

bool workspace::close_second_pane() {
  if (!dual()) return false;
  int was_current = current_pane();
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
  if (text_document* d = current_text()) fit_top_line(*d);
  return true;
}

void workspace::switch_pane() { display_.layout.current_pane = other_pane(); }

int workspace::next_text() const {
  int index = current_text_index();
  int others = text_count() - 1;  // texts besides the console
  if (index == 0) return others >= 1 ? 1 : -1;
  if (others < 2) return -1;
  return index + 1 < text_count() ? index + 1 : 1;
}

bool workspace::remove_current_text(bool keep_panes) {
  int index = current_text_index();
  // The console is never closed before the window goes.
  if (index <= 0) return false;
  // A text being discarded commits its cursor line as it goes; nobody may
  // hear of that while the list is being changed.
  text_at(index).on_modified = nullptr;
  texts_.erase(texts_.begin() + index);
  int current = current_pane();
  int other = other_pane();
  if (!dual()) {
    pane_index_[0] = text_count() - 1;
    load_pane_style(0);
    fit_top_line(text_at(pane_index_[0]));
    return false;
  }
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
      return true;
    }
  } else {
    pane_index_[static_cast<std::size_t>(current)] = next;
    fit_top_line(text_at(next));
  }
  load_pane_style(current);
  return false;
}

void workspace::discard_texts() {
  // Each text commits its cursor line as it goes; nobody is told any more.
  for (auto& text : texts_) text->on_modified = nullptr;
  texts_.clear();
  pane_index_ = {-1, -1};
}

std::string workspace::describe() const {
  std::string out;
  for (int i = 0; i < text_count(); ++i) {
    const text_document& d = *texts_[static_cast<std::size_t>(i)];
    out += "text " + std::to_string(i) + " " + std::to_string(d.state) + " " + d.name + "\n";
  }
  for (int pane = 0; pane < (dual() ? 2 : 1); ++pane)
    out += "pane " + std::to_string(pane) + " " + std::to_string(pane_text(pane)) + "\n";
  out += "directory " + command_directory + "\n";
  if (!last_command.empty()) out += "command " + last_command + "\n";
  return out;
}

}  // namespace vintorel

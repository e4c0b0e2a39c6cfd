// The workspace: the open texts with the console (console_text_name) at 0, the one or two panes
// and the text each shows, their styles, the current pane, and the program-wide
// editing state (deleted characters, string stack, search strings, overwrite
// flag, command directory). Plain data with the operations on it; the main
// window asks it and does the drawing, the menus and the questions itself.
#pragma once
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "display/display_context.h"
#include "display/status_line.h"
#include "settings/extension_style.h"
#include "settings/main_settings.h"
#include "text/deleted_chars.h"
#include "text/edit_context.h"
#include "text/search_strings.h"
#include "text/string_stack.h"
#include "text/text_document.h"

namespace vintorel {

// How close_text closes the current text.
enum class close_mode {
  discard,  // without saving
  save,     // saving first
  ask,      // asking first when it is modified
};

class workspace {
 public:
  // The panes' geometry lives in `display` (the painter reads it there), as do
  // the parts of the pane styles that painting needs. Styles come from
  // `styles_path` (ext.ini).
  workspace(display_context& display, const settings_record& settings, std::string styles_path);
  ~workspace();
  workspace(const workspace&) = delete;
  workspace& operator=(const workspace&) = delete;

  // ---- the texts and panes ----
  int text_count() const { return static_cast<int>(texts_.size()); }
  text_document& text_at(int index) { return *texts_[static_cast<std::size_t>(index)]; }
  // The index of the text a pane shows; -1 when it shows none.
  int pane_text(int pane) const { return pane_index_[pane == 1 ? 1 : 0]; }
  int current_pane() const { return display_.layout.current_pane; }
  int other_pane() const { return 1 - current_pane(); }
  bool dual() const { return display_.layout.dual; }
  int current_text_index() const { return pane_text(current_pane()); }
  // The text of the current pane; null when it shows none.
  text_document* current_text();
  bool is_console(const text_document& document) const;
  // The list index of a text; -1 when it is not in the list.
  int index_of(const text_document& document) const;
  const pane_style& style(int pane) const { return pane_styles_[pane == 1 ? 1 : 0]; }
  // An edit context for a pane, without display and user.
  edit_context context(int pane);

  // Inserts a text at `index` (the other pane keeps showing its text) and
  // shows it in the current pane with its cursor line loaded.
  void add_text(int index, std::unique_ptr<text_document> document);
  // The current pane shows text `index`, scrolled so that its cursor shows.
  void show_text(int index);
  // Two panes one above the other; the lower shows the last text (the one
  // before it when the last is the one shown), the upper stays current. False,
  // with nothing changed, when fewer than two texts are open.
  bool open_second_pane();
  // The two panes side by side, each scrolled so that it is filled.
  void place_panes_side_by_side();
  // Back to one pane, which shows the current pane's text (or the other's when
  // the current pane showed none). False when there was one pane.
  bool close_second_pane();
  // Makes the other pane current.
  void switch_pane();
  // The text change_window goes to with one pane: the next in list order,
  // skipping the console; -1 when there is none to go to.
  int next_text() const;
  // Takes the current text out of the list (never the console). With one pane
  // the pane shows the last text; with two the current pane shows the last
  // text the other does not show, or none. True when the second pane has to
  // go as well, which the caller does (not with `keep_panes`).
  bool remove_current_text(bool keep_panes);
  // Lets go of every text.
  void discard_texts();
  // Scrolls `document` up so that the pane is filled where it is long enough.
  void fit_top_line(text_document& document);
  // Loads the style of the text `pane` shows (the default style for none).
  void load_pane_style(int pane);

  // "text index state name" per text, "pane p index" per pane, the command
  // directory and the last command, one a line.
  std::string describe() const;

  // Called when a text of the list changes from unmodified to modified.
  void (*on_text_modified)(text_document& document) = nullptr;

  // ---- program-wide editing state ----
  deleted_char_buffer deleted;
  string_stack strings;
  search_strings search;
  bool overwrite = false;        // the edit mode; false is insert
  byte_string command_directory;  // ends in "/"
  byte_string last_command;

 private:
  display_context& display_;
  const settings_record& settings_;
  std::string styles_path_;
  std::vector<std::unique_ptr<text_document>> texts_;
  std::array<int, 2> pane_index_{{-1, -1}};
  std::array<pane_style, 2> pane_styles_;
};

}  // namespace vintorel

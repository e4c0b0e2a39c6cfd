// Handlers of the settings menu's entries made at run time: the extension-style
// dialog (new style and styles 1-99) and the program dialog (new entry and
// entries 1-99).
#include <QMainWindow>

#include "app/dialog_extension.h"
#include "app/dialog_program.h"
#include "app/window_entries.h"
#include "app/window_main.h"
#include "platform/string_table.h"
#include "settings/extension_style.h"
#include "settings/program_entry.h"
#include "shell/command_handlers.h"
#include "text/positions.h"

namespace vintorel::handlers {

namespace {

// A tab width change moves every column after a tab: the cursor keeps its
// byte position and takes the column it now has.
void place_cursor_again(window_& w, int pane) {
  workspace& work = w.work();
  int index = work.pane_text(pane);
  if (index < 0 || index >= work.text_count()) return;
  text_document& d = work.text_at(index);
  if (!d.current) return;
  edit_context c = work.context(pane);
  d.column = column_of_position(d, c, d.position);
  d.desired_column = d.column;
  update_end_column(d, c);
  scroll_to_cursor(d, c, is_on_double_byte(d));
}

// After a style changed: both panes take their styles from ext.ini again
// and are drawn with them.
void reload_styles(window_& w) {
  workspace& work = w.work();
  work.load_pane_style(work.current_pane());
  if (work.dual()) work.load_pane_style(work.other_pane());
  place_cursor_again(w, work.current_pane());
  if (work.dual()) place_cursor_again(w, work.other_pane());
  w.repaint_current();
  w.repaint_other();
}

}  // namespace

void edit_style(window_& w, command_id id, std::intptr_t) {
  w.before_dialog();
  std::string ext_ini = w.ini_path("ext.ini");
  int index = -1;
  if (id == command_id::new_style) {
    if (style_menu_titles(ext_ini).size() >= static_cast<std::size_t>(max_list_entries)) {
      w.user().notice(string_caption_notice, string_no_more_entries);
      return;
    }
  } else {
    index = entry_index(command_id::first_style_entry, id);
  }
  dialog_extension box(ext_ini, w.manual_path(), index);
  box.on_styles_changed = [&w] { rebuild_style_menu(w); };
  if (box.run_modal(w.frame()) != 1) return;
  reload_styles(w);
}

void edit_program(window_& w, command_id id, std::intptr_t) {
  w.before_dialog();
  std::string program_ini = w.ini_path("program.ini");
  int index = -1;
  if (id == command_id::new_program) {
    if (program_menu_titles(program_ini).size() >= static_cast<std::size_t>(max_list_entries)) {
      w.user().notice(string_caption_notice, string_no_more_entries);
      return;
    }
  } else {
    index = entry_index(command_id::first_program_edit, id);
  }
  dialog_program box(program_ini, w.manual_path(), index);
  box.on_programs_changed = [&w] { rebuild_program_menus(w); };
  box.run_modal(w.frame());
}

}  // namespace vintorel::handlers

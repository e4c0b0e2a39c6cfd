// Filling the style and program entries of the menus from their files.
#include "app/window_entries.h"

#include "app/window_main.h"
#include "app/window_menus.h"
#include "settings/extension_style.h"
#include "settings/program_entry.h"

namespace vintorel {

void rebuild_style_menu(window_& w) {
  if (!w.has_menus()) return;
  w.menus().remove_style_entries();
  for (const std::string& title : style_menu_titles(w.ini_path("ext.ini"))) w.menus().add_style_entry(title);
}

void rebuild_program_menus(window_& w) {
  if (!w.has_menus()) return;
  w.menus().remove_program_entries();
  for (const std::string& title : program_menu_titles(w.ini_path("program.ini")))
    w.menus().add_program_entry(title);
}

}  // namespace vintorel

// Filling the style entries of the menu from ext.ini.
#include "app/window_entries.h"

#include "app/window_main.h"
#include "app/window_menus.h"
#include "settings/extension_style.h"

namespace vintorel {

void rebuild_style_menu(window_& w) {
  if (!w.has_menus()) return;
  w.menus().remove_style_entries();
  for (const std::string& title : style_menu_titles(w.ini_path("ext.ini"))) w.menus().add_style_entry(title);
}

}  // namespace vintorel

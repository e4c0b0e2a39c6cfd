// The run-time entries of the menus that follow the settings files: the
// extension-style submenu (ext.ini) and both program menus (program.ini).
#pragma once

namespace vintorel {

class window_;

// Removes the entries (and the separator before them) and adds one per
// section of the file, in file order: the style submenu from ext.ini, both
// program menus from program.ini.
void rebuild_style_menu(window_& w);
void rebuild_program_menus(window_& w);

}  // namespace vintorel

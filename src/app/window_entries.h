// The run-time entries of the menus that follow the settings files: the
// extension-style submenu (ext.ini) and both program menus (program.ini).
#pragma once

namespace vintorel {

class window_;

// Removes the entries (and the separator before them) and adds one per
// section of the file, in file order. The program menus are rebuilt by
// window_::rebuild_program_menus.
void rebuild_style_menu(window_& w);

}  // namespace vintorel

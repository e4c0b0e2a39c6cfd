// Command dispatch: every command id the main window receives (keys, menus,
// typed text, hand-overs) is checked against its menu item and routed to the
// handlers of its area.
#include <QMainWindow>
#include <QMenu>

#include "app/menu_table.h"
#include "app/window_main.h"
#include "app/window_menus.h"
#include "toolkit/message_box.h"
#include "toolkit/string_table.h"

namespace vintorel {

void window_::on_command(int id, std::intptr_t parameter) {
  // Commands greyed in their menu are refused silently.
  int check = menu_check_item(id);
  if (check != 0 && (!menus_ || !menus_->is_enabled(check))) return;

  if (id == 338) {
    // Files handed over by a second instance; the parameter is the read-only flag.
    hand_over_files(parameter != 0);
  } else if (id >= 201 && id <= 207) {
    dispatch_application(id);
  } else if ((id >= 216 && id <= 228) || (id >= 335 && id <= 339) ||
             (id >= first_text_entry_id && id <= last_text_entry_id)) {
    if (id == 218 || id == 222 || id == 223 || id == 224 || id == 225) {
      dispatch_layout(id);
    } else {
      dispatch_files(id);
    }
  } else if (id >= 328 && id <= 334) {
    dispatch_layout(id);
  } else {
    dispatch_editing(id, parameter);
  }
}

void window_::dispatch_application(int id) {
  switch (id) {
    case 201:
      // Closing asks about modified texts; it runs after this command.
      if (QMainWindow* f = frame()) QMetaObject::invokeMethod(f, "close", Qt::QueuedConnection);
      break;
    case 202:
    case 203:
    case 204:
    case 205:
    case 206:
    case 207:
      popup_menu(id);
      break;
    default:
      break;
  }
}

void window_::popup_menu(int id) {
  if (!menus_ || !client()) return;
  QMenu* menu = nullptr;
  switch (id) {
    case 202: menu = menus_->top(file_menu_position); break;
    case 203: menu = menus_->text_switch(); break;
    case 204: menu = menus_->top(program_menu_position); break;
    case 205: menu = menus_->top(tool_menu_position); break;
    case 206: menu = menus_->top(setting_menu_position); break;
    case 207: menu = menus_->top(help_menu_position); break;
    default: return;
  }
  before_dialog();
  // One character row below the client area's top-left corner.
  menus_->popup(menu, client()->mapToGlobal(QPoint(0, display_.metrics.height)));
}

}  // namespace vintorel

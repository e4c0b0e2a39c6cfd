// Handlers of the application commands: quitting, the menus opened as
// popups, and the version box.
#include <QByteArray>
#include <QFile>
#include <QMainWindow>
#include <QMenu>

#include "app/window_main.h"
#include "app/window_menus.h"
#include "shell/command_handlers.h"
#include "shell/menu_table.h"
#include "toolkit/message_box.h"
#include "toolkit/qt_text.h"
#include "platform/string_table.h"

namespace vintorel::handlers {

void quit(window_& w, command_id, std::intptr_t) {
  // Closing asks about modified texts; it runs after this command.
  if (QMainWindow* f = w.frame()) QMetaObject::invokeMethod(f, "close", Qt::QueuedConnection);
}

void popup_menu(window_& w, command_id id, std::intptr_t) {
  if (!w.has_menus() || !w.client()) return;
  window_menus& menus = w.menus();
  QMenu* menu = nullptr;
  switch (id) {
    case command_id::open_menu_file: menu = menus.top(file_menu_position); break;
    case command_id::open_menu_text: menu = menus.text_switch(); break;
    case command_id::open_menu_program: menu = menus.top(program_menu_position); break;
    case command_id::open_menu_tool: menu = menus.top(tool_menu_position); break;
    case command_id::open_menu_setting: menu = menus.top(setting_menu_position); break;
    case command_id::open_menu_help: menu = menus.top(help_menu_position); break;
    default: return;
  }
  w.before_dialog();
  // One character row below the client area's top-left corner.
  menus.popup(menu, w.client()->mapToGlobal(QPoint(0, w.display().metrics.height)));
}

void version_box(window_& w, command_id, std::intptr_t) {
  w.before_dialog();
  // Where the settings are, so the user can find them without a command line.
  QString folder = to_qstring(load_string(string_settings_folder)) + QStringLiteral("\n") +
                   QFile::decodeName(QByteArray::fromStdString(w.setup().settings_directory));
  vintorel::version_box(w.frame(), string_caption_version, string_version, "icon_main", folder);
}

}  // namespace vintorel::handlers

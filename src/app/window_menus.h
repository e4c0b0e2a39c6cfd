// The menus of the main window over Qt: the bar built from the menu table,
// items found by command id, enabled states, radio marks, the text-switch,
// program and extension-style entries made at run time, and popups.
#pragma once
#include <QPoint>
#include <QPointer>
#include <array>
#include <functional>
#include <map>
#include <string_view>

#include "shell/menu_table.h"
#include "platform/byte_string.h"

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;

namespace vintorel {

class window_menus {
 public:
  // Builds the bar into `bar`; a chosen item calls `on_choice` with its id.
  window_menus(QMenuBar* bar, std::function<void(command_id id)> on_choice);
  ~window_menus();
  window_menus(const window_menus&) = delete;
  window_menus& operator=(const window_menus&) = delete;

  // The top-level menus by position (0 File ... 6 Help) and the dynamic submenus.
  QMenu* top(int position) const;
  QMenu* text_switch() const { return submenu(menu_role::text_switch); }
  QMenu* submenu(menu_role role) const;

  // The item with this id; null when there is none.
  QAction* item(command_id id) const;
  void set_enabled(command_id id, bool enabled);
  // True unless the item is greyed (an unknown id counts as greyed).
  bool is_enabled(command_id id) const;
  // The radio marks of the charset and line-end submenus; codes without an
  // item clear the mark.
  void set_charset_mark(int charset_code);
  void set_linefeed_mark(int linefeed_code);
  // The checked item of a radio submenu, none when none is.
  command_id checked_charset_item() const;
  command_id checked_linefeed_item() const;

  // Text-switch entries: id 401 + position. No entry is made beyond id 499.
  void add_text_entry(const byte_string& label);
  void set_text_entry(int index, const byte_string& label);
  void remove_text_entries();
  int text_entry_count() const;

  // Program entries (Program menu 501 + i and the Settings submenu 701 + i)
  // and extension-style entries (601 + i), each after a separator; at most 99.
  void add_program_entry(const byte_string& title);
  int program_entry_count() const;
  void remove_program_entries();
  void add_style_entry(const byte_string& title);
  int style_entry_count() const;
  void remove_style_entries();

  // Shows a menu as a popup at a screen point; the chosen item's id goes to
  // on_choice like a choice from the bar.
  void popup(QMenu* menu, const QPoint& screen_point);

 private:
  QAction* add_entry(QMenu* menu, command_id id, const byte_string& label, bool escape_ampersand);
  int dynamic_count(menu_role role) const;
  void remove_dynamic(QMenu* menu);
  void set_mark(QActionGroup* group, command_id id);

  std::function<void(command_id)> on_choice_;
  QPointer<QMenuBar> bar_;
  std::array<QMenu*, top_menu_count> top_{};
  std::map<menu_role, QMenu*> submenus_;
  std::map<command_id, QAction*> items_;
  QActionGroup* charset_group_ = nullptr;
  QActionGroup* linefeed_group_ = nullptr;
  QMenu* program_menu_ = nullptr;
};

}  // namespace vintorel

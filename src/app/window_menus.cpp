// Building the menu bar from the menu table and keeping its items up to date.
#include "app/window_menus.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <vector>

#include "toolkit/qt_text.h"

namespace vintorel {

namespace {

// Text of a run-time entry: "&" would mark an access key, so it is doubled
// where the text is a file name.
QString entry_text(const byte_string& label, bool escape_ampersand) {
  QString text = to_qstring(label);
  if (escape_ampersand) text.replace(QLatin1Char('&'), QLatin1String("&&"));
  return text;
}

}  // namespace

window_menus::window_menus(QMenuBar* bar, std::function<void(command_id)> on_choice)
    : on_choice_(std::move(on_choice)), bar_(bar) {
  std::vector<QMenu*> open;  // the menus being filled, innermost last
  int top_count = 0;
  for (const menu_entry& e : menu_bar_entries()) {
    switch (e.kind) {
      case menu_entry_kind::submenu: {
        QMenu* menu = open.empty() ? bar->addMenu(from_utf8(e.text)) : open.back()->addMenu(from_utf8(e.text));
        if (open.empty() && top_count < top_menu_count) top_[static_cast<std::size_t>(top_count++)] = menu;
        if (e.role != menu_role::none) submenus_[e.role] = menu;
        open.push_back(menu);
        break;
      }
      case menu_entry_kind::end:
        if (!open.empty()) open.pop_back();
        break;
      case menu_entry_kind::separator:
        if (!open.empty()) open.back()->addSeparator();
        break;
      case menu_entry_kind::item: {
        if (open.empty()) break;
        QAction* action = open.back()->addAction(from_utf8(e.text));
        command_id id = e.id;
        QObject::connect(action, &QAction::triggered, action, [this, id] { on_choice_(id); });
        items_[id] = action;
        break;
      }
    }
  }
  program_menu_ = top(program_menu_position);

  // The charset and line-end items carry one radio mark each.
  charset_group_ = new QActionGroup(submenu(menu_role::charset));
  for (int code = 2; code <= 5; ++code) {
    QAction* a = items_[charset_item(code)];
    a->setCheckable(true);
    charset_group_->addAction(a);
  }
  linefeed_group_ = new QActionGroup(submenu(menu_role::linefeed));
  for (int code = 1; code <= 3; ++code) {
    QAction* a = items_[linefeed_item(code)];
    a->setCheckable(true);
    linefeed_group_->addAction(a);
  }
  charset_group_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  linefeed_group_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
}

window_menus::~window_menus() = default;

QMenu* window_menus::top(int position) const {
  if (position < 0 || position >= top_menu_count) return nullptr;
  return top_[static_cast<std::size_t>(position)];
}

QMenu* window_menus::submenu(menu_role role) const {
  auto it = submenus_.find(role);
  return it == submenus_.end() ? nullptr : it->second;
}

QAction* window_menus::item(command_id id) const {
  auto it = items_.find(id);
  return it == items_.end() ? nullptr : it->second;
}

void window_menus::set_enabled(command_id id, bool enabled) {
  if (QAction* a = item(id)) a->setEnabled(enabled);
}

bool window_menus::is_enabled(command_id id) const {
  QAction* a = item(id);
  return a && a->isEnabled();
}

void window_menus::set_charset_mark(int charset_code) { set_mark(charset_group_, charset_item(charset_code)); }

void window_menus::set_linefeed_mark(int linefeed_code) { set_mark(linefeed_group_, linefeed_item(linefeed_code)); }

// Checks item `id` of a radio group, or clears the group's mark for none.
void window_menus::set_mark(QActionGroup* group, command_id id) {
  if (id != command_id::none) {
    items_.at(id)->setChecked(true);
  } else if (QAction* checked = group->checkedAction()) {
    checked->setChecked(false);
  }
}

command_id window_menus::checked_charset_item() const {
  for (int code = 2; code <= 5; ++code)
    if (items_.at(charset_item(code))->isChecked()) return charset_item(code);
  return command_id::none;
}

command_id window_menus::checked_linefeed_item() const {
  for (int code = 1; code <= 3; ++code)
    if (items_.at(linefeed_item(code))->isChecked()) return linefeed_item(code);
  return command_id::none;
}

QAction* window_menus::add_entry(QMenu* menu, command_id id, const byte_string& label, bool escape_ampersand) {
  QAction* action = menu->addAction(entry_text(label, escape_ampersand));
  QObject::connect(action, &QAction::triggered, action, [this, id] { on_choice_(id); });
  items_[id] = action;
  return action;
}

void window_menus::add_text_entry(const byte_string& label) {
  int count = text_entry_count();
  // Ids above 499 belong to other commands: the 100th text gets no entry.
  if (count >= max_list_entries) return;
  add_entry(text_switch(), text_entry_id(count), label, true);
}

void window_menus::set_text_entry(int index, const byte_string& label) {
  if (index < 0 || index >= max_list_entries) return;
  if (QAction* a = item(text_entry_id(index))) a->setText(entry_text(label, true));
}

void window_menus::remove_text_entries() {
  QMenu* menu = text_switch();
  for (QAction* a : menu->actions()) {
    menu->removeAction(a);
    delete a;
  }
  for (int i = 0; i < max_list_entries; ++i) items_.erase(text_entry_id(i));
}

int window_menus::text_entry_count() const { return static_cast<int>(text_switch()->actions().size()); }

int window_menus::dynamic_count(menu_role role) const {
  // The menu's own first item and the separator are not entries.
  int n = static_cast<int>(submenu(role)->actions().size()) - 2;
  return n < 0 ? 0 : n;
}

void window_menus::remove_dynamic(QMenu* menu) {
  QList<QAction*> actions = menu->actions();
  for (qsizetype i = actions.size() - 1; i >= 1; --i) {
    QAction* a = actions[i];
    for (auto it = items_.begin(); it != items_.end();) {
      it = it->second == a ? items_.erase(it) : std::next(it);
    }
    menu->removeAction(a);
    delete a;
  }
}

void window_menus::add_program_entry(const byte_string& title) {
  int count = program_entry_count();
  if (count >= max_list_entries) return;
  QMenu* settings = submenu(menu_role::program_settings);
  if (count == 0) {
    program_menu_->addSeparator();
    settings->addSeparator();
  }
  add_entry(program_menu_, entry_id(command_id::first_program_entry, count), title, false);
  add_entry(settings, entry_id(command_id::first_program_edit, count), title, false);
}

int window_menus::program_entry_count() const { return dynamic_count(menu_role::program_settings); }

void window_menus::remove_program_entries() {
  remove_dynamic(program_menu_);
  remove_dynamic(submenu(menu_role::program_settings));
}

void window_menus::add_style_entry(const byte_string& title) {
  int count = style_entry_count();
  if (count >= max_list_entries) return;
  QMenu* styles = submenu(menu_role::style_entries);
  if (count == 0) styles->addSeparator();
  add_entry(styles, entry_id(command_id::first_style_entry, count), title, false);
}

int window_menus::style_entry_count() const { return dynamic_count(menu_role::style_entries); }

void window_menus::remove_style_entries() { remove_dynamic(submenu(menu_role::style_entries)); }

void window_menus::popup(QMenu* menu, const QPoint& screen_point) {
  if (menu) menu->exec(screen_point);
}

}  // namespace vintorel

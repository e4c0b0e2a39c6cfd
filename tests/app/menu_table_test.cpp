// Tests of the menu access keys, the text-switch labels and the greying rules.
#include "app/menu_table.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <set>

namespace vintorel {
namespace {

// One menu of the table: its entries at the top level of that menu.
struct menu_view {
  std::string text;
  menu_role role = menu_role::none;
  std::vector<const menu_entry*> entries;  // items, separators and submenus in order
  std::vector<menu_view> submenus;
};

menu_view read_menu(const std::vector<menu_entry>& table, std::size_t& at) {
  menu_view menu;
  menu.text = table[at].text;
  menu.role = table[at].role;
  ++at;
  while (at < table.size() && table[at].kind != menu_entry_kind::end) {
    menu.entries.push_back(&table[at]);
    if (table[at].kind == menu_entry_kind::submenu) {
      menu.submenus.push_back(read_menu(table, at));
    } else {
      ++at;
    }
  }
  ++at;  // the end entry
  return menu;
}

std::vector<menu_view> menu_bar() {
  const auto& table = menu_bar_entries();
  std::vector<menu_view> bar;
  std::size_t at = 0;
  while (at < table.size()) {
    EXPECT_EQ(table[at].kind, menu_entry_kind::submenu);
    bar.push_back(read_menu(table, at));
  }
  return bar;
}

void collect(const menu_view& menu, std::vector<int>& ids, std::map<std::string, std::set<char>>& keys,
             std::vector<std::string>& duplicates) {
  for (const menu_entry* e : menu.entries) {
    if (e->kind == menu_entry_kind::separator) continue;
    char key = access_key_of(e->text);
    EXPECT_NE(key, 0) << e->text;
    if (!keys[menu.text].insert(key).second) duplicates.push_back(e->text);
    if (e->kind == menu_entry_kind::item) ids.push_back(e->id);
  }
  for (const menu_view& sub : menu.submenus) collect(sub, ids, keys, duplicates);
}

TEST(menu_table, every_item_has_an_access_key_unique_in_its_menu_and_a_unique_id) {
  std::vector<int> ids;
  std::map<std::string, std::set<char>> keys;
  std::vector<std::string> duplicates;
  for (const menu_view& menu : menu_bar()) collect(menu, ids, keys, duplicates);
  EXPECT_TRUE(duplicates.empty()) << duplicates.front();
  std::set<int> unique(ids.begin(), ids.end());
  EXPECT_EQ(unique.size(), ids.size());
  // Every named command below 313 that a menu offers, plus the unnamed ids.
  for (int id : {201, 216, 217, 219, 220, 221, 222, 223, 226, 227, 228, 232, 246, 248, 255, 312, 313,
                 328, 331, 332, 334, 335, 336, 337, 500, 600, 700})
    EXPECT_TRUE(unique.count(id)) << id;
  EXPECT_FALSE(unique.count(218)) << "open_console is reached by key only";
  EXPECT_EQ(access_key_of("ReadOnlyで開く(&R)..."), 'R');
  EXPECT_EQ(access_key_of("none"), 0);
}

TEST(menu_table, text_entry_labels) {
  EXPECT_EQ(text_entry_label(1234567, '*', "/w/a.txt"), "    1,234,567 * /w/a.txt");
  EXPECT_EQ(text_entry_label(0, ' ', "console/scratch"), "            0   console/scratch");
  EXPECT_EQ(group_thousands(999), "999");
  EXPECT_EQ(group_thousands(1000), "1,000");
  EXPECT_EQ(group_thousands(-1), "-1");
  EXPECT_EQ(group_thousands(LLONG_MIN), "-9,223,372,036,854,775,808");
  // A size wider than the field is not cut.
  EXPECT_EQ(text_entry_label(12345678901234, 'R', "x"), "12,345,678,901,234 R x");
  EXPECT_EQ(text_entry_mark(true, true, true), ' ');
  EXPECT_EQ(text_entry_mark(false, true, true), 'R');
  EXPECT_EQ(text_entry_mark(false, false, true), '*');
  EXPECT_EQ(text_entry_mark(false, false, false), ' ');
}

std::map<int, bool> states(const menu_rule_input& in) {
  std::map<int, bool> out;
  for (const menu_item_state& s : menu_rule_states(in)) out[s.id] = s.enabled;
  return out;
}

TEST(menu_table, greying_rules) {
  menu_rule_input console;
  console.is_console = true;
  console.needs_saving = true;
  auto c = states(console);
  for (int id : {226, 220, 221, 227, 228, 250}) EXPECT_FALSE(c[id]) << id;  // only the console is open

  menu_rule_input text;
  text.text_count = 2;
  text.needs_saving = true;
  text.deleted_chars_empty = false;
  text.string_stack_empty = false;
  text.search_string_empty = false;
  text.dual = true;
  auto t = states(text);
  for (int id : {226, 220, 221, 227, 228, 232, 236, 238, 239, 243, 244, 245, 246, 248, 249, 250})
    EXPECT_TRUE(t[id]) << id;

  text.read_only = true;
  auto r = states(text);
  for (int id : {226, 232, 236, 238, 239, 243, 244, 245, 246}) EXPECT_FALSE(r[id]) << id;
  for (int id : {220, 221, 227, 228, 248, 249, 250}) EXPECT_TRUE(r[id]) << id;

  // pop_delete_string is refused exactly when pop_string is greyed.
  EXPECT_EQ(menu_check_item(238), 236);
  EXPECT_EQ(menu_check_item(226), 226);
  EXPECT_EQ(menu_check_item(264), 0);
  EXPECT_EQ(menu_check_item(216), 0);
}

}  // namespace
}  // namespace vintorel

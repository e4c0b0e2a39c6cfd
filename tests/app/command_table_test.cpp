// Tests of command lookup and loading the key bindings.
#include "app/command_table.h"

#include <gtest/gtest.h>

#include "app/key_bindings.h"
#include "scratch_dir.h"
#include "settings/main_settings.h"

namespace vintorel {
namespace {

using test_support::scratch_dir;

TEST(command_table, lookup_is_exact) {
  EXPECT_EQ(find_command("search_forward") + command_id_base, 249);
  EXPECT_EQ(find_command("forward_line_tail") + command_id_base, 279);
  EXPECT_EQ(find_command("delete_tail") + command_id_base, 298);
  EXPECT_EQ(find_command("FORWARD_PAGE"), 0);
  EXPECT_EQ(find_command("forward_page "), 0);
  EXPECT_EQ(find_command(""), 0);
  EXPECT_EQ(find_command("no_such_command"), 0);
  EXPECT_EQ(find_command(std::string_view("quit\0x", 6)), 0);
}

TEST(key_bindings, defaults_hold_without_a_settings_file) {
  scratch_dir d;
  key_binding_table_type table;
  table.fill(77);
  load_key_bindings(table, d.path("vintorel.ini"));
  EXPECT_EQ(bound_command_id(table, 86), 249);   // Page Down: search_forward
  EXPECT_EQ(bound_command_id(table, 118), 279);  // Ctrl+Down: forward_line_tail
  EXPECT_EQ(bound_command_id(table, 112), 298);  // Ctrl+Delete: delete_tail
  EXPECT_EQ(bound_command_id(table, 0), 200);    // f1 unbound
  EXPECT_EQ(table[escape_slot], 77);             // never written
  EXPECT_EQ(table[ctrl_escape_slot], 77);
  EXPECT_EQ(bound_command_id(table, -1), 200);
  EXPECT_EQ(bound_command_id(table, 121), 200);
}

TEST(key_bindings, section_key_rebinds_unbinds_and_falls_back) {
  scratch_dir d;
  std::string p = d.write("vintorel.ini",
                          "[key]\r\n"
                          "pagedown = forward_page\r\n"
                          "pageup =\r\n"
                          "ctrl down = FORWARD_LINE_TAIL\r\n"
                          "esc q = quit\r\n"
                          "F1 = open_menu_help\r\n"
                          "shift esc = no_such_command\r\n"
                          "ctrl a=backward_line_head");
  key_binding_table_type table{};
  load_key_bindings(table, p);
  EXPECT_EQ(bound_command_id(table, 86), 269);
  EXPECT_EQ(bound_command_id(table, 85), 200);   // empty value: unbound
  EXPECT_EQ(bound_command_id(table, 118), 200);  // capitals name no command
  EXPECT_EQ(bound_command_id(table, 40), 201);
  EXPECT_EQ(bound_command_id(table, 0), 207);    // key names ignore letter case
  EXPECT_EQ(bound_command_id(table, 91), 200);
  EXPECT_EQ(bound_command_id(table, 50), 278);
  EXPECT_EQ(bound_command_id(table, 84), 279);   // untouched default

  // A key removed from the file returns to its default on the next load.
  d.write("vintorel.ini", "[key]\nesc q=quit\n");
  load_key_bindings(table, p);
  EXPECT_EQ(bound_command_id(table, 86), 249);
  EXPECT_EQ(bound_command_id(table, 85), 248);
}

TEST(key_bindings, runtime_group_reload_and_global_table) {
  scratch_dir d;
  std::string p = d.write("vintorel.ini", "[switch]\nview tab=+\n[key]\nend=quit\n");
  settings_record s;
  load_runtime_group(s, key_binding_table, p);
  EXPECT_TRUE(s.view_tab);
  EXPECT_EQ(bound_command_id(84), 201);
  d.write("vintorel.ini", "[switch]\nview tab=-\n");
  load_runtime_group(s, key_binding_table, p);
  EXPECT_FALSE(s.view_tab);
  EXPECT_EQ(bound_command_id(84), 279);
  key_binding_table.fill(0);
}

}  // namespace
}  // namespace vintorel

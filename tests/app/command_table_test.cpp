// Tests of the command table, the key slots and loading the key bindings.
#include "app/command_table.h"

#include <gtest/gtest.h>

#include <set>

#include "app/key_bindings.h"
#include "scratch_dir.h"
#include "settings/main_settings.h"

namespace vintorel {
namespace {

using test_support::scratch_dir;

TEST(command_table, names_sit_at_their_ids) {
  int named = 0;
  std::set<std::string> seen;
  for (int i = 0; i < command_count; ++i) {
    std::string name = command_name(i);
    if (name.empty()) continue;
    ++named;
    EXPECT_TRUE(seen.insert(name).second) << name;
    EXPECT_EQ(find_command(name), i) << name;
  }
  EXPECT_EQ(named, 73);
  // The edges of each block of ids.
  for (int i : {1, 7, 16, 28, 32, 55, 64, 85, 96, 101, 112}) EXPECT_STRNE(command_name(i), "") << i;
  for (int i : {0, 8, 15, 29, 31, 56, 63, 86, 95, 102, 111, 113, 127, 128, -1})
    EXPECT_STREQ(command_name(i), "") << i;
}

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

TEST(key_slots, names_follow_the_families) {
  const struct {
    int slot;
    const char* name;
  } edges[] = {{0, "f1"},         {11, "f12"},       {12, "shift f1"}, {23, "shift f12"},
               {24, "esc a"},     {40, "esc q"},     {49, "esc z"},    {50, "ctrl a"},
               {75, "ctrl z"},    {76, ""},          {77, "tab"},      {86, "pagedown"},
               {90, "right"},     {91, "shift esc"}, {92, "shift tab"}, {105, "shift right"},
               {106, ""},         {107, "ctrl tab"}, {120, "ctrl right"}, {121, ""}};
  for (auto e : edges) EXPECT_STREQ(key_slot_name(e.slot), e.name) << e.slot;
  std::set<std::string> names;
  for (int slot = 0; slot < key_slot_count; ++slot)
    if (*key_slot_name(slot)) {
      EXPECT_TRUE(names.insert(key_slot_name(slot)).second) << slot;
    }
  EXPECT_EQ(names.size(), 119u);
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

  // Every default as listed, slot by slot.
  const struct {
    int slot;
    int id;
  } expected[] = {{77, 282},  {78, 283},  {79, 299},  {80, 284},  {81, 280},  {82, 296},
                  {83, 278},  {84, 279},  {85, 248},  {86, 249},  {87, 272},  {88, 273},
                  {89, 264},  {90, 265},  {91, 218},  {92, 224},  {93, 247},  {94, 300},
                  {95, 285},  {96, 232},  {97, 297},  {98, 200},  {99, 200},  {100, 245},
                  {101, 246}, {102, 276}, {103, 277}, {104, 266}, {105, 267}, {107, 225},
                  {108, 200}, {109, 301}, {110, 312}, {111, 233}, {112, 298}, {113, 200},
                  {114, 200}, {115, 268}, {116, 269}, {117, 278}, {118, 279}, {119, 270},
                  {120, 271}};
  for (auto e : expected) EXPECT_EQ(bound_command_id(table, e.slot), e.id) << e.slot;
  for (int slot = 0; slot < 76; ++slot) EXPECT_EQ(table[slot], 0) << slot;
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

// The 121 key slots with their names and defaults, and loading them from vintorel.ini.
#include "shell/key_bindings.h"

#include "shell/command_table.h"
#include "settings/main_settings.h"
#include "platform/profile.h"

namespace vintorel {

key_binding_table_type key_binding_table{};

namespace {

constexpr int name_size = 20;
using name_table = std::array<std::array<char, name_size>, key_slot_count>;

constexpr void put(name_table& t, int slot, const char* prefix, const char* base, int number) {
  int k = 0;
  for (const char* p = prefix; *p; ++p) t[slot][k++] = *p;
  for (const char* p = base; *p; ++p) t[slot][k++] = *p;
  if (number >= 10) t[slot][k++] = static_cast<char>('0' + number / 10);
  if (number > 0) t[slot][k++] = static_cast<char>('0' + number % 10);
}

// The names follow the families: f1-f12, shift f1-f12, esc a-z, ctrl a-z, then the
// named keys plain, with shift and with ctrl, and shift esc.
constexpr name_table build_names() {
  name_table t{};
  for (int i = 0; i < function_key_count; ++i) {
    put(t, first_function_slot + i, "", "f", i + 1);
    put(t, first_shift_function_slot + i, "shift ", "f", i + 1);
  }
  for (int i = 0; i < letter_count; ++i) {
    const char letter[2] = {static_cast<char>('a' + i), '\0'};
    put(t, first_escape_letter_slot + i, "esc ", letter, 0);
    put(t, first_ctrl_letter_slot + i, "ctrl ", letter, 0);
  }
  for (int i = 0; i < named_key_count; ++i) {
    put(t, first_plain_named_slot + i, "", named_key_names[i], 0);
    put(t, first_shift_named_slot + i, "shift ", named_key_names[i], 0);
    put(t, first_ctrl_named_slot + i, "ctrl ", named_key_names[i], 0);
  }
  put(t, shift_escape_slot, "shift ", "esc", 0);
  return t;
}

constexpr name_table slot_names = build_names();

struct slot_default {
  int slot;
  const char* command;
};

constexpr slot_default defaults[] = {
    {77, "insert_tab"},          {78, "insert_space"},        {79, "backspace_char"},
    {80, "insert_linefeed"},     {81, "change_mode_insert"},  {82, "delete_char"},
    {83, "backward_line_head"},  {84, "forward_line_tail"},   {85, "search_backward"},
    {86, "search_forward"},      {87, "backward_line"},       {88, "forward_line"},
    {89, "backward_char"},       {90, "forward_char"},        {91, "open_console"},
    {92, "change_charset"},      {93, "change_wordcase"},     {94, "backspace_word"},
    {95, "insert_line"},         {96, "undo_char"},           {97, "delete_word"},
    {100, "replace_backward"},   {101, "replace_forward"},    {102, "backward_line_page"},
    {103, "forward_line_page"},  {104, "backward_word"},      {105, "forward_word"},
    {107, "change_linefeed"},    {109, "backspace_head"},     {110, "open_url"},
    {111, "undo_line"},          {112, "delete_tail"},        {115, "backward_page"},
    {116, "forward_page"},       {117, "backward_line_head"}, {118, "forward_line_tail"},
    {119, "backward_head"},      {120, "forward_tail"},
};

}  // namespace

const char* key_slot_name(int slot) {
  if (slot < 0 || slot >= key_slot_count) return "";
  return slot_names[slot].data();
}

const char* key_slot_default(int slot) {
  for (const slot_default& d : defaults)
    if (d.slot == slot) return d.command;
  return "";
}

void load_key_bindings(key_binding_table_type& table, const std::string& ini_path) {
  // One reading of the file serves all 119 lookups (a missing or unreadable file
  // reads as empty, so every slot takes its default).
  std::string contents;
  bool missing = false;
  if (!read_whole_file(ini_path, contents, missing)) contents.clear();
  // Slot order 0-75, 77-105, 107-120; the two unnamed slots are skipped.
  for (int slot = 0; slot < key_slot_count; ++slot) {
    if (slot == escape_slot || slot == ctrl_escape_slot) continue;
    std::string value =
        profile_value_in(contents, "key", key_slot_name(slot), key_slot_default(slot), 128);
    table[slot] = find_command(value);
  }
}

int bound_command_id(const key_binding_table_type& table, int slot) {
  if (slot < 0 || slot >= key_slot_count) return to_int(command_id::none);
  return to_int(command_of_index(table[slot]));
}

int bound_command_id(int slot) { return bound_command_id(key_binding_table, slot); }

void load_runtime_group(settings_record& settings, key_binding_table_type& table,
                        const std::string& ini_path) {
  load_runtime_settings(settings, ini_path);
  load_key_bindings(table, ini_path);
}

}  // namespace vintorel

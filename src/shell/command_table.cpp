// The names of the command table by slot, made from its records at compile
// time, and the lookup by name.
#include "shell/command_table.h"

namespace vintorel {

namespace {

constexpr command_name_table build_names() {
  command_name_table table{};
  for (const command_record& r : command_records) {
    int index = command_index(r.first);
    if (index <= 0 || index >= command_count) continue;
    for (int k = 0; r.name[k] != '\0' && k < command_name_size - 1; ++k) table[index][k] = r.name[k];
  }
  return table;
}

// Records in id order that do not overlap, ranges without names, names only
// for the 128 slots: dispatch finds one record per id, key bindings one slot
// per name.
constexpr bool records_are_sound() {
  command_id previous = command_id::none;
  for (const command_record& r : command_records) {
    if (to_int(r.first) <= to_int(previous) || to_int(r.last) < to_int(r.first)) return false;
    if (r.first != r.last && r.name[0] != '\0') return false;
    if (r.name[0] != '\0' && command_index(r.first) >= command_count) return false;
    previous = r.last;
  }
  return true;
}
static_assert(records_are_sound());

}  // namespace

constinit const command_name_table command_table = build_names();

int find_command(std::string_view name) {
  if (name.empty()) return 0;
  for (int i = 0; i < command_count; ++i)
    if (name == std::string_view(command_table[i].data())) return i;
  return 0;
}

const char* command_name(command_id id) {
  int index = command_index(id);
  if (index < 0 || index >= command_count) return "";
  return command_table[index].data();
}

}  // namespace vintorel

// The command table: every command's name by index; a command's id is 200 + index.
#pragma once
#include <array>
#include <string_view>

namespace vintorel {

constexpr int command_count = 128;
constexpr int command_id_base = 200;
constexpr int command_name_size = 64;  // bytes per slot, terminating zero included

// Slot i holds the name of command id 200 + i; unused slots (slot 0 among them,
// id 200 = no command) are empty.
using command_table_type = std::array<std::array<char, command_name_size>, command_count>;
extern const command_table_type command_table;

// The index of the command called `name` (compared byte for byte); 0 when the name
// is empty or names no command.
int find_command(std::string_view name);
// The name of index i; "" for unused or out-of-range indexes.
const char* command_name(int index);

}  // namespace vintorel

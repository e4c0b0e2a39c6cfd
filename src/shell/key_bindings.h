// Key slots, their names in the section "key" of vintorel.ini and their default
// commands, and the key binding table that maps each slot to a command index.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "platform/key_slots.h"

namespace vintorel {

struct settings_record;


using key_binding_table_type = std::array<std::int32_t, key_slot_count>;
// The process-wide table: a command index (0 = unbound) per key slot; all zero at start.
extern key_binding_table_type key_binding_table;

// "f1", "shift f12", "esc q", "ctrl a", "pagedown", "shift esc", ...; "" for the
// unnamed slots and out-of-range numbers.
const char* key_slot_name(int slot);
// The command bound by default ("" = unbound).
const char* key_slot_default(int slot);

// Rewrites the whole table from the section "key" of `ini_path`: each named slot
// gets the command its value names, its default when the key is missing, and no
// command when the value names none. The unnamed slots stay 0.
void load_key_bindings(key_binding_table_type& table, const std::string& ini_path);
// The id the keyboard posts for a slot: 200 + its command index (200 for an unbound
// slot or a slot number out of range).
int bound_command_id(const key_binding_table_type& table, int slot);
int bound_command_id(int slot);

// The run-time group of the main settings in its order: switches and strings, then
// the key bindings. Run at start-up and whenever the user saves vintorel.ini.
void load_runtime_group(settings_record& settings, key_binding_table_type& table,
                        const std::string& ini_path);

}  // namespace vintorel

// The program entries of program.ini as the editing dialog sees them: one
// section per entry, titled as the menus show it, with "program" and "confirm".
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace vintorel {

// Titles are read up to 127 bytes, command lines up to 255.
constexpr std::size_t program_title_limit = 127;
constexpr std::size_t program_command_limit = 255;

// The title of entry i (from 0); false when the file has no such section.
bool read_program_title(const std::string& program_ini, int i, std::string& title);
// The entry's command line ("program", empty when missing).
std::string read_program_command(const std::string& program_ini, std::string_view title);
// Whether the editing dialog checks "confirm": only a value starting with "+"
// does ("+" when the key is missing).
bool read_program_confirm(const std::string& program_ini, std::string_view title);
// The titles for the menus, in file order.
std::vector<std::string> program_menu_titles(const std::string& program_ini);

// Writes the entry in one step: the section `old_title` (none when empty) is
// removed and `title` inserted at its sorted place with "program" and
// "confirm" ("+" or "-"). On failure the file is as it was.
bool write_program_entry(const std::string& program_ini, std::string_view old_title,
                         std::string_view title, std::string_view command, bool confirm);
bool delete_program_entry(const std::string& program_ini, std::string_view title);

}  // namespace vintorel

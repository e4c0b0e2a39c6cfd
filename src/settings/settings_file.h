// Typed access to the settings files (vintorel.ini, ext.ini, program.ini, layout.ini):
// readers with defaults, writers, section queries and ordered section insertion.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vintorel {

// executable_directory() + name: where every settings file lives.
std::string settings_file_path(const char* name);

// Readers never fail: a missing file, section or key gives the default.
// The value, at most size - 1 bytes.
std::string read_setting_string(const std::string& path, std::string_view section,
                                 std::string_view key, std::size_t size,
                                 std::string_view default_value);
// "+" on, "-" off; "ON" and "OFF" in any letter case count as "+" and "-"; only the
// first three characters are read, and the result is whether the first one is "+".
bool read_setting_bool(const std::string& path, std::string_view section, std::string_view key,
                       bool default_value);
// Decimal, read into a 12-byte buffer (at most 11 characters count).
std::int32_t read_setting_int(const std::string& path, std::string_view section,
                              std::string_view key, std::int32_t default_value);
// The decimal conversion used by the integer and colour readers: optional leading
// white space and sign, digits up to the first other character, 0 without digits;
// a value beyond the 32-bit range is held at its limit.
std::int32_t parse_decimal(std::string_view text);

// Writers report success. With `ordered`, the section is first created at its place
// in the sorted order of section names when it is missing (see ensure_section_ordered).
bool write_setting_string(const std::string& path, std::string_view section, std::string_view key,
                          std::string_view value, bool ordered);
bool write_setting_bool(const std::string& path, std::string_view section, std::string_view key,
                        bool value, bool ordered);
bool write_setting_int(const std::string& path, std::string_view section, std::string_view key,
                       std::int32_t value, bool ordered);
// Removes the section with all its keys.
bool delete_setting_section(const std::string& path, std::string_view section);

// Section queries over the file's lines, comparing names byte for byte
// (case-sensitively): a section line is one starting with "[", its name the text up
// to its last "]" (the rest of the line, line end excluded, when there is none).
bool section_exists(const std::string& path, std::string_view section);
// The name of the i-th section line (from 0), at most size - 1 bytes; false when the
// file cannot be read or has fewer sections.
bool section_name(const std::string& path, int i, std::string& out, std::size_t size = 256);
// All section names by the same rule, in file order, each cut to size - 1 bytes
// (one reading of the file instead of one per name).
std::vector<std::string> section_names(const std::string& path, std::size_t size = 256);

// Makes sure the section exists. A missing file is created holding just the header.
// Otherwise the header is inserted before the first section line whose text from "["
// up to its first "]" sorts after "[" + section (multibyte comparison), or appended
// at the end, always on a line of its own. Lines are kept whole, however long.
bool ensure_section_ordered(const std::string& path, std::string_view section);
// The same insertion over file contents in memory.
std::string with_section_ordered(std::string_view contents, std::string_view section);

// Compares two code page 932 strings character by character, a double-byte character
// counting as its 16-bit code: <0, 0 or >0.
int compare_multibyte(std::string_view a, std::string_view b);

}  // namespace vintorel

// Private-profile (INI) files: reading and writing keys the way the Windows
// profile functions do, with every write going through a temporary file and a rename.
//
// Rules shared by all functions here:
// - A line whose first non-blank byte is "[" opens a section; its name is the text up
//   to the first "]" (the rest of the line when there is none). Lines whose first
//   non-blank byte is ";" are comments. Other lines holding "=" are keys: the key and
//   the value are the text before and after the first "=", with blanks and tabs
//   trimmed; a value enclosed in double quotes loses them.
// - Section and key names match without regard to ASCII letter case (the second byte
//   of a double-byte character is never folded). The first matching section and,
//   within it, the first matching key count.
// - Lines end in CR LF, LF or CR. A UTF-8 byte order mark at the start is skipped.
//   Values are bytes: no character set is assumed or converted.
// - A write keeps every other byte of the file: the other keys, sections, comments,
//   blank lines and line ends. New lines use the file's first line end (LF for a new
//   file or one without any line end). A new key goes after the last non-blank line
//   of its section, a new section at the end of the file.
// - A write replaces the file by renaming a complete temporary copy over it (in the
//   same directory, with the old file's mode), so the file is never half written:
//   when any step fails, the old file stays as it was and the temporary one is removed.
//   A write to a read-only file, to something that is not a regular file, or to a
//   file that cannot be read, fails without touching it. A symbolic link is kept: the
//   file it points to is replaced.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace vintorel {

// The value of `key` in `section`, at most size - 1 bytes (never ending in half a
// double-byte character); `default_value` (cut the same way) when the file, the
// section or the key is missing.
std::string read_profile_string(const std::string& path, std::string_view section,
                                std::string_view key, std::string_view default_value,
                                std::size_t size);
// The names of all section lines, in file order.
std::vector<std::string> read_profile_section_names(const std::string& path);

// Writers: true on success. Deleting what is not there succeeds and leaves the
// file (or its absence) as it is. A section containing "]" or ending in half a
// double-byte character, a key that is empty, contains "=" or starts with "[" or
// ";", or any name or value holding a line end is refused, since it could not be
// read back and would break the file apart.
bool write_profile_string(const std::string& path, std::string_view section,
                          std::string_view key, std::string_view value);
bool delete_profile_section(const std::string& path, std::string_view section);

// The same operations over file contents in memory (used by the writers above,
// the tests and the fuzzer).
std::string profile_value_in(std::string_view contents, std::string_view section,
                             std::string_view key, std::string_view default_value,
                             std::size_t size);
std::vector<std::string> profile_section_names_in(std::string_view contents);
std::string profile_with_value(std::string_view contents, std::string_view section,
                               std::string_view key, std::string_view value);
std::string profile_without_key(std::string_view contents, std::string_view section,
                                std::string_view key);
std::string profile_without_section(std::string_view contents, std::string_view section);
// The first line end of `contents` ("\r\n", "\n" or "\r"), "\n" when there is none.
std::string_view profile_line_end(std::string_view contents);

// ASCII case-insensitive equality that skips the second byte of double-byte characters.
bool profile_names_equal(std::string_view a, std::string_view b);

// The whole file; false when it cannot be read. `missing` tells a file that does not
// exist apart from one that cannot be read (only the first may be created).
bool read_whole_file(const std::string& path, std::string& out, bool& missing);
// Replaces (or creates) the file at `path` with `contents` through a temporary file
// in the same directory and a rename; see the rules above.
bool replace_file_contents(const std::string& path, std::string_view contents);

// Seams for tests: the calls that replace_file_contents uses to write the temporary
// file and to rename it into place. Tests point them at failing functions.
namespace profile_seam {
extern ssize_t (*write)(int fd, const void* data, std::size_t size);
extern int (*rename)(const char* from, const char* to);
}  // namespace profile_seam

}  // namespace vintorel

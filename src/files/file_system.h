// File-system helpers: paths, attributes, copying, moving and deleting files.
// Paths use "/" as separator; directories end in "/".
#pragma once
#include <cstdint>
#include <string>

namespace vintorel {

constexpr std::size_t max_path = 256;  // bytes including the terminating zero

std::string executable_directory();   // from /proc/self/exe, ending in "/"
std::string desktop_directory();      // XDG desktop folder, else $HOME; "" on failure
// The variable's value ("" if unset); as a directory "\" becomes "/" and a final
// "/" is added. Case is kept (this file system is case-sensitive).
std::string directory_from_environment(const char* name, bool as_directory);
// TMP_RAM when set and not empty, else TMP, else TEMP, as a directory; when none
// is set, TMPDIR, else "/tmp/".
std::string temporary_directory();
std::string full_path(const std::string& path);  // absolute, "." and ".." resolved, no links followed
bool long_path(const std::string& path, std::string& out);  // false when a component is missing
void to_slashes(std::string& path);     // "\" not inside a double-byte character -> "/"
void to_backslashes(std::string& path);
bool file_exists(const std::string& path);
std::uint64_t file_size(const std::string& path);  // UINT64_MAX when unknown
bool rename_file(const std::string& from, const std::string& to);
// The file a chain of symbolic links at `path` ends in (relative targets taken
// from the link's directory); `path` itself when it is no link; "" for a loop.
std::string resolve_links(const std::string& path);
bool write_text_file(const std::string& path, const std::string& text);
// Four characters s h r a, "-" where absent; "????" and false when unreadable.
bool get_attribute_string(const std::string& path, std::string& out);
bool set_attribute_string(const std::string& path, const std::string& attributes);
// Copies over an existing target (keeping its mode) through a new file beside it
// and a rename, so a failure leaves the target as it was; a link is kept and the
// file it names gets the copy. A short write, a read error or a failed sync is
// reported. Copying a file onto itself fails and changes nothing.
bool copy_path(const std::string& from, const std::string& to);
// unlink; a file that is neither system nor hidden is retried after clearing "r".
bool delete_path(const std::string& path);
bool move_path(const std::string& from, const std::string& to);  // copy, then delete the source
bool is_removable_drive(char letter);
// .COM and .BAT names; .EXE names whose header is MS-DOS or a console program.
bool is_console_program(const std::string& path);
// From the first bytes of an executable: 0x5A4D MS-DOS, 0x4550 console program,
// 1 another program (windowed), 0 not an executable.
int executable_type(const unsigned char* header, std::size_t size);

}  // namespace vintorel

// The command-line syntax shared by the first instance and the hand-over: file
// names, the switches /R and /P, quoted items and command mode.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace vintorel {

struct command_line_items {
  bool read_only = false;     // the switch /R (or /r) was given
  bool command_mode = false;  // the switch /P (or /p) was given
  std::vector<std::string> files;  // in order, as they are to be opened
  std::string directory;      // command mode: the working directory, ending in "/"
  std::string command;        // command mode: the rest of the line, as it stands
};

// Turns an unquoted item into its long form; false when it does not exist.
using long_form_function = bool (*)(const std::string& path, std::string& out);

// Parses a command line. Blanks (space, tab) separate items. An item of exactly two
// characters starting with "/" is a switch: P or p selects command mode, R or r
// read-only, other letters are ignored; a longer item starting with "/" is an
// absolute path. An item starting with a double quote runs to the next double quote
// (or the end) and is kept as it stands; any other item runs to the next blank, is
// turned into its long form by `long_form` and dropped when that fails (it does not
// exist). Empty quoted items are dropped. In command mode the next item is the
// directory ("/" appended) and everything after it, once its closing quote and the
// following blanks are skipped, is the command; nothing after it is parsed.
// A relative file item or directory is taken relative to `base_directory` (the
// directory the program was started in, ending in "/"; "" leaves them relative).
command_line_items parse_command_line(std::string_view line, const std::string& base_directory,
                                      long_form_function long_form);
// The same with the file system's long_path.
command_line_items parse_command_line(std::string_view line, const std::string& base_directory);

// Joins the program's arguments (argv[1] onwards) into one command line: an argument
// that is empty or holds a blank is put in double quotes; an argument that could not
// be read back as one item (a double quote at its start, or one inside an argument
// that needs quotes) is left out. After /P and its directory the remaining arguments
// form the command, each word quoted for the shell that will run it.
std::string join_arguments(int argc, const char* const* argv);

}  // namespace vintorel

// Program entries: the named command lines of program.ini, one section each,
// found by index in file order.
#pragma once
#include <string>
#include <vector>

#include "platform/byte_string.h"

namespace vintorel {

struct program_entry {
  byte_string title;
  byte_string program;   // the command line as it stands, at most 255 bytes
  bool confirm = true;   // shown for confirmation unless "confirm" begins with "-"
};

// Entry `index` (from 0) of the file at `path`; false when there is none. The
// titles in file order are program_menu_titles (settings/program_entry.h).
bool read_program_entry(const std::string& path, int index, program_entry& out);

}  // namespace vintorel

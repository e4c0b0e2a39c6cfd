// Program entries: the named command lines of program.ini, one section each,
// found by index in file order.
#pragma once
#include <string>
#include <vector>

#include "platform/byte_string.h"

namespace vintorel {

// Titles are read up to this many bytes.
constexpr std::size_t program_title_bytes = 127;

struct program_entry {
  byte_string title;
  byte_string program;   // the command line as it stands, at most 255 bytes
  bool confirm = true;   // shown for confirmation unless "confirm" begins with "-"
};

// Entry `index` (from 0) of the file at `path`; false when there is none.
bool read_program_entry(const std::string& path, int index, program_entry& out);
// Every entry's title in file order.
std::vector<byte_string> program_titles(const std::string& path);

}  // namespace vintorel

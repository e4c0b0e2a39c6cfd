// Tag jump: a file name followed by a line number in a line of compiler or
// grep output ("src/a.c:12:", "a.c(12)", "a.c 12"). Names are separated by
// blanks and punctuation; "/" belongs to a name, since it separates the
// directories of a path here.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace vintorel {

struct tag_target {
  std::string path;             // the base directory + the name, or the name when it starts with "/"
  std::int32_t line_number = 0;  // as written, from 1 (0 when written so); large numbers saturate
};

// Looks for the next name from byte `from` of `line` that `is_file` accepts
// and that has a digit somewhere after it in the line. On success `out` holds
// it and `from` points behind the name, where the search goes on when the
// file cannot be opened after all. False when the line has no more.
bool find_tag(std::string_view line, const std::string& base_directory,
              const std::function<bool(const std::string&)>& is_file, std::size_t& from, tag_target& out);

// Whether byte `c` ends a name, and whether it is skipped between names (the
// same set with CR as well).
bool ends_tag_name(unsigned char c);
bool skipped_before_tag_name(unsigned char c);

}  // namespace vintorel

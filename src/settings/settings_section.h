// Whole-section edits for the style and program dialogs: which titles they
// accept, whether a title is taken, and replacing a section in one write.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace vintorel {

// A title that reads back as the same section name: it neither starts nor ends
// with a blank (space or tab), which the reader would trim, and holds no "[" or
// "]" at a character start. An empty title is not acceptable either.
bool is_acceptable_title(std::string_view title);

// Whether a section other than the `own_index`-th (from 0; -1 for none) has a
// name equal to `title` without regard to ASCII letter case. The profile
// functions find sections that way, so such a section would take the title's
// keys. A file that cannot be read holds no sections.
bool section_taken(const std::string& path, std::string_view title, int own_index);

struct setting_value {
  std::string key;
  std::string value;
};

// `contents` with the section `old_section` (none when empty) removed and
// `section` inserted at its sorted place holding `values` in order; false,
// with `out` untouched, when a name or value could not be read back (a line
// end, a section name that is_acceptable_title refuses or that ends in half a
// double-byte character).
bool with_section_replaced(std::string_view contents, std::string_view old_section,
                           std::string_view section, const std::vector<setting_value>& values,
                           std::string& out);

// The same on the file in one atomic write: on failure the file stays as it
// was, so a renamed entry is never lost between removing and writing it. A
// missing file is created.
bool replace_section_ordered(const std::string& path, std::string_view old_section,
                             std::string_view section, const std::vector<setting_value>& values);

}  // namespace vintorel

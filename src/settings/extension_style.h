// Extension styles kept in ext.ini: the tab size, automatic indent and keyword list
// of the texts whose file name has one of a style's extensions.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vintorel {

// The "keyword" value is read up to this many bytes.
constexpr std::size_t keyword_value_limit = 32767;

// The style of the text shown in a pane.
struct pane_style {
  std::int32_t tab_size = 8;
  std::uint8_t auto_indent = 0;
  // The keywords as consecutive zero-terminated strings followed by an empty string:
  // "if\0else\0\0"; an empty list is "\0\0". Two commas in a row in the file give an
  // empty keyword, which ends the list for a reader walking it string by string.
  std::string keywords = std::string(2, '\0');
};

// Loads the style for the text name `name` from `ext_ini`: the main tab size, no
// automatic indent and no keywords unless a section has a "/"-separated part equal
// to the name's extension (after its last ".", compared without regard to letter
// case), in which case that section's "tab size" (default 2, held to 1..99), "auto
// indent" (default off) and "keyword" (default empty) are used.
void load_pane_style(pane_style& style, std::string_view name, const std::string& ext_ini,
                     std::int32_t main_tab_size);

// A section titled exactly `title` exists.
bool style_exists(const std::string& ext_ini, std::string_view title);
// The title of the i-th style (from 0), at most 255 bytes.
bool read_style_title(const std::string& ext_ini, int i, std::string& title);
// The titles for the style submenu, in file order, each cut to 127 bytes.
std::vector<std::string> style_menu_titles(const std::string& ext_ini);

// Writes "tab size" (creating the section in sorted order), "auto indent" and
// "keyword"; true when all three succeeded. The caller rebuilds the style submenu.
bool write_style(const std::string& ext_ini, std::string_view title, std::int32_t tab_size,
                 bool auto_indent, std::string_view keywords);
// The dialog's write: the section `old_title` (none when empty) is removed and
// `title` inserted at its sorted place with all three keys, in one write that
// leaves the file as it was when it fails.
bool replace_style(const std::string& ext_ini, std::string_view old_title, std::string_view title,
                   std::int32_t tab_size, bool auto_indent, std::string_view keywords);
// Removes the style's section.
bool delete_style(const std::string& ext_ini, std::string_view title);

// The keyword value split at ",": empty pieces between two commas count, a comma at
// the very end adds nothing ("a,,b," gives "a", "", "b").
std::vector<std::string> split_keywords(std::string_view value);
// The pieces joined with ",", at most 32767 bytes (a piece that does not fit whole
// is left out with all that follow).
std::string join_keywords(const std::vector<std::string>& pieces);

}  // namespace vintorel

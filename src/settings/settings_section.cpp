// Title checks and one-write section replacement over the profile layer.
#include "settings/settings_section.h"

#include "platform/cp932.h"
#include "platform/profile.h"
#include "settings/settings_file.h"

namespace vintorel {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

bool holds_line_end(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

// Whether "[" or "]" starts a character of `s`; the second byte of a
// double-byte character may have either value and does not count.
bool holds_bracket(std::string_view s) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '[' || s[i] == ']') return true;
    if (is_lead_byte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ++i;
  }
  return false;
}

bool ends_in_lead_byte(std::string_view s) {
  bool pending = false;
  for (char c : s) pending = pending ? false : is_lead_byte(static_cast<unsigned char>(c));
  return pending;
}

}  // namespace

bool is_acceptable_title(std::string_view title) {
  if (title.empty() || is_blank(title.front()) || is_blank(title.back())) return false;
  return !holds_bracket(title);
}

bool section_taken(const std::string& path, std::string_view title, int own_index) {
  std::vector<std::string> names = section_names(path, 1u << 16);
  for (std::size_t i = 0; i < names.size(); ++i)
    if (static_cast<int>(i) != own_index && profile_names_equal(names[i], title)) return true;
  return false;
}

bool with_section_replaced(std::string_view contents, std::string_view old_section,
                           std::string_view section, const std::vector<setting_value>& values,
                           std::string& out) {
  if (!is_acceptable_title(section) || holds_line_end(section) || ends_in_lead_byte(section)) return false;
  for (const setting_value& v : values) {
    // A key line that the reader would take for a header or a comment.
    std::string_view key = v.key;
    while (!key.empty() && is_blank(key.front())) key.remove_prefix(1);
    if (key.empty() || key[0] == '[' || key[0] == ';' || key.find('=') != std::string_view::npos ||
        holds_line_end(key) || holds_line_end(v.value))
      return false;
  }
  std::string result(contents);
  if (!old_section.empty()) result = profile_without_section(result, old_section);
  // A section of the same name still in the file would receive the keys and
  // leave the new header empty; the caller asks section_taken first, so this
  // only happens when the file changed in between.
  for (const std::string& name : profile_section_names_in(result))
    if (profile_names_equal(name, section)) return false;
  result = with_section_ordered(result, section);
  for (const setting_value& v : values) result = profile_with_value(result, section, v.key, v.value);
  out = std::move(result);
  return true;
}

bool replace_section_ordered(const std::string& path, std::string_view old_section,
                             std::string_view section, const std::vector<setting_value>& values) {
  std::string contents;
  bool missing = false;
  if (!read_whole_file(path, contents, missing) && !missing) return false;
  std::string changed;
  if (!with_section_replaced(contents, old_section, section, values, changed)) return false;
  return replace_file_contents(path, changed);
}

}  // namespace vintorel

// Typed readers and writers over the private-profile layer, section queries and
// ordered section insertion for the settings files.
#include "settings/settings_file.h"

#include <climits>
#include <vector>

#include "files/file_system.h"
#include "platform/cp932.h"
#include "platform/profile.h"

namespace vintorel {

namespace {

bool is_lead(char c) { return is_lead_byte(static_cast<unsigned char>(c)); }

struct line_text {
  std::string_view text;  // without its line end
  std::size_t start;
  std::size_t next;       // start of the following line
};

// Whole lines, line ends (CR LF, LF, CR) excluded; a UTF-8 mark at the start is
// skipped so that a header on the first line still counts.
std::vector<line_text> file_lines(std::string_view s) {
  std::vector<line_text> lines;
  std::size_t i = s.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
  std::size_t start = i;
  while (i < s.size()) {
    if (s[i] == '\n' || s[i] == '\r') {
      std::size_t end = (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ? 2 : 1;
      lines.push_back({s.substr(start, i - start), start, i + end});
      i += end;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < s.size()) lines.push_back({s.substr(start), start, s.size()});
  return lines;
}

// Position of the first or last "]" that starts a character, npos when none.
std::size_t find_bracket(std::string_view s, bool last) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == ']') {
      found = i;
      if (!last) return found;
    } else if (is_lead(s[i]) && i + 1 < s.size()) {
      ++i;
    }
  }
  return found;
}

// The section name of a line starting with "[" (cut at its last "]").
std::string_view header_name(std::string_view line) {
  std::string_view rest = line.substr(1);
  std::size_t close = find_bracket(rest, true);
  return close == std::string_view::npos ? rest : rest.substr(0, close);
}

std::string cut_multibyte(std::string_view s, std::size_t limit) {
  if (s.size() <= limit) return std::string(s);
  std::size_t i = 0;
  while (i < limit) {
    std::size_t step = is_lead(s[i]) ? 2 : 1;
    if (i + step > limit) break;
    i += step;
  }
  return std::string(s.substr(0, i));
}

bool equal_nocase_ascii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
    if (x != y) return false;
  }
  return true;
}

}  // namespace

std::string settings_file_path(const char* name) { return executable_directory() + name; }

std::string read_setting_string(const std::string& path, std::string_view section,
                                std::string_view key, std::size_t size,
                                std::string_view default_value) {
  return read_profile_string(path, section, key, default_value, size);
}

bool read_setting_bool(const std::string& path, std::string_view section, std::string_view key,
                       bool default_value) {
  std::string value = read_profile_string(path, section, key, default_value ? "+" : "-", 4);
  if (equal_nocase_ascii(value, "ON")) return true;
  if (equal_nocase_ascii(value, "OFF")) return false;
  return !value.empty() && value[0] == '+';
}

std::int32_t parse_decimal(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) value = INT_MAX;
  return static_cast<std::int32_t>(value);
}

std::int32_t read_setting_int(const std::string& path, std::string_view section,
                              std::string_view key, std::int32_t default_value) {
  return parse_decimal(
      read_profile_string(path, section, key, std::to_string(default_value), 12));
}

bool write_setting_string(const std::string& path, std::string_view section, std::string_view key,
                          std::string_view value, bool ordered) {
  if (ordered && !ensure_section_ordered(path, section)) return false;
  return write_profile_string(path, section, key, value);
}

bool write_setting_bool(const std::string& path, std::string_view section, std::string_view key,
                        bool value, bool ordered) {
  return write_setting_string(path, section, key, value ? "+" : "-", ordered);
}

bool write_setting_int(const std::string& path, std::string_view section, std::string_view key,
                       std::int32_t value, bool ordered) {
  return write_setting_string(path, section, key, std::to_string(value), ordered);
}

bool delete_setting_section(const std::string& path, std::string_view section) {
  return delete_profile_section(path, section);
}

bool section_exists(const std::string& path, std::string_view section) {
  std::string contents;
  bool missing = false;
  if (!read_whole_file(path, contents, missing)) return false;
  for (const line_text& line : file_lines(contents))
    if (!line.text.empty() && line.text[0] == '[' && header_name(line.text) == section)
      return true;
  return false;
}

bool section_name(const std::string& path, int i, std::string& out, std::size_t size) {
  std::string contents;
  bool missing = false;
  if (i < 0 || !read_whole_file(path, contents, missing)) return false;
  int count = 0;
  for (const line_text& line : file_lines(contents)) {
    if (line.text.empty() || line.text[0] != '[') continue;
    if (count++ == i) {
      out = cut_multibyte(header_name(line.text), size == 0 ? 0 : size - 1);
      return true;
    }
  }
  return false;
}

std::vector<std::string> section_names(const std::string& path, std::size_t size) {
  std::vector<std::string> names;
  std::string contents;
  bool missing = false;
  if (!read_whole_file(path, contents, missing)) return names;
  for (const line_text& line : file_lines(contents))
    if (!line.text.empty() && line.text[0] == '[')
      names.push_back(cut_multibyte(header_name(line.text), size == 0 ? 0 : size - 1));
  return names;
}

int compare_multibyte(std::string_view a, std::string_view b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    unsigned x = static_cast<unsigned char>(a[i]);
    unsigned y = static_cast<unsigned char>(b[j]);
    if (is_lead_byte(static_cast<unsigned char>(x)) && i + 1 < a.size())
      x = x << 8 | static_cast<unsigned char>(a[++i]);
    if (is_lead_byte(static_cast<unsigned char>(y)) && j + 1 < b.size())
      y = y << 8 | static_cast<unsigned char>(b[++j]);
    if (x != y) return x < y ? -1 : 1;
    ++i;
    ++j;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

std::string with_section_ordered(std::string_view contents, std::string_view section) {
  std::string_view eol = profile_line_end(contents);
  std::string header = "[" + std::string(section) + "]";
  std::string key = "[" + std::string(section);
  for (const line_text& line : file_lines(contents)) {
    if (line.text.empty() || line.text[0] != '[') continue;
    std::size_t close = find_bracket(line.text, false);
    std::string_view head = close == std::string_view::npos ? line.text : line.text.substr(0, close);
    if (compare_multibyte(head, key) > 0) {
      std::string out(contents.substr(0, line.start));
      out += header;
      out += eol;
      out.append(contents.substr(line.start));
      return out;
    }
  }
  std::string out(contents);
  // The header must not join a last line that has no line end.
  if (!out.empty() && out.back() != '\n' && out.back() != '\r' && out != "\xEF\xBB\xBF")
    out += eol;
  out += header;
  out += eol;
  return out;
}

bool ensure_section_ordered(const std::string& path, std::string_view section) {
  // A name that could not be read back as one header would break the file apart.
  bool dangling_lead = false;
  for (char c : section) dangling_lead = dangling_lead ? false : is_lead(c);
  if (find_bracket(section, false) != std::string_view::npos ||
      section.find_first_of("\r\n") != std::string_view::npos || dangling_lead)
    return false;
  std::string contents;
  bool missing = false;
  if (!read_whole_file(path, contents, missing)) {
    if (!missing) return false;
    return replace_file_contents(path, "[" + std::string(section) + "]\n");
  }
  for (const line_text& line : file_lines(contents))
    if (!line.text.empty() && line.text[0] == '[' && header_name(line.text) == section)
      return true;
  return replace_file_contents(path, with_section_ordered(contents, section));
}

}  // namespace vintorel

// Private-profile (INI) file reading and writing with crash-safe replacement of the file.
#include "platform/profile.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/cp932.h"
#include "platform/fd_io.h"

namespace vintorel {

namespace profile_seam {
ssize_t (*write)(int fd, const void* data, std::size_t size) = ::write;
int (*rename)(const char* from, const char* to) = ::rename;
}  // namespace profile_seam

namespace {

// Settings files are small; anything larger is not read as one.
constexpr std::size_t max_profile_size = 64u << 20;

struct line_span {
  std::size_t start;       // first byte of the line
  std::size_t length;      // bytes before the line end
  std::size_t end_length;  // 0, 1 or 2
};

std::vector<line_span> split_lines(std::string_view s) {
  std::vector<line_span> lines;
  std::size_t i = 0;
  if (s.substr(0, 3) == "\xEF\xBB\xBF") i = 3;  // the mark stays in front of line 0
  std::size_t start = i;
  while (i < s.size()) {
    char c = s[i];
    if (c == '\n' || c == '\r') {
      std::size_t end = (c == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ? 2 : 1;
      lines.push_back({start, i - start, end});
      i += end;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < s.size()) lines.push_back({start, s.size() - start, 0});
  return lines;
}

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
}

std::string_view text_of(std::string_view s, const line_span& line) {
  return s.substr(line.start, line.length);
}

// First occurrence of `c` at a character start (a "]" may be a second byte).
std::size_t find_char(std::string_view s, char c) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == c) return i;
    if (is_lead_byte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ++i;
  }
  return std::string_view::npos;
}

enum class line_kind { other, section, key };

struct parsed_line {
  line_kind kind = line_kind::other;
  std::string_view name;   // section name or key
  std::size_t value_start = 0;  // key lines: offset in the line where the value starts
};

parsed_line parse_line(std::string_view text) {
  parsed_line p;
  std::size_t lead = 0;
  while (lead < text.size() && is_blank(text[lead])) ++lead;
  std::string_view rest = text.substr(lead);
  if (rest.empty() || rest[0] == ';') return p;
  if (rest[0] == '[') {
    p.kind = line_kind::section;
    rest.remove_prefix(1);
    std::size_t close = find_char(rest, ']');
    p.name = close == std::string_view::npos ? trim(rest) : rest.substr(0, close);
    return p;
  }
  std::size_t eq = text.find('=');  // '=' is never a second byte
  if (eq == std::string_view::npos) return p;
  p.kind = line_kind::key;
  p.name = trim(text.substr(0, eq));
  std::size_t v = eq + 1;
  while (v < text.size() && is_blank(text[v])) ++v;
  p.value_start = v;
  return p;
}

// Cuts `s` to at most `limit` bytes without leaving half a double-byte character.
std::string cut(std::string_view s, std::size_t limit) {
  if (s.size() <= limit) return std::string(s);
  std::size_t i = 0;
  while (i < limit) {
    std::size_t step = is_lead_byte(static_cast<unsigned char>(s[i])) ? 2 : 1;
    if (i + step > limit) break;
    i += step;
  }
  return std::string(s.substr(0, i));
}

// Where a section lies: its header line and the lines up to the next header.
struct section_range {
  bool found = false;
  std::size_t header = 0;  // line index of the header
  std::size_t end = 0;     // line index of the next header (or line count)
};

section_range find_section(std::string_view s, const std::vector<line_span>& lines,
                           std::string_view section) {
  section_range r;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    parsed_line p = parse_line(text_of(s, lines[i]));
    if (p.kind != line_kind::section) continue;
    if (r.found) {
      r.end = i;
      return r;
    }
    if (profile_names_equal(p.name, section)) {
      r.found = true;
      r.header = i;
    }
  }
  r.end = lines.size();
  return r;
}

std::size_t find_key(std::string_view s, const std::vector<line_span>& lines,
                     const section_range& r, std::string_view key, parsed_line& found) {
  std::string_view wanted = trim(key);
  for (std::size_t i = r.header + 1; i < r.end; ++i) {
    parsed_line p = parse_line(text_of(s, lines[i]));
    if (p.kind == line_kind::key && profile_names_equal(p.name, wanted)) {
      found = p;
      return i;
    }
  }
  return std::string_view::npos;
}

bool holds_line_end(std::string_view s) {
  return s.find('\n') != std::string_view::npos || s.find('\r') != std::string_view::npos;
}

// Whether the last byte starts a double-byte character that has no second byte:
// written before "]", it would swallow the bracket.
bool ends_in_lead_byte(std::string_view s) {
  bool pending = false;
  for (char c : s) pending = pending ? false : is_lead_byte(static_cast<unsigned char>(c));
  return pending;
}

bool acceptable_section(std::string_view section) {
  return !holds_line_end(section) && find_char(section, ']') == std::string_view::npos &&
         !ends_in_lead_byte(section);
}

bool acceptable_key(std::string_view key) {
  std::string_view k = trim(key);
  return !k.empty() && k.find('=') == std::string_view::npos && k[0] != '[' && k[0] != ';' &&
         !holds_line_end(k);
}

// Write access as a user would see it: the owner's write bit, and access() for
// everyone but root (whom it never refuses).
bool is_writable(const std::string& path, const struct stat& st) {
  return (st.st_mode & S_IWUSR) && access(path.c_str(), W_OK) == 0;
}

// Applies `edit` to the file's contents; `create` says whether a missing file is
// made (writes) or left missing (deletions).
template <typename Edit>
bool edit_file(const std::string& path, bool create, Edit&& edit) {
  std::string contents;
  bool missing = false;
  if (!read_whole_file(path, contents, missing)) {
    if (!missing) return false;
    if (!create) return true;
    contents.clear();
  }
  std::string changed = edit(std::string_view(contents));
  if (!missing && changed == contents) return true;
  return replace_file_contents(path, changed);
}

}  // namespace

bool profile_names_equal(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (is_lead_byte(x)) {
      if (x != y) return false;
      if (i + 1 < a.size()) {
        ++i;
        if (a[i] != b[i]) return false;
      }
      continue;
    }
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
    if (x != y) return false;
  }
  return true;
}

std::string_view profile_line_end(std::string_view contents) {
  for (std::size_t i = 0; i < contents.size(); ++i) {
    if (contents[i] == '\n') return "\n";
    if (contents[i] == '\r') return i + 1 < contents.size() && contents[i + 1] == '\n' ? "\r\n" : "\r";
  }
  return "\n";
}

std::string profile_value_in(std::string_view contents, std::string_view section,
                             std::string_view key, std::string_view default_value,
                             std::size_t size) {
  std::size_t limit = size == 0 ? 0 : size - 1;
  std::vector<line_span> lines = split_lines(contents);
  section_range r = find_section(contents, lines, section);
  if (r.found) {
    parsed_line p;
    std::size_t at = find_key(contents, lines, r, key, p);
    if (at != std::string_view::npos) {
      std::string_view text = text_of(contents, lines[at]);
      std::string_view value = trim(text.substr(p.value_start));
      if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
      // Values are C strings to the callers: a zero byte ends one.
      std::size_t nul = value.find('\0');
      if (nul != std::string_view::npos) value = value.substr(0, nul);
      return cut(value, limit);
    }
  }
  // Like the Windows reader, trailing blanks of the default are dropped.
  std::string_view d = default_value;
  while (!d.empty() && is_blank(d.back())) d.remove_suffix(1);
  return cut(d, limit);
}

std::vector<std::string> profile_section_names_in(std::string_view contents) {
  std::vector<std::string> names;
  for (const line_span& line : split_lines(contents)) {
    parsed_line p = parse_line(text_of(contents, line));
    if (p.kind == line_kind::section) names.emplace_back(p.name);
  }
  return names;
}

std::string profile_with_value(std::string_view contents, std::string_view section,
                               std::string_view key, std::string_view value) {
  std::vector<line_span> lines = split_lines(contents);
  std::string_view eol = profile_line_end(contents);
  std::string key_line = std::string(trim(key)) + "=" + std::string(value);
  section_range r = find_section(contents, lines, section);
  std::string out;
  out.reserve(contents.size() + key_line.size() + section.size() + 8);

  if (!r.found) {
    out.assign(contents);
    if (!lines.empty() && lines.back().end_length == 0) out += eol;
    out += "[";
    out += section;
    out += "]";
    out += eol;
    out += key_line;
    out += eol;
    return out;
  }

  parsed_line p;
  std::size_t at = find_key(contents, lines, r, key, p);
  if (at != std::string_view::npos) {
    // Keep the line's own spelling and spacing up to the value.
    const line_span& line = lines[at];
    out.append(contents.substr(0, line.start + p.value_start));
    out.append(value);
    out.append(contents.substr(line.start + line.length));
    return out;
  }

  // A new key goes after the section's last non-blank line.
  std::size_t after = r.header;
  for (std::size_t i = r.header + 1; i < r.end; ++i)
    if (!trim(text_of(contents, lines[i])).empty()) after = i;
  const line_span& line = lines[after];
  std::size_t split = line.start + line.length + line.end_length;
  out.append(contents.substr(0, split));
  if (line.end_length == 0) out += eol;
  out += key_line;
  out += eol;
  out.append(contents.substr(split));
  return out;
}

std::string profile_without_key(std::string_view contents, std::string_view section,
                                std::string_view key) {
  std::vector<line_span> lines = split_lines(contents);
  section_range r = find_section(contents, lines, section);
  if (!r.found) return std::string(contents);
  parsed_line p;
  std::size_t at = find_key(contents, lines, r, key, p);
  if (at == std::string_view::npos) return std::string(contents);
  const line_span& line = lines[at];
  std::string out(contents.substr(0, line.start));
  out.append(contents.substr(line.start + line.length + line.end_length));
  return out;
}

std::string profile_without_section(std::string_view contents, std::string_view section) {
  std::vector<line_span> lines = split_lines(contents);
  section_range r = find_section(contents, lines, section);
  if (!r.found) return std::string(contents);
  std::size_t from = lines[r.header].start;
  std::size_t to = r.end < lines.size() ? lines[r.end].start : contents.size();
  std::string out(contents.substr(0, from));
  out.append(contents.substr(to));
  return out;
}

std::string read_profile_string(const std::string& path, std::string_view section,
                                std::string_view key, std::string_view default_value,
                                std::size_t size) {
  std::string contents;
  bool missing = false;
  if (!read_whole_file(path, contents, missing)) contents.clear();
  return profile_value_in(contents, section, key, default_value, size);
}

std::vector<std::string> read_profile_section_names(const std::string& path) {
  std::string contents;
  bool missing = false;
  if (!read_whole_file(path, contents, missing)) return {};
  return profile_section_names_in(contents);
}

bool write_profile_string(const std::string& path, std::string_view section,
                          std::string_view key, std::string_view value) {
  if (!acceptable_section(section) || !acceptable_key(key) || holds_line_end(value)) return false;
  return edit_file(path, true, [&](std::string_view contents) {
    return profile_with_value(contents, section, key, value);
  });
}

bool delete_profile_section(const std::string& path, std::string_view section) {
  if (!acceptable_section(section)) return false;
  return edit_file(path, false, [&](std::string_view contents) {
    return profile_without_section(contents, section);
  });
}

bool read_whole_file(const std::string& path, std::string& out, bool& missing) {
  out.clear();
  missing = false;
  if (path.empty()) {
    missing = true;
    return false;
  }
  // O_NONBLOCK: a FIFO planted under the name must not hang the reader.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    missing = errno == ENOENT;
    return false;
  }
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
      static_cast<std::uint64_t>(st.st_size) > max_profile_size) {
    ::close(fd);
    return false;
  }
  bool ok = read_all(fd, out, max_profile_size);
  ::close(fd);
  return ok;
}

bool replace_file_contents(const std::string& path, std::string_view contents) {
  if (path.empty()) return false;
  std::string target = path;
  struct stat st;
  bool exists = false;
  if (lstat(path.c_str(), &st) == 0) {
    if (S_ISLNK(st.st_mode)) {
      // Replace the file the link points to and keep the link.
      char* real = realpath(path.c_str(), nullptr);
      if (!real) return false;
      target = real;
      std::free(real);
      if (stat(target.c_str(), &st) != 0) return false;
    }
    if (!S_ISREG(st.st_mode) || !is_writable(target, st)) return false;
    exists = true;
  } else if (errno != ENOENT) {
    return false;
  }

  std::size_t slash = target.rfind('/');
  std::string directory = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  std::string base = slash == std::string::npos ? target : target.substr(slash + 1);

  static std::atomic<unsigned> counter{0};
  std::string temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temporary = directory + "." + base + "." + std::to_string(getpid()) + "." +
                std::to_string(counter++) + ".tmp";
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;

  bool ok = true;
  if (exists) {
    if (fchmod(fd, st.st_mode & 07777) != 0) ok = false;
    // Only root can hand the copy to the old owner; others already own both.
    if (ok && (st.st_uid != geteuid() || st.st_gid != getegid()))
      if (fchown(fd, st.st_uid, st.st_gid) != 0 && geteuid() == 0) ok = false;
  }
  if (ok) ok = write_all(fd, contents, profile_seam::write);
  if (ok && fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  if (ok && profile_seam::rename(temporary.c_str(), target.c_str()) != 0) ok = false;
  if (!ok) ::unlink(temporary.c_str());
  return ok;
}

}  // namespace vintorel

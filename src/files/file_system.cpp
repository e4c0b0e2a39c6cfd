// File-system helpers over POSIX: paths, attributes, copying, moving and deleting files.
#include "files/file_system.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <limits.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "platform/cp932.h"
#include "platform/fd_io.h"
#include "platform/private_directory.h"

namespace vintorel {

namespace {

std::string with_final_slash(std::string path) {
  if (!path.empty() && path.back() != '/') path += '/';
  return path;
}

bool is_directory(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string home_directory() {
  const char* home = std::getenv("HOME");
  if (home && *home) return home;
  struct passwd* pw = getpwuid(getuid());
  if (pw && pw->pw_dir && *pw->pw_dir) return pw->pw_dir;
  return "";
}

// The XDG_DESKTOP_DIR entry of user-dirs.dirs: XDG_DESKTOP_DIR="$HOME/Desktop".
std::string xdg_desktop(const std::string& home) {
  std::string config;
  const char* xdg_config = std::getenv("XDG_CONFIG_HOME");
  if (xdg_config && *xdg_config == '/')
    config = xdg_config;
  else if (!home.empty())
    config = home + "/.config";
  else
    return "";
  FILE* f = std::fopen((config + "/user-dirs.dirs").c_str(), "r");
  if (!f) return "";
  std::string result;
  char line[1024];
  while (std::fgets(line, sizeof line, f)) {
    const char* p = line;
    while (*p == ' ' || *p == '\t') ++p;
    if (std::strncmp(p, "XDG_DESKTOP_DIR=", 16) != 0) continue;
    p += 16;
    std::string value;
    if (*p == '"') {
      ++p;
      while (*p && *p != '"') value += *p++;
    } else {
      while (*p && *p != '\n' && *p != '\r') value += *p++;
    }
    if (value.compare(0, 5, "$HOME") == 0) {
      std::string base = home;
      while (base.size() > 1 && base.back() == '/') base.pop_back();
      value = base + value.substr(5);
    }
    if (!value.empty() && value[0] == '/') result = value;
  }
  std::fclose(f);
  return result;
}

bool ends_with_nocase(const std::string& s, const char* suffix) {
  std::size_t n = std::strlen(suffix);
  if (s.size() < n) return false;
  for (std::size_t i = 0; i < n; ++i) {
    unsigned char a = static_cast<unsigned char>(s[s.size() - n + i]);
    unsigned char b = static_cast<unsigned char>(suffix[i]);
    if (a >= 'a' && a <= 'z') a = static_cast<unsigned char>(a - 32);
    if (b >= 'a' && b <= 'z') b = static_cast<unsigned char>(b - 32);
    if (a != b) return false;
  }
  return true;
}

}  // namespace

std::string executable_directory() {
  std::vector<char> buffer(PATH_MAX + 1);
  ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (n <= 0) return "";
  std::string path(buffer.data(), static_cast<std::size_t>(n));
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return "";
  return path.substr(0, slash + 1);
}

std::string desktop_directory() {
  std::string home = home_directory();
  std::string desktop = xdg_desktop(home);
  if (!desktop.empty() && is_directory(desktop)) return with_final_slash(desktop);
  if (!home.empty()) return with_final_slash(home);
  return "";
}

std::string directory_from_environment(const char* name, bool as_directory) {
  const char* value = std::getenv(name);
  if (!value) return "";
  std::string result = value;
  // An empty value gives "" rather than "/": the root directory is never meant.
  if (as_directory && !result.empty()) {
    to_slashes(result);
    result = with_final_slash(result);
  }
  return result;
}

std::string temporary_directory() {
  for (const char* name : {"TMP_RAM", "TMP", "TEMP"}) {
    std::string dir = directory_from_environment(name, true);
    if (!dir.empty()) return dir;
  }
  // TMP and TEMP are seldom set here; without them the files would land in the
  // program's directory, which an installed program cannot write, and a shared
  // /tmp would let another user plant them. A directory of this user's own holds
  // them instead (the current directory when none can be had).
  return private_directory();
}

std::string full_path(const std::string& path) {
  std::string absolute;
  if (path.empty() || path[0] != '/') {
    std::vector<char> cwd(PATH_MAX + 1);
    if (!getcwd(cwd.data(), cwd.size())) return "";
    absolute = cwd.data();
    absolute += '/';
  }
  absolute += path;

  std::vector<std::string> parts;
  std::size_t i = 0;
  while (i < absolute.size()) {
    std::size_t next = absolute.find('/', i);
    if (next == std::string::npos) next = absolute.size();
    std::string part = absolute.substr(i, next - i);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(std::move(part));
    }
    i = next + 1;
  }
  std::string result;
  for (const std::string& part : parts) result += "/" + part;
  if (result.empty()) return "/";
  if (!path.empty() && path.back() == '/') result += '/';
  return result;
}

bool long_path(const std::string& path, std::string& out) {
  // Names are spelled exactly as stored on this file system, so the long form is the
  // path itself; what remains is the check that every component exists (lstat of the
  // whole path fails when any directory on the way is missing).
  struct stat st;
  if (path.empty() || lstat(path.c_str(), &st) != 0) return false;
  out = path;
  return true;
}

void to_slashes(std::string& path) {
  for (std::size_t i = 0; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (is_lead_byte(c) && i + 1 < path.size())
      ++i;  // the trail byte may be 0x5C and is not a separator
    else if (c == '\\')
      path[i] = '/';
  }
}

void to_backslashes(std::string& path) {
  for (char& c : path)
    if (c == '/') c = '\\';
}

bool file_exists(const std::string& path) {
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0;
}

std::uint64_t file_size(const std::string& path) {
  struct stat st;
  if (path.empty() || stat(path.c_str(), &st) != 0) return UINT64_MAX;
  return static_cast<std::uint64_t>(st.st_size);
}

bool rename_file(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

bool write_text_file(const std::string& path, const std::string& text) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  struct stat st;
  bool regular = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  bool ok = write_all(fd, text);
  if (::close(fd) != 0) ok = false;
  // Only a regular file is removed again; a device or pipe given as the path stays.
  if (!ok && regular) ::unlink(path.c_str());
  return ok;
}

bool get_attribute_string(const std::string& path, std::string& out) {
  struct stat st;
  if (path.empty() || (stat(path.c_str(), &st) != 0 && lstat(path.c_str(), &st) != 0)) {
    out = "????";
    return false;
  }
  out = "----";
  if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) out[0] = 's';
  // access() never refuses root, so the owner's write bit counts on its own.
  if (!(st.st_mode & S_IWUSR) || access(path.c_str(), W_OK) != 0) out[2] = 'r';
  return true;
}

bool set_attribute_string(const std::string& path, const std::string& attributes) {
  struct stat st;
  if (path.empty() || stat(path.c_str(), &st) != 0) return false;
  mode_t mode = st.st_mode & 07777;
  if (attributes.find('r') != std::string::npos)
    mode &= static_cast<mode_t>(~(S_IWUSR | S_IWGRP | S_IWOTH));
  else
    mode |= S_IWUSR;
  // System, hidden and archive have no counterpart here and are left alone.
  if (mode == (st.st_mode & 07777)) return true;
  return chmod(path.c_str(), mode) == 0;
}

std::string resolve_links(const std::string& path) {
  std::string at = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (lstat(at.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return at;
    std::string target(4096, '\0');
    ssize_t n = readlink(at.c_str(), target.data(), target.size());
    if (n < 0 || static_cast<std::size_t>(n) >= target.size()) return std::string();
    target.resize(static_cast<std::size_t>(n));
    if (target[0] == '/') {
      at = target;
    } else {
      std::size_t slash = at.rfind('/');
      at = (slash == std::string::npos ? std::string() : at.substr(0, slash + 1)) + target;
    }
  }
  return std::string();
}

bool copy_path(const std::string& from, const std::string& to_path) {
  // A link keeps pointing where it did; the file it names gets the copy.
  std::string to = resolve_links(to_path);
  if (to.empty()) return false;
  int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  struct stat source;
  if (fstat(in, &source) != 0 || !S_ISREG(source.st_mode)) {
    ::close(in);
    return false;
  }
  // Copying a file onto itself (or onto another link to it) would replace the
  // source with itself at best.
  struct stat target;
  bool exists = stat(to.c_str(), &target) == 0;
  // Only a regular file is replaced: never a device, a FIFO or a directory.
  if (exists && (!S_ISREG(target.st_mode) || (target.st_dev == source.st_dev && target.st_ino == source.st_ino))) {
    ::close(in);
    return false;
  }
  // The copy is made beside the target and renamed over it, so a failed copy
  // (a full disk) never leaves the target half-written.
  std::size_t slash = to.rfind('/');
  std::string temporary = (slash == std::string::npos ? std::string() : to.substr(0, slash + 1)) + "." +
                          to.substr(slash == std::string::npos ? 0 : slash + 1).substr(0, 200) + ".copy-XXXXXX";
  int out = mkostemp(temporary.data(), O_CLOEXEC);
  if (out < 0) {
    ::close(in);
    return false;
  }
  mode_t mask = umask(0);
  umask(mask);
  mode_t mode = exists ? target.st_mode & 07777 : static_cast<mode_t>((0666 | (source.st_mode & 0111)) & ~mask);
  bool ok = fchmod(out, mode) == 0;
  std::vector<char> buffer(1 << 16);
  while (ok) {
    ssize_t n = ::read(in, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    ok = write_all(out, std::string_view(buffer.data(), static_cast<std::size_t>(n)));
  }
  ::close(in);
  // The source may be deleted right after (move_path), so the copy must be on disk.
  if (ok && fsync(out) != 0 && errno != EINVAL) ok = false;
  if (::close(out) != 0) ok = false;
  if (ok && ::rename(temporary.c_str(), to.c_str()) != 0) ok = false;
  if (!ok) {
    ::unlink(temporary.c_str());
    return false;
  }
  // A read-only source gives a read-only copy, as the platform copy keeps attributes.
  if (!(source.st_mode & S_IWUSR)) {
    std::string attributes;
    if (get_attribute_string(to, attributes)) {
      attributes[2] = 'r';
      set_attribute_string(to, attributes);
    }
  }
  return true;
}

bool delete_path(const std::string& path) {
  if (path.empty()) return false;
  if (::unlink(path.c_str()) == 0) return true;
  std::string attributes;
  if (!get_attribute_string(path, attributes)) return false;
  if (attributes[0] == 's' || attributes[1] == 'h') return false;
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return false;
  if (!set_attribute_string(path, "----")) return false;
  if (::unlink(path.c_str()) == 0) return true;
  // The file stays: give it back its read-only state.
  chmod(path.c_str(), st.st_mode & 07777);
  return false;
}

bool move_path(const std::string& from, const std::string& to) {
  return copy_path(from, to) && delete_path(from);
}

bool is_removable_drive(char) { return false; }

int executable_type(const unsigned char* header, std::size_t size) {
  if (size < 2 || header[0] != 'M' || header[1] != 'Z') return 0;
  if (size < 0x40) return 0x5A4D;
  std::uint32_t pe = static_cast<std::uint32_t>(header[0x3C]) |
                     static_cast<std::uint32_t>(header[0x3D]) << 8 |
                     static_cast<std::uint32_t>(header[0x3E]) << 16 |
                     static_cast<std::uint32_t>(header[0x3F]) << 24;
  // Optional header: 4-byte signature + 20-byte file header, subsystem at +68.
  if (pe > size || size - pe < 4) return 0x5A4D;
  if (header[pe] == 'N' && header[pe + 1] == 'E') return 1;  // 16-bit windowed
  if (std::memcmp(header + pe, "PE\0\0", 4) != 0) return 0x5A4D;
  if (size - pe < 4 + 20 + 70) return 0;
  unsigned subsystem = header[pe + 24 + 68] | header[pe + 24 + 69] << 8;
  if (subsystem == 3) return 0x4550;  // console
  return 1;                           // windowed or other
}

bool is_console_program(const std::string& path) {
  if (ends_with_nocase(path, ".COM") || ends_with_nocase(path, ".BAT")) return true;
  if (!ends_with_nocase(path, ".EXE")) return false;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  std::vector<unsigned char> header(4096);
  std::size_t filled = 0;
  while (filled < header.size()) {
    ssize_t n = ::read(fd, header.data() + filled, header.size() - filled);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    filled += static_cast<std::size_t>(n);
  }
  ::close(fd);
  int type = executable_type(header.data(), filled);
  return type == 0x5A4D || type == 0x4550;
}

}  // namespace vintorel

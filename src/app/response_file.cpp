// Writing and reading the hand-over response file safely in a shared directory.
#include "app/response_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/file_system.h"

namespace vintorel {

namespace {

constexpr std::size_t max_response_size = 1u << 20;

// Only this user's own regular file with no other name is ever used.
bool acceptable(int fd) {
  struct stat st;
  return fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid() &&
         st.st_nlink == 1;
}

bool write_all(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

std::string response_file_path() { return temporary_directory() + "vintorel.rsp"; }

std::vector<std::string> response_lines(const command_line_items& items) {
  std::vector<std::string> lines;
  if (items.command_mode) {
    if (items.directory.find('\n') != std::string::npos ||
        items.command.find('\n') != std::string::npos)
      return lines;
    lines.push_back(items.directory);
    lines.push_back(items.command);
    return lines;
  }
  for (const std::string& file : items.files)
    if (file.find('\n') == std::string::npos) lines.push_back(file);
  return lines;
}

bool write_response_file(const std::string& path, const std::vector<std::string>& lines) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  // Truncate only after the checks: a planted hard link to one of this user's files
  // must not be emptied.
  bool ok = acceptable(fd) && fchmod(fd, 0600) == 0 && ftruncate(fd, 0) == 0;
  for (std::size_t i = 0; ok && i < lines.size(); ++i)
    ok = write_all(fd, lines[i]) && write_all(fd, "\n");
  if (::close(fd) != 0) ok = false;
  return ok;
}

std::vector<std::string> split_response_lines(std::string_view contents) {
  std::vector<std::string> lines;
  while (!contents.empty()) {
    std::size_t end = contents.find('\n');
    lines.emplace_back(contents.substr(0, end));
    if (end == std::string_view::npos) break;
    contents.remove_prefix(end + 1);
  }
  return lines;
}

bool read_response_file(const std::string& path, std::vector<std::string>& lines) {
  lines.clear();
  int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  if (!acceptable(fd)) {
    ::close(fd);
    return false;
  }
  std::string contents;
  char buffer[4096];
  bool ok = true;
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    if (n == 0) break;
    contents.append(buffer, static_cast<std::size_t>(n));
    if (contents.size() > max_response_size) {
      ok = false;
      break;
    }
  }
  ::close(fd);
  if (ok) lines = split_response_lines(contents);
  return ok;
}

bool response_file_exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

bool delete_response_file(const std::string& path) {
  // Only this user's own file is removed; a stranger's stays for them to handle.
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return errno == ENOENT;
  if (st.st_uid != geteuid()) return false;
  return ::unlink(path.c_str()) == 0;
}

}  // namespace vintorel

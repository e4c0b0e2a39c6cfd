// Writing and reading the hand-over response file safely in a shared directory.
#include "shell/response_file.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include "files/file_system.h"
#include "platform/fd_io.h"
#include "platform/private_file.h"

namespace vintorel {

constexpr std::size_t max_response_size = 1u << 20;

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
  int fd = open_private_for_writing(path);
  if (fd < 0) return false;
  bool ok = true;
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
  int fd = open_private_for_reading(path);
  if (fd < 0) return false;
  std::string contents;
  bool ok = read_all(fd, contents, max_response_size);
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

// Whole writes and reads through a file descriptor.
#include "platform/fd_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace vintorel {

bool write_all(int fd, std::string_view data, write_call write) {
  if (!write) write = ::write;
  while (!data.empty()) {
    ssize_t n = write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool read_exactly_at(int fd, std::uint64_t offset, void* dest, std::size_t count) {
  char* out = static_cast<char*>(dest);
  while (count > 0) {
    ssize_t got = pread(fd, out, count, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    out += got;
    offset += static_cast<std::uint64_t>(got);
    count -= static_cast<std::size_t>(got);
  }
  return true;
}

int open_regular_file(const std::string& path) {
  // O_NONBLOCK keeps a FIFO from blocking the open; such files are refused below.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return -1;
  struct stat status;
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(fd);
    return -1;
  }
  int flags = fcntl(fd, F_GETFL);
  if (flags >= 0) fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  return fd;
}

bool read_all(int fd, std::string& out, std::size_t limit) {
  out.clear();
  char buffer[16384];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (n == 0) return true;
    out.append(buffer, static_cast<std::size_t>(n));
    if (out.size() > limit) break;
  }
  out.clear();
  return false;
}

}  // namespace vintorel

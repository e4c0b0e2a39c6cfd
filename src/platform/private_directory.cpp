// Choosing and making the per-user private directory.
#include "platform/private_directory.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace vintorel {

// Long enough for the socket's name in a socket address (108 bytes on Linux).
constexpr std::size_t socket_directory_length = 90;

bool prepare_private_directory(const std::string& directory) {
  if (directory.empty()) return false;
  std::string path = directory;
  if (path.size() > 1 && path.back() == '/') path.pop_back();
  if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
  int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  bool ok = ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == geteuid();
  // A directory of ours that others may enter is closed to them before use.
  if (ok && (st.st_mode & 077) != 0) ok = ::fchmod(fd, 0700) == 0;
  ::close(fd);
  return ok;
}

std::string choose_private_directory(const std::string& runtime, const std::string& base, std::size_t max_length) {
  if (!runtime.empty() && runtime[0] == '/') {
    std::string directory = runtime;
    while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
    directory += "/vintorel/";
    if (directory.size() <= max_length && prepare_private_directory(directory)) return directory;
  }
  const std::string stem = base + "vintorel-" + std::to_string(geteuid());
  for (int k = 0; k < 10; ++k) {
    std::string directory = stem + (k == 0 ? std::string() : "-" + std::to_string(k)) + "/";
    if (prepare_private_directory(directory)) return directory;
  }
  return std::string();
}

const std::string& private_directory() {
  static const std::string directory = [] {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    return choose_private_directory(runtime ? runtime : "", "/tmp/", socket_directory_length);
  }();
  return directory;
}

}  // namespace vintorel

// Opening a file of this user in a shared directory without following links.
#include "platform/private_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vintorel {

namespace {

// Only this user's own regular file with no other name is ever used: a hard
// link planted to one of the user's files elsewhere must not be emptied or read.
bool acceptable(int fd) {
  struct stat st;
  return fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid() &&
         st.st_nlink == 1;
}

// O_NONBLOCK only kept a planted FIFO from hanging the open; a regular file
// is read and written as usual.
int checked(int fd, bool writing) {
  if (fd < 0) return -1;
  // Truncate only after the checks.
  if (!acceptable(fd) || (writing && (fchmod(fd, 0600) != 0 || ftruncate(fd, 0) != 0))) {
    ::close(fd);
    return -1;
  }
  int flags = fcntl(fd, F_GETFL);
  if (flags >= 0) fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  return fd;
}

}  // namespace

int open_private_for_writing(const std::string& path) {
  return checked(::open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600),
                 true);
}

int open_private_for_reading(const std::string& path) {
  return checked(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC), false);
}

}  // namespace vintorel

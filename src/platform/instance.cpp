// The per-user lock file and Unix socket that keep one editor instance
// running and carry a second instance's requests to it.
#include "platform/instance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/private_directory.h"

namespace vintorel {

namespace {

constexpr const char* lock_name = "vintorel.lock";
constexpr const char* socket_name = "vintorel.sock";
// An answer longer than this is not one of ours.
constexpr std::size_t max_answer = 1 << 20;

long long now_ms() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<long long>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

int remaining(long long deadline) {
  long long left = deadline - now_ms();
  return left < 0 ? 0 : static_cast<int>(left);
}

bool fits_socket_path(const std::string& path) { return path.size() < sizeof(sockaddr_un::sun_path); }

bool peer_is_this_user(int fd) {
  ucred cred{};
  socklen_t size = sizeof cred;
  if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &size) != 0) return false;
  return cred.uid == geteuid();
}

// Waits until `fd` is ready for `events` or the deadline passes. With a
// cancel flag it looks at the flag every tenth of a second and gives up once
// it is set.
bool wait_for(int fd, short events, long long deadline, const std::atomic<bool>* cancel = nullptr) {
  for (;;) {
    if (cancel && cancel->load()) return false;
    int left = remaining(deadline);
    int slice = cancel && left > 100 ? 100 : left;
    pollfd p{fd, events, 0};
    int r = ::poll(&p, 1, slice);
    if (r > 0) return true;
    if (r == 0 && slice == left) return false;
    if (r < 0 && errno != EINTR) return false;
  }
}

bool write_all(int fd, std::string_view bytes, long long deadline) {
  while (!bytes.empty()) {
    ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (!wait_for(fd, POLLOUT, deadline)) return false;
      continue;
    }
    return false;
  }
  return true;
}

// Reads what is there into `buffer`; false at the end of the stream, on an
// error or when the deadline passes with nothing read.
bool read_some(int fd, std::string& buffer, long long deadline, const std::atomic<bool>* cancel = nullptr) {
  for (;;) {
    char chunk[512];
    ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
    if (n > 0) {
      buffer.append(chunk, static_cast<std::size_t>(n));
      return true;
    }
    if (n == 0) return false;
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) return false;
    if (!wait_for(fd, POLLIN, deadline, cancel)) return false;
  }
}

int connect_to(const std::string& path) {
  if (!fits_socket_path(path)) return -1;
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  // A full backlog gives EAGAIN here: the instance is busy, try again later.
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      !peer_is_this_user(fd)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

std::string display_key(const char* wayland, const char* x) {
  std::string raw;
  if (wayland && *wayland) {
    raw = wayland;
  } else if (x && *x) {
    // [host]:display[.screen]; the screen does not make another display.
    std::string_view name = x;
    std::size_t colon = name.rfind(':');
    std::string host(colon == std::string_view::npos ? std::string_view() : name.substr(0, colon));
    std::string_view number = colon == std::string_view::npos ? name : name.substr(colon + 1);
    std::size_t dot = number.find('.');
    if (dot != std::string_view::npos) number = number.substr(0, dot);
    // "unix:0" is the local display ":0".
    if (host == "unix") host.clear();
    raw = "x-" + (host.empty() ? std::string() : host + "-") + std::string(number);
  } else {
    return "";
  }
  std::string key = raw;
  for (char& c : key) {
    bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                 c == '_' || c == '.';
    if (!plain) c = '_';
  }
  // "." and ".." name no directory of their own.
  if (key.find_first_not_of('.') == std::string::npos) key = "_" + key;
  constexpr std::size_t max_key = 40;
  if (key.size() > max_key) {
    // FNV-1a of the value as it stands, so that values differing only in
    // replaced characters stay apart: stable between runs, which is all the
    // name needs.
    unsigned long long hash = 14695981039346656037ull;
    for (unsigned char c : raw) hash = (hash ^ c) * 1099511628211ull;
    static const char digits[] = "0123456789abcdef";
    key = "h-";
    for (int shift = 60; shift >= 0; shift -= 4) key += digits[(hash >> shift) & 15];
  }
  return key;
}

std::string instance_directory_for(const std::string& base, const std::string& key) {
  return key.empty() ? base : base + key + "/";
}

bool instance_directory(std::string& out) {
  const std::string& base = private_directory();
  if (base.empty()) return false;
  out = instance_directory_for(base, display_key(std::getenv("WAYLAND_DISPLAY"), std::getenv("DISPLAY")));
  if (out != base && !prepare_private_directory(out)) return false;
  return fits_socket_path(out + socket_name);
}

instance_lock::state instance_lock::acquire(const std::string& directory) {
  release();
  std::string path = directory + lock_name;
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return state::failed;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != geteuid()) {
    ::close(fd);
    return state::failed;
  }
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    int error = errno;
    ::close(fd);
    return error == EWOULDBLOCK ? state::held_elsewhere : state::failed;
  }
  fd_ = fd;
  return state::acquired;
}

void instance_lock::release() {
  if (fd_ < 0) return;
  ::flock(fd_, LOCK_UN);
  ::close(fd_);
  fd_ = -1;
}

bool instance_running(const std::string& directory) {
  std::string path = directory + lock_name;
  int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  // A shared lock is refused only while someone holds the exclusive one.
  bool running = false;
  while (::flock(fd, LOCK_SH | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    running = errno == EWOULDBLOCK;
    break;
  }
  ::close(fd);  // drops the shared lock if it was taken
  return running;
}

std::string format_request(const instance_request& request) {
  switch (request.kind) {
    case request_kind::raise:
      return "raise\n";
    case request_kind::open_files:
      return request.read_only ? "open 1\n" : "open 0\n";
    case request_kind::run_command:
      return "command\n";
    case request_kind::list_texts:
      return "list\n";
    case request_kind::fail_for_test:
      return "fail\n";
  }
  return "raise\n";
}

bool parse_request(std::string_view line, instance_request& out) {
  instance_request r;
  if (line == "raise") {
    r.kind = request_kind::raise;
  } else if (line == "open 0" || line == "open 1") {
    r.kind = request_kind::open_files;
    r.read_only = line.back() == '1';
  } else if (line == "command") {
    r.kind = request_kind::run_command;
  } else if (line == "list") {
    r.kind = request_kind::list_texts;
  } else if (line == "fail") {
    r.kind = request_kind::fail_for_test;
  } else {
    return false;
  }
  out = r;
  return true;
}

int take_request(std::string_view bytes, instance_request& out) {
  std::size_t end = bytes.find('\n');
  if (end == std::string_view::npos) return bytes.size() >= max_request_line ? -1 : 0;
  if (end >= max_request_line) return -1;
  return parse_request(bytes.substr(0, end), out) ? 1 : -1;
}

bool instance_server::listen(const std::string& directory) {
  close();
  std::string path = directory + socket_name;
  if (!fits_socket_path(path)) return false;
  // Whatever is left under the name belongs to an instance that died (the
  // caller holds the lock); only this user's own file is removed.
  struct stat st;
  if (::lstat(path.c_str(), &st) == 0) {
    if (st.st_uid != geteuid() || S_ISDIR(st.st_mode) || ::unlink(path.c_str()) != 0) return false;
  }
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 16) != 0) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  path_ = path;
  return true;
}

void instance_server::close() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
  ::unlink(path_.c_str());
  path_.clear();
}

int instance_server::accept_connection() const {
  if (fd_ < 0) return -1;
  for (;;) {
    int connection = ::accept4(fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (connection < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      return -1;
    }
    if (peer_is_this_user(connection)) return connection;
    ::close(connection);
  }
}

bool read_request(int connection, instance_request& out, int limit_ms) {
  long long deadline = now_ms() + limit_ms;
  std::string buffer;
  for (;;) {
    int taken = take_request(buffer, out);
    if (taken != 0) return taken > 0;
    if (!read_some(connection, buffer, deadline)) return false;
  }
}

bool write_answer(int connection, std::string_view payload, int limit_ms) {
  long long deadline = now_ms() + limit_ms;
  return write_all(connection, payload, deadline) && write_all(connection, "done\n", deadline);
}

request_outcome send_request(const std::string& directory, const instance_request& request, int limit_ms,
                             std::string* payload, const std::atomic<bool>* cancel) {
  int fd = connect_to(directory + socket_name);
  if (fd < 0) return request_outcome::not_listening;
  long long deadline = now_ms() + limit_ms;
  request_outcome outcome = request_outcome::no_answer;
  std::string answer;
  if (write_all(fd, format_request(request), deadline)) {
    while (answer.size() <= max_answer && read_some(fd, answer, deadline, cancel)) {
      // The answer ends with a line "done".
      if (answer == "done\n" ||
          (answer.size() > 5 && answer.compare(answer.size() - 6, 6, "\ndone\n") == 0)) {
        outcome = request_outcome::answered;
        if (payload) *payload = answer.substr(0, answer.size() - 5);
        break;
      }
    }
  }
  ::close(fd);
  if (outcome == request_outcome::no_answer && cancel && cancel->load()) return request_outcome::cancelled;
  return outcome;
}

}  // namespace vintorel

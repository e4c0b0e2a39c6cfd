// The start-up check of the two font files: creation of a missing one by the
// generator beside the executable, the header checks and the screen fit.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

#include "display/fontx2.h"
#include "platform/string_table.h"

extern char** environ;

namespace vintorel {

namespace {

// A generator that has not finished by then is stuck; the check goes on and
// finds the file missing or broken.
constexpr int generator_time_limit_ms = 120000;

bool file_exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

std::string resolve(const std::string& directory, const std::string& name) {
  if (!name.empty() && name[0] == '/') return name;
  return directory + name;
}

void fail(font_check& check, int string_id) {
  if (check.show_error) check.show_error(string_id);
}

long long now_ms() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<long long>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

// Makes sure the font `name` exists, running the generator with `kind` ("s" or
// "m") when it does not. False only when the generator could not be started.
bool ensure_font(font_check& check, const std::string& directory, const std::string& name, const char* kind) {
  std::string path = resolve(directory, name);
  if (file_exists(path)) return true;
  const std::string& generator = check.generator_directory.empty() ? directory : check.generator_directory;
  std::vector<std::string> argv{generator + "mkfontx2", kind, name, "WINDOWS"};
  if (check.run) return check.run(argv, directory);
  return run_and_wait(argv, directory, generator_time_limit_ms);
}

}  // namespace

bool run_and_wait(const std::vector<std::string>& argv, const std::string& directory, int time_limit_ms) {
  if (argv.empty()) return false;
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  if (posix_spawn_file_actions_init(&actions) != 0) return false;
  bool ok = true;
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 29))
  if (!directory.empty()) ok = posix_spawn_file_actions_addchdir_np(&actions, directory.c_str()) == 0;
#else
  (void)directory;
#endif
  // The child gets no terminal input of ours.
  if (ok) ok = posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0) == 0;
  pid_t pid = -1;
  if (ok) ok = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  if (!ok) return false;

  long long deadline = now_ms() + time_limit_ms;
  for (;;) {
    int status = 0;
    pid_t r = ::waitpid(pid, &status, WNOHANG);
    if (r == pid || (r < 0 && errno != EINTR)) return true;
    if (now_ms() >= deadline) {
      ::kill(pid, SIGKILL);
      while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
      return true;
    }
    ::usleep(10000);
  }
}

void fit_grid_to_screen(int screen_width, int screen_height, int cell_width, int cell_height, int& columns,
                        int& lines) {
  if (cell_width > 0 && static_cast<long long>(cell_width) * columns > screen_width) {
    columns = screen_width / cell_width;
    if (columns % 2) --columns;
  }
  if (cell_height > 0 && static_cast<long long>(cell_height) * lines > screen_height) {
    lines = screen_height / cell_height;
    if (lines % 2 == 0) --lines;
    if (lines < 7) lines = 7;
  }
}

bool check_fonts(font_check& check) {
  std::string directory = check.directory;
  if (!directory.empty() && directory.back() != '/') directory += '/';

  if (!ensure_font(check, directory, check.half_width_font, "s")) {
    fail(check, string_system_error);
    return false;
  }
  font_header half;
  // A font with an empty cell cannot be drawn (and would divide by zero below).
  if (!read_font_header(resolve(directory, check.half_width_font), half) || half.double_byte ||
      half.width == 0 || half.height == 0) {
    fail(check, string_font_problem);
    return false;
  }
  check.cell_width = half.width;
  check.cell_height = half.height;

  if (!ensure_font(check, directory, check.full_width_font, "m")) {
    fail(check, string_system_error);
    return false;
  }
  font_header full;
  if (!read_font_header(resolve(directory, check.full_width_font), full) || !full.double_byte ||
      full.width != 2 * half.width || full.height != half.height) {
    fail(check, string_font_problem);
    return false;
  }
  fit_grid_to_screen(check.screen_width, check.screen_height, check.cell_width, check.cell_height, check.columns,
                     check.lines);
  return true;
}

}  // namespace vintorel

// Tests of the single-instance lock, the per-user directory and the requests
// on the instance socket.
#include "platform/instance.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>

#include "platform/fake_instance.h"
#include "scoped_env.h"

namespace vintorel {
namespace {

using instance_test::fake_instance;
using instance_test::scratch_directory;

mode_t mode_of(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0 ? st.st_mode : 0;
}

// A socket at the instance socket's path, bound (left behind) or connected.
int socket_at(const std::string& dir, bool connect) {
  int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::string path = dir + "vintorel.sock";
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  auto* a = reinterpret_cast<sockaddr*>(&address);
  return (connect ? ::connect(fd, a, sizeof address) : ::bind(fd, a, sizeof address)) == 0 ? fd : -1;
}

TEST(instance_directory, made_private_and_refused_when_not_a_directory_of_ours) {
  scratch_directory scratch;
  std::string dir = scratch.dir() + "run/";
  EXPECT_TRUE(prepare_instance_directory(dir));
  EXPECT_EQ(mode_of(dir.substr(0, dir.size() - 1)) & 0777, 0700u);
  std::string open_dir = scratch.dir() + "open";  // open to others: closed before use
  ::mkdir(open_dir.c_str(), 0777);
  ::chmod(open_dir.c_str(), 0777);
  EXPECT_TRUE(prepare_instance_directory(open_dir + "/"));
  EXPECT_EQ(mode_of(open_dir) & 0777, 0700u);
  // A link, even to a good directory, and a plain file are refused.
  ASSERT_EQ(::symlink(dir.c_str(), (scratch.dir() + "link").c_str()), 0);
  EXPECT_FALSE(prepare_instance_directory(scratch.dir() + "link/"));
  std::ofstream(scratch.dir() + "file") << "x";
  EXPECT_FALSE(prepare_instance_directory(scratch.dir() + "file/"));
  EXPECT_FALSE(prepare_instance_directory(""));
}

TEST(instance_directory, follows_xdg_runtime_dir_unless_the_socket_path_would_not_fit) {
  scratch_directory scratch;
  test_support::scoped_env runtime("XDG_RUNTIME_DIR", (scratch.dir() + "/").c_str());
  std::string dir;
  ASSERT_TRUE(instance_directory(dir));
  EXPECT_EQ(dir, scratch.dir() + "vintorel/");
  for (std::string bad : {scratch.dir() + std::string(120, 'x'), std::string("relative")}) {
    ::setenv("XDG_RUNTIME_DIR", bad.c_str(), 1);
    ASSERT_TRUE(instance_directory(dir));
    EXPECT_EQ(dir, "/tmp/vintorel-" + std::to_string(geteuid()) + "/");
  }
}

TEST(instance_lock, one_holder_at_a_time_and_free_again_when_the_holder_dies) {
  scratch_directory scratch;
  instance_lock first, second;
  EXPECT_FALSE(instance_running(scratch.dir()));
  ASSERT_EQ(first.acquire(scratch.dir()), instance_lock::state::acquired);
  EXPECT_EQ(second.acquire(scratch.dir()), instance_lock::state::held_elsewhere);
  EXPECT_FALSE(second.held());
  EXPECT_TRUE(instance_running(scratch.dir()));
  EXPECT_TRUE(instance_running(scratch.dir())) << "probing must not take the lock";
  first.release();
  EXPECT_FALSE(instance_running(scratch.dir()));
  EXPECT_EQ(second.acquire(scratch.dir()), instance_lock::state::acquired);
  second.release();

  // A process that holds the lock and is killed leaves it free.
  pid_t child = ::fork();
  if (child == 0) {
    instance_lock held;
    held.acquire(scratch.dir());
    ::pause();
    ::_exit(0);
  }
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!instance_running(scratch.dir()) && std::chrono::steady_clock::now() < deadline) ::usleep(1000);
  EXPECT_TRUE(instance_running(scratch.dir()));
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  EXPECT_FALSE(instance_running(scratch.dir()));

  std::string linked = scratch.dir() + "linked/";  // a lock file that is a link is refused
  ::mkdir(linked.c_str(), 0700);
  std::ofstream(linked + "target") << "";
  ASSERT_EQ(::symlink((linked + "target").c_str(), (linked + "vintorel.lock").c_str()), 0);
  instance_lock third;
  EXPECT_EQ(third.acquire(linked), instance_lock::state::failed);
}

TEST(instance_request, lines_round_trip_and_anything_else_is_refused) {
  for (instance_request r : {instance_request{request_kind::raise, false}, {request_kind::open_files, false},
                             {request_kind::open_files, true}, {request_kind::run_command, false},
                             {request_kind::list_texts, false}}) {
    instance_request back;
    ASSERT_EQ(take_request(format_request(r), back), 1) << format_request(r);
    EXPECT_EQ(back.kind, r.kind);
    EXPECT_EQ(back.read_only, r.read_only);
  }
  instance_request r;
  EXPECT_EQ(take_request("ope", r), 0) << "incomplete";
  for (std::string bad : {std::string("open 2\n"), std::string("raise \n"), std::string("RAISE\n"),
                          std::string(100, 'a'), std::string(70, ' ') + "\n", std::string("raise\0\n", 7)})
    EXPECT_EQ(take_request(bad, r), -1) << bad;
}

TEST(instance_socket, nobody_listening_and_nobody_answering) {
  scratch_directory scratch;
  EXPECT_EQ(send_request(scratch.dir(), {}, 500), request_outcome::not_listening);
  // A socket file left by an instance that died: nobody listens behind it.
  int fd = socket_at(scratch.dir(), false);
  ASSERT_GE(fd, 0);
  ::close(fd);
  EXPECT_EQ(send_request(scratch.dir(), {}, 500), request_outcome::not_listening);

  fake_instance silent(scratch.dir(), false);  // the next instance replaces it
  silent.never_answer = true;
  silent.start();
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(send_request(scratch.dir(), {}, 300), request_outcome::no_answer);
  auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(250));
  EXPECT_LT(waited, std::chrono::seconds(3));
}

TEST(instance_socket, a_server_drops_a_malformed_request_without_answering) {
  scratch_directory scratch;
  instance_server server;
  ASSERT_TRUE(server.listen(scratch.dir()));
  EXPECT_EQ(server.accept_connection(), -1) << "nothing waits";
  std::thread client([&] {
    int fd = socket_at(scratch.dir(), true);
    ASSERT_GE(fd, 0);
    ::send(fd, "format c:\n", 10, MSG_NOSIGNAL);
    char c;
    EXPECT_LE(::recv(fd, &c, 1, 0), 0);
    ::close(fd);
  });
  int connection = -1;
  for (int i = 0; i < 200 && connection < 0; ++i) {
    connection = server.accept_connection();
    if (connection < 0) ::usleep(5000);
  }
  ASSERT_GE(connection, 0);
  instance_request r;
  EXPECT_FALSE(read_request(connection, r, 1000));
  ::close(connection);
  client.join();
  server.close();
  EXPECT_EQ(mode_of(scratch.dir() + "vintorel.sock"), 0u) << "the socket file goes with the server";
}

}  // namespace
}  // namespace vintorel

// Tests of the single-instance lock and of the requests on the instance socket,
// where nothing may make either side wait for ever.
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
#include <thread>

#include "platform/fake_instance.h"

namespace vintorel {
namespace {

using instance_test::fake_instance;
using instance_test::scratch_directory;

// A client connected to the instance socket in `dir`, or -1.
int connect_to(const std::string& dir) {
  int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string path = dir + "vintorel.sock";
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 ? fd : -1;
}

TEST(instance_lock, one_holder_at_a_time_and_free_again_when_the_holder_dies) {
  scratch_directory scratch;
  instance_lock first, second;
  ASSERT_EQ(first.acquire(scratch.dir()), instance_lock::state::acquired);
  EXPECT_EQ(second.acquire(scratch.dir()), instance_lock::state::held_elsewhere);
  EXPECT_TRUE(instance_running(scratch.dir()));
  EXPECT_TRUE(instance_running(scratch.dir())) << "probing must not take the lock";
  first.release();
  EXPECT_FALSE(instance_running(scratch.dir()));

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
  EXPECT_EQ(second.acquire(linked), instance_lock::state::failed);
}

TEST(instance_request, a_line_round_trips_and_anything_else_is_refused) {
  instance_request r;
  ASSERT_EQ(take_request(format_request({request_kind::open_files, true}), r), 1);
  EXPECT_EQ(r.kind, request_kind::open_files);
  EXPECT_TRUE(r.read_only);
  for (request_kind kind : {request_kind::raise, request_kind::run_command, request_kind::list_texts,
                            request_kind::fail_for_test}) {
    ASSERT_EQ(take_request(format_request({kind, false}), r), 1);
    EXPECT_EQ(r.kind, kind);
  }
  EXPECT_EQ(take_request("ope", r), 0) << "incomplete";
  for (std::string bad : {std::string("open 2\n"), std::string("raise \n"), std::string("RAISE\n"),
                          std::string(100, 'a'), std::string(70, ' ') + "\n", std::string("raise\0\n", 7)})
    EXPECT_EQ(take_request(bad, r), -1) << bad;
}

TEST(instance_socket, nobody_listening_and_nobody_answering) {
  scratch_directory scratch;
  EXPECT_EQ(send_request(scratch.dir(), {}, 500), request_outcome::not_listening);
  fake_instance silent(scratch.dir(), false);
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
    int fd = connect_to(scratch.dir());
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
  EXPECT_NE(::access((scratch.dir() + "vintorel.sock").c_str(), F_OK), 0) << "the socket file goes with the server";
}

// Each display of the user has an instance of its own; the names of one
// display agree, and no name leaves the private directory.
TEST(instance_display, one_key_per_display_and_a_safe_file_name) {
  EXPECT_EQ(display_key(nullptr, ":0"), "x-0");
  EXPECT_EQ(display_key(nullptr, ":0.0"), "x-0");
  EXPECT_EQ(display_key("", "unix:0.1"), "x-0");
  EXPECT_EQ(display_key(nullptr, ":1"), "x-1");
  EXPECT_EQ(display_key(nullptr, "host:10.0"), "x-host-10");
  EXPECT_EQ(display_key(nullptr, "[::1]:2"), "x-___1_-2");
  // Wayland wins when both are set (XWayland sets DISPLAY as well).
  EXPECT_EQ(display_key("wayland-0", ":0"), "wayland-0");
  EXPECT_EQ(display_key("/run/user/1000/wayland-1", nullptr), "_run_user_1000_wayland-1");
  EXPECT_EQ(display_key("..", nullptr), "_..");
  // Made safe first, measured after: forty dots do not become a 41-byte name.
  EXPECT_LE(display_key(std::string(40, '.').c_str(), nullptr).size(), 40u);
  EXPECT_EQ(display_key(nullptr, nullptr), "");
  EXPECT_EQ(display_key("", ""), "");

  std::string long_a(60, 'a'), long_b = std::string(59, 'a') + "b";
  std::string key_a = display_key(long_a.c_str(), nullptr);
  EXPECT_EQ(key_a.size(), 18u);
  EXPECT_EQ(key_a.rfind("h-", 0), 0u);
  EXPECT_EQ(key_a, display_key(long_a.c_str(), nullptr));
  EXPECT_NE(key_a, display_key(long_b.c_str(), nullptr));

  EXPECT_EQ(instance_directory_for("/r/vintorel/", ""), "/r/vintorel/");
  EXPECT_EQ(instance_directory_for("/r/vintorel/", "x-1"), "/r/vintorel/x-1/");
}

TEST(instance_display, editors_on_two_displays_hold_their_own_locks) {
  scratch_directory scratch;
  std::string a = instance_directory_for(scratch.dir(), display_key(nullptr, ":1"));
  std::string b = instance_directory_for(scratch.dir(), display_key(nullptr, ":2.0"));
  ASSERT_EQ(::mkdir(a.c_str(), 0700), 0);
  ASSERT_EQ(::mkdir(b.c_str(), 0700), 0);
  instance_lock first, second, third;
  EXPECT_EQ(first.acquire(a), instance_lock::state::acquired);
  EXPECT_EQ(second.acquire(b), instance_lock::state::acquired);
  EXPECT_EQ(third.acquire(instance_directory_for(scratch.dir(), display_key(nullptr, ":1.0"))),
            instance_lock::state::held_elsewhere);
}

}  // namespace
}  // namespace vintorel

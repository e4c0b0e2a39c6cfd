// The main window answering a second instance, menu choices reaching the
// dispatcher, and a lost screen rebuilt on paint.
#include <QMainWindow>
#include <atomic>
#include <thread>

#include "app/response_file.h"
#include "display/painter.h"
#include "main_window_fixture.h"
#include "platform/fake_instance.h"

namespace vintorel {
namespace {

using window_test::main_window_test;

class instance_window_test : public main_window_test {
 protected:
  instance_test::scratch_directory runtime;

  // Sends a request from another thread, as a second instance would, and
  // keeps the window's events running until it is answered.
  request_outcome ask(const instance_request& request, std::string* payload = nullptr) {
    std::atomic<bool> done = false;
    request_outcome outcome = request_outcome::no_answer;
    std::thread client([&] {
      outcome = send_request(runtime.dir(), request, 5000, payload);
      done = true;
    });
    while (!done) QApplication::processEvents(QEventLoop::AllEvents, 10);
    client.join();
    return outcome;
  }
};

TEST_F(instance_window_test, files_are_open_when_the_hand_over_is_answered) {
  std::string a = files.write("a.txt", "a\r\n");
  std::string b = files.write("b.txt", "b\r\n");
  start();
  ASSERT_TRUE(w->listen_for_instances(runtime.dir()));
  w->frame()->showMinimized();
  settle();
  EXPECT_EQ(ask({request_kind::raise, false}), request_outcome::answered);
  EXPECT_FALSE(w->frame()->isMinimized()) << "raise restores a minimised window";
  ASSERT_TRUE(write_response_file(files.dir() + "vintorel.rsp", {b, a}));
  EXPECT_EQ(ask({request_kind::open_files, false}), request_outcome::answered);
  EXPECT_EQ(names(), (std::vector<std::string>{"console/scratch", b, a}));
  EXPECT_FALSE(response_file_exists(files.dir() + "vintorel.rsp"));
  std::string listing;
  EXPECT_EQ(ask({request_kind::list_texts, false}, &listing), request_outcome::answered);
  EXPECT_EQ(listing, "text 0 1 console/scratch\ntext 1 1 " + b + "\ntext 2 1 " + a + "\npane 0 2\ndirectory " +
                         files.dir() + "\n");
  // The socket goes with the window.
  w->destroy();
  EXPECT_EQ(send_request(runtime.dir(), {}, 500), request_outcome::not_listening);
}

TEST_F(instance_window_test, menu_choices_arrive_and_unknown_ids_do_nothing) {
  std::string a = files.write("a.txt", "abc\r\n");
  start(files_to_open({a}));
  w->commands.clear();
  w->menus().item(222)->trigger();
  EXPECT_EQ(w->commands, std::vector<int>{222});
  EXPECT_TRUE(w->display().layout.dual);
  for (int id : {200, 229, 230, 231, 256, 263, 302, 399, 400, 0, -5, 99999}) w->send_command(id);
  EXPECT_EQ(line(0), "abc\r\n");
  EXPECT_EQ(w->text_count(), 2);
  // Greyed commands are refused: nothing to pop from the stack.
  EXPECT_FALSE(w->menus().is_enabled(236));
}

TEST_F(main_window_test, a_lost_screen_is_rebuilt_and_drawn_again_on_paint) {
  auto backend = std::make_unique<memory_backend>();
  memory_backend* raw = backend.get();
  main_window_setup setup;
  setup.settings = &settings;
  setup.executable_directory = files.dir();
  setup.backend = std::move(backend);
  w = std::make_unique<window_test::recording_main_window>(std::move(setup));
  ASSERT_TRUE(w->create_main({0, 0}, 1));
  settle();
  QImage before = w->client()->grab().toImage();
  raw->lose_surfaces();
  int rebuilds = w->display().rebuilds;
  QImage after = w->client()->grab().toImage();
  EXPECT_EQ(w->display().rebuilds, rebuilds + 1);
  EXPECT_EQ(before, after) << "everything is drawn again after the rebuild";
}

}  // namespace
}  // namespace vintorel

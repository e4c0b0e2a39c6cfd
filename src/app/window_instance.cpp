// The running instance's side of the instance socket: a second instance's
// requests are carried out as commands and answered once they have run.
#include <QMainWindow>
#include <QSocketNotifier>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

#include "app/window_main.h"
#include "platform/instance.h"

namespace vintorel {

namespace {
// A connected second instance sends its request at once; one that does not is
// not waited for long, since the window does nothing else meanwhile.
constexpr int request_time_limit_ms = 1000;
constexpr int answer_time_limit_ms = 2000;

// Carries out one request of a connected second instance and answers it.
void answer_request(window_& w, int connection) {
  instance_request request;
  if (!read_request(connection, request, request_time_limit_ms)) return;
  std::string payload;
  switch (request.kind) {
    case request_kind::raise:
      if (QMainWindow* f = w.frame()) {
        if (f->isMinimized()) f->showNormal();
        f->raise();
        f->activateWindow();
      }
      break;
    case request_kind::open_files:
    case request_kind::run_command:
      // Answered before the files open or the command runs: the second
      // instance has done its part once they are handed over, however long
      // the loading takes and whatever box it shows. The response file is
      // read before this returns, so the next hand-over finds it gone.
      write_answer(connection, payload, answer_time_limit_ms);
      if (request.kind == request_kind::open_files)
        send(w, command_id::hand_over_files, request.read_only ? 1 : 0);
      else
        send(w, command_id::hand_over_command);
      return;
    case request_kind::list_texts:
      payload = w.work().describe();
      break;
    case request_kind::fail_for_test:
      // The way tests reach the last resort: an exception nobody catches.
      if (const char* faults = std::getenv("VINTOREL_TEST_FAULTS"); faults && *faults)
        throw std::logic_error("fault asked for by a test");
      break;
  }
  write_answer(connection, payload, answer_time_limit_ms);
}

}  // namespace

bool window_::listen_for_instances(std::unique_ptr<instance_server> server) {
  if (!frame() || !server || server->fd() < 0) return false;
  server_ = std::move(server);
  notifier_ = new QSocketNotifier(server_->fd(), QSocketNotifier::Read, frame());
  QObject::connect(notifier_, &QSocketNotifier::activated, frame(), [this] {
    while (server_) {
      int connection = server_->accept_connection();
      if (connection < 0) return;
      answer_request(*this, connection);
      ::close(connection);
    }
  });
  // Connections made while the window was being made wait in the socket's
  // queue; the notifier sees them as soon as the event loop runs.
  return true;
}

}  // namespace vintorel

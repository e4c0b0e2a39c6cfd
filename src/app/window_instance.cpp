// The running instance's side of the instance socket: a second instance's
// requests are carried out as commands and answered once they have run.
#include <QMainWindow>
#include <QSocketNotifier>
#include <unistd.h>

#include "app/window_main.h"
#include "platform/instance.h"

namespace vintorel {

namespace {
// A connected second instance sends its request at once; one that does not is
// not waited for long, since the window does nothing else meanwhile.
constexpr int request_time_limit_ms = 1000;
constexpr int answer_time_limit_ms = 2000;
}  // namespace

bool window_::listen_for_instances(const std::string& directory) {
  if (!frame()) return false;
  auto server = std::make_unique<instance_server>();
  if (!server->listen(directory)) return false;
  server_ = std::move(server);
  notifier_ = new QSocketNotifier(server_->fd(), QSocketNotifier::Read, frame());
  QObject::connect(notifier_, &QSocketNotifier::activated, frame(), [this] { accept_instance_requests(); });
  return true;
}

void window_::accept_instance_requests() {
  while (server_) {
    int connection = server_->accept_connection();
    if (connection < 0) return;
    instance_request request;
    if (!read_request(connection, request, request_time_limit_ms)) {
      ::close(connection);
      continue;
    }
    std::string payload;
    switch (request.kind) {
      case request_kind::raise:
        if (QMainWindow* f = frame()) {
          if (f->isMinimized()) f->showNormal();
          f->raise();
          f->activateWindow();
        }
        break;
      case request_kind::open_files:
        send_command(338, request.read_only ? 1 : 0);
        break;
      case request_kind::run_command:
        send_command(339);
        break;
      case request_kind::list_texts:
        payload = describe_texts();
        break;
    }
    write_answer(connection, payload, answer_time_limit_ms);
    ::close(connection);
  }
}

std::string window_::describe_texts() {
  std::string out;
  for (int i = 0; i < text_count(); ++i) {
    text_document& d = text_at(i);
    out += "text " + std::to_string(i) + " " + std::to_string(d.state) + " " + d.name + "\n";
  }
  for (int pane = 0; pane < (display_.layout.dual ? 2 : 1); ++pane)
    out += "pane " + std::to_string(pane) + " " + std::to_string(pane_text(pane)) + "\n";
  out += "directory " + command_directory_ + "\n";
  if (!last_command_.empty()) out += "command " + last_command_ + "\n";
  return out;
}

}  // namespace vintorel

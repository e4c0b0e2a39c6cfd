// Handlers of the tools: tag jump to the file and line the cursor line names,
// opening the web address under the cursor, and the drawing benchmark.
#include <QMainWindow>
#include <QProcess>
#include <sys/stat.h>

#include "app/dialog_benchmark.h"
#include "app/window_main.h"
#include "exec/tag_jump.h"
#include "exec/url_at.h"
#include "shell/command_handlers.h"
#include "text/motion.h"

namespace vintorel::handlers {

namespace {

// A directory or device with digits after it names no line to jump to.
bool is_regular_file(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

void jump_tag(window_& w, command_id, std::intptr_t) {
  text_document* d = w.work().current_text();
  byte_string line;
  // The stored line, not the edited buffer.
  if (!d || !d->fetch_line(d->current_line, line)) return;
  byte_string base = w.work().command_directory;
  std::size_t from = 0;
  tag_target target;
  while (find_tag(line, base, is_regular_file, from, target)) {
    // The text holding the tag steps down a line, ready for the next jump.
    send(w, command_id::forward_line);
    if (!w.open_text(w.work().text_count(), target.path, false)) continue;
    text_document* opened = w.work().current_text();
    if (!opened) return;
    std::int32_t index = target.line_number > 0 ? target.line_number - 1 : 0;
    // A line not indexed yet is waited for.
    if (opened->loading_percent >= 0 && index >= opened->line_count() - 1) {
      if (!w.wait_for_loading(opened)) return;
    }
    edit_context c = w.context();
    std::int32_t last = opened->line_count() - 1;
    vintorel::jump(*opened, c, index > last ? last : index);
    return;
  }
}

void open_url(window_& w, command_id, std::intptr_t) {
  text_document* d = w.work().current_text();
  if (!d || !d->current) return;
  byte_string address = address_at(d->current->text, static_cast<std::size_t>(d->position));
  if (address.empty()) return;
  w.before_dialog();
  // Straight to the desktop's opener as one argument: no shell ever reads
  // the address. A failure is not reported.
  QProcess::startDetached(QStringLiteral("xdg-open"), {QString::fromLatin1(address.data(), static_cast<qsizetype>(address.size()))});
}

void benchmark(window_& w, command_id, std::intptr_t) {
  text_document* d = w.work().current_text();
  if (!d || !w.work().is_console(*d)) send(w, command_id::open_console);
  w.before_dialog();
  dialog_benchmark box(w, shift_held_now);
  box.run_modal(w.frame());
}

}  // namespace vintorel::handlers

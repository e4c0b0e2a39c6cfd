// Texts shown before their file is wholly indexed: the timer that takes the
// workers' lines into them, the commands that may run meanwhile, the waits of
// the others (with the progress box and the held input), and the end of a
// load.
#include <QApplication>
#include <QEventLoop>
#include <QMainWindow>
#include <chrono>

#include "app/window_main.h"
#include "display/painter.h"
#include "files/index_loader.h"
#include "platform/string_table.h"
#include "toolkit/input_hold.h"
#include "toolkit/progress_box.h"

namespace vintorel {

namespace {

// How often the timer takes the workers' lines, and how long a command waits
// before the progress box appears.
constexpr int take_interval_ms = 50;
constexpr auto box_delay = std::chrono::milliseconds(250);

// Moves that stay on lines already indexed run at once; they are the keys a
// user presses while looking at the first screen.
bool is_move(command_id id) {
  switch (id) {
    case command_id::backward_char:
    case command_id::forward_char:
    case command_id::backward_word:
    case command_id::forward_word:
    case command_id::backward_page:
    case command_id::forward_page:
    case command_id::backward_head:
    case command_id::forward_tail:
    case command_id::backward_line:
    case command_id::forward_line:
    case command_id::backward_line_screen:
    case command_id::forward_line_screen:
    case command_id::backward_line_page:
    case command_id::forward_line_page:
    case command_id::backward_line_head:
      return true;
    default:
      return false;
  }
}

// Commands whose text parameter points at a string that lives only while the
// command is sent.
bool has_text_parameter(command_id id) { return id == command_id::insert_string || id == command_id::append_output; }

}  // namespace

window_::loading_text::loading_text(text_document* d, std::unique_ptr<index_loader> l)
    : document(d), loader(std::move(l)) {}
window_::loading_text::loading_text(loading_text&&) noexcept = default;
window_::loading_text& window_::loading_text::operator=(loading_text&&) noexcept = default;
window_::loading_text::~loading_text() = default;

void window_::watch_loading(text_document& document, std::unique_ptr<index_loader> loader) {
  loading_.emplace_back(&document, std::move(loader));
  if (!loading_timer_.started()) loading_timer_.start(*this, take_interval_ms);
}

void window_::stop_loading(text_document& document) {
  for (std::size_t i = 0; i < loading_.size(); ++i) {
    if (loading_[i].document != &document) continue;
    loading_.erase(loading_.begin() + static_cast<std::ptrdiff_t>(i));  // the loader stops its worker
    document.loading_percent = -1;
    break;
  }
  if (loading_.empty()) loading_timer_.stop();
}

void window_::on_timer(int) {
  for (std::size_t i = 0; i < loading_.size();) {
    loading_text& entry = loading_[i];
    bool ended = wait_for_index(*entry.loader, 0);
    // Lines that cannot be taken fail the load when it is ended.
    if (!take_indexed_lines(*entry.loader, *entry.document)) ended = true;
    // A load is ended only between commands: a command running (or waiting)
    // may hold the text.
    if (ended && !waiting_ && running_commands_ == 0) {
      complete_loading(i);
      continue;
    }
    draw_loading_status(*entry.document);
    ++i;
  }
}

void window_::draw_loading_status(text_document& document) {
  int index = work_.index_of(document);
  for (int pane = 0; pane < (work_.dual() ? 2 : 1); ++pane) {
    if (work_.pane_text(pane) == index) painter_.draw_status_line(pane_of(display_, pane), document);
  }
}

bool window_::complete_loading(std::size_t entry) {
  loading_text done = std::move(loading_[entry]);
  loading_.erase(loading_.begin() + static_cast<std::ptrdiff_t>(entry));
  if (loading_.empty()) loading_timer_.stop();
  text_document& document = *done.document;
  bool loaded = finish_text_load(*done.loader, document);
  done.loader.reset();
  if (!loaded) {
    // Found binary further on, changed while it was read, or unreadable: the
    // text goes, a binary file without a word as when it is opened.
    bool binary_file = document.file_charset == binary;
    close_text_of(document);
    if (!binary_file) ui_.error(string_caption_error, string_file_error);
    return false;
  }
  // The character set guessed from the first part may have changed, and the
  // last line is the real one now.
  if (work_.current_text() == &document) repaint_current();
  int index = work_.index_of(document);
  if (work_.dual() && work_.pane_text(work_.other_pane()) == index) repaint_other();
  rebuild_text_entries();
  refresh_menus();
  tell_about_loaded_text(document);
  return true;
}

void window_::close_text_of(text_document& document) {
  int index = work_.index_of(document);
  if (index <= 0) return;
  if (work_.current_text_index() != index) {
    if (work_.dual() && work_.pane_text(work_.other_pane()) == index) {
      work_.switch_pane();
    } else {
      show_text(index);
    }
  }
  close_text(close_mode::discard, false);
}

bool window_::runs_while_loading(command_id id) {
  // Switching texts and panes, the menus, and closing need no lines of the
  // file being indexed (closing stops its worker).
  if ((id >= command_id::first_text_entry && id <= command_id::last_text_entry) ||
      id == command_id::change_window || id == command_id::quit || id == command_id::close_file ||
      id == command_id::close_file_all || (id >= command_id::open_menu_file && id <= command_id::open_menu_help))
    return true;
  if (!is_move(id)) return false;
  text_document* d = work_.current_text();
  if (!d || d->loading_percent < 0) return true;
  // A move of at most a page from the lines shown stays two pages clear of
  // the stand-in last line.
  std::int64_t rows = display_.layout.pane_rows;
  std::int64_t lowest = std::max<std::int64_t>(d->current_line, d->top_line + rows);
  return lowest + 2 * rows + 2 < d->line_count() - 1;
}

bool window_::wait_for_loading(text_document* document) {
  bool all_loaded = true;
  for (;;) {
    std::size_t entry = 0;
    while (entry < loading_.size() && document && loading_[entry].document != document) ++entry;
    if (entry == loading_.size()) return all_loaded;
    text_document& waited = *loading_[entry].document;
    index_loader& loader = *loading_[entry].loader;
    bool cancelled = false;
    {
      waiting_ = true;
      input_hold hold(frame());
      progress_box box(frame(), string_caption_notice, string_loading);
      auto start = std::chrono::steady_clock::now();
      for (;;) {
        bool ended = wait_for_index(loader, 20);
        if (!take_indexed_lines(loader, waited) || ended) break;
        if (std::chrono::steady_clock::now() - start >= box_delay) {
          if (box.shown()) {
            box.set_percent(waited.loading_percent);
          } else {
            box.show(waited.loading_percent);
          }
        }
        draw_loading_status(waited);
        // Paints, the box's button and the timer; keys are held, commands
        // that arrive are deferred, and no load is ended meanwhile, so the
        // entries stay where they are.
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (box.cancelled()) {
          cancelled = true;
          hold.drop();
          break;
        }
      }
      waiting_ = false;
    }
    if (cancelled) {
      // What was typed or asked for the text being given up goes with it.
      deferred_.clear();
      stop_loading(waited);
      close_text_of(waited);
      all_loaded = false;
    } else if (!complete_loading(entry)) {
      all_loaded = false;
    }
  }
}

void window_::defer_command(int id, std::intptr_t parameter) {
  deferred_command command{id, parameter, false, {}};
  if (has_text_parameter(to_command_id(id)) && parameter != 0) {
    command.has_text = true;
    command.text = reinterpret_cast<const char*>(parameter);
  }
  deferred_.push_back(std::move(command));
}

void window_::run_deferred_commands() {
  while (!deferred_.empty() && !waiting_ && running_commands_ == 0) {
    deferred_command command = std::move(deferred_.front());
    deferred_.pop_front();
    on_command(command.id,
               command.has_text ? reinterpret_cast<std::intptr_t>(command.text.c_str()) : command.parameter);
  }
}

}  // namespace vintorel

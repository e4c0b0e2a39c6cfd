// `window_`, the main window: the Qt window with its menus, keyboard and
// drawing over the workspace that holds the open texts and the panes. Keys,
// menu choices and hand-overs arrive here and end in the command table's
// handlers (dispatch_*.cpp).
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <deque>
#include <set>
#include <string>
#include <vector>

#include "display/display_context.h"
#include "files/written_file.h"
#include "display/keyboard.h"
#include "display/painter_display.h"
#include "settings/main_settings.h"
#include "shell/command_id.h"
#include "shell/layout_file.h"
#include "shell/startup.h"
#include "shell/workspace.h"
#include "text/edit_context.h"
#include "toolkit/qt_user_interface.h"
#include "toolkit/timer.h"
#include "toolkit/window.h"

class QSocketNotifier;

namespace vintorel {

class window_menus;
class instance_server;
struct index_loader;

// What start-up hands the main window.
struct main_window_setup {
  settings_record* settings = nullptr;  // the process-wide record, already loaded
  std::string settings_directory;       // ends in "/": vintorel.ini, ext.ini, program.ini, layout.ini
  std::string manual_path;              // vintorel.txt; "" for the one in the settings directory
  std::string command_directory;        // where commands run first; "" for the settings directory
  std::string response_path;            // the hand-over response file
  start_request start;                  // the command line to process in on_create
  // The drawing back end (a memory back end of the display's format when null).
  std::unique_ptr<drawing_backend> backend;
};

class window_ : public window {
 public:
  explicit window_(main_window_setup setup);
  ~window_() override;

  // Creates the window with the grid's client size at the remembered position.
  bool create_main(const window_position& position, int show_command);

  // ---- window operations ----
  int on_create() override;
  void on_destroy() override;
  void on_close() override;
  void on_command(int id, std::intptr_t parameter) override;
  void on_move() override;
  bool on_paint() override;
  void on_key_down(int virtual_key) override;
  void on_key_up(int virtual_key) override;
  void on_char(unsigned char byte) override;
  void on_composition_start() override;
  void on_composition(unsigned change_flags) override;
  void on_composition_end() override;
  void on_drop_files(const dropped_files& drop) override;
  void on_timer(int timer_id) override;

  // ---- the texts and panes (window_texts.cpp) ----
  workspace& work() { return work_; }
  // Opens `path` as a new text at `index` of the list (or shows it when it is
  // open already) in the current pane.
  bool open_text(int index, const std::string& path, bool read_only, std::int32_t top_line = 0,
                 std::int32_t current_line = 0, std::int32_t left_column = 0,
                 std::int32_t desired_column = 0, charset charset_code = unknown_charset,
                 linefeed_kind linefeed_code = unknown_linefeed);
  // Appends an empty text with the name and shows it.
  bool new_text(const std::string& name);
  // Shows text `index` in the current pane (the text-switch command).
  void show_text(int index);
  // Back to one pane.
  void close_second_pane();
  // Closes the current text. False when cancelled or when saving failed.
  bool close_text(close_mode mode, bool keep_panes);
  // Closes every text but the console from the last; false when cancelled.
  bool close_all_texts();
  // Closes the current text (close_text's mode) and opens its file again at
  // the same list position, place, charset and line end.
  void close_and_reopen(close_mode mode);
  // Brings the menus' enabled states and radio marks up to the current text.
  void refresh_menus();
  // Rebuilds the text-switch submenu from the list.
  void rebuild_text_entries();

  // ---- texts whose file is still being indexed (window_loading.cpp) ----
  // True while some text's file is still being indexed by a worker.
  bool is_loading() const { return !loading_.empty(); }
  // Waits until `document` (every text, when null) is wholly indexed, taking
  // the worker's lines as they come; after a quarter of a second a progress
  // box offers Cancel, which closes the text. Keys typed meanwhile are carried
  // out afterwards, commands that arrive meanwhile run once the waiting one
  // has. False when a wait was cancelled or a load failed (that text is
  // closed then).
  bool wait_for_loading(text_document* document = nullptr);

  // ---- commands in the console (window_console.cpp) ----
  // Runs `command_line` in the command directory with its output into the
  // console, which the current pane shows first; returns when it has ended.
  // False, after telling the user, when it could not be started.
  bool execute_command(const byte_string& command_line);

  // ---- drawing (window_create.cpp) ----
  display_context& display() { return display_; }
  painter_display& painter() { return painter_; }
  void repaint_current();  // repaint the current pane and draw its cursor
  void repaint_other();    // repaint the pane that is not current (no cursor)
  void draw_bottom_line();
  void redraw_everything();
  // Paints what changed on the screen now, not when the event loop gets to it.
  void paint_now();
  // Draws (or erases) the cursor of the current pane.
  void draw_cursor(bool shown = true);
  // Shift_held cleared and the bottom line redrawn, before any box or menu.
  void before_dialog();

  // ---- what the handlers and tests reach ----
  window_menus& menus() { return *menus_; }
  bool has_menus() const { return menus_ != nullptr; }
  keyboard_state& keyboard() { return keys_; }
  user_interface& user() { return ui_; }
  const main_window_setup& setup() const { return setup_; }
  std::string ini_path(const char* name) const { return setup_.settings_directory + name; }
  std::string manual_path() const {
    return setup_.manual_path.empty() ? ini_path("vintorel.txt") : setup_.manual_path;
  }
  // An edit context for the current pane.
  edit_context context();
  window_position position() const { return position_; }

  // Answers second instances on `server`, which already listens (connections
  // made before this wait in its queue); false without a window.
  bool listen_for_instances(std::unique_ptr<instance_server> server);

 private:
  // Inserts a text into the list at `index` and shows it in the current pane.
  void add_text(int index, std::unique_ptr<text_document> document);
  bool save_text(text_document& document);
  // Notices about a text whose file is wholly indexed now (window_texts.cpp).
  void tell_about_loaded_text(text_document& document);
  // Loading (window_loading.cpp).
  void watch_loading(text_document& document, std::unique_ptr<index_loader> loader);
  void stop_loading(text_document& document);
  bool complete_loading(std::size_t entry);
  void close_text_of(text_document& document);
  bool runs_while_loading(command_id id);
  void draw_loading_status(text_document& document);
  void defer_command(int id, std::intptr_t parameter);
  void run_deferred_commands();

  main_window_setup setup_;
  std::unique_ptr<drawing_backend> backend_;
  display_context display_;
  painter_display painter_;
  qt_user_interface ui_;
  keyboard_state keys_;
  workspace work_;
  // Files whose lines hold characters the internal form lacks, told once each.
  std::set<std::string> lossy_files_told_;
  // While close_and_reopen saves: the saved file's index as its writer
  // recorded it, which the reopening takes instead of reading the file.
  bool keep_written_ = false;
  std::unique_ptr<written_file> written_;
  std::unique_ptr<window_menus> menus_;
  window_position position_;
  bool read_only_start_ = false;
  bool created_ = false;
  bool command_running_ = false;
  std::unique_ptr<instance_server> server_;
  QSocketNotifier* notifier_ = nullptr;
  // Texts shown before their file was wholly indexed, with their workers;
  // the timer takes the workers' lines into the texts.
  struct loading_text {
    text_document* document;
    std::unique_ptr<index_loader> loader;
    loading_text(text_document* d, std::unique_ptr<index_loader> l);
    loading_text(loading_text&&) noexcept;
    loading_text& operator=(loading_text&&) noexcept;
    ~loading_text();
  };
  std::vector<loading_text> loading_;
  timer loading_timer_;
  // Commands that arrived while another waited for a file, to run after it
  // in order (a text parameter copied).
  struct deferred_command {
    int id;
    std::intptr_t parameter;
    bool has_text;
    std::string text;
  };
  std::deque<deferred_command> deferred_;
  bool waiting_ = false;
  int running_commands_ = 0;
};

// Makes `directory` the command directory and runs `command_line` there
// (window_console.cpp).
void run_command_in(window_& w, const byte_string& directory, const byte_string& command_line);

// Commands the window sends or posts to itself.
inline void send(window_& w, command_id id, std::intptr_t parameter = 0) { w.send_command(to_int(id), parameter); }
inline void post(window_& w, command_id id) { w.post_command(to_int(id)); }

}  // namespace vintorel

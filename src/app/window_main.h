// `window_`, the main window: it owns the open texts and the panes that show
// them, the screen surfaces, the menus and the program-wide editing buffers;
// keys, menu choices and hand-overs arrive here and end in the dispatcher.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/layout_file.h"
#include "app/startup.h"
#include "display/display_context.h"
#include "display/keyboard.h"
#include "display/painter_display.h"
#include "settings/extension_style.h"
#include "settings/main_settings.h"
#include "text/deleted_chars.h"
#include "text/edit_context.h"
#include "text/search_strings.h"
#include "text/string_stack.h"
#include "text/text_document.h"
#include "toolkit/qt_user_interface.h"
#include "toolkit/window.h"

class QSocketNotifier;

namespace vintorel {

class window_menus;
class instance_server;

// What start-up hands the main window.
struct main_window_setup {
  settings_record* settings = nullptr;  // the process-wide record, already loaded
  std::string executable_directory;     // ends in "/": settings files, manual
  std::string response_path;            // the hand-over response file
  start_request start;                  // the command line to process in on_create
  // Runs a command line in the console with the given directory (the program
  // layer provides it); unset, a command is only remembered.
  std::function<void(const byte_string& directory, const byte_string& command)> run_command;
  // The drawing back end (a memory back end of the display's format when null).
  std::unique_ptr<drawing_backend> backend;
};

// The console text's name; it is entry 0 of the text list.
inline constexpr const char* console_name = "console/scratch";

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

  // ---- the texts and panes ----
  int text_count() const { return static_cast<int>(texts_.size()); }
  text_document& text_at(int index) { return *texts_[static_cast<std::size_t>(index)]; }
  // The index of the text a pane shows; -1 when it shows none.
  int pane_text(int pane) const { return pane_index_[pane == 1 ? 1 : 0]; }
  int current_pane_index() const { return display_.layout.current_pane; }
  int current_text_index() const { return pane_text(current_pane_index()); }
  // The text of the current pane; null when it shows none.
  text_document* current_text();
  bool is_console(const text_document& document) const;

  // Opens `path` as a new text at `index` of the list (or shows it when it is
  // open already) in the current pane.
  bool open_text(int index, const std::string& path, bool read_only, std::int32_t top_line = 0,
                 std::int32_t current_line = 0, std::int32_t left_column = 0,
                 std::int32_t desired_column = 0, int charset_code = 0, int linefeed_code = 0);
  // Appends an empty text with the name and shows it.
  bool new_text(const std::string& name);
  // Shows text `index` in the current pane (the text-switch command).
  void show_text(int index);
  // Back to one pane.
  void close_second_pane();
  // Closes the current text: mode 0 without saving, 1 saving, 2 asking when
  // modified. False when cancelled or when saving failed.
  bool close_text(int mode, bool keep_panes);
  // Closes every text but the console from the last; false when cancelled.
  bool close_all_texts();

  // Brings the menus' enabled states and radio marks up to the current text.
  void refresh_menus();
  // Rebuilds the text-switch submenu from the list.
  void rebuild_text_entries();

  // ---- drawing ----
  display_context& display() { return display_; }
  void repaint_current();      // repaint the current pane and draw its cursor
  void repaint_other();        // repaint the pane that is not current (no cursor)
  void draw_bottom_line();
  void redraw_everything();

  // ---- state read by tests and the dispatcher ----
  window_menus& menus() { return *menus_; }
  keyboard_state& keyboard() { return keys_; }
  bool overwrite_mode() const { return overwrite_; }
  const byte_string& command_directory() const { return command_directory_; }
  const byte_string& last_command() const { return last_command_; }
  window_position position() const { return position_; }
  const settings_record& settings() const { return *setup_.settings; }
  deleted_char_buffer& deleted_chars() { return deleted_; }
  string_stack& strings() { return stack_; }
  search_strings& searches() { return search_; }
  user_interface& user() { return ui_; }
  // An edit context for the current pane.
  edit_context context();

  // ---- the instance socket ----
  // Listens for second instances in `directory`; false when that fails.
  bool listen_for_instances(const std::string& directory);
  // "index mark name" per text, the panes and the command directory.
  std::string describe_texts();

 private:
  // dispatch: by area
  void dispatch_application(int id);
  void dispatch_files(int id);
  void dispatch_layout(int id);
  void dispatch_editing(int id, std::intptr_t parameter);
  void dispatch_menu_items(int id);
  void dispatch_strings(int id);
  void reload_file();
  void duplicate_file();
  void save_file();
  void input_search_replace();
  void jump_dialog();
  void compare_panes();
  // Repaints the pane that is not current, switching there and back.
  void repaint_other_pane();
  void open_file_command(bool read_only);
  void hand_over_files(bool read_only);
  void hand_over_command();
  void open_dual_window();
  void change_window();
  void open_console();
  void popup_menu(int which);
  // Shift_held cleared and the bottom line redrawn, before any box or menu.
  void before_dialog();

  // texts
  void discard_texts();
  void load_pane_style(int pane);
  void show_in_current_pane(int index);
  // Inserts a text into the list at `index` and shows it in the current pane.
  void add_text(int index, std::unique_ptr<text_document> document);
  // Closes the current text (close_text's mode) and opens its file again at
  // the same list position, place, charset and line end.
  void close_and_reopen(int mode);
  void fit_top_line(text_document& document);
  void text_modified(text_document& document);
  static void on_text_modified(text_document& document);
  void draw_current_cursor();
  void erase_current_cursor();
  bool save_text(text_document& document);

  // keyboard
  void apply_key_action(const key_action& action);
  void insert_bytes(const byte_string& bytes);

  // instance socket
  void accept_instance_requests();
  std::string ini_path(const char* name) const { return setup_.executable_directory + name; }

  main_window_setup setup_;
  std::unique_ptr<drawing_backend> backend_;
  display_context display_;
  painter_display painter_;
  qt_user_interface ui_;
  keyboard_state keys_;
  std::vector<std::unique_ptr<text_document>> texts_;
  std::array<int, 2> pane_index_{{-1, -1}};
  std::array<pane_style, 2> pane_styles_;
  deleted_char_buffer deleted_;
  string_stack stack_;
  search_strings search_;
  bool overwrite_ = false;
  byte_string command_directory_;
  byte_string last_command_;
  // Files whose lines hold characters the internal form lacks, told once each.
  std::set<std::string> lossy_files_told_;
  std::unique_ptr<window_menus> menus_;
  window_position position_;
  bool read_only_start_ = false;
  bool created_ = false;
  std::unique_ptr<instance_server> server_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace vintorel

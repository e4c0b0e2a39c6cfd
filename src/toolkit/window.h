// `window`: a top-level window (a frame with a menu bar and a client area)
// whose Qt events arrive as the virtual on_... operations: keys as
// virtual-key numbers, typed characters as Shift_JIS bytes, input-method
// events as composition start, change and end.
#pragma once
#include <QRect>
#include <QSize>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/byte_string.h"
#include "toolkit/composition.h"
#include "toolkit/control.h"

class QMainWindow;
class QMenuBar;

namespace vintorel {

// Files dropped on a window, as the file system names them.
struct dropped_files {
  std::vector<byte_string> paths;
};

// Show commands of create().
constexpr int show_hidden = 0;
constexpr int show_normal = 1;
constexpr int show_minimized = 2;
constexpr int show_maximized = 3;

// on_size types.
constexpr int size_restored = 0;
constexpr int size_minimized = 1;
constexpr int size_maximized = 2;

class window : public overlap {
 public:
  ~window() override;

  // Creates the frame with a client area of the given size, whose top-left
  // corner goes to (client_x, client_y) on the screen (moved so that the frame
  // does not start left of or above 0); a fixed size when `fixed_size`. Runs
  // on_create before the window is shown; when that returns -1 the window is
  // destroyed again (without on_destroy) and the result is false. Show
  // commands 0 hidden, 2, 6, 7 minimised, 3 maximised, others normal.
  bool create(std::string_view title_sjis, int client_x, int client_y, int client_width,
              int client_height, int show_command = show_normal, bool fixed_size = true);
  // Runs on_destroy, removes the window and ends the event loop (when one runs).
  void destroy() override;

  QMainWindow* frame() const;
  // The widget that takes the keyboard, the input method and the painting.
  QWidget* client() const;
  // The frame's menu bar (created on first use).
  QMenuBar* menu_bar() const;

  // Command messages: posted ones run after the current event; sent ones run
  // before send_command returns, also when sent from another thread (that
  // thread waits). Nothing happens once the window is gone.
  void post_command(int id, std::intptr_t parameter = 0);
  void send_command(int id, std::intptr_t parameter = 0);
  // Runs the commands posted so far now, so that a command sent next does not
  // overtake them (a key's command posted, the next key's text sent).
  void run_posted_commands();

  // The input-method context: what on_composition... read.
  composition_context& composition() { return composition_; }
  // The input method's cursor rectangle, in client coordinates.
  void set_input_rectangle(const QRect& rectangle) { composition_.set_cursor_rectangle(rectangle); }

  // Valid during on_paint: the part of the client area to paint.
  QRect paint_rectangle() const { return paint_rectangle_; }

  // ---- operations, in their order ----
  virtual int on_create() { return 0; }  // -1 makes create() fail
  virtual void on_destroy() {}
  virtual void on_close() { destroy(); }
  virtual void on_command(int id, std::intptr_t parameter) { (void)id, (void)parameter; }
  virtual void on_move() {}
  virtual bool on_moving(QRect& rectangle) {  // no Qt event reaches it
    (void)rectangle;
    return false;
  }
  virtual void on_size(int type) { (void)type; }
  virtual void on_min_max_info(QSize& minimum, QSize& maximum) {  // no Qt event reaches it
    (void)minimum, (void)maximum;
  }
  virtual void on_display_change() {}
  virtual void on_activate(bool active, bool minimized) { (void)active, (void)minimized; }
  virtual void on_activate_app(bool active) { (void)active; }
  virtual void on_enable() {}
  // Paints the client area; false leaves it to Qt's default painting.
  virtual bool on_paint() { return false; }
  virtual void on_left_button_down() {}
  virtual void on_right_button_down() {}
  virtual void on_nc_left_button_down() {}   // no Qt event reaches it
  virtual void on_nc_right_button_down() {}  // no Qt event reaches it
  virtual bool on_measure_item(int& item_height) {
    (void)item_height;
    return false;
  }
  virtual void on_key_down(int virtual_key) { (void)virtual_key; }
  virtual void on_key_up(int virtual_key) { (void)virtual_key; }
  virtual void on_char(unsigned char byte) { (void)byte; }
  virtual void on_composition_start() {}
  virtual void on_composition(unsigned change_flags) { (void)change_flags; }
  virtual void on_composition_end() {}
  virtual void on_timer(int timer_id) { (void)timer_id; }
  virtual void on_drop_files(const dropped_files& drop) { (void)drop; }
  virtual bool on_tray_left_click() { return false; }  // no tray icon here
  virtual void on_tray_right_click() {}
  virtual bool on_balloon_click() { return false; }
  virtual bool on_query_end_session() { return true; }
  virtual void on_app_message() {}
  virtual void on_menu_select(std::string_view text_sjis) { (void)text_sjis; }

  void deliver_timer(int timer_id) override { on_timer(timer_id); }

  // ---- for the frame and client widgets ----
  void handle_key(QKeyEvent& event);
  void handle_input_method(QInputMethodEvent& event);
  void handle_paint(const QRect& rectangle);
  // Hands committed text (Shift_JIS) to the window as an input-method result:
  // composition start (unless composing), change 0x800, end.
  void commit_text(const byte_string& text);

 protected:
  QWidget* client_widget() const override;

 private:
  QPointer<QWidget> client_;
  composition_context composition_;
  bool composing_ = false;
  QRect paint_rectangle_;
};

}  // namespace vintorel

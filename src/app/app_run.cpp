// Start-up of the editor: the process environment, the single instance and
// the hand-over, the files made on first start, the settings and fonts, the
// main window and its event loop.
#include "app/app_run.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QLocale>
#include <QScreen>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "shell/command_line.h"
#include "shell/handover.h"
#include "shell/key_bindings.h"
#include "shell/last_resort.h"
#include "shell/layout_file.h"
#include "shell/response_file.h"
#include "shell/startup.h"
#include "app/program_icon.h"
#include "app/second_start.h"
#include "app/window_main.h"
#include "display/font_setup.h"
#include "platform/instance.h"
#include "platform/scripted_user_interface.h"
#include "settings/main_settings.h"
#include "toolkit/message_box.h"
#include "toolkit/qt_translations.h"
#include "platform/string_table.h"

namespace vintorel {

namespace {

// With VINTOREL_UNATTENDED set (automatic tests of the whole program), every
// box is answered as Cancel and written to standard error instead of shown.
class unattended_user : public scripted_user_interface {
 public:
  void notice(int caption, int text) override { say("notice", caption, text); }
  bool confirm(int caption, int text) override { return say("confirm", caption, text), false; }
  choice choose(int caption, int text) override { return say("choose", caption, text), choice::cancel; }
  void error(int caption, int text) override { say("error", caption, text); }
  bool choose_file(bool save, byte_string& path) override {
    std::fprintf(stderr, "vintorel: %s file dialog cancelled\n", save ? "save" : "open");
    (void)path;
    return false;
  }

 private:
  void say(const char* kind, int caption, int text) {
    std::fprintf(stderr, "vintorel: %s %d %d\n", kind, caption, text);
    std::fflush(stderr);
  }
};

void system_error(int id) { error(nullptr, string_caption_error, id); }

}  // namespace

int run_application(int argc, char** argv) {
  QApplication application(argc, argv);
  // The main window ends the event loop itself when it is destroyed.
  QApplication::setQuitOnLastWindowClosed(false);
  // The file dialog and the standard buttons in the user's language; Qt's
  // English when its translations are not installed.
  install_qt_translations(QLocale());
  // The launcher (vintorel.desktop) and the window belong together on Wayland.
  QGuiApplication::setDesktopFileName(QStringLiteral("vintorel"));
  QIcon icon = program_icon();
  QApplication::setWindowIcon(icon);
  register_icon("icon_main", icon);
  unattended_user unattended;
  const char* unattended_flag = std::getenv("VINTOREL_UNATTENDED");
  if (unattended_flag && *unattended_flag) set_box_responder(&unattended);

  start_environment environment;
  if (!prepare_process(environment)) {
    system_error(string_system_error);
    return 0;
  }
  std::string command_line = join_arguments(argc, argv);
  bool ctrl_held = QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier);
  start_request start = read_start_request(command_line, ctrl_held, environment.start_directory);

  std::string directory;
  instance_lock lock;
  instance_lock::state lock_state =
      instance_directory(directory) ? lock.acquire(directory) : instance_lock::state::failed;
  if (lock_state == instance_lock::state::failed) {
    system_error(string_system_error);
    return 0;
  }
  std::string response_path = environment.temporary_directory + "vintorel.rsp";
  // Started alone: the running editor did not answer and the user chose not
  // to wait. Such an editor holds no lock, takes no hand-over and leaves the
  // response file to the running one.
  bool alone = false;
  if (lock_state == instance_lock::state::held_elsewhere) {
    handover_input in;
    in.instance_directory = directory;
    in.response_path = response_path;
    in.command_line_empty = start.empty;
    in.items = start.items;
    in.read_only = start.read_only;
    handover_limits limits;
    // VINTOREL_WAIT_MS shortens (or lengthens) every wait of the hand-over.
    if (const char* wait = std::getenv("VINTOREL_WAIT_MS")) {
      int ms = std::atoi(wait);
      if (ms > 0) limits.find_window_ms = limits.response_file_ms = limits.answer_ms = ms;
    }
    handover_result result = hand_over_with_notice(in, limits);
    if (result != handover_result::cancelled) {
      if (int message = handover_message(result)) system_error(message);
      return 0;
    }
    alone = true;
  }

  // Second starts connect from now on; their requests wait in the socket's
  // queue until the window answers them, however long the start-up takes.
  std::unique_ptr<instance_server> server;
  if (!alone) {
    if (response_file_exists(response_path)) delete_response_file(response_path);
    server = std::make_unique<instance_server>();
    if (!server->listen(directory)) std::fprintf(stderr, "vintorel: other instances cannot reach this one\n");
  }
  const program_places& places = environment.places;
  const std::string& exe = places.settings_directory;
  if (!ensure_start_files(exe)) {
    lock.release();
    system_error(string_file_error);
    return 0;
  }
  window_position position = read_window_position(exe + "layout.ini");
  settings_record& settings = global_settings();
  // The font check fits the grid to this screen; its errors are ownerless boxes.
  font_environment fonts;
  fonts.directory = places.font_directory;
  fonts.generator_directory = places.executable_directory;
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect area = screen->availableGeometry();
    fonts.screen_width = area.width();
    fonts.screen_height = area.height();
  }
  fonts.show_error = [](int id) { error(nullptr, string_caption_error, id); };
  install_font_check(std::move(fonts));
  if (!load_display_settings(settings, exe + "vintorel.ini")) {
    lock.release();
    return 0;
  }
  load_runtime_group(settings, key_binding_table, exe + "vintorel.ini");

  main_window_setup setup;
  setup.settings = &settings;
  setup.settings_directory = places.settings_directory;
  setup.manual_path = places.manual_path;
  // An installed editor runs commands where it was started (the home folder
  // when started from a launcher), not in the program's folder.
  if (!places.beside_executable) setup.command_directory = environment.start_directory;
  setup.response_path = response_path;
  setup.start = start;
  window_ main_window(std::move(setup));
  if (!main_window.create_main(position, show_normal)) {
    lock.release();
    system_error(string_system_error);
    return 0;
  }
  if (server) main_window.listen_for_instances(std::move(server));
  // An exception out of the event loop, or a terminate from anywhere, ends the
  // process; the modified texts are rescued first and the user is told where.
  install_last_resort(&main_window.work());
  int result = 1;
  try {
    result = application.exec();
  } catch (const std::exception&) {
    std::vector<std::string> lines = rescue_modified_texts(main_window.work());
    byte_string detail;
    for (const std::string& line : lines) detail += line + "\n";
    error_with_path(nullptr, string_caption_error, string_system_error, detail);
  }
  install_last_resort(nullptr);
  lock.release();
  return result;
}

}  // namespace vintorel

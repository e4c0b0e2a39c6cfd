// A real main window on the offscreen platform: generated fonts, a private
// directory and scripted answers.
#pragma once
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shell/key_bindings.h"
#include "app/window_main.h"
#include "app/window_menus.h"
#include "platform/scripted_user_interface.h"
#include "scratch_dir.h"
#include "toolkit/message_box.h"

namespace vintorel::window_test {

// The two fonts, generated once for the whole test program and removed at exit.
inline const std::string& font_directory() {
  static const std::string* dir = new std::string([] {
    std::string pattern = "/tmp/vintorel-fonts-XXXXXX";
    if (!mkdtemp(pattern.data())) return std::string();
    std::string d = pattern + "/";
    std::string tool = std::string(VINTOREL_BINARY_DIR) + "/mkfontx2";
    std::string command = "cd '" + d + "' && '" + tool + "' s half.fnt WINDOWS && '" + tool + "' m full.fnt WINDOWS";
    if (std::system(command.c_str()) != 0) return std::string();
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(*dir, ignored);
    });
    return d;
  }());
  return *dir;
}

class main_window_test : public ::testing::Test {
 protected:
  test_support::scratch_dir files;
  settings_record settings;
  scripted_user_interface answers;
  std::unique_ptr<scoped_box_responder> responder;
  std::unique_ptr<window_> w;

  void SetUp() override {
    ASSERT_FALSE(font_directory().empty()) << "the font generator did not run";
    settings.font_file = font_directory() + "half.fnt";
    settings.font_file_mb = font_directory() + "full.fnt";
    settings.font_width = 8;
    settings.font_height = 16;
    load_key_bindings(key_binding_table, files.path("none.ini"));
    responder = std::make_unique<scoped_box_responder>(answers);
  }
  void TearDown() override {
    if (w && w->frame()) w->destroy();  // closing would ask about modified texts
    w.reset();
    QApplication::processEvents();
    responder.reset();
  }

  // Creates the window for a command line and runs the posted commands.
  void start(const start_request& request = {}) {
    main_window_setup setup;
    setup.settings = &settings;
    setup.settings_directory = files.dir();
    setup.response_path = files.path("vintorel.rsp");
    setup.start = request;
    w = std::make_unique<window_>(std::move(setup));
    ASSERT_TRUE(w->create_main({40, 30}, 1));
    settle();
  }
  void settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
  }
  void command(int id) {
    w->send_command(id);
    settle();
  }
  bool was_asked(const std::string& what) {
    return std::find(answers.asked.begin(), answers.asked.end(), what) != answers.asked.end();
  }
  static start_request files_to_open(std::vector<std::string> paths, bool read_only = false) {
    start_request r;
    r.empty = false;
    r.read_only = read_only;
    r.items.files = std::move(paths);
    return r;
  }
  void type(const char* text) {
    for (const char* p = text; *p; ++p) {
      QTest::keyClicks(w->client(), QString(QChar(*p)));
      settle();
    }
  }

  text_document& current() { return *w->work().current_text(); }
  // Line `i` of `d` with its terminator, the line being edited as it stands.
  static byte_string line_of(text_document& d, int i) {
    if (i == d.current_line && d.current) return d.current->text;
    byte_string out;
    d.fetch_line(i, out);
    return out;
  }
  // Line `i` of the current text.
  byte_string line(int i) { return line_of(current(), i); }
  // Every line of the console.
  std::vector<byte_string> console_lines() {
    text_document& c = w->work().text_at(0);
    std::vector<byte_string> out;
    for (std::int32_t i = 0; i < c.line_count(); ++i) out.push_back(line_of(c, i));
    return out;
  }
  std::vector<std::string> names() {
    std::vector<std::string> out;
    for (int i = 0; i < w->work().text_count(); ++i) out.push_back(w->work().text_at(i).name);
    return out;
  }
};

}  // namespace vintorel::window_test

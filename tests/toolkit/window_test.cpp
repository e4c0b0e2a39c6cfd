// Tests of the top-level window: keys, typed bytes, the input method, drops,
// commands, life cycle and position.
#include <gtest/gtest.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QTest>
#include <QTextCharFormat>
#include <QUrl>
#include <atomic>
#include <cstdio>
#include <thread>

#include "toolkit/window.h"
#include "toolkit/key_mapping.h"
#include "toolkit/timer.h"

namespace vintorel {
namespace {

// A window that writes down every operation it receives, with the modifier
// state next to each key as the keyboard handler reads it.
class recording_window : public window {
 public:
  std::vector<std::string> log;
  // Result strings inserted, as the main window inserts them: the result
  // read in on_composition when a clause is still being composed, a lone
  // full-width space on 0x800, the rest at the end.
  std::vector<byte_string> inserted;
  int create_result = 0;

  int on_create() override {
    log.push_back("create");
    return create_result;
  }
  void on_destroy() override { log.push_back("destroy"); }
  void on_command(int id, std::intptr_t parameter) override {
    log.push_back("command " + std::to_string(id) + " " + std::to_string(parameter));
  }
  void on_key_down(int key) override {
    log.push_back("down " + std::to_string(key) + (shift_down() ? " shift" : "") + (ctrl_down() ? " ctrl" : ""));
  }
  void on_key_up(int key) override { log.push_back("up " + std::to_string(key)); }
  void on_char(unsigned char byte) override { log.push_back("char " + std::to_string(byte)); }
  void on_composition_start() override { log.push_back("start"); }
  void on_composition(unsigned flags) override {
    composition_context& c = composition();
    char f[16];
    std::snprintf(f, sizeof f, "0x%X", flags);
    log.push_back(std::string("composition ") + f + " [" + hex(c.composition_string()) + "] [" +
                  hex(c.composition_attributes()) + "] " + std::to_string(c.cursor_offset()) +
                  " result [" + hex(c.result_string()) + "]");
    if ((flags & composition_all_changed) && c.result_length() > 0) inserted.push_back(c.result_string());
    if ((flags & composition_result_ready) && c.result_string() == "\x81\x40") inserted.push_back(c.result_string());
  }
  void on_composition_end() override {
    composition_context& c = composition();
    log.push_back("end result [" + hex(c.result_string()) + "]");
    if (c.result_length() > 0 && c.result_string() != "\x81\x40") inserted.push_back(c.result_string());
  }
  void on_drop_files(const dropped_files& drop) override {
    std::string line = "drop";
    for (const auto& p : drop.paths) line += " " + p;
    log.push_back(line);
  }
  void on_timer(int id) override { log.push_back("timer " + std::to_string(id)); }
  void clear() { log.clear(); }

 private:
  static std::string hex(const byte_string& bytes) {
    std::string out;
    char buffer[5];
    for (unsigned char c : bytes) {
      std::snprintf(buffer, sizeof buffer, out.empty() ? "%02X" : " %02X", c);
      out += buffer;
    }
    return out;
  }
};

class window_test : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(w.create("test", 100, 80, 320, 200));
    w.clear();
  }
  // Presses a key with modifiers and returns what the window got for the key
  // itself (QTest presses the modifier keys first; they are left out).
  std::vector<std::string> press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    w.clear();
    QTest::keyPress(w.client(), static_cast<Qt::Key>(key), modifiers);
    std::vector<std::string> got;
    for (const std::string& entry : w.log) {
      if (entry.rfind("down 16", 0) != 0 && entry.rfind("down 17", 0) != 0 &&
          entry.rfind("down 18", 0) != 0) {
        got.push_back(entry);
      }
    }
    QTest::keyRelease(w.client(), static_cast<Qt::Key>(key), modifiers);
    w.clear();
    return got;
  }
  void send_text(int key, const QString& text, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(w.client(), &event);
  }
  void send_im(const QString& preedit, const QString& commit,
               QList<QInputMethodEvent::Attribute> attributes = {}) {
    QInputMethodEvent event(preedit, attributes);
    if (!commit.isNull()) event.setCommitString(commit);
    QApplication::sendEvent(w.client(), &event);
  }
  recording_window w;
};

TEST_F(window_test, named_keys_in_all_three_forms) {
  const std::pair<Qt::Key, int> keys[] = {
      {Qt::Key_Tab, 9},     {Qt::Key_Space, 32},    {Qt::Key_Backspace, 8},
      {Qt::Key_Return, 13}, {Qt::Key_Insert, 45},   {Qt::Key_Delete, 46},
      {Qt::Key_Home, 36},   {Qt::Key_End, 35},      {Qt::Key_PageUp, 33},
      {Qt::Key_PageDown, 34}, {Qt::Key_Up, 38},     {Qt::Key_Down, 40},
      {Qt::Key_Left, 37},   {Qt::Key_Right, 39},
  };
  for (auto [qt_key, vk] : keys) {
    for (auto [modifiers, suffix] : {std::pair{Qt::KeyboardModifiers(Qt::NoModifier), ""},
                                     std::pair{Qt::KeyboardModifiers(Qt::ShiftModifier), " shift"},
                                     std::pair{Qt::KeyboardModifiers(Qt::ControlModifier), " ctrl"}}) {
      std::vector<std::string> got = press(qt_key, modifiers);
      ASSERT_FALSE(got.empty()) << qt_key;
      EXPECT_EQ(got.front(), "down " + std::to_string(vk) + suffix) << qt_key;
    }
  }
  // The window keeps the focus: Tab and Shift+Tab are keys, not focus moves.
  EXPECT_TRUE(w.client()->hasFocus() || QApplication::focusWidget() == nullptr);
}

TEST_F(window_test, function_keys_with_shift_and_ctrl) {
  for (int i = 0; i < 12; ++i) {
    for (auto [modifiers, suffix] : {std::pair{Qt::KeyboardModifiers(Qt::NoModifier), ""},
                                     std::pair{Qt::KeyboardModifiers(Qt::ShiftModifier), " shift"},
                                     std::pair{Qt::KeyboardModifiers(Qt::ControlModifier), " ctrl"},
                                     std::pair{Qt::ControlModifier | Qt::ShiftModifier, " shift ctrl"}}) {
      EXPECT_EQ(press(Qt::Key_F1 + i, modifiers),
                (std::vector<std::string>{"down " + std::to_string(112 + i) + suffix}));
    }
  }
}

TEST_F(window_test, shift_tab_f10_and_alt_keys) {
  EXPECT_EQ(press(Qt::Key_Backtab, Qt::ShiftModifier), (std::vector<std::string>{"down 9 shift", "char 9"}));
  // F10 is a key even with a menu bar; other keys with Alt are left to the system.
  QMenu* menu = w.menu_bar()->addMenu("&File");
  menu->addAction("&Quit");
  EXPECT_EQ(press(Qt::Key_F10), (std::vector<std::string>{"down 121"}));
  EXPECT_EQ(press(Qt::Key_F10, Qt::AltModifier), (std::vector<std::string>{"down 121"}));
  EXPECT_EQ(w.menu_bar()->activeAction(), nullptr);
  EXPECT_FALSE(menu->isVisible());
  EXPECT_TRUE(press(Qt::Key_X, Qt::AltModifier).empty());
  EXPECT_TRUE(press(Qt::Key_Alt, Qt::AltModifier).empty());
}

TEST_F(window_test, typed_text_arrives_as_shift_jis_bytes_after_the_key) {
  QTest::keyPress(w.client(), Qt::Key_A, Qt::NoModifier);
  send_text(Qt::Key_A, "A", Qt::ShiftModifier);
  EXPECT_EQ(w.log, (std::vector<std::string>{"down 65", "char 97", "down 65 shift", "char 65"}));
  w.clear();
  // Half-width kana typed without the input method: one byte.
  send_text(0, QString::fromUtf8("ｱ"));
  EXPECT_EQ(w.log, (std::vector<std::string>{"char 177"}));
  w.clear();
  // Double-byte text in a key event arrives as an input-method result, once.
  send_text(0, QString::fromUtf8("あ"));
  EXPECT_EQ(w.log, (std::vector<std::string>{"start", "composition 0x800 [] [] 0 result [82 A0]",
                                             "end result [82 A0]"}));
  EXPECT_EQ(w.inserted, (std::vector<byte_string>{"\x82\xA0"}));
  w.clear();
  send_text(0, QString::fromUtf8("€"));  // no Shift_JIS form
  EXPECT_EQ(w.log, (std::vector<std::string>{"char 63"}));
}

TEST_F(window_test, control_keys_type_control_characters) {
  QTest::keyPress(w.client(), Qt::Key_Escape);
  QTest::keyPress(w.client(), Qt::Key_Return);
  QTest::keyPress(w.client(), Qt::Key_Delete);
  EXPECT_EQ(w.log, (std::vector<std::string>{"down 27", "char 27", "down 13", "char 13",
                                             "down 46"}));
  w.clear();
  // Whatever text the window system gives Ctrl+letters, the byte is the
  // control character, never the letter.
  send_text(Qt::Key_S, "s", Qt::ControlModifier);
  send_text(Qt::Key_S, "\x13", Qt::ControlModifier);
  send_text(Qt::Key_5, "5", Qt::ControlModifier);
  EXPECT_EQ(w.log, (std::vector<std::string>{"down 83 ctrl", "char 19", "down 83 ctrl", "char 19",
                                             "down 53 ctrl"}));
}

TEST_F(window_test, key_up_skips_the_releases_of_a_held_key) {
  QKeyEvent down(QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier);
  QApplication::sendEvent(w.client(), &down);
  EXPECT_TRUE(shift_down());
  QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_Shift, Qt::ShiftModifier, QString(), true);
  QApplication::sendEvent(w.client(), &repeat);
  QKeyEvent up(QEvent::KeyRelease, Qt::Key_Shift, Qt::ShiftModifier);
  QApplication::sendEvent(w.client(), &up);
  EXPECT_FALSE(shift_down());
  EXPECT_EQ(w.log, (std::vector<std::string>{"down 16 shift", "up 16"}));
}

TEST_F(window_test, composition_is_shown_and_its_commit_inserted_once) {
  QTextCharFormat target;
  target.setBackground(Qt::blue);
  send_im(QString::fromUtf8("かな"), QString(),
          {QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat, 0, 2, target),
           QInputMethodEvent::Attribute(QInputMethodEvent::Cursor, 2, 1)});
  send_im(QString(), QString::fromUtf8("仮名"));
  EXPECT_EQ(w.log, (std::vector<std::string>{
                       "start",
                       "composition 0x98 [82 A9 82 C8] [01 01 01 01] 4 result []",
                       "composition 0x800 [] [] 0 result [89 BC 96 BC]",
                       "end result [89 BC 96 BC]"}));
  EXPECT_EQ(w.inserted, (std::vector<byte_string>{"\x89\xBC\x96\xBC"}));
  // The next composition starts afresh.
  w.clear();
  send_im(QString::fromUtf8("a"), QString());
  EXPECT_EQ(w.log.front(), "start");
}

TEST_F(window_test, committed_full_width_space_is_inserted_once) {
  send_im(QString(), QString::fromUtf8("\u3000"));
  EXPECT_EQ(w.log, (std::vector<std::string>{"start", "composition 0x800 [] [] 0 result [81 40]",
                                             "end result [81 40]"}));
  EXPECT_EQ(w.inserted, (std::vector<byte_string>{"\x81\x40"}));
}

TEST_F(window_test, clause_committed_while_composing_goes_in_once) {
  send_im(QString::fromUtf8("あい"), QString());
  send_im(QString::fromUtf8("う"), QString::fromUtf8("愛"));
  send_im(QString(), QString::fromUtf8("宇"));
  EXPECT_EQ(w.inserted, (std::vector<byte_string>{"\x88\xA4", "\x89\x46"}));
  EXPECT_EQ(w.log.front(), "start");
  EXPECT_EQ(std::count(w.log.begin(), w.log.end(), "start"), 1);
}

TEST_F(window_test, cancelled_composition_ends_without_result) {
  send_im(QString::fromUtf8("か"), QString());
  send_im(QString(), QString());
  send_im(QString(), QString());  // nothing in progress: nothing happens
  ASSERT_EQ(w.log.size(), 3u);
  EXPECT_EQ(w.log[2], "end result []");
  EXPECT_TRUE(w.inserted.empty());
}

TEST_F(window_test, composition_cursor_and_attributes_count_bytes) {
  QTextCharFormat target;
  target.setBackground(Qt::blue);
  QTextCharFormat underline;
  underline.setFontUnderline(true);
  // "a" + kana + an emoji (no Shift_JIS form: "?") + "b", target clause = kana.
  QString preedit = QString::fromUtf8("aか😀b");
  composition_text c =
      convert_preedit(preedit, {QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat, 0, 1, underline),
                                QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat, 1, 1, target),
                                QInputMethodEvent::Attribute(QInputMethodEvent::Cursor, 3, 1)});
  EXPECT_EQ(c.text, "a\x82\xA9?b");
  EXPECT_EQ(c.attributes, byte_string("\x00\x01\x01\x00\x00", 5));
  EXPECT_EQ(c.cursor, 3);  // the cursor inside the surrogate pair goes to its start
  // No cursor attribute: at the end.
  EXPECT_EQ(convert_preedit(preedit, {}).cursor, 5);
}

TEST_F(window_test, input_method_is_enabled_and_placed_by_the_window) {
  EXPECT_TRUE(w.client()->testAttribute(Qt::WA_InputMethodEnabled));
  EXPECT_TRUE(w.client()->inputMethodQuery(Qt::ImEnabled).toBool());
  w.set_input_rectangle(QRect(16, 32, 8, 16));
  EXPECT_EQ(w.client()->inputMethodQuery(Qt::ImCursorRectangle).toRect(), QRect(16, 32, 8, 16));
  w.composition().set_candidate_position(40, 64);
  EXPECT_EQ(w.client()->inputMethodQuery(Qt::ImCursorRectangle).toRect().bottom(), 63);
}

TEST_F(window_test, dropped_files_arrive_with_the_ctrl_state) {
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile("/tmp/one.txt"), QUrl::fromLocalFile("/tmp/two.txt"),
                QUrl("http://example.com/")});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::ControlModifier);
  QApplication::sendEvent(w.frame(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::ControlModifier);
  QApplication::sendEvent(w.frame(), &drop);
  EXPECT_EQ(w.log, (std::vector<std::string>{"drop /tmp/one.txt /tmp/two.txt"}));
  EXPECT_TRUE(ctrl_down());
}

TEST_F(window_test, posted_commands_run_later_and_sent_ones_at_once) {
  w.post_command(217);
  w.send_command(281, 5);
  EXPECT_EQ(w.log, (std::vector<std::string>{"command 281 5"}));
  QApplication::processEvents();
  EXPECT_EQ(w.log, (std::vector<std::string>{"command 281 5", "command 217 0"}));
}

TEST_F(window_test, command_sent_from_another_thread_runs_on_this_one_before_the_sender_goes_on) {
  std::atomic<bool> returned = false;
  std::thread worker([&] {
    w.send_command(340, 7);
    returned = true;
  });
  while (!returned) QApplication::processEvents(QEventLoop::AllEvents, 10);
  worker.join();
  EXPECT_EQ(w.log, (std::vector<std::string>{"command 340 7"}));
}

TEST_F(window_test, close_destroys_by_default_and_destroy_runs_once) {
  QPointer<QWidget> frame = w.frame();
  frame->close();
  EXPECT_EQ(w.log, (std::vector<std::string>{"destroy"}));
  EXPECT_EQ(w.handle(), nullptr);
  w.destroy();
  w.post_command(1);
  QApplication::processEvents();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(w.log, (std::vector<std::string>{"destroy"}));
  EXPECT_TRUE(frame.isNull());
}

TEST(window_create, failing_on_create_leaves_no_window_and_negative_position_is_zero) {
  recording_window w;
  w.create_result = -1;
  EXPECT_FALSE(w.create("x", 0, 0, 100, 100));
  EXPECT_EQ(w.handle(), nullptr);
  EXPECT_EQ(w.log, (std::vector<std::string>{"create"}));
  // A negative position puts the frame at zero.
  recording_window v;
  ASSERT_TRUE(v.create("x", -40, -25, 100, 100));
  v.menu_bar()->addMenu("&File");
  EXPECT_EQ(v.frame()->pos(), QPoint(0, 0));
}

TEST_F(window_test, remembered_position_ignores_minimised_and_maximised_windows) {
  int x = -1, y = -1;
  w.remember_position(x, y, true);
  EXPECT_EQ(QPoint(x, y), QPoint(100, 80));
  EXPECT_EQ(w.client()->size(), QSize(320, 200));
  w.frame()->showMinimized();
  x = y = 7;
  w.remember_position(x, y, true);
  EXPECT_EQ(QPoint(x, y), QPoint(7, 7));
  w.frame()->showMaximized();
  w.remember_position(x, y, false);
  EXPECT_EQ(QPoint(x, y), QPoint(7, 7));
  w.frame()->showNormal();
  w.move_to(200, 150);
  w.remember_position(x, y, false);
  EXPECT_EQ(QPoint(x, y), QPoint(200, 150));
}

TEST_F(window_test, timer_ticks_reach_on_timer_with_counted_ids) {
  timer first, second;
  ASSERT_TRUE(first.start(w, 5));
  ASSERT_TRUE(second.start(w, 5));
  EXPECT_EQ(second.id(), first.id() + 1);
  QTest::qWait(40);
  first.stop();
  second.stop();
  auto count = [&](int id) { return std::count(w.log.begin(), w.log.end(), "timer " + std::to_string(id)); };
  EXPECT_GT(count(first.id()), 0);
  EXPECT_GT(count(second.id()), 0);
  w.clear();
  QTest::qWait(20);
  EXPECT_TRUE(w.log.empty());
  // No widget, no timer, and no id used up.
  recording_window none;
  timer t;
  EXPECT_FALSE(t.start(none, 5));
  ASSERT_TRUE(first.start(w, 5));
  EXPECT_EQ(first.id(), second.id() + 1);
}

}  // namespace
}  // namespace vintorel

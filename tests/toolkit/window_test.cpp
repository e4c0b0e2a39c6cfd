// Tests of the top-level window: function and control keys, typed bytes, the
// input method and commands sent from another thread.
#include <gtest/gtest.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QTest>
#include <QTextCharFormat>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>

#include "toolkit/key_mapping.h"
#include "toolkit/window.h"

namespace vintorel {
namespace {

std::string hex(const byte_string& bytes) {
  std::string out;
  char buffer[5];
  for (unsigned char c : bytes) {
    std::snprintf(buffer, sizeof buffer, out.empty() ? "%02X" : " %02X", c);
    out += buffer;
  }
  return out;
}

// A window that writes down every operation it receives, with the modifier
// state next to each key as the keyboard handler reads it.
class recording_window : public window {
 public:
  std::vector<std::string> log;
  // Result strings inserted, as the main window inserts them: the result
  // read in on_composition when a clause is still being composed, a lone
  // full-width space on 0x800, the rest at the end.
  std::vector<byte_string> inserted;

  void on_command(int id, std::intptr_t parameter) override {
    log.push_back("command " + std::to_string(id) + " " + std::to_string(parameter));
  }
  void on_key_down(int key) override {
    log.push_back("down " + std::to_string(key) + (shift_down() ? " shift" : "") + (ctrl_down() ? " ctrl" : ""));
  }
  void on_char(unsigned char byte) override { log.push_back("char " + std::to_string(byte)); }
  void on_composition_start() override { log.push_back("start"); }
  void on_composition(unsigned flags) override {
    composition_context& c = composition();
    char f[16];
    std::snprintf(f, sizeof f, "0x%X", flags);
    log.push_back(std::string("composition ") + f + " [" + hex(c.composition_string()) + "] [" +
                  hex(c.composition_attributes()) + "] " + std::to_string(c.cursor_offset()) + " result [" +
                  hex(c.result_string()) + "]");
    if ((flags & composition_all_changed) && c.result_length() > 0) inserted.push_back(c.result_string());
    if ((flags & composition_result_ready) && c.result_string() == "\x81\x40") inserted.push_back(c.result_string());
  }
  void on_composition_end() override {
    composition_context& c = composition();
    log.push_back("end result [" + hex(c.result_string()) + "]");
    if (c.result_length() > 0 && c.result_string() != "\x81\x40") inserted.push_back(c.result_string());
  }
};

class window_test : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(w.create("test", 100, 80, 320, 200)); }
  void send_text(int key, const QString& text, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(w.client(), &event);
  }
  void send_im(const QString& preedit, const QString& commit, QList<QInputMethodEvent::Attribute> attributes = {}) {
    QInputMethodEvent event(preedit, attributes);
    if (!commit.isNull()) event.setCommitString(commit);
    QApplication::sendEvent(w.client(), &event);
  }
  recording_window w;
};

TEST_F(window_test, function_keys_with_shift_and_ctrl) {
  for (int i = 0; i < 12; ++i) {
    for (auto [modifiers, suffix] : {std::pair{Qt::KeyboardModifiers(Qt::NoModifier), ""},
                                     std::pair{Qt::KeyboardModifiers(Qt::ShiftModifier), " shift"},
                                     std::pair{Qt::KeyboardModifiers(Qt::ControlModifier), " ctrl"},
                                     std::pair{Qt::ControlModifier | Qt::ShiftModifier, " shift ctrl"}}) {
      w.log.clear();
      send_text(Qt::Key_F1 + i, QString(), modifiers);
      EXPECT_EQ(w.log, (std::vector<std::string>{"down " + std::to_string(112 + i) + suffix}));
    }
  }
}

TEST_F(window_test, typed_text_arrives_as_shift_jis_bytes_after_the_key) {
  send_text(Qt::Key_A, "A", Qt::ShiftModifier);
  send_text(0, QString::fromUtf8("ｱ"));  // half-width kana without the input method: one byte
  send_text(0, QString::fromUtf8("€"));  // no Shift_JIS form
  // Whatever text the window system gives Ctrl+letters, the byte is the
  // control character, never the letter.
  send_text(Qt::Key_S, "s", Qt::ControlModifier);
  send_text(Qt::Key_5, "5", Qt::ControlModifier);
  EXPECT_EQ(w.log, (std::vector<std::string>{"down 65 shift", "char 65", "char 177", "char 63", "down 83 ctrl",
                                             "char 19", "down 53 ctrl"}));
  w.log.clear();
  // Double-byte text in a key event arrives as an input-method result, once.
  send_text(0, QString::fromUtf8("あ"));
  EXPECT_EQ(w.log, (std::vector<std::string>{"start", "composition 0x800 [] [] 0 result [82 A0]",
                                             "end result [82 A0]"}));
  EXPECT_EQ(w.inserted, (std::vector<byte_string>{"\x82\xA0"}));
}

TEST_F(window_test, composition_is_shown_and_its_commit_inserted_once) {
  QTextCharFormat target;
  target.setBackground(Qt::blue);
  send_im(QString::fromUtf8("かな"), QString(),
          {QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat, 0, 2, target),
           QInputMethodEvent::Attribute(QInputMethodEvent::Cursor, 2, 1)});
  send_im(QString(), QString::fromUtf8("仮名"));
  EXPECT_EQ(w.log, (std::vector<std::string>{"start", "composition 0x98 [82 A9 82 C8] [01 01 01 01] 4 result []",
                                             "composition 0x800 [] [] 0 result [89 BC 96 BC]",
                                             "end result [89 BC 96 BC]"}));
  EXPECT_EQ(w.inserted, (std::vector<byte_string>{"\x89\xBC\x96\xBC"}));
  // The next composition starts afresh.
  w.log.clear();
  send_im(QString::fromUtf8("a"), QString());
  EXPECT_EQ(w.log.front(), "start");
}

TEST(window_composition, commits_go_in_once_and_a_cancel_inserts_nothing) {
  struct row {
    std::vector<std::pair<const char*, const char*>> events;  // preedit, commit (nullptr: none)
    std::vector<byte_string> inserted;
    const char* last_log;
  };
  const std::vector<row> rows = {
      {{{"", "\u3000"}}, {"\x81\x40"}, "end result [81 40]"},  // a full-width space, committed at once
      {{{"あい", nullptr}, {"う", "愛"}, {"", "宇"}}, {"\x88\xA4", "\x89\x46"}, "end result [89 46]"},
      {{{"か", nullptr}, {"", ""}, {"", ""}}, {}, "end result []"},  // the second cancel finds nothing
  };
  for (std::size_t i = 0; i < rows.size(); ++i) {
    recording_window w;
    ASSERT_TRUE(w.create("test", 0, 0, 320, 200));
    for (auto [preedit, commit] : rows[i].events) {
      QInputMethodEvent event(QString::fromUtf8(preedit), {});
      if (commit) event.setCommitString(QString::fromUtf8(commit));
      QApplication::sendEvent(w.client(), &event);
    }
    EXPECT_EQ(w.inserted, rows[i].inserted) << i;
    EXPECT_EQ(std::count(w.log.begin(), w.log.end(), "start"), 1) << i;
    EXPECT_EQ(w.log.back(), rows[i].last_log) << i;
  }
}

TEST(window_composition, cursor_and_attributes_count_bytes) {
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
  EXPECT_EQ(convert_preedit(preedit, {}).cursor, 5);  // no cursor attribute: at the end
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

}  // namespace
}  // namespace vintorel

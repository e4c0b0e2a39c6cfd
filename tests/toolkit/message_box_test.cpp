// Tests of the message boxes, the responder hook, the file dialog and the
// clipboard of the Qt user interface.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "files/file_system.h"
#include "platform/scripted_user_interface.h"
#include "toolkit/file_dialog.h"
#include "toolkit/message_box.h"
#include "toolkit/qt_user_interface.h"
#include "toolkit/string_table.h"

namespace vintorel {
namespace {

// Runs `act` on the modal widget that the next call shows.
void when_shown(std::function<void(QWidget*)> act) {
  QTimer::singleShot(0, [act] {
    QWidget* modal = QApplication::activeModalWidget();
    ASSERT_NE(modal, nullptr);
    act(modal);
  });
}

struct seen_box {
  QString caption, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QStringList buttons;
};

// Answers the next box by pressing the button with this role, and notes what it showed.
void answer_box(QMessageBox::StandardButton pressed, seen_box& seen) {
  when_shown([pressed, &seen](QWidget* modal) {
    auto* box = dynamic_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    seen.caption = box->windowTitle();
    seen.text = box->text();
    seen.icon = box->icon();
    for (QAbstractButton* b : box->buttons()) seen.buttons << b->text();
    if (pressed == QMessageBox::NoButton) {
      QTest::keyClick(box, Qt::Key_Escape);
    } else {
      box->button(pressed)->click();
    }
  });
}

TEST(message_box, buttons_pressed_give_the_answer_and_escape_cancels) {
  seen_box seen;
  answer_box(QMessageBox::Ok, seen);
  EXPECT_TRUE(confirm(nullptr, 3, 23));
  EXPECT_EQ(seen.text, QString::fromUtf8("削除しますか?"));
  EXPECT_EQ(seen.icon, QMessageBox::Question);
  EXPECT_EQ(seen.buttons.size(), 2);
  answer_box(QMessageBox::Cancel, seen);
  EXPECT_FALSE(confirm(nullptr, 3, 24));
  answer_box(QMessageBox::NoButton, seen);  // Escape
  EXPECT_FALSE(confirm(nullptr, 3, 24));
  for (auto [pressed, expected] : {std::pair{QMessageBox::Yes, choice::yes}, {QMessageBox::No, choice::no},
                                   {QMessageBox::Cancel, choice::cancel}, {QMessageBox::NoButton, choice::cancel}}) {
    seen = seen_box{};
    answer_box(pressed, seen);
    EXPECT_EQ(choose(nullptr, 4, 21), expected);
    EXPECT_EQ(seen.buttons.size(), 3);
  }
  // Missing strings show a question mark.
  answer_box(QMessageBox::Ok, seen);
  notice(nullptr, 99, -1);
  EXPECT_EQ(seen.caption, "?");
  EXPECT_EQ(seen.text, "?");
}

TEST(message_box, responder_answers_instead_of_a_window) {
  scripted_user_interface script;
  script.confirm_answers = {true, false};
  script.choose_answers = {choice::no};
  {
    scoped_box_responder hook(script);
    EXPECT_TRUE(confirm(nullptr, 3, 19));
    EXPECT_FALSE(confirm(nullptr, 3, 20));
    EXPECT_EQ(choose(nullptr, 4, 21), choice::no);
    EXPECT_EQ(choose(nullptr, 4, 21), choice::cancel);  // script exhausted
    notice(nullptr, 2, 16);
    error(nullptr, 5, 29);
    version_box(nullptr, 6, 1, "icon_main");
    qt_user_interface ui;
    ui.notice(2, 17);
  }
  EXPECT_EQ(box_responder(), nullptr);
  EXPECT_EQ(script.asked, (std::vector<std::string>{"confirm 3 19", "confirm 3 20", "choose 4 21",
                                                    "choose 4 21", "notice 2 16", "error 5 29",
                                                    "notice 6 1", "notice 2 17"}));
}

TEST(file_dialog, responder_chooses_the_file_from_the_start_directory) {
  scripted_user_interface script;
  script.file_answers = {"/home/user/a.txt", ""};
  scoped_box_responder hook(script);
  qt_user_interface ui;
  byte_string path;
  EXPECT_TRUE(ui.choose_file(false, path));
  EXPECT_EQ(path, "/home/user/a.txt");
  path = "/srv/texts/";
  EXPECT_FALSE(ui.choose_file(true, path));  // cancelled
  EXPECT_EQ(path, "/srv/texts/");
  EXPECT_EQ(script.asked, (std::vector<std::string>{"open " + desktop_directory(), "save /srv/texts/"}));
}

TEST(file_dialog, offers_the_text_and_all_files_filters_and_returns_the_choice) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QString file = dir.filePath("Makefile");
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  QStringList filters;
  QString start;
  when_shown([&](QWidget* modal) {
    auto* dialog = dynamic_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    filters = dialog->nameFilters();
    start = dialog->directory().absolutePath();
    dialog->selectFile(file);
    static_cast<QDialog*>(dialog)->accept();
  });
  byte_string path;
  byte_string directory = QFile::encodeName(dir.path()).toStdString() + "/";
  EXPECT_TRUE(file_dialog(nullptr, -1, string_filter_text, {"*.txt", "*.*"}, path, directory, false));
  EXPECT_EQ(path, QFile::encodeName(file).toStdString());
  EXPECT_EQ(filters, (QStringList{QString::fromUtf8("テキストファイル (*.txt)"),
                                  QString::fromUtf8("全てのファイル (*)")}));
  EXPECT_EQ(start, QDir(dir.path()).absolutePath());

  when_shown([](QWidget* modal) { dynamic_cast<QDialog*>(modal)->reject(); });
  path.clear();
  EXPECT_FALSE(file_dialog(nullptr, -1, string_filter_text, {"*.txt", "*.*"}, path, directory, true));
  EXPECT_TRUE(path.empty());
}

TEST(clipboard, text_goes_out_with_lf_and_comes_back_in_shift_jis) {
  qt_user_interface ui;
  ASSERT_TRUE(ui.set_clipboard_text("one\r\ntwo\x82\xA0\rthree\r\n"));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("one\ntwoあ\rthree\n"));
  byte_string back;
  ASSERT_TRUE(ui.get_clipboard_text(back));
  EXPECT_EQ(back, "one\ntwo\x82\xA0\rthree\n");

  // Characters without a Shift_JIS form become "?"; a NUL ends the text.
  QGuiApplication::clipboard()->setText(QString::fromUtf8("a€b") + QChar(0) + "c");
  ASSERT_TRUE(ui.get_clipboard_text(back));
  EXPECT_EQ(back, "a?b");
  ASSERT_TRUE(ui.set_clipboard_text(byte_string("x\0y", 3)));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "x");

  QGuiApplication::clipboard()->clear();
  EXPECT_FALSE(ui.get_clipboard_text(back));
}

}  // namespace
}  // namespace vintorel

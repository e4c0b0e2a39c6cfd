// Qt's own texts (the file dialog's buttons, the message boxes' standard
// buttons) follow the locale when Qt's translations are installed, and stay
// English without them.
#include "toolkit/qt_translations.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "scratch_dir.h"

namespace vintorel {
namespace {

// The texts of the file dialog's accept and cancel buttons, with the access-key
// marks removed ("開く(&O)" reads "開く(O)").
QStringList file_dialog_buttons(QFileDialog::AcceptMode mode) {
  QFileDialog dialog;
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(mode);
  QStringList texts;
  QDialogButtonBox* box = dialog.findChild<QDialogButtonBox*>();
  if (!box) return texts;
  for (QAbstractButton* button : box->buttons()) texts << button->text().remove('&');
  texts.sort();
  return texts;
}

QString cancel_text_of_a_message_box() {
  QMessageBox box(QMessageBox::Question, "c", "t", QMessageBox::Ok | QMessageBox::Cancel);
  return box.button(QMessageBox::Cancel)->text().remove('&');
}

class qt_translations_test : public ::testing::Test {
 protected:
  void TearDown() override { install_qt_translations(QLocale::c()); }
};

TEST_F(qt_translations_test, under_a_japanese_locale_the_file_dialog_and_buttons_are_japanese) {
  ASSERT_TRUE(install_qt_translations(QLocale(QLocale::Japanese, QLocale::Japan)))
      << "Qt's translations (qt6-translations-l10n) are not installed";
  QStringList open = file_dialog_buttons(QFileDialog::AcceptOpen);
  QStringList save = file_dialog_buttons(QFileDialog::AcceptSave);
  ASSERT_EQ(open.size(), 2) << open.join("|").toStdString();
  EXPECT_TRUE(open.contains(QString::fromUtf8("開く(O)"))) << open.join("|").toStdString();
  EXPECT_TRUE(open.contains(QString::fromUtf8("キャンセル"))) << open.join("|").toStdString();
  EXPECT_TRUE(save.contains(QString::fromUtf8("保存(S)"))) << save.join("|").toStdString();
  EXPECT_EQ(cancel_text_of_a_message_box(), QString::fromUtf8("キャンセル"));
}

TEST_F(qt_translations_test, without_a_catalogue_qt_stays_english) {
  ASSERT_TRUE(install_qt_translations(QLocale(QLocale::Japanese, QLocale::Japan)));
  test_support::scratch_dir empty;
  // A missing catalogue also drops the one loaded before.
  EXPECT_FALSE(install_qt_translations(QLocale(QLocale::Japanese, QLocale::Japan),
                                       QString::fromStdString(empty.dir())));
  QStringList open = file_dialog_buttons(QFileDialog::AcceptOpen);
  EXPECT_TRUE(open.contains("Open")) << open.join("|").toStdString();
  EXPECT_EQ(cancel_text_of_a_message_box(), "Cancel");
}

}  // namespace
}  // namespace vintorel

// The box that waits with the user for something else to happen closes by
// itself once it has happened.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <chrono>

#include "platform/string_table.h"
#include "toolkit/message_box.h"

namespace vintorel {
namespace {

TEST(confirm_until, closes_itself_as_cancel_when_settled_and_answers_ok_otherwise) {
  auto start = std::chrono::steady_clock::now();
  auto settled = [&] { return std::chrono::steady_clock::now() - start > std::chrono::milliseconds(300); };
  EXPECT_FALSE(confirm_until(nullptr, string_caption_confirm, string_instance_silent, settled));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  EXPECT_FALSE(confirm_until(nullptr, string_caption_confirm, string_instance_silent, [] { return true; }))
      << "already settled: no box";

  // The user presses OK before anything happens.
  QTimer::singleShot(200, [] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->button(QMessageBox::Ok)->click();
  });
  EXPECT_TRUE(confirm_until(nullptr, string_caption_confirm, string_instance_silent, [] { return false; }));
}

}  // namespace
}  // namespace vintorel

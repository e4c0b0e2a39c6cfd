// The icon "icon_main" is built into the program in every size drawn from the
// SVG, so the window and the version box show it wherever the program runs.
#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <QPixmap>

#include "app/program_icon.h"

namespace vintorel {
namespace {

TEST(program_icon, every_drawn_size_is_built_in) {
  QIcon icon = program_icon();
  ASSERT_FALSE(icon.isNull());
  QList<QSize> sizes = icon.availableSizes();
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
    EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
  // Not a blank square: the drawing has the page and the cursor on a dark ground.
  QImage image = icon.pixmap(QSize(64, 64)).toImage();
  ASSERT_EQ(image.size(), QSize(64, 64));
  EXPECT_NE(image.pixelColor(32, 4), image.pixelColor(22, 50));
}

}  // namespace
}  // namespace vintorel

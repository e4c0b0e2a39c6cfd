// The main window's frame: its position and layout.ini, what it paints, bad fonts.
#include <QMainWindow>

#include "app/layout_file.h"
#include "main_window_fixture.h"

namespace vintorel {
namespace {

using window_test::main_window_test;

TEST_F(main_window_test, a_negative_position_starts_the_frame_at_zero) {
  start({}, {-500, -300});
  EXPECT_GE(w->frame()->geometry().x(), 0);
  EXPECT_GE(w->frame()->frameGeometry().y(), 0);
}

TEST_F(main_window_test, the_position_is_remembered_unless_minimised_or_maximised) {
  start({}, {40, 30});
  w->frame()->move(200, 150);
  settle();
  window_position normal = w->position();
  w->frame()->showMinimized();
  w->frame()->move(600, 500);
  settle();
  EXPECT_EQ(w->position().x, normal.x);
  EXPECT_EQ(w->position().y, normal.y);
  w->frame()->showNormal();
  settle();
  w->destroy();
  window_position stored = read_window_position(files.dir() + "layout.ini");
  EXPECT_EQ(stored.x, normal.x);
  EXPECT_EQ(stored.y, normal.y);
}

TEST_F(main_window_test, painting_shows_the_screen_image_pixel_for_pixel) {
  start();
  QImage shown = w->client()->grab().toImage();
  surface& screen = *w->display().surfaces.screen_image;
  ASSERT_EQ(shown.width(), w->client()->width());
  int differing = 0;
  for (int y = 0; y < shown.height(); y += 3)
    for (int x = 0; x < shown.width(); x += 3)
      differing += (shown.pixel(x, y) & 0xFFFFFF) != (screen.pixel_at(x, y) & 0xFFFFFF);
  EXPECT_EQ(differing, 0);
}

TEST_F(main_window_test, unusable_fonts_make_creation_fail) {
  settings.font_file = files.write("bad.fnt", "not a font");
  main_window_setup setup;
  setup.settings = &settings;
  setup.executable_directory = files.dir();
  w = std::make_unique<window_test::recording_main_window>(std::move(setup));
  EXPECT_FALSE(w->create_main({0, 0}, 1));
  EXPECT_EQ(w->frame(), nullptr);
}

}  // namespace
}  // namespace vintorel

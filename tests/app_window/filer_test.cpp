// The "filer class" list and the matching of a window's class.
#include <gtest/gtest.h>

#include "app/window_filer.h"

namespace vintorel {
namespace {

TEST(filer, class_names_and_matching) {
  using namespace std::string_literals;
  EXPECT_EQ(filer_class_names("Thunar,,nautilus,"), (std::vector<std::string>{"Thunar", "nautilus"}));
  std::string wm_class = "thunar\0Thunar\0"s;
  EXPECT_TRUE(class_property_matches(wm_class, "Thunar"));
  EXPECT_FALSE(class_property_matches(wm_class, "THUNAR")) << "class names compare exactly";
  EXPECT_FALSE(class_property_matches(wm_class, "thun"));
  EXPECT_FALSE(class_property_matches("", ""));
  EXPECT_TRUE(class_property_matches("only", "only")) << "a value without its NULs";
  EXPECT_FALSE(activate_filer_window("Thunar"));
}

}  // namespace
}  // namespace vintorel

// Hooks the start-up font check into the loading of the display settings.
#include "display/font_setup.h"

namespace vintorel {

namespace {

font_environment& installed_environment() {
  static font_environment environment;
  return environment;
}

bool check_with_installed(settings_record& settings) {
  return check_fonts_for_settings(settings, installed_environment());
}

}  // namespace

bool check_fonts_for_settings(settings_record& settings, const font_environment& environment) {
  font_check check;
  check.half_width_font = settings.font_file;
  check.full_width_font = settings.font_file_mb;
  check.directory = environment.directory;
  check.generator_directory = environment.generator_directory;
  check.screen_width = environment.screen_width;
  check.screen_height = environment.screen_height;
  check.columns = settings.columns;
  check.lines = settings.lines;
  check.run = environment.run;
  check.show_error = environment.show_error;
  if (!check_fonts(check)) return false;
  settings.font_width = check.cell_width;
  settings.font_height = check.cell_height;
  settings.columns = check.columns;
  settings.lines = check.lines;
  return true;
}

void install_font_check(font_environment environment) {
  installed_environment() = std::move(environment);
  check_fonts_hook = &check_with_installed;
}

}  // namespace vintorel

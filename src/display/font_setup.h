// Hooks the start-up font check into the loading of the display settings.
#pragma once
#include <functional>
#include <string>

#include "display/fontx2.h"
#include "settings/main_settings.h"

namespace vintorel {

// What the font check needs besides the settings record.
struct font_environment {
  std::string directory;            // where the fonts live ("/" at the end)
  std::string generator_directory;  // where mkfontx2 lives ("" for `directory`)
  int screen_width = 1920;
  int screen_height = 1080;
  std::function<void(int string_id)> show_error;  // error box with a string-table id
  program_runner run;                             // empty: run mkfontx2 and wait for it
};

// check_fonts over the record's font files: sets font_width and font_height
// and fits columns and lines to the screen. False after an error message.
bool check_fonts_for_settings(settings_record& settings, const font_environment& environment);

// Makes load_display_settings run the font check with this environment.
void install_font_check(font_environment environment);

}  // namespace vintorel

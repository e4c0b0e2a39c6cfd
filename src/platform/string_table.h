// The string table: every message the user can see, by id (0 to 44), in
// Shift_JIS. Plain C++, so the status line, the benchmark and the tests can
// read it without the window toolkit.
#pragma once
#include <cstddef>

#include "platform/byte_string.h"

namespace vintorel {

// Version number shown in the version box (string 1).
#define VINTOREL_VERSION "0.1.0"

constexpr int string_table_size = 45;

// Well-known ids.
enum string_id : int {
  string_product = 0,
  string_version = 1,
  string_caption_notice = 2,
  string_caption_confirm = 3,
  string_caption_choose = 4,
  string_caption_error = 5,
  string_caption_version = 6,
  string_insert_mode = 7,
  string_overwrite_mode = 8,
  string_filter_text = 9,
  string_filter_all = 10,
  string_no_more_entries = 11,
  string_title_taken = 12,
  string_bad_title = 13,
  string_bad_keyword = 14,
  string_depth_changed = 15,
  string_texts_agree = 16,
  string_settings_reloaded = 17,
  string_benchmark_done = 18,
  string_new_text_question = 19,
  string_reload_question = 20,
  string_save_question = 21,
  string_charset_changed = 22,
  string_delete_question = 23,
  string_replace_all_question = 24,
  string_replace_block_question = 25,
  string_replace_backward_question = 26,
  string_replace_forward_question = 27,
  string_system_error = 29,
  string_memory = 30,
  string_file_error = 31,
  string_no_direct_draw = 32,
  string_too_few_colours = 33,
  string_missing_capabilities = 34,
  string_drawing_error = 35,
  string_font_problem = 36,
  string_text_kept = 37,
  string_changed_on_disk = 38,
  string_edits_rescued = 39,
  string_lossy_characters = 40,
  string_overlong_line = 41,
  string_instance_silent = 42,
  string_settings_folder = 43,
  string_loading = 44,
};

// The text of string `id` in Shift_JIS; "?" when the table has no such string.
const byte_string& load_string(int id);

// Loads string `id` into a buffer of `size` bytes: at most size - 1 bytes,
// never half a double-byte character, always terminated (nothing when size is
// 0). A missing string loads as "?". Returns the number of bytes stored.
std::size_t load_string(int id, char* buffer, std::size_t size);

}  // namespace vintorel

// Bounded string helpers for the fixed-size byte buffers that dialogs and
// commands share (search strings, command lines, paths).
#pragma once
#include <cstddef>
#include <string_view>

namespace vintorel {

// Copies at most size - 1 bytes of src into dest and always terminates it
// (nothing happens when size is 0). Returns the number of bytes copied.
std::size_t copy_bounded(char* dest, std::size_t size, std::string_view src);

// Appends src to the terminated string in dest, keeping the whole within
// size - 1 bytes and terminated. Returns the new length.
std::size_t append_bounded(char* dest, std::size_t size, std::string_view src);

// Shifts the terminated string in `text` right by n bytes inside a buffer of
// `size` bytes, cutting its end so that it stays terminated; the first n bytes
// keep their old contents for the caller to fill. n is limited to size - 1.
void make_room(char* text, std::size_t size, std::size_t n);

// Byte offset of the first occurrence of `word` in `text` that starts at a
// character start, comparing ASCII letters without case (the second byte of a
// double-byte character is never folded); npos when absent. An empty word is
// found at 0.
std::size_t find_ignore_case(std::string_view text, std::string_view word);

}  // namespace vintorel

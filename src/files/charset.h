// Detection of a file's character set and line end from its first bytes. The
// codes and the converters are in platform/charsets.h.
#pragma once
#include <cstddef>
#include <string>

#include "platform/charsets.h"

namespace vintorel {

// Guesses both from the file's bytes; shift_jis/crlf when it cannot be opened or is empty.
void detect_charset(const std::string& path, int& charset_code, int& linefeed_code);
// The same rules over bytes already in memory (the detector's state machine).
void detect_charset_bytes(const char* data, std::size_t size, int& charset_code, int& linefeed_code);

}  // namespace vintorel

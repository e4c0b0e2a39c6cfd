// The byte string type that holds all text in memory (Shift_JIS, code page 932).
#pragma once
#include <string>

namespace vintorel {
using byte_string = std::string;
}

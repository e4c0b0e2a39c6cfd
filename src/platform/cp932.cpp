// Code page 932 (Shift_JIS) character rules and conversion to and from Unicode.
#include "platform/cp932.h"

namespace vintorel {

bool is_lead_byte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

bool is_kana(unsigned char c) { return c >= 0xA1 && c <= 0xDF; }

}  // namespace vintorel

// Detection of a file's character set and line end from its bytes. The
// codes and the converters are in platform/charsets.h.
#pragma once
#include <cstddef>
#include <string>

#include "platform/charsets.h"

namespace vintorel {

// The detector's state, fed the file's bytes block by block in order (the
// loader feeds it the blocks it scans for line ends, so detection costs no pass
// of its own). It stops by itself once more bytes cannot change its answer.
//
// The classic rules decide ISO-2022-JP (an ESC), EUC-JP (a 0xFD or 0xFE) and
// binary (a NUL), and otherwise say Shift_JIS. With `guess_utf8_euc` (the
// "detect UTF8" switch), when none of those bytes decided, one more decision
// is made at the end: UTF-8 when every byte of the text (up to a 0x1A) is
// strict UTF-8 and one sequence at least is multi-byte, else EUC-JP when the
// EUC hypothesis held to the end over some byte of 0x80 or more. The UTF-8
// check goes on to the end of the text even after the classic rules stopped.
struct charset_detector {
  explicit charset_detector(bool guess_utf8_euc = true) : guess_utf8_euc(guess_utf8_euc) {}

  // Feeds the next block; true once the detector has stopped (later blocks
  // change nothing).
  bool feed(const char* data, std::size_t size);
  // The answer for the bytes fed so far, taken as the whole file.
  void finish(charset& charset_code, linefeed_kind& linefeed_code);

  bool guess_utf8_euc;
  bool stopped = false;          // both the classic rules and the UTF-8 check are done
  bool classic_stopped = false;
  bool decided_by_byte = false;  // an ESC, 0xFD or 0xFE decided the character set
  // The classic state machine.
  charset charset_code = shift_jis;
  linefeed_kind linefeed_code = crlf;
  bool charset_fixed = false;
  bool linefeed_fixed = false;
  bool ascii_only = true;
  bool euc_possible = true;
  bool utf8_possible = true;
  unsigned p1 = 0;  // the previous byte
  unsigned p2 = 0;  // the one before it
  // Strict UTF-8 over every byte read.
  bool utf8_valid = true;
  bool utf8_multibyte = false;
  bool text_ended = false;  // a 0x1A ended the text
  unsigned char utf8_state = 0;  // of the strict UTF-8 automaton: 0 between characters
};

// Guesses both from the file's bytes; shift_jis/crlf when it cannot be opened or is empty.
void detect_charset(const std::string& path, charset& charset_code, linefeed_kind& linefeed_code,
                    bool guess_utf8_euc = true);
// The same over bytes already in memory.
void detect_charset_bytes(const char* data, std::size_t size, charset& charset_code, linefeed_kind& linefeed_code,
                          bool guess_utf8_euc = true);

}  // namespace vintorel

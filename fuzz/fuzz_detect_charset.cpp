// Fuzzes character-set detection over arbitrary file bytes: the memory scan must
// match the detector's rules taken one byte at a time, and the file scan must match
// the memory scan.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "../tests/files/reference_detect.h"  // shared with the detector tests
#include "files/charset.h"
#include "memory_file.h"

using namespace vintorel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  charset expected_charset;
  linefeed_kind expected_linefeed;
  // With and without the UTF-8 and EUC-JP guesses.
  for (bool guess : {false, true}) {
    test_support::reference_detect(data, size, expected_charset, expected_linefeed, guess);
    charset charset_code = unknown_charset;
    linefeed_kind linefeed_code = unknown_linefeed;
    detect_charset_bytes(reinterpret_cast<const char*>(data), size, charset_code, linefeed_code, guess);
    if (charset_code != expected_charset || linefeed_code != expected_linefeed) abort();
  }
  charset charset_code = unknown_charset;
  linefeed_kind linefeed_code = unknown_linefeed;
  detect_charset_bytes(reinterpret_cast<const char*>(data), size, charset_code, linefeed_code);

  if (size <= 4096) {
    static const memory_file file;
    file.hold(data, size);
    charset file_charset = unknown_charset;
    linefeed_kind file_linefeed = unknown_linefeed;
    detect_charset(file.path, file_charset, file_linefeed);
    if (file_charset != charset_code || file_linefeed != linefeed_code) abort();
  }
  return 0;
}

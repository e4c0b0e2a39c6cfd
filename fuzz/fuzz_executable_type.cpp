// Fuzzes the reading of an executable's header (MS-DOS, console or windowed program).
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "files/file_system.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  int type = vintorel::executable_type(data, size);
  if (type != 0 && type != 1 && type != 0x5A4D && type != 0x4550) std::abort();
  return 0;
}

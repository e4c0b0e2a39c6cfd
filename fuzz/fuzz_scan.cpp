// Fuzzes the line-end scan: the input's first byte picks how the rest is cut
// into chunks; the records must equal those of a byte-by-byte reference and
// cover exactly the bytes before the first 0x1A. The line-end finder under the
// scan is also run on the whole input each way the machine can, and must list
// the reference's ends.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "files/line_ends.h"
#include "files/load_text.h"

namespace {

struct reference_result {
  std::vector<std::uint64_t> lengths;
  std::uint64_t last_length = 0;
  std::uint64_t text_bytes = 0;
};

reference_result reference_scan(const unsigned char* data, std::size_t size) {
  reference_result result;
  std::uint64_t length = 0;
  bool cr_pending = false;
  std::size_t i = 0;
  for (; i < size; ++i) {
    unsigned char b = data[i];
    if (cr_pending && b != 0x0A) {
      result.lengths.push_back(length);
      length = 0;
      cr_pending = false;
    }
    if (b == 0x0A) {
      result.lengths.push_back(length + 1);
      length = 0;
      cr_pending = false;
    } else if (b == 0x0D) {
      cr_pending = true;
      ++length;
    } else if (b == 0x1A) {
      break;
    } else {
      ++length;
    }
  }
  result.last_length = length;
  result.text_bytes = i;
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
  if (size == 0) return 0;
  unsigned seed = input[0];
  const unsigned char* data = input + 1;
  size -= 1;
  reference_result expected = reference_scan(data, size);

  vintorel::scan_state state;
  std::vector<std::uint64_t> lengths;
  auto on_line = [&](std::uint64_t length) {
    lengths.push_back(length);
    return true;
  };
  // Chunk lengths from the seed: small ones cut line ends apart often, larger
  // ones reach the 64-byte vector loop; seed 0 feeds everything at once.
  std::size_t at = 0;
  unsigned step = seed;
  const unsigned longest = seed < 128 ? 37 : 300;
  while (at < size) {
    std::size_t take = seed == 0 ? size : 1 + (step >> 8) % longest;
    step = step * 1103515245u + 12345u;
    if (take > size - at) take = size - at;
    // A copy of exactly the chunk, so reading past it is caught by the sanitizer.
    std::vector<char> chunk(data + at, data + at + take);
    if (!vintorel::scan_bytes(state, chunk.data(), chunk.size(), on_line)) std::abort();
    at += take;
  }

  if (lengths != expected.lengths) std::abort();
  if (state.line_length != expected.last_length) std::abort();
  std::uint64_t total = state.line_length;
  for (std::uint64_t length : lengths) total += length;
  if (total != expected.text_bytes || state.line_start + state.line_length != expected.text_bytes) std::abort();
  if (state.stopped != (expected.text_bytes < size)) std::abort();

  // The finder reports the end of every record the reference closes (a final
  // CR leaves its record open to both).
  std::vector<std::uint32_t> expected_ends;
  std::uint64_t end = 0;
  for (std::uint64_t length : expected.lengths) expected_ends.push_back(static_cast<std::uint32_t>(end += length));
  if (size < vintorel::line_ends_max_count) {
    const std::vector<char> bytes(data, data + size);
    for (vintorel::vector_way way : {vintorel::vector_way::portable, vintorel::vector_way::sse2,
                                      vintorel::vector_way::avx2, vintorel::vector_way::avx512}) {
      std::vector<std::uint32_t> ends(size + vintorel::line_ends_slack);
      std::size_t stop = 0;
      ends.resize(vintorel::find_line_ends_by(way, bytes.data(), size, ends.data(), stop));
      if (stop != expected.text_bytes) std::abort();
      if (ends != expected_ends) std::abort();
    }
  }
  return 0;
}

// Four independent multiply-rotate lanes over 32-byte strides, so the loop runs
// near memory speed; the lanes, the tail and the length are mixed at the end.
#include "platform/checksum.h"

#include <cstring>

namespace vintorel {

namespace {

constexpr std::uint64_t prime1 = 0x9E3779B185EBCA87ull;
constexpr std::uint64_t prime2 = 0xC2B2AE3D27D4EB4Full;
constexpr std::uint64_t prime3 = 0x165667B19E3779F9ull;

inline std::uint64_t rotate(std::uint64_t x, int bits) { return (x << bits) | (x >> (64 - bits)); }

inline std::uint64_t load64(const unsigned char* p) {
  std::uint64_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

inline std::uint64_t round(std::uint64_t lane, std::uint64_t word) {
  return rotate(lane + word * prime2, 31) * prime1;
}

}  // namespace

std::uint64_t block_checksum(const void* data, std::size_t size) {
  const auto* p = static_cast<const unsigned char*>(data);
  std::uint64_t a = prime1 + prime2, b = prime2, c = 0, d = 0 - prime1;
  std::size_t at = 0;
  for (; at + 32 <= size; at += 32) {
    a = round(a, load64(p + at));
    b = round(b, load64(p + at + 8));
    c = round(c, load64(p + at + 16));
    d = round(d, load64(p + at + 24));
  }
  std::uint64_t h = rotate(a, 1) + rotate(b, 7) + rotate(c, 12) + rotate(d, 18) + size;
  for (; at + 8 <= size; at += 8) h = rotate(h ^ round(0, load64(p + at)), 27) * prime1 + prime3;
  for (; at < size; ++at) h = rotate(h ^ (p[at] * prime3), 11) * prime1;
  h ^= h >> 33;
  h *= prime2;
  h ^= h >> 29;
  h *= prime3;
  return h ^ (h >> 32);
}

}  // namespace vintorel

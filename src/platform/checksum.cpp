// Eight 64-bit lanes over 64-byte stripes: each lane adds the product of the
// two 32-bit halves of its word mixed with a key, and its neighbour adds the
// plain word, so every bit of the input reaches the sum and a change of one
// word always shows. The keys move on with every stripe, so stripes that trade
// places change the sum too. The per-lane steps are 32 x 32 -> 64-bit
// multiplies and 64-bit adds, which SSE2, AVX2 and AVX-512 do for two, four or
// all eight lanes at once; the lanes, the tail and the length are then mixed
// one by one.
#include "platform/checksum.h"

#include <cstring>

#if (defined(__x86_64__) || defined(__i386__)) && defined(__SSE2__)
#include <immintrin.h>
#define VINTOREL_X86_SSE2 1
#endif

namespace vintorel {

namespace {

constexpr std::uint64_t prime1 = 0x9E3779B185EBCA87ull;
constexpr std::uint64_t prime2 = 0xC2B2AE3D27D4EB4Full;
constexpr std::uint64_t prime3 = 0x165667B19E3779F9ull;

constexpr int lanes = 8;
constexpr std::size_t stripe = 64;
// Keys of the lanes in the first stripe, and what every stripe adds to each.
constexpr std::uint64_t first_keys[lanes] = {0xBE4BA423396CFEB8ull, 0x1CAD21F72C81017Cull, 0xDB979083E96DD4DEull,
                                             0x1F67B3B7A4A44072ull, 0x78E5C0CC4EE679CBull, 0x2172FFCC7DD05A82ull,
                                             0x8E2443F7744608B8ull, 0x4C263A81E69035E0ull};
constexpr std::uint64_t key_step = prime2;
constexpr std::uint64_t first_sums[lanes] = {prime3, prime1, prime2, prime3 ^ prime1,
                                             prime1 ^ prime2, prime2 ^ prime3, ~prime1, ~prime2};

inline std::uint64_t rotate(std::uint64_t x, int bits) { return (x << bits) | (x >> (64 - bits)); }

inline std::uint64_t load64(const unsigned char* p) {
  std::uint64_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

inline std::uint64_t round(std::uint64_t lane, std::uint64_t word) {
  return rotate(lane + word * prime2, 31) * prime1;
}

// The lane sums, the bytes behind the last whole stripe and the length, mixed.
std::uint64_t finish(const std::uint64_t (&sums)[lanes], const unsigned char* p, std::size_t at, std::size_t size) {
  std::uint64_t h = size * prime1 + prime3;
  for (std::uint64_t sum : sums) h = rotate(h ^ round(0, sum), 27) * prime1 + prime3;
  for (; at + 8 <= size; at += 8) h = rotate(h ^ round(0, load64(p + at)), 27) * prime1 + prime3;
  for (; at < size; ++at) h = rotate(h ^ (p[at] * prime3), 11) * prime1;
  h ^= h >> 33;
  h *= prime2;
  h ^= h >> 29;
  h *= prime3;
  return h ^ (h >> 32);
}

std::uint64_t portable_checksum(const unsigned char* p, std::size_t size) {
  std::uint64_t sums[lanes], keys[lanes];
  for (int j = 0; j < lanes; ++j) {
    sums[j] = first_sums[j];
    keys[j] = first_keys[j];
  }
  std::size_t at = 0;
  for (; at + stripe <= size; at += stripe) {
    for (int j = 0; j < lanes; ++j) {
      const std::uint64_t word = load64(p + at + 8 * j);
      const std::uint64_t mixed = word ^ keys[j];
      sums[j] += (mixed & 0xFFFFFFFFu) * (mixed >> 32);
      sums[j ^ 1] += word;
      keys[j] += key_step;
    }
  }
  return finish(sums, p, at, size);
}

#ifdef VINTOREL_X86_SSE2

std::uint64_t sse2_checksum(const unsigned char* p, std::size_t size) {
  __m128i sums[4], keys[4];
  for (int v = 0; v < 4; ++v) {
    sums[v] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(first_sums + 2 * v));
    keys[v] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(first_keys + 2 * v));
  }
  const __m128i step = _mm_set1_epi64x(static_cast<long long>(key_step));
  std::size_t at = 0;
  for (; at + stripe <= size; at += stripe) {
    for (int v = 0; v < 4; ++v) {
      const __m128i word = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at) + v);
      const __m128i mixed = _mm_xor_si128(word, keys[v]);
      const __m128i product = _mm_mul_epu32(mixed, _mm_srli_epi64(mixed, 32));
      // The neighbour lane's word: the two 64-bit halves swapped.
      sums[v] = _mm_add_epi64(sums[v], _mm_add_epi64(product, _mm_shuffle_epi32(word, 0x4E)));
      keys[v] = _mm_add_epi64(keys[v], step);
    }
  }
  std::uint64_t lane_sums[lanes];
  for (int v = 0; v < 4; ++v) _mm_storeu_si128(reinterpret_cast<__m128i*>(lane_sums + 2 * v), sums[v]);
  return finish(lane_sums, p, at, size);
}

__attribute__((target("avx2"))) std::uint64_t avx2_checksum(const unsigned char* p, std::size_t size) {
  __m256i sums[2], keys[2];
  for (int v = 0; v < 2; ++v) {
    sums[v] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(first_sums + 4 * v));
    keys[v] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(first_keys + 4 * v));
  }
  const __m256i step = _mm256_set1_epi64x(static_cast<long long>(key_step));
  std::size_t at = 0;
  for (; at + stripe <= size; at += stripe) {
    for (int v = 0; v < 2; ++v) {
      const __m256i word = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + at) + v);
      const __m256i mixed = _mm256_xor_si256(word, keys[v]);
      const __m256i product = _mm256_mul_epu32(mixed, _mm256_srli_epi64(mixed, 32));
      sums[v] = _mm256_add_epi64(sums[v], _mm256_add_epi64(product, _mm256_shuffle_epi32(word, 0x4E)));
      keys[v] = _mm256_add_epi64(keys[v], step);
    }
  }
  std::uint64_t lane_sums[lanes];
  for (int v = 0; v < 2; ++v) _mm256_storeu_si256(reinterpret_cast<__m256i*>(lane_sums + 4 * v), sums[v]);
  return finish(lane_sums, p, at, size);
}

// One stripe is one 512-bit vector.
__attribute__((target("avx512f"))) std::uint64_t avx512_checksum(const unsigned char* p, std::size_t size) {
  __m512i sums = _mm512_loadu_si512(first_sums);
  __m512i keys = _mm512_loadu_si512(first_keys);
  const __m512i step = _mm512_set1_epi64(static_cast<long long>(key_step));
  std::size_t at = 0;
  for (; at + stripe <= size; at += stripe) {
    const __m512i word = _mm512_loadu_si512(p + at);
    const __m512i mixed = _mm512_xor_si512(word, keys);
    // (The masked forms with every lane chosen: the plain ones trip a false
    // warning of uninitialised use in some compilers' headers.)
    const __m512i product = _mm512_maskz_mul_epu32(0xFF, mixed, _mm512_maskz_srli_epi64(0xFF, mixed, 32));
    const __m512i neighbours = _mm512_maskz_shuffle_epi32(0xFFFF, word, _MM_PERM_BADC);
    sums = _mm512_add_epi64(sums, _mm512_add_epi64(product, neighbours));
    keys = _mm512_add_epi64(keys, step);
  }
  std::uint64_t lane_sums[lanes];
  _mm512_storeu_si512(lane_sums, sums);
  return finish(lane_sums, p, at, size);
}

#endif

using checksum_function = std::uint64_t (*)(const unsigned char*, std::size_t);

checksum_function checksum_for(vector_way way) {
#ifdef VINTOREL_X86_SSE2
  if (!vector_way_available(way)) way = vector_way::portable;
  if (way == vector_way::avx512) return avx512_checksum;
  if (way == vector_way::avx2) return avx2_checksum;
  if (way == vector_way::sse2) return sse2_checksum;
#endif
  (void)way;
  return portable_checksum;
}

}  // namespace

std::uint64_t block_checksum_by(vector_way way, const void* data, std::size_t size) {
  return checksum_for(way)(static_cast<const unsigned char*>(data), size);
}

std::uint64_t block_checksum(const void* data, std::size_t size) {
  static const checksum_function best = checksum_for(best_vector_way());
  return best(static_cast<const unsigned char*>(data), size);
}

}  // namespace vintorel

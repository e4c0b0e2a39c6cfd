// The processor's vector instructions, asked once.
#include "platform/vector_way.h"

namespace vintorel {

bool vector_way_available(vector_way way) {
#if (defined(__x86_64__) || defined(__i386__)) && defined(__SSE2__)
  // The compiler's checks also ask whether the system saves the wide registers.
  static const bool avx2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi") &&
                           __builtin_cpu_supports("popcnt");
  static const bool avx512 = avx2 && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
  if (way == vector_way::avx512) return avx512;
  if (way == vector_way::avx2) return avx2;
  return true;
#else
  return way == vector_way::portable;
#endif
}

vector_way best_vector_way() {
  static const vector_way best = vector_way_available(vector_way::avx512) ? vector_way::avx512
                                 : vector_way_available(vector_way::avx2) ? vector_way::avx2
                                 : vector_way_available(vector_way::sse2) ? vector_way::sse2
                                                                          : vector_way::portable;
  return best;
}

}  // namespace vintorel

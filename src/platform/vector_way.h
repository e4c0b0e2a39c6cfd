// Which vector instructions a loop over bytes may use on this processor. Each
// such loop has one version per way, all giving equal results; tests run each.
#pragma once

namespace vintorel {

enum class vector_way { portable, sse2, avx2, avx512 };  // avx512: with byte compares (BW)

// True when this build has the way and the processor runs it.
bool vector_way_available(vector_way way);
// The widest available way, found once.
vector_way best_vector_way();

}  // namespace vintorel

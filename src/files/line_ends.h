// Where lines end in a run of bytes, found 64 bytes at a time with vector
// compares; the core of the line-end scan (scan_impl.h).
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/vector_way.h"

namespace vintorel {

// Entries of `ends` that find_line_ends may write beyond the ends it reports.
constexpr std::size_t line_ends_slack = 2;
// The most bytes one call may be given: every offset fits the 32-bit entries.
constexpr std::size_t line_ends_max_count = std::size_t{1} << 31;

// Writes to `ends`, in order, the offset just past every line end in
// data[0, count): a LF, the LF of a CR LF, and a CR followed by any byte but LF.
// A CR as the last byte is not reported (the byte after it decides). `stop` is
// set to the offset of the first 0x1A, or to count; no end behind it is
// reported. `ends` must hold count + line_ends_slack entries; count is at most
// line_ends_max_count. Returns the number of ends.
std::size_t find_line_ends(const char* data, std::size_t count, std::uint32_t* ends, std::size_t& stop);

// The same with the given vector instructions (the portable way where the
// build or the processor lacks them), for tests; every way gives equal results.
std::size_t find_line_ends_by(vector_way way, const char* data, std::size_t count, std::uint32_t* ends,
                              std::size_t& stop);

}  // namespace vintorel

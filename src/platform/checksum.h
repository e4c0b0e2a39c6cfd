// A fast 64-bit checksum of a run of bytes, to tell whether a block of a file
// still holds the bytes it held when the file was indexed. Not cryptographic:
// it guards against another program rewriting a file, not against an attacker.
// Checksums live only in memory, within one run of the program.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/vector_way.h"

namespace vintorel {

std::uint64_t block_checksum(const void* data, std::size_t size);
// The same with the given vector instructions (the portable way where the build
// or the processor lacks them), for tests; every way gives the same checksum.
std::uint64_t block_checksum_by(vector_way way, const void* data, std::size_t size);

}  // namespace vintorel

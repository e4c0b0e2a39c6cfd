// A fast 64-bit checksum of a run of bytes, to tell whether a block of a file
// still holds the bytes it held when the file was indexed. Not cryptographic:
// it guards against another program rewriting a file, not against an attacker.
#pragma once
#include <cstddef>
#include <cstdint>

namespace vintorel {

std::uint64_t block_checksum(const void* data, std::size_t size);

}  // namespace vintorel

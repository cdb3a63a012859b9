// Little-endian fields and small whole-file reads and writes for the game's own files.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

inline int32_t ReadLe32(const uint8_t* p) {
    return int32_t(uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24));
}

inline void WriteLe32(uint8_t* p, int32_t value) {
    const auto v = uint32_t(value);
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

// Reads at most maxBytes of a regular file. False when it cannot be opened.
bool ReadSmallFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& out);

// Writes bytes to path through a temporary file in the same directory that is renamed
// over the old file, so a crash never leaves half a file. False when not all was stored.
bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes);

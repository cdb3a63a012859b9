// Feeds arbitrary bytes to the check a MIDI file passes before the mixer is given it, and
// compares the answer with a plain walk over the chunks in 64-bit arithmetic.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

#include "platform/music.h"

namespace {

uint64_t Be(const uint8_t* p, int n) {
    uint64_t v = 0;
    for (int i = 0; i < n; ++i) v = v << 8 | p[i];
    return v;
}

bool Reference(const uint8_t* data, uint64_t size) {
    if (size < 14 || std::memcmp(data, "MThd", 4) != 0) return false;
    const uint64_t headerLength = Be(data + 4, 4);
    const uint64_t format = Be(data + 8, 2);
    const uint64_t tracks = Be(data + 10, 2);
    const uint64_t division = Be(data + 12, 2);
    if (headerLength < 6 || 8 + headerLength > size) return false;
    if (format > 2 || tracks == 0 || (format == 0 && tracks != 1) || division == 0) return false;
    uint64_t at = 8 + headerLength;
    uint64_t found = 0;
    while (at < size) {
        if (at + 8 > size) return false;
        const uint64_t end = at + 8 + Be(data + at + 4, 4);
        if (end > size) return false;
        if (std::memcmp(data + at, "MTrk", 4) == 0) ++found;
        at = end;
    }
    return at == size && found == tracks;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const bool ok = dw::IsMidiFile(std::span(data, size));
    if (ok != Reference(data, size)) std::abort();
    // The chunks tile an accepted file exactly, so losing its last byte cuts the last
    // chunk short and the rest is refused.
    if (ok && dw::IsMidiFile(std::span(data, size - 1))) std::abort();
    return 0;
}

// Feeds arbitrary bytes to the check a MIDI file passes before the mixer is given it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "platform/music.h"

namespace {

uint32_t Be32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

// True when the track chunk's data [from, end) finishes with an end of track: 0xFF 0x2F and
// a length of zero, which may be written with leading 0x80 bytes.
bool EndsWithEndOfTrack(const uint8_t* data, size_t from, size_t end) {
    if (end - from < 4 || data[end - 1] != 0) return false;
    size_t at = end - 1;
    while (at - from > 2 && data[at - 1] == 0x80) --at;
    return data[at - 2] == 0xFF && data[at - 1] == 0x2F;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!dw::IsMidiFile(std::span(data, size))) return 0;
    // The last event of an accepted file ends exactly at the end of its chunk, and chunks
    // tile the file, so losing the last byte is refused.
    if (dw::IsMidiFile(std::span(data, size - 1))) std::abort();
    // Every track of an accepted file ends with its end of track. Given a length of one, the
    // last one runs past its chunk and the file is refused.
    size_t lastEnd = 0;
    for (size_t at = 14; at < size; at += 8 + size_t(Be32(data + at + 4))) {
        if (std::memcmp(data + at, "MTrk", 4) != 0) continue;
        lastEnd = at + 8 + size_t(Be32(data + at + 4));
        if (!EndsWithEndOfTrack(data, at + 8, lastEnd)) std::abort();
    }
    std::vector<uint8_t> changed(data, data + size);
    changed.at(lastEnd - 1) = 1;
    if (dw::IsMidiFile(changed)) std::abort();
    return 0;
}

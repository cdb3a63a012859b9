// The structural check a MIDI file passes before the mixer sees it. Kept apart from the
// mixer code so it can be exercised on its own.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "platform/music.h"

namespace dw {
namespace {

uint32_t Be32(std::span<const uint8_t> b, size_t at) {
    return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}

uint16_t Be16(std::span<const uint8_t> b, size_t at) { return uint16_t(b[at] << 8 | b[at + 1]); }

}  // namespace

bool IsMidiFile(std::span<const uint8_t> bytes) {
    if (bytes.size() < 14 || std::memcmp(bytes.data(), "MThd", 4) != 0) return false;
    const uint32_t headerLength = Be32(bytes, 4);
    const uint16_t format = Be16(bytes, 8);
    const uint16_t tracks = Be16(bytes, 10);
    const uint16_t division = Be16(bytes, 12);
    // bytes.size() >= 14, so the subtraction cannot wrap.
    if (headerLength < 6 || headerLength > bytes.size() - 8) return false;
    if (format > 2 || tracks == 0 || (format == 0 && tracks != 1) || division == 0) return false;

    // Every chunk after the header must lie inside the data and hold the tracks announced.
    // Lengths are compared against what is left rather than added to the position, so no
    // sum can wrap; the position never passes the end.
    size_t at = 8 + size_t(headerLength);
    size_t found = 0;
    while (at < bytes.size()) {
        if (bytes.size() - at < 8) return false;
        const uint32_t length = Be32(bytes, at + 4);
        if (length > bytes.size() - at - 8) return false;
        if (std::memcmp(bytes.data() + at, "MTrk", 4) == 0) ++found;
        at += 8 + size_t(length);
    }
    return found == tracks;
}

}  // namespace dw

// The check a MIDI file passes before the synthesizer's player is given it: everything the
// player's file reader would refuse, or read as something else, is refused here, so that a
// broken tune fails as it loads instead of playing silence. Kept apart from the mixer code
// so it can be exercised on its own.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "platform/music.h"

namespace dw {
namespace {

// The player holds at most 128 tracks, and misreads a count above 127.
constexpr uint16_t kMaxTracks = 127;

uint32_t Be32(std::span<const uint8_t> b, size_t at) {
    return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}

uint16_t Be16(std::span<const uint8_t> b, size_t at) { return uint16_t(b[at] << 8 | b[at + 1]); }

// A variable-length number of at most four bytes, none of them at or past `end`.
bool ReadNumber(std::span<const uint8_t> b, size_t& at, size_t end, uint32_t& value) {
    value = 0;
    for (int i = 0; i < 4 && at < end; ++i) {
        const uint8_t c = b[at++];
        value = value << 7 | (c & 0x7F);
        if (c < 0x80) return true;
    }
    return false;
}

// The player refuses these meta events at any other length; a tempo of zero would have it
// divide by zero.
bool MetaFits(uint8_t type, std::span<const uint8_t> data) {
    switch (type) {
    case 0x2F: return data.empty();                                            // end of track
    case 0x51: return data.size() == 3 && (data[0] | data[1] | data[2]) != 0;  // tempo
    case 0x54: return data.size() == 5;                                        // SMPTE offset
    case 0x58: return data.size() == 4;                                        // time signature
    case 0x59: return data.size() == 2;                                        // key signature
    default: return true;
    }
}

// The events of the track chunk's data [at, end): it ends with its end-of-track event exactly
// at `end`. Every length is compared against what is left of the chunk before it is used.
bool IsTrack(std::span<const uint8_t> b, size_t at, size_t end) {
    uint8_t running = 0;  // the channel status that a data byte in place of a status repeats; 0: none
    while (at < end) {
        uint32_t value = 0;  // the delta time, then a length
        if (!ReadNumber(b, at, end, value) || at == end) return false;
        uint8_t status = b[at];
        if (status < 0x80) {
            if (running == 0) return false;
            status = running;
        } else {
            ++at;
        }
        if (status < 0xF0) {
            running = status;
            const size_t count = (status & 0xE0) == 0xC0 ? 1 : 2;  // program change and channel pressure: one
            if (end - at < count) return false;
            for (size_t i = 0; i < count; ++i)
                if (b[at + i] >= 0x80) return false;
            at += count;
            continue;
        }
        // Meta and system-exclusive events cancel running status. The player reads 0xF7 as a
        // channel message it does not know, and the system messages have no place in a file.
        running = 0;
        const bool meta = status == 0xFF;
        if (!meta && status != 0xF0) return false;
        if (meta && at == end) return false;
        const uint8_t type = meta ? b[at++] : 0;
        if (!ReadNumber(b, at, end, value) || value > end - at) return false;
        if (meta && !MetaFits(type, b.subspan(at, value))) return false;
        at += value;
        if (meta && type == 0x2F) return at == end;
    }
    return false;  // no end of track
}

}  // namespace

bool IsMidiFile(std::span<const uint8_t> bytes) {
    if (bytes.size() < 14 || std::memcmp(bytes.data(), "MThd", 4) != 0) return false;
    const uint16_t format = Be16(bytes, 8);
    const uint16_t tracks = Be16(bytes, 10);
    const uint16_t division = Be16(bytes, 12);
    // The player refuses a header of any other length than 6 bytes.
    if (Be32(bytes, 4) != 6) return false;
    if (format > 2 || tracks == 0 || tracks > kMaxTracks || (format == 0 && tracks != 1)) return false;
    // Ticks a quarter note; with the top bit set, SMPTE frames, which the player cannot time.
    if (division == 0 || division >= 0x8000) return false;

    // Every chunk after the header must lie inside the data and hold the tracks announced.
    // Lengths are compared against what is left rather than added to the position, so no
    // sum can wrap; the position never passes the end.
    size_t at = 14;
    size_t found = 0;
    while (at < bytes.size()) {
        if (bytes.size() - at < 8) return false;
        const uint32_t length = Be32(bytes, at + 4);
        if (length > bytes.size() - at - 8) return false;
        // The player gives up on a chunk whose id is not ASCII.
        for (size_t i = 0; i < 4; ++i)
            if (bytes[at + i] >= 0x80) return false;
        if (std::memcmp(bytes.data() + at, "MTrk", 4) == 0) {
            if (!IsTrack(bytes, at + 8, at + 8 + size_t(length))) return false;
            ++found;
        }
        at += 8 + size_t(length);
    }
    return found == tracks;
}

}  // namespace dw

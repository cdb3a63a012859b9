// The check every tune passes as it loads: a file the synthesizer's player cannot read whole is refused.
#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/music.h"

namespace dw {
namespace {

using Bytes = std::vector<uint8_t>;

void Be(Bytes& b, uint32_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) b.push_back(uint8_t(v >> (8 * i)));
}

Bytes Chunk(std::string_view id, const Bytes& data) {
    Bytes b(id.begin(), id.end());
    Be(b, uint32_t(data.size()), 4);
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

// A header of headerLength bytes, padded with zeros, then the chunks.
Bytes File(uint32_t format, uint32_t tracks, uint32_t division, const std::vector<Bytes>& chunks,
           uint32_t headerLength = 6) {
    Bytes b = {'M', 'T', 'h', 'd'};
    Be(b, headerLength, 4);
    for (uint32_t v : {format, tracks, division}) Be(b, v, 2);
    b.resize(b.size() - 6 + headerLength);
    for (const Bytes& chunk : chunks) b.insert(b.end(), chunk.begin(), chunk.end());
    return b;
}

// A format-0 file of this one track.
Bytes Tune(const Bytes& track) { return File(0, 1, 96, {Chunk("MTrk", track)}); }

Bytes Changed(Bytes b, size_t at, uint8_t value) {
    b.at(at) = value;
    return b;
}

TEST(MidiCheck, TheHeaderChunksAndEveryEventMustBeWhatThePlayerReads) {
    const Bytes end = Chunk("MTrk", {0, 0xFF, 0x2F, 0});  // a track of no length
    const Bytes one = File(0, 1, 96, {end});
    const struct {
        const char* name;
        Bytes file = {};    // or else a format-0 file of one track:
        Bytes events = {};  // these events, then the end of track
        bool valid;
    } rows[] = {
        {.name = "one track", .file = one, .valid = true},
        {.name = "a chunk of another kind", .file = File(1, 1, 480, {Chunk("XFIH", {1}), end}), .valid = true},
        {.name = "127 tracks", .file = File(2, 127, 96, std::vector(127, end)), .valid = true},
        {.name = "128 tracks", .file = File(2, 128, 96, std::vector(128, end)), .valid = false},
        {.name = "no such format", .file = File(3, 1, 96, {end}), .valid = false},
        {.name = "no tracks", .file = File(1, 0, 96, {}), .valid = false},
        {.name = "two tracks in format 0", .file = File(0, 2, 96, {end, end}), .valid = false},
        {.name = "no division", .file = File(0, 1, 0, {end}), .valid = false},
        {.name = "the largest division", .file = File(0, 1, 0x7FFF, {end}), .valid = true},
        {.name = "a division in SMPTE frames", .file = File(0, 1, 0x8000, {end}), .valid = false},
        {.name = "a header length of 5", .file = Changed(one, 7, 5), .valid = false},
        {.name = "a header of 14 bytes", .file = File(0, 1, 96, {end}, 14), .valid = false},
        {.name = "fewer tracks than announced", .file = File(1, 3, 96, {end, end}), .valid = false},
        {.name = "more tracks than announced", .file = File(1, 1, 96, {end, end}), .valid = false},
        {.name = "a chunk id not in ASCII", .file = File(1, 1, 96, {Chunk("XF\x80H", {}), end}), .valid = false},
        {.name = "the track cut short", .file = Bytes(one.begin(), one.end() - 1), .valid = false},
        {.name = "half a chunk header", .file = File(0, 1, 96, {end, {'M', 'T', 'r', 'k'}}), .valid = false},
        {.name = "a chunk past the end", .file = File(0, 1, 96, {{'M', 'T', 'r', 'k', 0x80, 0, 0, 0}}), .valid = false},
        {.name = "shorter than a header", .file = Bytes(one.begin(), one.begin() + 13), .valid = false},
        {.name = "not MThd", .file = Changed(one, 3, 'D'), .valid = false},

        {.name = "notes under running status", .events = {0, 0x90, 60, 100, 96, 60, 0}, .valid = true},
        {.name = "a controller, programs", .events = {0, 0xBF, 7, 100, 0, 0xC0, 5, 0, 6}, .valid = true},
        {.name = "channel pressure, pitch bend", .events = {0, 0xDF, 64, 0, 0xE0, 0, 64}, .valid = true},
        {.name = "a controller of 1 byte", .events = {0, 0xBF, 7}, .valid = false},
        {.name = "a program change of 2 bytes", .events = {0, 0xC0, 5, 6}, .valid = false},
        {.name = "a pitch bend of 1 byte", .events = {0, 0xE0, 64}, .valid = false},
        {.name = "a data byte of 0x80", .events = {0, 0x90, 60, 0x80}, .valid = false},
        {.name = "a data byte first in the track", .events = {0, 60, 100}, .valid = false},
        {.name = "running status after meta", .events = {0, 0x90, 60, 9, 0, 0xFF, 1, 0, 0, 60, 0}, .valid = false},
        {.name = "running status after sysex", .events = {0, 0x90, 60, 9, 0, 0xF0, 0, 0, 60, 0}, .valid = false},
        {.name = "sysex, meta, new status", .events = {0, 0xF0, 1, 0xF7, 0, 0xFF, 1, 0, 0, 0x90, 60, 9}, .valid = true},
        {.name = "a delta time of 4 bytes", .events = {0xFF, 0xFF, 0xFF, 0x7F, 0x90, 60, 9}, .valid = true},
        {.name = "a delta time of 5 bytes", .events = {0x80, 0x80, 0x80, 0x80, 0, 0x90, 60, 9}, .valid = false},
        {.name = "a meta length in 2 bytes", .events = {0, 0xFF, 1, 0x80, 2, 'h', 'i'}, .valid = true},
        {.name = "a meta length 1 past the end", .file = Tune({0, 0xFF, 1, 5, 0, 0xFF, 0x2F, 0}), .valid = false},
        {.name = "tempos 0x10000, 1", .events = {0, 0xFF, 0x51, 3, 1, 0, 0, 0, 0xFF, 0x51, 3, 0, 0, 1}, .valid = true},
        {.name = "a tempo of 0x100", .events = {0, 0xFF, 0x51, 3, 0, 1, 0}, .valid = true},
        {.name = "a key signature", .events = {0, 0xFF, 0x59, 2, 0, 0}, .valid = true},
        {.name = "a SMPTE offset", .events = {0, 0xFF, 0x54, 5, 1, 2, 3, 4, 5}, .valid = true},
        {.name = "a time signature", .events = {0, 0xFF, 0x58, 4, 4, 2, 24, 8}, .valid = true},
        {.name = "a tempo of 2 bytes", .events = {0, 0xFF, 0x51, 2, 7, 0xA1}, .valid = false},
        {.name = "a tempo of zero", .events = {0, 0xFF, 0x51, 3, 0, 0, 0}, .valid = false},
        {.name = "a time signature of 3 bytes", .events = {0, 0xFF, 0x58, 3, 4, 2, 24}, .valid = false},
        {.name = "sysex begun with 0xF7", .events = {0, 0xF7, 0}, .valid = false},
        {.name = "a song position", .events = {0, 0xF2, 0}, .valid = false},
        {.name = "a real-time message", .events = {0, 0xFE, 0}, .valid = false},
        {.name = "no end of track", .file = Tune({0, 0x90, 60, 100}), .valid = false},
        {.name = "an end of track with data", .file = Tune({0, 0xFF, 0x2F, 1, 0}), .valid = false},
        {.name = "a byte after the end of track", .file = Tune({0, 0xFF, 0x2F, 0, 0}), .valid = false},
        {.name = "two ends of track", .file = Tune({0, 0xFF, 0x2F, 0, 0, 0xFF, 0x2F, 0}), .valid = false},
    };
    for (const auto& row : rows) {
        Bytes events = row.events;
        events.insert(events.end(), {0, 0xFF, 0x2F, 0});
        EXPECT_EQ(IsMidiFile(row.file.empty() ? Tune(events) : row.file), row.valid) << row.name;
    }
}

}  // namespace
}  // namespace dw

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/music.h"

namespace dw {
namespace {

void Be(std::vector<uint8_t>& b, uint32_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) b.push_back(uint8_t(v >> (8 * i)));
}

// A standard MIDI file: the header, then chunks of zero bytes with these ids and lengths.
std::vector<uint8_t> Midi(uint32_t format, uint32_t tracks, uint32_t division,
                          const std::vector<std::pair<std::string, uint32_t>>& chunks, uint32_t headerLength = 6) {
    std::vector<uint8_t> b = {'M', 'T', 'h', 'd'};
    Be(b, headerLength, 4);
    for (uint32_t v : {format, tracks, division}) Be(b, v, 2);
    b.resize(b.size() + headerLength - 6);
    for (const auto& [id, length] : chunks) {
        b.insert(b.end(), id.begin(), id.end());
        Be(b, length, 4);
        b.resize(b.size() + length);
    }
    return b;
}

TEST(MidiCheck, HeaderAndTrackChunksMustAgreeAndLieInsideTheData) {
    const std::vector<uint8_t> one = Midi(0, 1, 480, {{"MTrk", 4}});
    auto cut = [](std::vector<uint8_t> b, size_t n) { return b.resize(b.size() - n), b; };
    auto grown = [](std::vector<uint8_t> b, std::vector<uint8_t> more) { return b.insert(b.end(), more.begin(), more.end()), b; };
    const std::pair<std::vector<uint8_t>, bool> rows[] = {
        // Accepted: one track; two, the last one empty; a longer header; a chunk of another kind.
        {one, true}, {Midi(1, 2, 480, {{"MTrk", 3}, {"MTrk", 0}}), true}, {Midi(2, 1, 96, {{"MTrk", 2}}, 8), true},
        {Midi(1, 1, 480, {{"MTrk", 2}, {"XFIH", 2}}), true},
        // No such format, no tracks, two tracks in format 0, no division.
        {Midi(3, 1, 480, {{"MTrk", 2}}), false}, {Midi(1, 0, 480, {}), false},
        {Midi(0, 2, 480, {{"MTrk", 2}, {"MTrk", 2}}), false}, {Midi(1, 1, 0, {{"MTrk", 2}}), false},
        // A header of 5 bytes, after which a track chunk would follow.
        {{'M', 'T', 'h', 'd', 0, 0, 0, 5, 0, 0, 0, 1, 0, 'M', 'T', 'r', 'k', 0, 0, 0, 0}, false},
        // Fewer or more tracks than announced; a track past the end; half a chunk header.
        {Midi(1, 3, 480, {{"MTrk", 1}, {"MTrk", 1}}), false}, {Midi(1, 1, 480, {{"MTrk", 1}, {"MTrk", 1}}), false},
        {cut(one, 1), false}, {grown(one, {'M', 'T', 'r', 'k'}), false}, {grown(Midi(0, 1, 480, {}), {'M', 'T', 'r', 'k', 0x80, 0, 0, 0}), false},
        // Shorter than a header; not "MThd".
        {cut(one, one.size() - 13), false}, {grown({'M', 'T', 'h', 'D'}, std::vector<uint8_t>(one.begin() + 4, one.end())), false},
    };
    for (size_t i = 0; i < std::size(rows); ++i) EXPECT_EQ(IsMidiFile(rows[i].first), rows[i].second) << "row " << i;
}

}  // namespace
}  // namespace dw

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/wave.h"

namespace dw {
namespace {

void Add(std::vector<uint8_t>& b, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b.push_back(uint8_t(v >> (8 * i)));
}

struct Chunk {
    std::string id;
    std::vector<uint8_t> body;
    int64_t declared = -1;  // size written in the header; -1 = the body's size
};

// RIFF/WAVE file of the given chunks, each padded to an even length; riffCut shortens
// the declared RIFF size.
std::vector<uint8_t> Wave(const std::vector<Chunk>& chunks, uint32_t riffCut = 0) {
    std::vector<uint8_t> b = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    for (const Chunk& c : chunks) {
        b.insert(b.end(), c.id.begin(), c.id.end());
        Add(b, c.declared < 0 ? uint32_t(c.body.size()) : uint32_t(c.declared), 4);
        b.insert(b.end(), c.body.begin(), c.body.end());
        b.resize(b.size() + c.body.size() % 2);
    }
    const uint32_t riffSize = uint32_t(b.size() - 8) - riffCut;
    for (size_t i = 0; i < 4; ++i) b[4 + i] = uint8_t(riffSize >> (8 * i));
    return b;
}

// A format chunk of `keep` bytes: tag, channels, rate, byte rate, block align, bits.
Chunk Fmt(uint32_t tag, uint32_t ch, uint32_t rate, uint32_t avg, uint32_t align, uint32_t bits, size_t keep = 16,
          int64_t declared = -1) {
    Chunk c{"fmt ", {}, declared};
    for (auto [v, n] : {std::pair{tag, 2}, {ch, 2}, {rate, 4}, {avg, 4}, {align, 2}, {bits, 2}}) Add(c.body, v, n);
    c.body.resize(keep);
    return c;
}
const Chunk kMono16 = Fmt(1, 1, 22050, 44100, 2, 16);
const Chunk kList{"LIST", {'a', 'b', 'c'}};  // odd size: padded
const Chunk kData{"data", {1, 2, 3, 4, 5, 6}};

TEST(Wave, ReadsFormatAndSamplesPastOtherChunksAndEachBadFileFailsAtItsStep) {
    WaveData out;
    ASSERT_EQ(ReadWave(Wave({kList, Fmt(1, 2, 8000, 16000, 2, 8, 18), kList, kData}), out), 0);
    const WaveFormat& fmt = out.format;
    EXPECT_EQ(std::vector<uint32_t>({fmt.formatTag, fmt.channels, fmt.samplesPerSec, fmt.avgBytesPerSec, fmt.blockAlign,
                                     fmt.bitsPerSample}),
              std::vector<uint32_t>({1, 2, 8000, 16000, 2, 8}));
    EXPECT_EQ(out.samples, kData.body);

    auto patched = [](size_t at, uint8_t value) {
        std::vector<uint8_t> f = Wave({kMono16, kData});
        f[at] = value;
        return f;
    };
    const std::pair<std::vector<uint8_t>, int> rows[] = {
        // Whole files; a RIFF size past the data; the lowest and highest rates.
        {Wave({kMono16, kData}), 0},
        {patched(6, 1), 0},
        {Wave({Fmt(1, 1, 4000, 8000, 2, 16), kData}), 0},
        {Wave({Fmt(1, 2, 192000, 768000, 4, 16), Chunk{"data", {1, 2, 3, 4}}}), 0},
        // Empty; RIFX, WAVX, cut in the form type, a RIFF size below 4.
        {{}, 1},
        {patched(3, 'X'), 2},
        {patched(11, 'X'), 2},
        {{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V'}, 2},
        {patched(4, 3), 2},
        // No format chunk, or a chunk before it that runs past the end.
        {Wave({}), 3},
        {Wave({kList, kData}), 3},
        {Wave({Chunk{"LIST", {1, 2}, 100}, kMono16, kData}), 3},
        // Not PCM, no channels, three, 24 bits, rate too low and too high, wrong block align and byte rate.
        {Wave({Fmt(3, 1, 22050, 44100, 2, 16), kData}), 4},
        {Wave({Fmt(1, 0, 22050, 0, 0, 16), kData}), 4},
        {Wave({Fmt(1, 3, 22050, 132300, 6, 16), kData}), 4},
        {Wave({Fmt(1, 1, 22050, 66150, 3, 24), kData}), 4},
        {Wave({Fmt(1, 1, 3999, 7998, 2, 16), kData}), 4},
        {Wave({Fmt(1, 1, 192001, 384002, 2, 16), kData}), 4},
        {Wave({Fmt(1, 1, 22050, 88200, 4, 16), kData}), 4},
        {Wave({Fmt(1, 1, 22050, 44101, 2, 16), kData}), 4},
        // 14 bytes of format; a format cut by the end; past the end; its pad byte past the end.
        {Wave({Fmt(1, 1, 22050, 44100, 2, 16, 14), kData}), 4},
        {Wave({Fmt(1, 1, 22050, 44100, 2, 16, 14, 16)}), 4},
        {Wave({Fmt(1, 1, 22050, 44100, 2, 16, 16, 1000), kData}), 5},
        {Wave({Fmt(1, 1, 22050, 44100, 2, 16, 17, 17)}, 1), 5},
        // No data chunk, or one outside the RIFF body or behind a chunk running past the end.
        {Wave({kMono16}), 6},
        {Wave({kMono16, kList}), 6},
        {Wave({kMono16, kData}, 14), 6},
        {Wave({kMono16, Chunk{"LIST", {1, 2}, 100}, kData}), 6},
        // Data empty, half a block, cut by the RIFF size or by the end.
        {Wave({kMono16, Chunk{"data", {}}}), 7},
        {Wave({kMono16, Chunk{"data", {1, 2, 3}}}), 7},
        {Wave({kMono16, kData}, 1), 7},
        {Wave({kMono16, Chunk{"data", {1, 2}, 4}}), 7},
        {Wave({kMono16, Chunk{"data", {1, 2}, 0xFFFFFFFE}}), 7},
    };
    for (size_t i = 0; i < std::size(rows); ++i) EXPECT_EQ(ReadWave(rows[i].first, out), rows[i].second) << "row " << i;
    // Up to 64 MiB of samples (silence appended to the headers, the RIFF size grown to match).
    for (auto [bytes, step] : {std::pair{uint32_t(64) << 20, 0}, {(uint32_t(64) << 20) + 2, 7}}) {
        std::vector<uint8_t> file = Wave({kMono16, Chunk{"data", {}, bytes}}, 0 - bytes);
        file.resize(file.size() + bytes);
        EXPECT_EQ(ReadWave(file, out), step) << bytes;
    }
    const std::vector<uint8_t> full = Wave({kList, kMono16, kList, kData});
    for (size_t n = 0; n < full.size(); ++n) {
        const int step = ReadWave(std::span(full.data(), n), out);
        EXPECT_TRUE(step >= 1 && step <= 7) << "length " << n << " step " << step;
    }
}

}  // namespace
}  // namespace dw

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

// The fields of a format chunk, 16-bit mono at 22050 Hz unless a row says otherwise.
struct Format {
    uint32_t tag = 1;
    uint32_t channels = 1;
    uint32_t rate = 22050;
    uint32_t byteRate = 44100;
    uint32_t align = 2;
    uint32_t bits = 16;
    size_t keep = 16;       // bytes of the body written
    int64_t declared = -1;  // as in Chunk
};

Chunk Fmt(const Format& f) {
    Chunk c{.id = "fmt ", .body = {}, .declared = f.declared};
    Add(c.body, f.tag, 2);
    Add(c.body, f.channels, 2);
    Add(c.body, f.rate, 4);
    Add(c.body, f.byteRate, 4);
    Add(c.body, f.align, 2);
    Add(c.body, f.bits, 2);
    c.body.resize(f.keep);
    return c;
}
const Chunk kMono16 = Fmt({});
const Chunk kList{"LIST", {'a', 'b', 'c'}};  // odd size: padded
const Chunk kData{"data", {1, 2, 3, 4, 5, 6}};

TEST(Wave, ReadsFormatAndSamplesPastOtherChunksAndEachBadFileFailsAtItsStep) {
    WaveData out;
    const Format stereo8{.channels = 2, .rate = 8000, .byteRate = 16000, .bits = 8, .keep = 18};
    ASSERT_EQ(ReadWave(Wave({kList, Fmt(stereo8), kList, kData}), out), 0);
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
    const struct {
        std::vector<uint8_t> file;
        int step;
    } rows[] = {
        // A RIFF size past the data; the lowest and highest rates.
        {.file = patched(6, 1), .step = 0},
        {.file = Wave({Fmt({.rate = 4000, .byteRate = 8000}), kData}), .step = 0},
        {.file = Wave({Fmt({.rate = 192000, .byteRate = 192000 * 2}), kData}), .step = 0},
        // Empty; RIFX, WAVX, cut in the form type, a RIFF size below 4.
        {.file = {}, .step = 1},
        {.file = patched(3, 'X'), .step = 2},
        {.file = patched(11, 'X'), .step = 2},
        {.file = {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V'}, .step = 2},
        {.file = patched(4, 3), .step = 2},
        // No format chunk, or a chunk before it that runs past the end.
        {.file = Wave({}), .step = 3},
        {.file = Wave({kList, kData}), .step = 3},
        {.file = Wave({Chunk{"LIST", {1, 2}, 100}, kMono16, kData}), .step = 3},
        // Not PCM, no channels, three, 24 bits, rate too low and too high, wrong block align and byte rate.
        {.file = Wave({Fmt({.tag = 3}), kData}), .step = 4},
        {.file = Wave({Fmt({.channels = 0, .byteRate = 0, .align = 0}), kData}), .step = 4},
        {.file = Wave({Fmt({.channels = 3, .byteRate = 22050 * 6, .align = 6}), kData}), .step = 4},
        {.file = Wave({Fmt({.byteRate = 22050 * 3, .align = 3, .bits = 24}), kData}), .step = 4},
        {.file = Wave({Fmt({.rate = 3999, .byteRate = 3999 * 2}), kData}), .step = 4},
        {.file = Wave({Fmt({.rate = 192001, .byteRate = 192001 * 2}), kData}), .step = 4},
        {.file = Wave({Fmt({.byteRate = 22050 * 4, .align = 4}), kData}), .step = 4},
        {.file = Wave({Fmt({.byteRate = 44101}), kData}), .step = 4},
        // The six fields take 16 bytes: a chunk declaring 15 is refused even with bytes after it;
        // 16 declared but cut by the end; past the end; its pad byte past the end.
        {.file = Wave({Fmt({.keep = 15}), kData}), .step = 4},
        {.file = Wave({Fmt({.keep = 14, .declared = 16})}), .step = 4},
        {.file = Wave({Fmt({.declared = 1000}), kData}), .step = 5},
        {.file = Wave({Fmt({.keep = 17})}, 1), .step = 5},
        // No data chunk, or one outside the RIFF body or behind a chunk running past the end.
        {.file = Wave({kMono16}), .step = 6},
        {.file = Wave({kMono16, kList}), .step = 6},
        {.file = Wave({kMono16, kData}, 14), .step = 6},
        {.file = Wave({kMono16, Chunk{"LIST", {1, 2}, 100}, kData}), .step = 6},
        // Data empty, half a block, cut by the RIFF size or by the end.
        {.file = Wave({kMono16, Chunk{"data", {}}}), .step = 7},
        {.file = Wave({kMono16, Chunk{"data", {1, 2, 3}}}), .step = 7},
        {.file = Wave({kMono16, kData}, 1), .step = 7},
        {.file = Wave({kMono16, Chunk{"data", {1, 2}, 4}}), .step = 7},
    };
    for (size_t i = 0; i < std::size(rows); ++i) EXPECT_EQ(ReadWave(rows[i].file, out), rows[i].step) << "row " << i;

    // Up to 64 MiB of samples: silence after the headers, the RIFF size grown to match.
    auto silence = [](uint32_t bytes) {
        std::vector<uint8_t> file = Wave({kMono16, Chunk{"data", {}, bytes}}, 0 - bytes);
        file.resize(file.size() + bytes);
        return file;
    };
    EXPECT_EQ(ReadWave(silence(uint32_t(64) << 20), out), 0);
    EXPECT_EQ(ReadWave(silence((uint32_t(64) << 20) + 2), out), 7);
    // No file cut short reads.
    const std::vector<uint8_t> full = Wave({kList, kMono16, kList, kData});
    for (size_t n = 0; n < full.size(); ++n) EXPECT_NE(ReadWave(std::span(full.data(), n), out), 0) << "length " << n;
}

}  // namespace
}  // namespace dw

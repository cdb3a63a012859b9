#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/wave.h"

namespace dw {
namespace {

void Add16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void Add32(std::vector<uint8_t>& b, uint32_t v) {
    Add16(b, v & 0xFFFF);
    Add16(b, v >> 16);
}

struct Chunk {
    std::string id;
    std::vector<uint8_t> body;
    int64_t declared = -1;  // size written in the header; -1 = the body's size
};

// RIFF/WAVE file of the given chunks, each padded to an even length.
std::vector<uint8_t> MakeWave(const std::vector<Chunk>& chunks) {
    std::vector<uint8_t> b = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    for (const Chunk& c : chunks) {
        b.insert(b.end(), c.id.begin(), c.id.end());
        Add32(b, c.declared < 0 ? uint32_t(c.body.size()) : uint32_t(c.declared));
        b.insert(b.end(), c.body.begin(), c.body.end());
        if (c.body.size() % 2) b.push_back(0);
    }
    const uint32_t riff = uint32_t(b.size() - 8);
    for (int i = 0; i < 4; ++i) b[4 + size_t(i)] = uint8_t(riff >> (8 * i));
    return b;
}

struct Fmt {
    uint32_t tag = 1, channels = 1, rate = 22050, bits = 16;
    uint32_t align = 2, avg = 44100;
};
Chunk FmtChunk(const Fmt& f = {}) {
    Chunk c{"fmt ", {}};
    Add16(c.body, f.tag);
    Add16(c.body, f.channels);
    Add32(c.body, f.rate);
    Add32(c.body, f.avg);
    Add16(c.body, f.align);
    Add16(c.body, f.bits);
    return c;
}
const Chunk kList{"LIST", {'a', 'b', 'c'}};  // odd size: padded
const Chunk kData{"data", {1, 2, 3, 4, 5, 6}};

int Read(const std::vector<uint8_t>& file) {
    WaveData out;
    return ReadWave(file, out);
}

TEST(Wave, ReadsFormatAndSamplesPastOtherChunks) {
    WaveData out;
    const std::vector<uint8_t> file = MakeWave({kList, FmtChunk(), kList, kData});
    ASSERT_EQ(ReadWave(file, out), 0);
    EXPECT_EQ(out.format.formatTag, 1);
    EXPECT_EQ(out.format.channels, 1);
    EXPECT_EQ(out.format.samplesPerSec, 22050u);
    EXPECT_EQ(out.format.avgBytesPerSec, 44100u);
    EXPECT_EQ(out.format.blockAlign, 2);
    EXPECT_EQ(out.format.bitsPerSample, 16);
    EXPECT_EQ(out.samples, kData.body);

    // An 18-byte format chunk (with cbSize) and 8-bit stereo.
    Chunk fmt = FmtChunk({1, 2, 8000, 8, 2, 16000});
    Add16(fmt.body, 0);
    EXPECT_EQ(Read(MakeWave({fmt, kData})), 0);

    // A RIFF size beyond the data is clamped to it.
    std::vector<uint8_t> longRiff = file;
    longRiff[5] = 0x10;
    EXPECT_EQ(Read(longRiff), 0);
}

TEST(Wave, EachBrokenStepReportsItsNumber) {
    EXPECT_EQ(Read({}), 1);

    std::vector<uint8_t> good = MakeWave({FmtChunk(), kData});
    auto patched = [&](size_t at, uint8_t v) {
        std::vector<uint8_t> f = good;
        f[at] = v;
        return Read(f);
    };
    EXPECT_EQ(patched(3, 'X'), 2);  // RIFX
    EXPECT_EQ(patched(11, 'X'), 2);  // WAVX
    EXPECT_EQ(Read(std::vector<uint8_t>(good.begin(), good.begin() + 11)), 2);
    {
        std::vector<uint8_t> f = good;
        f[4] = 3;
        f[5] = f[6] = f[7] = 0;
        EXPECT_EQ(Read(f), 2);  // RIFF size below 4
    }

    EXPECT_EQ(Read(MakeWave({kList, kData})), 3);  // no format chunk
    EXPECT_EQ(Read(MakeWave({Chunk{"LIST", {1, 2}, 100}, FmtChunk(), kData})), 3);
    EXPECT_EQ(Read(MakeWave({})), 3);

    const Fmt badFormats[] = {
        {3, 1, 22050, 16, 2, 44100},    // not PCM
        {1, 3, 22050, 16, 6, 132300},   // three channels
        {1, 1, 22050, 24, 3, 66150},    // 24 bits
        {1, 1, 3999, 16, 2, 7998},      // rate too low
        {1, 1, 192001, 16, 2, 384002},  // rate too high
        {1, 1, 22050, 16, 4, 88200},    // wrong block align
        {1, 1, 22050, 16, 2, 44101},    // wrong byte rate
    };
    for (const Fmt& f : badFormats) EXPECT_EQ(Read(MakeWave({FmtChunk(f), kData})), 4) << f.tag << " " << f.channels;
    Chunk shortFmt = FmtChunk();
    shortFmt.body.resize(14);
    EXPECT_EQ(Read(MakeWave({shortFmt, kData})), 4);
    shortFmt.declared = 16;  // claims 16 bytes, but the file ends first
    EXPECT_EQ(Read(MakeWave({shortFmt})), 4);

    Chunk longFmt = FmtChunk();
    longFmt.declared = 1000;
    EXPECT_EQ(Read(MakeWave({longFmt, kData})), 5);
    Chunk oddFmt = FmtChunk();
    oddFmt.declared = 17;  // its pad byte lies past the end
    std::vector<uint8_t> oddFile = MakeWave({oddFmt});
    oddFile.push_back(0);
    oddFile[4] = uint8_t(oddFile[4] + 1);
    EXPECT_EQ(Read(oddFile), 5);

    EXPECT_EQ(Read(MakeWave({FmtChunk(), kList})), 6);  // no data chunk
    EXPECT_EQ(Read(MakeWave({FmtChunk(), Chunk{"LIST", {1, 2}, 100}, kData})), 6);

    EXPECT_EQ(Read(MakeWave({FmtChunk(), Chunk{"data", {}}})), 7);          // empty
    EXPECT_EQ(Read(MakeWave({FmtChunk(), Chunk{"data", {1, 2, 3}}})), 7);   // half a block
    EXPECT_EQ(Read(MakeWave({FmtChunk(), Chunk{"data", {1, 2}, 4}})), 7);   // past the end
    EXPECT_EQ(Read(MakeWave({FmtChunk(), Chunk{"data", {1, 2}, 0xFFFFFFFE}})), 7);
}

TEST(Wave, EveryTruncationFails) {
    const std::vector<uint8_t> full = MakeWave({kList, FmtChunk(), kList, kData});
    for (size_t n = 0; n < full.size(); ++n) {
        WaveData out;
        const int step = ReadWave(std::span(full.data(), n), out);
        EXPECT_GE(step, 1) << "length " << n;
        EXPECT_LE(step, 7) << "length " << n;
    }
}

}  // namespace
}  // namespace dw

// RIFF/WAVE reading in seven checked steps. No SDL here: the fuzzers link this file.
#include "platform/wave.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace dw {
namespace {

enum Step : int {
    kOk = 0,
    kOpen = 1,
    kFindRiff = 2,
    kFindFmt = 3,
    kReadFormat = 4,
    kLeaveFmt = 5,
    kFindData = 6,
    kReadData = 7,
};

constexpr uint32_t kMinRate = 4000;
constexpr uint32_t kMaxRate = 192000;
constexpr uint64_t kMaxDataBytes = uint64_t(64) << 20;

uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
bool IsId(const uint8_t* p, const char* id) { return std::memcmp(p, id, 4) == 0; }

// Walks chunks from `at` to the end of the RIFF body looking for `id`. Chunks skipped on
// the way must fit (with their pad byte) inside the body. On success `at` is the found
// chunk's header and `size` its declared size.
bool FindChunk(std::span<const uint8_t> file, size_t end, const char* id, size_t& at, uint64_t& size) {
    while (end - at >= 8) {
        size = Le32(file.data() + at + 4);
        if (IsId(file.data() + at, id)) return true;
        const uint64_t skip = 8 + size + (size & 1);
        if (skip > end - at) return false;
        at += size_t(skip);
    }
    return false;
}

}  // namespace

int ReadWave(std::span<const uint8_t> file, WaveData& out) {
    if (file.empty()) return kOpen;

    if (file.size() < 12 || !IsId(file.data(), "RIFF") || !IsId(file.data() + 8, "WAVE")) return kFindRiff;
    const uint64_t riffSize = Le32(file.data() + 4);
    if (riffSize < 4) return kFindRiff;
    // A RIFF size beyond the data is tolerated: the body ends where the data does.
    const size_t end = riffSize + 8 < file.size() ? size_t(riffSize + 8) : file.size();

    size_t at = 12;
    uint64_t fmtSize = 0;
    if (!FindChunk(file, end, "fmt ", at, fmtSize)) return kFindFmt;

    if (fmtSize < 16 || end - at - 8 < 16) return kReadFormat;
    const uint8_t* f = file.data() + at + 8;
    WaveFormat format;
    format.formatTag = Le16(f);
    format.channels = Le16(f + 2);
    format.samplesPerSec = Le32(f + 4);
    format.avgBytesPerSec = Le32(f + 8);
    format.blockAlign = Le16(f + 12);
    format.bitsPerSample = Le16(f + 14);
    if (format.formatTag != 1 || (format.channels != 1 && format.channels != 2) ||
        (format.bitsPerSample != 8 && format.bitsPerSample != 16) || format.samplesPerSec < kMinRate ||
        format.samplesPerSec > kMaxRate || format.blockAlign != format.channels * format.bitsPerSample / 8 ||
        format.avgBytesPerSec != uint64_t(format.samplesPerSec) * format.blockAlign)
        return kReadFormat;

    const uint64_t fmtSpan = 8 + fmtSize + (fmtSize & 1);
    if (fmtSpan > end - at) return kLeaveFmt;
    at += size_t(fmtSpan);

    uint64_t dataSize = 0;
    if (!FindChunk(file, end, "data", at, dataSize)) return kFindData;

    if (dataSize == 0 || dataSize > end - at - 8 || dataSize % format.blockAlign != 0 || dataSize > kMaxDataBytes)
        return kReadData;
    const uint8_t* samples = file.data() + at + 8;
    out.format = format;
    out.samples.assign(samples, samples + dataSize);
    return kOk;
}

}  // namespace dw

// Our own RIFF/WAVE reader. It reads in seven steps and reports the one that failed:
// 1 open, 2 find RIFF/WAVE, 3 find "fmt ", 4 read the format, 5 leave the format chunk,
// 6 find "data", 7 read the data.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace dw {

struct WaveFormat {
    uint16_t formatTag = 0;  // 1 = PCM
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
};

struct WaveData {
    WaveFormat format;
    std::vector<uint8_t> samples;
};

// 0 when the whole file was read into out; otherwise the failed step 1..7.
// Step 1 fails for empty input (nothing to open). Only PCM with 1 or 2 channels,
// 8 or 16 bits and a sane rate passes step 4.
int ReadWave(std::span<const uint8_t> file, WaveData& out);

}  // namespace dw

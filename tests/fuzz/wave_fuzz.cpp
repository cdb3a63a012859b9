// Feeds arbitrary bytes to the WAVE reader.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/wave.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    dw::WaveData out;
    const int step = dw::ReadWave(std::span(data, size), out);
    if (step < 0 || step > 7) std::abort();
    if (step != 0) return 0;
    if (out.samples.empty() || out.samples.size() % out.format.blockAlign != 0) std::abort();
    unsigned sum = 0;
    for (uint8_t s : out.samples) sum += s;
    [[maybe_unused]] volatile unsigned sink = sum;
    return 0;
}

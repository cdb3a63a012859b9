#include <benchmark/benchmark.h>

#include <vector>

#include "platform/display.h"

namespace dw {
namespace {

// One full 800 x 600 frame through the palette into ARGB, as Flip does it.
void BM_ConvertFrame(benchmark::State& state) {
    auto frame = Surface::Create(kScreenWidth, kScreenHeight);
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x) frame->Set(x, y, uint8_t(x * 7 + y * 13));
    ColorTable palette{};
    for (size_t i = 0; i < palette.size(); ++i) palette[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i * 3)};
    std::vector<uint32_t> argb(size_t(kScreenWidth) * kScreenHeight);
    for (auto _ : state) {
        ConvertToArgb(*frame, palette, argb.data(), kScreenWidth * 4);
        benchmark::DoNotOptimize(argb.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kScreenWidth * kScreenHeight);
}
BENCHMARK(BM_ConvertFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace dw

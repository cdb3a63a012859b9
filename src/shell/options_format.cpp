// The bytes of "opt.ez": reading and writing the image, with no file or window involved.
#include <cstdint>
#include <span>

#include "shell/little_endian.h"
#include "shell/options.h"

namespace {

int32_t InRange(int32_t v, int32_t lo, int32_t hi, int32_t fallback) { return v >= lo && v <= hi ? v : fallback; }

}  // namespace

OptionRecord ParseOptions(std::span<const uint8_t> bytes) {
    OptionRecord def;
    auto field = [&](size_t i, int32_t lo, int32_t hi, int32_t fallback) {
        if (bytes.size() < (i + 1) * 4) return fallback;
        return InRange(ReadLe32(bytes.data() + i * 4), lo, hi, fallback);
    };
    OptionRecord o;
    o.FrameWait = field(0, 0, 100, def.FrameWait);
    o.CpuLevel = field(1, 1, 3, def.CpuLevel);
    o.GameMode = field(2, 1, 4, def.GameMode);
    o.LimitDifficulty = field(3, 0, 2, def.LimitDifficulty);
    return o;
}

std::array<uint8_t, kOptionsSize> SerializeOptions(const OptionRecord& o) {
    std::array<uint8_t, kOptionsSize> out{};
    WriteLe32(out.data() + 0, o.FrameWait);
    WriteLe32(out.data() + 4, o.CpuLevel);
    WriteLe32(out.data() + 8, o.GameMode);
    WriteLe32(out.data() + 12, o.LimitDifficulty);
    return out;
}

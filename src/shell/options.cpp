#include "shell/options.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "shell/form.h"
#include "shell/little_endian.h"

namespace {

int32_t InRange(int32_t v, int32_t lo, int32_t hi, int32_t fallback) {
    return v >= lo && v <= hi ? v : fallback;
}

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

OptionRecord ReadOptionsFile(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (!ReadSmallFile(path, kOptionsSize, bytes)) return OptionRecord{};
    return ParseOptions(bytes);
}

bool WriteOptionsFile(const std::string& path, const OptionRecord& options) {
    const auto bytes = SerializeOptions(options);
    return WriteFileAtomically(path, bytes);
}

void TForm1::LoadOptions() {
    const OptionRecord o = ReadOptionsFile(DataDir + "/" + kOptionsFile);
    FrameWait = o.FrameWait;
    CpuLevel = o.CpuLevel;
    GameMode = o.GameMode;
    LimitDifficulty = o.LimitDifficulty;
    LimitFrames = LimitBudget(LimitDifficulty);
    optionsLoaded_ = true;
}

void TForm1::SaveOptions() {
    if (!optionsLoaded_) return;
    OptionRecord o{FrameWait, CpuLevel, GameMode, LimitDifficulty};
    // Never store a value the next start would refuse.
    o = ParseOptions(SerializeOptions(o));
    if (!WriteOptionsFile(DataDir + "/" + kOptionsFile, o))
        std::fprintf(stderr, "Could not write %s\n", kOptionsFile);
}

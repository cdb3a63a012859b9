// Feeds arbitrary bytes to the "opt.ez" reader, then does what the game does with the
// result: keeps it, and writes it back through the same reader when it quits.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "shell/little_endian.h"
#include "shell/options.h"

namespace {

bool Same(const OptionRecord& a, const OptionRecord& b) {
    return a.FrameWait == b.FrameWait && a.CpuLevel == b.CpuLevel && a.GameMode == b.GameMode &&
           a.LimitDifficulty == b.LimitDifficulty;
}

// What a field must read as: the stored value when it is there and in range, else the default.
int32_t Expected(std::span<const uint8_t> bytes, size_t i, int32_t lo, int32_t hi, int32_t fallback) {
    if (bytes.size() < 4 * i + 4) return fallback;
    const int32_t v = ReadLe32(bytes.data() + 4 * i);
    return v >= lo && v <= hi ? v : fallback;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The game reads at most the record's own size; the reader must cope with anything.
    const std::span<const uint8_t> all(data, size);
    const std::span<const uint8_t> image = all.first(std::min(size, kOptionsSize));
    const OptionRecord def;

    const OptionRecord o = ParseOptions(image);
    if (o.FrameWait < 0 || o.FrameWait > 100) std::abort();
    if (o.CpuLevel < 1 || o.CpuLevel > 3) std::abort();
    if (o.GameMode < 1 || o.GameMode > 4) std::abort();
    if (o.LimitDifficulty < 0 || o.LimitDifficulty > 2) std::abort();
    if (LimitBudget(o.LimitDifficulty) <= 0) std::abort();
    const OptionRecord want{Expected(image, 0, 0, 100, def.FrameWait), Expected(image, 1, 1, 3, def.CpuLevel),
                            Expected(image, 2, 1, 4, def.GameMode), Expected(image, 3, 0, 2, def.LimitDifficulty)};
    if (!Same(o, want)) std::abort();

    // Bytes past the record never change what is read.
    if (!Same(ParseOptions(all), o)) std::abort();

    // Writing and reading again gives the same options, and a second write the same bytes.
    const auto bytes = SerializeOptions(o);
    const OptionRecord again = ParseOptions(bytes);
    if (!Same(again, o)) std::abort();
    if (SerializeOptions(again) != bytes) std::abort();

    // A whole record with every field in range is written back byte for byte.
    const bool allInRange = size >= kOptionsSize && Same(o, OptionRecord{ReadLe32(data), ReadLe32(data + 4),
                                                                          ReadLe32(data + 8), ReadLe32(data + 12)});
    if (allInRange && !std::equal(bytes.begin(), bytes.end(), data)) std::abort();
    return 0;
}

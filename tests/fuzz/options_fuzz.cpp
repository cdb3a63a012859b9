// Feeds arbitrary bytes to the "opt.ez" reader, then does what the game does with the
// result: keeps it, and writes it back through the same reader when it quits.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "shell/little_endian.h"
#include "shell/options.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

// Two records are the same when they store the same bytes: every field is stored as it is.
bool Same(const OptionRecord& a, const OptionRecord& b) { return SerializeOptions(a) == SerializeOptions(b); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> all(data, size);
    const std::span<const uint8_t> image = all.first(std::min(size, kOptionsSize));
    const OptionRecord o = ParseOptions(image), def;
    // Whatever was read is a usable setting, and bytes past the record change nothing.
    Check(o.FrameWait >= 0 && o.FrameWait <= 100 && o.CpuLevel >= 1 && o.CpuLevel <= 3 && o.GameMode >= 1 &&
          o.GameMode <= 4 && LimitBudget(o.LimitDifficulty) > 0);
    Check(Same(ParseOptions(all), o));
    // Each field is the stored one or its default.
    const int32_t got[4] = {o.FrameWait, o.CpuLevel, o.GameMode, o.LimitDifficulty};
    const int32_t fallback[4] = {def.FrameWait, def.CpuLevel, def.GameMode, def.LimitDifficulty};
    for (size_t i = 0; i < 4; ++i)
        Check(got[i] == fallback[i] || (image.size() >= 4 * i + 4 && got[i] == ReadLe32(image.data() + 4 * i)));
    // Writing and reading again gives the same options and the same bytes.
    const auto bytes = SerializeOptions(o);
    Check(SerializeOptions(ParseOptions(bytes)) == bytes);
    return 0;
}

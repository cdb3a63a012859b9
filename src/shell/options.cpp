#include "shell/options.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "shell/form.h"
#include "shell/little_endian.h"

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
    if (!WriteOptionsFile(DataDir + "/" + kOptionsFile, o)) std::fprintf(stderr, "Could not write %s\n", kOptionsFile);
}

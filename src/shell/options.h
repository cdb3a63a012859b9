// "opt.ez": four little-endian int32 — FrameWait, CpuLevel, GameMode, LimitDifficulty.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "shell/game_types.h"

inline constexpr size_t kOptionsSize = 16;

// A field that is missing or out of range takes its default; the rest are kept.
OptionRecord ParseOptions(std::span<const uint8_t> bytes);
std::array<uint8_t, kOptionsSize> SerializeOptions(const OptionRecord& options);

// Defaults when the file is missing or unreadable.
OptionRecord ReadOptionsFile(const std::string& path);
// Writes through a temporary file renamed over the old one; false on any failure.
bool WriteOptionsFile(const std::string& path, const OptionRecord& options);

// The two best-table files. "score.zor": the Survival scores, ScoreEntry[8] (64 bytes);
// "score2.zor": the Limit rest times, ScoreEntry[3][8] (192 bytes). Little-endian int32
// pairs {value, robot id}; entries 5..7 of the first row hold three check values.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "shell/game_types.h"

using ScoreRow = std::array<ScoreEntry, 8>;
using LimitTableRows = std::array<ScoreRow, 3>;

inline constexpr const char* kSurvivalFile = "score.zor";
inline constexpr const char* kLimitFile = "score2.zor";
inline constexpr size_t kSurvivalFileSize = 64;
inline constexpr size_t kLimitFileSize = 192;

struct Checks {
    int32_t c1, c2, c3;
};

// Survival: c1 = V0 + 2V1 + 3V2 + 4V3 + 5V4, c2 = V0 - V1 + V2 - V3 + V4 + 1,
// c3 = c1 mod c2 (0 where c2 is 0 or -1). Wrapping 32-bit arithmetic.
Checks SurvivalChecks(const ScoreRow& row);
// Limit: over V(0,0), V(1,1), V(2,2), V(1,3), V(0,4): c1 weighted 1..5, c2 alternating,
// c3 = c1 + c2. Wrapping 32-bit arithmetic.
Checks LimitChecks(const LimitTableRows& table);

// Puts a new value into a best list (entries 0..4, largest first): it replaces entry 4 when
// strictly larger, then rises by one pass of swaps; an equal older value stays above.
void EnterBest(ScoreRow& row, int32_t value, int32_t robotTypeId);

// Reads entries from a file image; a short image reads as if padded with zero bytes.
void ParseEntries(std::span<const uint8_t> bytes, std::span<ScoreEntry> entries);
void SerializeEntries(std::span<const ScoreEntry> entries, std::span<uint8_t> bytes);

// Whole file images. A reader fills the table and returns whether its checks hold; a damaged
// table reads empty. A Survival image that is all zero (a new, empty file) is sound. A
// writer stores the table's checks in it first.
bool ReadSurvivalImage(std::span<const uint8_t> bytes, ScoreRow& row);
std::array<uint8_t, kSurvivalFileSize> WriteSurvivalImage(ScoreRow& row);
bool ReadLimitImage(std::span<const uint8_t> bytes, LimitTableRows& table);
std::array<uint8_t, kLimitFileSize> WriteLimitImage(LimitTableRows& table);

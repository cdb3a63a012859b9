#include "shell/score_files.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "shell/little_endian.h"

namespace {

uint32_t U(int32_t v) { return uint32_t(v); }

bool Matches(const ScoreEntry* checks, const Checks& c) {
    return checks[0].Value == c.c1 && checks[1].Value == c.c2 && checks[2].Value == c.c3;
}

void StoreChecks(ScoreEntry* checks, const Checks& c) {
    checks[0] = {c.c1, 0};
    checks[1] = {c.c2, 0};
    checks[2] = {c.c3, 0};
}

Checks Weighted(const int32_t v[5], uint32_t plus) {
    const uint32_t c1 = U(v[0]) + 2u * U(v[1]) + 3u * U(v[2]) + 4u * U(v[3]) + 5u * U(v[4]);
    const uint32_t c2 = U(v[0]) - U(v[1]) + U(v[2]) - U(v[3]) + U(v[4]) + plus;
    return Checks{int32_t(c1), int32_t(c2), 0};
}

}  // namespace

Checks SurvivalChecks(const ScoreRow& row) {
    const int32_t v[5] = {row[0].Value, row[1].Value, row[2].Value, row[3].Value, row[4].Value};
    Checks c = Weighted(v, 1);
    // The remainder is undefined for 0 and overflows for the most negative value by -1.
    c.c3 = c.c2 == 0 || c.c2 == -1 ? 0 : c.c1 % c.c2;
    return c;
}

Checks LimitChecks(const LimitTableRows& t) {
    const int32_t v[5] = {t[0][0].Value, t[1][1].Value, t[2][2].Value, t[1][3].Value, t[0][4].Value};
    Checks c = Weighted(v, 0);
    c.c3 = int32_t(U(c.c1) + U(c.c2));
    return c;
}

void EnterBest(ScoreRow& row, int32_t value, int32_t robotTypeId) {
    if (row[4].Value < value) row[4] = ScoreEntry{value, robotTypeId};
    for (int i = 4; i >= 1; --i)
        if (row[size_t(i)].Value > row[size_t(i - 1)].Value) std::swap(row[size_t(i)], row[size_t(i - 1)]);
}

void ParseEntries(std::span<const uint8_t> bytes, std::span<ScoreEntry> entries) {
    // A short image reads as far as it goes: the missing bytes count as zero.
    std::vector<uint8_t> padded(entries.size() * 8, 0);
    std::copy_n(bytes.begin(), std::min(bytes.size(), padded.size()), padded.begin());
    for (size_t i = 0; i < entries.size(); ++i)
        entries[i] = ScoreEntry{ReadLe32(padded.data() + 8 * i), ReadLe32(padded.data() + 8 * i + 4)};
}

void SerializeEntries(std::span<const ScoreEntry> entries, std::span<uint8_t> bytes) {
    for (size_t i = 0; i < entries.size() && 8 * i + 8 <= bytes.size(); ++i) {
        WriteLe32(bytes.data() + 8 * i, entries[i].Value);
        WriteLe32(bytes.data() + 8 * i + 4, entries[i].RobotTypeId);
    }
}

bool ReadSurvivalImage(std::span<const uint8_t> bytes, ScoreRow& row) {
    ParseEntries(bytes, row);
    const bool sound = std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0; }) ||
                       Matches(&row[5], SurvivalChecks(row));
    if (!sound) row = {};
    return sound;
}

std::array<uint8_t, kSurvivalFileSize> WriteSurvivalImage(ScoreRow& row) {
    StoreChecks(&row[5], SurvivalChecks(row));
    std::array<uint8_t, kSurvivalFileSize> out{};
    SerializeEntries(row, out);
    return out;
}

bool ReadLimitImage(std::span<const uint8_t> bytes, LimitTableRows& table) {
    for (size_t r = 0; r < 3; ++r) ParseEntries(bytes.subspan(std::min(bytes.size(), 64 * r)), table[r]);
    const bool sound = Matches(&table[0][5], LimitChecks(table));
    if (!sound) table = {};
    return sound;
}

std::array<uint8_t, kLimitFileSize> WriteLimitImage(LimitTableRows& table) {
    StoreChecks(&table[0][5], LimitChecks(table));
    std::array<uint8_t, kLimitFileSize> out{};
    for (size_t r = 0; r < 3; ++r) SerializeEntries(table[r], std::span(out).subspan(64 * r, 64));
    return out;
}

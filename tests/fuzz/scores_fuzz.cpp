// Feeds arbitrary bytes to the best-table readers as both "score.zor" (Survival, 64 bytes)
// and "score2.zor" (Limit, 192 bytes), and does with each image what the game does at the
// end of a run: read, check, start afresh when damaged, enter a value, store the checks,
// write, and read the written image again.
#include <algorithm>
#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "shell/little_endian.h"
#include "shell/score_files.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

bool Same(const ScoreEntry& a, const ScoreEntry& b) {
    return a.Value == b.Value && a.RobotTypeId == b.RobotTypeId;
}

bool SameRows(std::span<const ScoreEntry> a, std::span<const ScoreEntry> b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), Same);
}

bool Matches(const ScoreEntry* checks, const Checks& c) {
    return checks[0].Value == c.c1 && checks[1].Value == c.c2 && checks[2].Value == c.c3;
}

void StoreChecks(ScoreEntry* checks, const Checks& c) {
    checks[0] = {c.c1, 0};
    checks[1] = {c.c2, 0};
    checks[2] = {c.c3, 0};
}

// The low 32 bits of a 64-bit sum, as the two's-complement value the file stores.
int32_t Wrap(int64_t v) { return int32_t(uint32_t(uint64_t(v))); }

Checks ReferenceChecks(const int32_t v[5], int64_t plus, bool remainder) {
    const int64_t s1 = int64_t(v[0]) + 2 * int64_t(v[1]) + 3 * int64_t(v[2]) + 4 * int64_t(v[3]) +
                       5 * int64_t(v[4]);
    const int64_t s2 = int64_t(v[0]) - int64_t(v[1]) + int64_t(v[2]) - int64_t(v[3]) + int64_t(v[4]) + plus;
    const int32_t c1 = Wrap(s1);
    const int32_t c2 = Wrap(s2);
    int32_t c3 = 0;
    if (remainder) {
        c3 = c2 == 0 || c2 == -1 ? 0 : int32_t(int64_t(c1) % int64_t(c2));
    } else {
        c3 = Wrap(int64_t(c1) + int64_t(c2));
    }
    return Checks{c1, c2, c3};
}

bool SameChecks(const Checks& a, const Checks& b) { return a.c1 == b.c1 && a.c2 == b.c2 && a.c3 == b.c3; }

// EnterBest on a copy, checked against what the list must look like afterwards.
void EnterAndCheck(ScoreRow& row, int32_t value, int32_t robot) {
    const ScoreRow before = row;
    EnterBest(row, value, robot);
    for (size_t i = 5; i < 8; ++i) Check(Same(row[i], before[i]));

    // Always a permutation of the list with entry 4 possibly replaced.
    ScoreRow replaced = before;
    if (before[4].Value < value) replaced[4] = ScoreEntry{value, robot};
    auto key = [](const ScoreEntry& e) { return std::pair(e.Value, e.RobotTypeId); };
    std::array<std::pair<int32_t, int32_t>, 5> a{}, b{};
    for (size_t i = 0; i < 5; ++i) {
        a[i] = key(row[i]);
        b[i] = key(replaced[i]);
    }
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    Check(a == b);

    // A list in order stays in order, and a new value goes below every older equal one.
    bool ordered = true;
    for (size_t i = 1; i < 5; ++i) ordered = ordered && before[i - 1].Value >= before[i].Value;
    if (!ordered) return;
    ScoreRow want = before;
    if (before[4].Value < value) {
        size_t at = 0;
        while (at < 4 && before[at].Value >= value) ++at;
        for (size_t i = 4; i > at; --i) want[i] = before[i - 1];
        want[at] = ScoreEntry{value, robot};
    }
    Check(SameRows(row, want));
}

bool AllZero(std::span<const uint8_t> bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0; });
}

void Survival(std::span<const uint8_t> all, int32_t value, int32_t robot) {
    const std::span<const uint8_t> image = all.first(std::min(all.size(), kSurvivalFileSize));
    ScoreRow table{};
    ParseEntries(image, table);
    // Bytes past the table never count, and missing ones read as zero.
    ScoreRow fromAll{};
    ParseEntries(all, fromAll);
    Check(SameRows(table, fromAll));
    for (size_t i = 0; i < table.size(); ++i) {
        if (8 * i + 8 <= image.size()) {
            Check(table[i].Value == ReadLe32(image.data() + 8 * i));
            Check(table[i].RobotTypeId == ReadLe32(image.data() + 8 * i + 4));
        } else if (8 * i >= image.size()) {
            Check(table[i].Value == 0 && table[i].RobotTypeId == 0);
        }
    }

    const int32_t v[5] = {table[0].Value, table[1].Value, table[2].Value, table[3].Value, table[4].Value};
    Check(SameChecks(SurvivalChecks(table), ReferenceChecks(v, 1, true)));

    const bool sound = AllZero(image) || Matches(&table[5], SurvivalChecks(table));
    if (!sound) table = {};
    EnterAndCheck(table, value, robot);
    StoreChecks(&table[5], SurvivalChecks(table));

    std::array<uint8_t, kSurvivalFileSize> out{};
    SerializeEntries(table, out);
    ScoreRow back{};
    ParseEntries(out, back);
    Check(SameRows(back, table));
    Check(Matches(&back[5], SurvivalChecks(back)));
    // Writing what was read gives the same bytes.
    std::array<uint8_t, kSurvivalFileSize> twice{};
    SerializeEntries(back, twice);
    Check(twice == out);
}

void Limit(std::span<const uint8_t> all, int32_t value, int32_t robot, size_t difficulty) {
    const std::span<const uint8_t> image = all.first(std::min(all.size(), kLimitFileSize));
    LimitTableRows table{};
    for (size_t r = 0; r < 3; ++r)
        ParseEntries(image.subspan(std::min(image.size(), 64 * r)), table[r]);
    for (size_t r = 0; r < 3; ++r) {
        for (size_t i = 0; i < 8; ++i) {
            const size_t at = 64 * r + 8 * i;
            if (at + 8 <= image.size()) {
                Check(table[r][i].Value == ReadLe32(image.data() + at));
                Check(table[r][i].RobotTypeId == ReadLe32(image.data() + at + 4));
            } else if (at >= image.size()) {
                Check(table[r][i].Value == 0 && table[r][i].RobotTypeId == 0);
            }
        }
    }

    const int32_t v[5] = {table[0][0].Value, table[1][1].Value, table[2][2].Value, table[1][3].Value,
                          table[0][4].Value};
    Check(SameChecks(LimitChecks(table), ReferenceChecks(v, 0, false)));

    if (!Matches(&table[0][5], LimitChecks(table))) table = {};
    EnterAndCheck(table[difficulty], value, robot);
    StoreChecks(&table[0][5], LimitChecks(table));

    std::array<uint8_t, kLimitFileSize> out{};
    for (size_t r = 0; r < 3; ++r) SerializeEntries(table[r], std::span(out).subspan(64 * r, 64));
    LimitTableRows back{};
    for (size_t r = 0; r < 3; ++r) ParseEntries(std::span(out).subspan(64 * r), back[r]);
    for (size_t r = 0; r < 3; ++r) Check(SameRows(back[r], table[r]));
    Check(Matches(&back[0][5], LimitChecks(back)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> all(data, size);
    // The game reads at most 192 bytes; anything after them chooses the value entered.
    std::array<uint8_t, 9> extra{};
    if (size > kLimitFileSize)
        std::copy_n(data + kLimitFileSize, std::min(extra.size(), size - kLimitFileSize), extra.begin());
    const int32_t value = ReadLe32(extra.data());
    const int32_t robot = ReadLe32(extra.data() + 4);
    const size_t difficulty = extra[8] % 3;

    const int32_t values[] = {value, 0, INT32_MAX, INT32_MIN};
    for (const int32_t v : values) {
        Survival(all, v, robot);
        Limit(all, v, robot, difficulty);
    }
    return 0;
}

// Feeds arbitrary bytes to the best-table readers as both "score.zor" (Survival) and
// "score2.zor" (Limit), and does with each image what the game does at the end of a run:
// read and check it, enter a value, write it, then reads the written image again.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "shell/little_endian.h"
#include "shell/score_files.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

bool Same(std::span<const ScoreEntry> a, std::span<const ScoreEntry> b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const ScoreEntry& x, const ScoreEntry& y) {
        return x.Value == y.Value && x.RobotTypeId == y.RobotTypeId;
    });
}

// Entering keeps a best list in order, and the value is in it exactly when it beat the last.
void Enter(ScoreRow& row, int32_t value, int32_t robot) {
    const ScoreRow before = row;
    EnterBest(row, value, robot);
    Check(Same(std::span(row).subspan(5), std::span(before).subspan(5)));
    const bool found = std::any_of(row.begin(), row.begin() + 5,
                                   [&](const ScoreEntry& e) { return e.Value == value && e.RobotTypeId == robot; });
    Check(found || before[4].Value >= value);
    const auto higher = [](const ScoreEntry& a, const ScoreEntry& b) { return a.Value > b.Value; };
    if (std::is_sorted(before.begin(), before.begin() + 5, higher))
        Check(std::is_sorted(row.begin(), row.begin() + 5, higher));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> all(data, size);
    // The game reads at most 192 bytes; anything after them chooses the value entered.
    std::array<uint8_t, 9> extra{};
    if (size > kLimitFileSize)
        std::copy_n(data + kLimitFileSize, std::min(extra.size(), size - kLimitFileSize), extra.begin());
    const int32_t robot = ReadLe32(extra.data() + 4);
    const size_t difficulty = extra[8] % 3;

    for (const int32_t value : {ReadLe32(extra.data()), 0, INT32_MAX, INT32_MIN}) {
        ScoreRow row{};
        if (!ReadSurvivalImage(all.first(std::min(size, kSurvivalFileSize)), row)) Check(Same(row, ScoreRow{}));
        Enter(row, value, robot);
        const auto image = WriteSurvivalImage(row);
        ScoreRow back{};
        Check(ReadSurvivalImage(image, back) && Same(back, row));
        Check(WriteSurvivalImage(back) == image);

        LimitTableRows table{};
        if (!ReadLimitImage(all.first(std::min(size, kLimitFileSize)), table))
            for (const ScoreRow& r : table) Check(Same(r, ScoreRow{}));
        Enter(table[difficulty], value, robot);
        const auto limitImage = WriteLimitImage(table);
        LimitTableRows limitBack{};
        Check(ReadLimitImage(limitImage, limitBack));
        for (size_t r = 0; r < 3; ++r) Check(Same(limitBack[r], table[r]));
        Check(WriteLimitImage(limitBack) == limitImage);
    }
    return 0;
}

#include "robots/missiles/missile_turns.h"

#include <cstdint>

namespace {

struct TurnStep {
    int8_t dx, dy;
};
using Segment = TurnStep[3];

// Steps of the three turn stages by flying heading and target column. They follow no
// formula; a straight "turn" (j = h) keeps 14 in every non-zero component.
// clang-format off
constexpr Segment kTurn[kHeadings][kHeadings] = {
    {  // heading 0
        {{0, -14}, {0, -14}, {0, -14}},
        {{6, -12}, {6, -6}, {10, -10}},
        {{8, -8}, {12, -4}, {12, 2}},
        {{8, -8}, {8, 0}, {8, 6}},
        {{-4, -8}, {-6, -6}, {-8, 6}},
        {{-8, -8}, {-8, 0}, {-8, 6}},
        {{-8, -8}, {-12, -4}, {-12, 2}},
        {{-6, -12}, {-6, -6}, {-10, -10}},
    },
    {  // heading 1
        {{4, -10}, {0, -10}, {0, -10}},
        {{14, -14}, {14, -14}, {14, -14}},
        {{10, -4}, {10, 0}, {10, 0}},
        {{10, 0}, {8, 4}, {4, 10}},
        {{10, 0}, {8, 4}, {4, 8}},
        {{10, -8}, {4, 4}, {-4, 10}},
        {{0, -10}, {-4, -8}, {-8, -4}},
        {{0, -10}, {-4, -8}, {-10, -4}},
    },
    {  // heading 2
        {{8, -8}, {4, -12}, {-2, -12}},
        {{12, -6}, {6, -6}, {10, -10}},
        {{14, 0}, {14, 0}, {14, 0}},
        {{12, 6}, {6, 6}, {10, 10}},
        {{8, 8}, {4, 12}, {-2, 12}},
        {{-12, 6}, {-6, 6}, {-10, 10}},
        {{8, -8}, {0, -8}, {-8, -8}},
        {{-12, -6}, {-6, -6}, {-10, -10}},
    },
    {  // heading 3
        {{10, 0}, {8, -4}, {4, -8}},
        {{10, 0}, {8, -4}, {4, -10}},
        {{10, 4}, {10, 0}, {10, 0}},
        {{14, 14}, {14, 14}, {14, 14}},
        {{4, 10}, {0, 10}, {0, 10}},
        {{0, 10}, {-8, 4}, {-4, 10}},
        {{0, 10}, {-4, 8}, {-8, -4}},
        {{10, 8}, {-4, -4}, {-4, -8}},
    },
    {  // heading 4
        {{-4, 8}, {-6, 6}, {-8, -6}},
        {{8, 8}, {8, 0}, {8, -6}},
        {{8, 8}, {12, 4}, {12, -2}},
        {{6, 12}, {6, 6}, {10, 10}},
        {{0, 14}, {0, 14}, {0, 14}},
        {{-6, 12}, {-6, 6}, {-10, 10}},
        {{-8, 8}, {-12, 4}, {-12, -2}},
        {{-8, 8}, {-8, 0}, {-8, -6}},
    },
    {  // heading 5
        {{-10, 0}, {8, -4}, {4, -8}},
        {{-10, -8}, {4, -4}, {4, -8}},
        {{0, 10}, {4, 8}, {8, 4}},
        {{0, 10}, {4, 8}, {10, 4}},
        {{-4, 10}, {0, 10}, {0, 10}},
        {{-14, 14}, {-14, 14}, {-14, 14}},
        {{-4, 10}, {-10, 0}, {-10, 0}},
        {{-10, 0}, {-8, -4}, {-4, -10}},
    },
    {  // heading 6
        {{-8, -8}, {-4, -12}, {2, -12}},
        {{12, -6}, {6, -6}, {10, -10}},
        {{-8, -8}, {0, -8}, {8, -8}},
        {{12, 6}, {6, 6}, {10, 10}},
        {{-8, 8}, {-4, 12}, {2, 12}},
        {{-12, 6}, {-6, 6}, {-10, 10}},
        {{-14, 0}, {-14, 0}, {-14, 0}},
        {{-12, -6}, {-6, -6}, {-10, -10}},
    },
    {  // heading 7
        {{-4, -10}, {0, -10}, {0, -10}},
        {{0, -10}, {4, -8}, {10, -4}},
        {{0, -10}, {4, -8}, {8, 4}},
        {{-10, 4}, {0, 10}, {0, 10}},
        {{-10, 0}, {-8, 4}, {4, 8}},
        {{-10, 8}, {-4, 4}, {-4, 8}},
        {{-10, -4}, {-10, 0}, {-10, 0}},
        {{-14, -14}, {-14, -14}, {-14, -14}},
    },
};
// clang-format on

// The second turn repeats the first except in these seven chains.
struct SecondTurn {
    int8_t heading, column;
    Segment steps;
};
// clang-format off
constexpr SecondTurn kSecondTurn[] = {
    {0, 1, {{12, -6}, {6, -6}, {10, -10}}},
    {0, 7, {{-12, -6}, {-6, -6}, {-10, -10}}},
    {1, 5, {{10, -4}, {4, 4}, {-4, 10}}},
    {4, 3, {{12, 6}, {6, 6}, {10, 10}}},
    {4, 5, {{-12, 6}, {-6, 6}, {-10, 10}}},
    {5, 6, {{-4, -10}, {-10, 0}, {-10, 0}}},
    {7, 3, {{-10, 4}, {0, 10}, {10, 0}}},
};
// clang-format on

// Headings whose node (h, 4, 4) has no impact node: a hit there leaves the missile flying.
constexpr bool kNoImpactAt44[kHeadings] = {false, true, false, true, false, true, true, true};

const Segment& SecondSegment(int h, int j) {
    for (const SecondTurn& s : kSecondTurn)
        if (s.heading == h && s.column == j) return s.steps;
    return kTurn[h][j];
}

// Writes one three-node segment starting at node `first` of chain (h, j); it exits into
// node `exit` of chain (j, j).
void WriteSegment(ShotTable& t, int h, int j, int first, int exit, const Segment& steps) {
    for (int s = 0; s < 3; ++s) {
        ShotNode& n = t.Node[h][j][first + s];
        n.Dx = steps[s].dx;
        n.Dy = steps[s].dy;
        n.Duration = 8;
        n.HitHalfHeight = n.HitHalfWidth = 10;
        n.MoveKind = kMoveStraight;
        n.ReachY = n.ReachX = 12;
        n.KnockbackRule = 1;
        n.Next = s < 2 ? &t.Node[h][j][first + s + 1] : &t.Node[j][j][exit];
    }
}

}  // namespace

void MissileTurn(int heading, ShotTable& table) {
    const int h = heading & 7;
    for (int j = 0; j < kHeadings; ++j) {
        WriteSegment(table, h, j, 3, 6, kTurn[h][j]);
        WriteSegment(table, h, j, 8, 11, SecondSegment(h, j));
    }
    if (kNoImpactAt44[h]) table.Node[h][4][4].ImpactNode = nullptr;
}

void MissileTurns(ShotTable& table) {
    for (int h : {3, 5, 4, 2, 6, 1, 7, 0}) MissileTurn(h, table);
}

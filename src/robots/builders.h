// Helpers every robot's data builders share.
#pragma once

#include <algorithm>
#include <cstddef>

#include "robots/records.h"

// Heading signs (sx, sy) for headings 0..7; screen y grows downward.
constexpr int kHeadingSignX[kHeadings] = {0, 1, 1, 1, 0, -1, -1, -1};
constexpr int kHeadingSignY[kHeadings] = {-1, -1, 0, 1, 1, 1, 0, -1};

constexpr bool IsDiagonal(int heading) { return (heading & 1) != 0; }

// A per-heading value given as "a on the axis headings, b on the diagonals": a or b times
// the heading's signs.
constexpr LaunchOffset AxisStep(int heading, int a, int b) {
    const int m = IsDiagonal(heading) ? b : a;
    return LaunchOffset{m * kHeadingSignX[heading & 7], m * kHeadingSignY[heading & 7]};
}

// Columns 0..N-1 of every heading launch at points[heading][column].
template <size_t N>
void SetLaunchPoints(WeaponData& weapon, const LaunchOffset (&points)[kHeadings][N]) {
    static_assert(N <= kColumns);
    for (int h = 0; const auto& columns : points) std::ranges::copy(columns, weapon.LaunchPoint[h++]);
}

// Gives nodes 0..count-1 of column `column` under every heading the launch links of that
// column: heading d launches into node (d, column, 0).
void SetColumnLaunchLinks(ShotTable& table, int column, int count);

// Links nodes 0..count-1 of chain (heading, column) in order; the last one's Next is `last`
// (nullptr: the shot ends there).
void LinkChain(ShotTable& table, int heading, int column, int count, ShotNode* last = nullptr);

// Sets all eight homing links of a node: heading d leads to target(d).
template <typename F>
void SetHomingLinks(ShotNode& node, F target) {
    for (int d = 0; d < kHeadings; ++d) HomingLink(node, d) = target(d);
}

// One stage of a close-combat chain: stage k is node k.
struct MeleeStage {
    int32_t duration;
    int32_t hitKind;
    int32_t stun;
    int32_t reachY;
};

// A close-combat weapon's chain: every node holds the shot at the owner's launch point
// (MoveKind 4), breaks a guard, pushes along its heading and ends when the owner is hit.
struct MeleeChain {
    const MeleeStage* stages;
    int count;
    int32_t damage;
    int32_t halfSize[kHeadings][2];  // hit box {height, width} by heading
    int columns;                     // columns 0..columns-1 of every heading hold the chain
};

// Writes the chain into every heading; the last stage ends the shot.
void WriteMeleeChain(ShotTable& table, const MeleeChain& chain);

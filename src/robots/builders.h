// Helpers every robot's data builders share.
#pragma once

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

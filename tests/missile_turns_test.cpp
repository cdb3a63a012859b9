// The homing missiles' turn nodes, written over a missile builder's table.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>
#include <vector>

#include "robots/builders.h"
#include "robots/missiles/missile_turns.h"
#include "robots/zeredi/missile.h"

TEST(MissileTurns, EachRoutineWritesTheTurnNodesOfItsHeadingOnly) {
    constexpr int kTurnNodes[6] = {3, 4, 5, 8, 9, 10};
    auto table = std::make_unique<ShotTable>();
    ShotTable& t = *table;
    for (auto& heading : t.Node)  // mark what no builder may write
        for (int c = 0; c < kColumns; ++c)
            for (int n = 0; n < kChainNodes; ++n)
                if (c >= 8 || n >= 14) heading[c][n].Duration = 99;
    WeaponData w;
    LizardT_Weapon3(w, t);

    const auto* bytes = reinterpret_cast<const unsigned char*>(&t);
    for (int h : {3, 5, 4, 2, 6, 1, 7, 0}) {
        const std::vector<unsigned char> before(bytes, bytes + sizeof t);
        MissileTurn(h, t);
        for (int d = 0; d < kHeadings; ++d)
            for (int c = 0; c < kColumns; ++c)
                for (int n = 0; n < kChainNodes; ++n) {
                    const size_t at = size_t(reinterpret_cast<const unsigned char*>(&t.Node[d][c][n]) - bytes);
                    const bool changed = std::memcmp(before.data() + at, bytes + at, sizeof(ShotNode)) != 0;
                    const bool turn = std::count(std::begin(kTurnNodes), std::end(kTurnNodes), n) > 0;
                    EXPECT_EQ(changed, d == h && c < 8 && turn) << "routine " << h << " node " << d << c << n;
                    EXPECT_TRUE((c < 8 && n < 14) || t.Node[d][c][n].Duration == 99);
                }
    }

    int differingSecondTurns = 0;
    for (int h = 0; h < kHeadings; ++h)
        for (int j = 0; j < kHeadings; ++j) {
            for (int n : kTurnNodes) {
                const ShotNode& node = t.Node[h][j][n];
                EXPECT_EQ(std::vector<int>({node.Duration, node.HitHalfHeight, node.HitHalfWidth, node.ReachY,
                                            node.ReachX, node.MoveKind, node.KnockbackRule}),
                          std::vector<int>({8, 10, 10, 12, 12, kMoveStraight, 1}));
                EXPECT_EQ(node.Damage, 40);  // the builder's fields stay
                EXPECT_EQ(HomingLink(node, 5), &t.Node[h][j][0]);
                const int exit = n < 8 ? 6 : 11;  // into heading j's own chain
                EXPECT_EQ(node.Next, n == exit - 1 ? &t.Node[j][j][exit] : &t.Node[h][j][n + 1]) << h << j << n;
                if (j == h) {  // straight on: 14 in every non-zero component
                    EXPECT_EQ(node.Dx, AxisStep(h, 14, 14).x);
                    EXPECT_EQ(node.Dy, AxisStep(h, 14, 14).y);
                }
            }
            bool differs = false;
            for (int s = 0; s < 3; ++s)
                differs |= t.Node[h][j][3 + s].Dx != t.Node[h][j][8 + s].Dx ||
                           t.Node[h][j][3 + s].Dy != t.Node[h][j][8 + s].Dy;
            differingSecondTurns += differs;
        }
    EXPECT_EQ(differingSecondTurns, 7);
    EXPECT_EQ(t.Node[7][3][10].Dx, 10);  // one of them: the last stage of 7 -> 3 goes right
    EXPECT_EQ(t.Node[7][3][5].Dx, 0);
}

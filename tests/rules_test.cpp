// Fight rules that cut across robots, played through the fight stage: what a held button
// may fire, which hits push, when the pinch music starts.
#include <gtest/gtest.h>

#include "third_set_rig.h"

namespace {

struct NodeAt {
    int s, k;
};

const ActionNode* NodeOf(const ActionGraph& g, NodeAt n) { return &g.Node[n.s][n.k]; }

}  // namespace

// A button held from one weapon's sequence into another's is no new press: the pass through
// the second weapon's fire node launches nothing. Released, then pressed anew, it fires.
TEST(Rules, HeldButtonIntoAnotherWeaponFiresNothing) {
    struct Case {
        const char* what;
        int robot;
        dw::Key first;
        NodeAt handOver;  // where the second button takes over from the first
        dw::Key second;
        int slot;       // the second button's weapon
        NodeAt passed;  // a node after its fire node
    };
    const Case cases[] = {
        {"DeziVor: chain-saw, then the shot gun", 10, dw::Key::H, {2, 4}, dw::Key::G, 1, {1, 3}},
        {"ViveraziV: rifle, then the fireflies", 16, dw::Key::G, {1, 3}, dw::Key::H, 2, {2, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        third_set::Rig rig(c.robot, 1);
        FighterState& p1 = rig.f.P1Fighter;
        const ActionGraph& g = rig.f.P1Graph;
        rig.Hold(c.first);
        ASSERT_LT(rig.FramesUntil(c.handOver.s, c.handOver.k), 200);
        ASSERT_EQ(p1.FireLatch, 1);  // the first weapon has fired
        rig.Hold(c.first, false);
        rig.Hold(c.second);
        const int32_t ammo = p1.Ammo[c.slot - 1];
        ASSERT_LT(rig.FramesUntil(c.passed.s, c.passed.k), 200);
        EXPECT_EQ(p1.ActionState, c.slot);
        EXPECT_EQ(p1.Ammo[c.slot - 1], ammo);
        EXPECT_EQ(rig.ActiveShots(c.slot - 1), 0);

        rig.Hold(c.second, false);
        ASSERT_LT(rig.FramesUntil(0, 0), 200);
        rig.Hold(c.second);
        ASSERT_LT(rig.FramesUntil(c.passed.s, c.passed.k), 200);
        EXPECT_LT(p1.Ammo[c.slot - 1], ammo);
        EXPECT_EQ(p1.CurrentNode, NodeOf(g, c.passed));
    }
}

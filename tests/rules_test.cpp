// Fight rules that cut across robots, played through the fight stage: what a held button
// may fire, which hits push, when the pinch music starts.
#include <gtest/gtest.h>

#include "fight_rig.h"

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
        fight_rig::Rig rig(c.robot, 1);
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
        EXPECT_EQ(rig.Shots(c.slot - 1), 0);

        rig.Hold(c.second, false);
        ASSERT_LT(rig.FramesUntil(0, 0), 200);
        rig.Hold(c.second);
        ASSERT_LT(rig.FramesUntil(c.passed.s, c.passed.k), 200);
        EXPECT_LT(p1.Ammo[c.slot - 1], ammo);
        EXPECT_EQ(p1.CurrentNode, NodeOf(g, c.passed));
    }
}

// D-2-E's claw breaks guards. The victim, started on a node, is pushed along the claw's
// heading (not away from the claw) only when the node the hit leads it to lets it move:
// 24 px on an axis, 17 per axis on a diagonal.
TEST(Rules, KnockBackMovesOnlyAVictimFreeToMove) {
    struct Case {
        const char* what;
        int robot;
        NodeAt start;
        int state;
        bool guard;  // the guard button held
        int dx, dy;  // victim from attacker
        int pushX, pushY;
        NodeAt after;
        int armour;  // taken by the hit
    };
    const Case cases[] = {
        {"DeziVor guarding", 10, {5, 0}, 5, true, 0, -60, 0, 0, {5, 0}, 8},
        {"DeziVor idle, ahead and a little aside", 10, {0, 0}, 0, false, 20, -60, 0, -24, {6, 0}, 32},
        {"DeziVor idle, on a diagonal", 10, {0, 0}, 0, false, 42, -42, 17, -17, {6, 0}, 32},
        {"D-2-E rooted by its laser, hit node free", 14, {3, 3}, 3, false, -60, 0, -24, 0, {6, 0}, 32},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fight_rig::Rig rig(14, c.robot);
        TForm1& f = rig.f;
        FighterState& v = f.P2Fighter;
        rig.Place(400, 300, 400 + c.dx, 300 + c.dy);
        v.CurrentNode = const_cast<ActionNode*>(NodeOf(f.P2Graph, c.start));
        v.ActionState = c.state;
        v.NodeTicks = 0;
        rig.Hold(dw::Key::Pad6, c.guard);
        rig.Hold(dw::Key::H);
        const int32_t armour = v.Armour;
        int frames = 0;
        while (v.Armour == armour && frames++ < 30) rig.Frame();
        ASSERT_EQ(armour - v.Armour, c.armour);
        const FighterState& a = f.P1Fighter;
        EXPECT_EQ(v.PosX - a.PosX, c.dx + c.pushX);
        EXPECT_EQ(v.PosY - a.PosY, c.dy + c.pushY);
        EXPECT_EQ(v.CurrentNode, NodeOf(f.P2Graph, c.after));
    }
}

// The pinch music starts once either robot's armour is below a third of its most, exactly.
TEST(Rules, PinchStartsBelowAThirdOfEitherArmour) {
    struct Case {
        int player;
        int32_t most, armour;
        bool pinch;
    };
    const Case cases[] = {{0, 460, 153, true}, {0, 460, 154, false}, {1, 460, 153, true},
                          {1, 460, 154, false}, {0, 459, 153, false}, {1, 459, 152, true}};
    fight_rig::Rig rig(14, 14);
    TForm1& f = rig.f;
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "player " << c.player + 1 << ", " << c.armour << " of " << c.most);
        for (int p = 0; p < 2; ++p) {
            FighterState& fi = f.Player(p).fighter;
            f.Player(p).spec.MaxArmour = c.most;
            fi.Armour = p == c.player ? c.armour : c.most;
        }
        f.PinchPlayed = false;
        rig.Frame();
        EXPECT_EQ(f.PinchPlayed, c.pinch);
    }
}

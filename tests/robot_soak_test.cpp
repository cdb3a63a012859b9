// Every robot with data, loaded into either player in every game mode, fights a minute of
// random controls frame by frame without a fault.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>

#include "fight_rig.h"
#include "robots/loading.h"

namespace {

constexpr int kMinute = 3600;
constexpr int kDrawEvery = 20;  // drawing is slow; every 20th frame is drawn

constexpr dw::Key kKeys[] = {
    dw::Key::W,  dw::Key::S,    dw::Key::A,    dw::Key::D,    dw::Key::G,    dw::Key::H,    dw::Key::J,
    dw::Key::K,  dw::Key::B,    dw::Key::V,    dw::Key::Up,   dw::Key::Down, dw::Key::Left, dw::Key::Right,
    dw::Key::Pad1, dw::Key::Pad2, dw::Key::Pad4, dw::Key::Pad5, dw::Key::Pad6, dw::Key::PadAdd,
};

template <typename T>
bool Inside(const T* p, const T* first, size_t count) {
    std::less<const T*> less;
    return !less(p, first) && less(p, first + count);
}

// Whether a player's fighter stands on a node of its own graph in a known state, and its
// live shots on nodes of their slot's own table.
bool InPlace(TForm1& f, int player) {
    PlayerRefs p = f.Player(player);
    if (!Inside(p.fighter.CurrentNode, &p.graph.Node[0][0], size_t(kSequences) * kSequenceNodes)) return false;
    if (p.fighter.ActionState < 0 || p.fighter.ActionState > 6) return false;
    for (int k = 0; k < 4; ++k)
        for (const auto& row : f.Shots.Record[p.firstGroup + k])
            for (const ShotRecord& r : row)
                if (r.Active && !Inside<ShotNode>(r.Node, &p.shotTables[size_t(k)].Node[0][0][0],
                                                  size_t(kHeadings) * kColumns * kChainNodes))
                    return false;
    return true;
}

}  // namespace

TEST(RobotSoak, EveryRobotFightsAMinuteInEveryMode) {
    int count = 0;
    const int32_t* robots = LadderIds(count);
    ASSERT_GE(count, 10);
    std::mt19937 random(20240611u);
    std::unique_ptr<fight_rig::Rig> rig;
    // Each mode pairs robot i with robot i + mode, so every robot fights once as each player.
    for (int mode = 1; mode <= 4; ++mode)
        for (int i = 0; i < count; ++i) {
            const int p1 = robots[i], p2 = robots[(i + mode) % count];
            if (rig)
                rig->Load(p1, p2, mode);
            else
                rig = std::make_unique<fight_rig::Rig>(p1, p2, mode);
            TForm1& f = rig->f;
            SCOPED_TRACE(::testing::Message() << "mode " << mode << ": " << p1 << " against " << p2);
            ASSERT_FALSE(f.Closed());
            for (dw::Key k : kKeys) f.Keys.Press(k, false);
            for (int frame = 0; frame < kMinute; ++frame) {
                for (dw::Key k : kKeys)
                    if (random() % 8 == 0) f.Keys.Press(k, !f.Keys.Down(k));
                rig->Frame();
                if (frame % kDrawEvery == 0) rig->Draw();
                ASSERT_TRUE(InPlace(f, 0) && InPlace(f, 1)) << "frame " << frame;
                if (f.GameState != kStateFight) {  // a knock-out: both stand up again
                    ASSERT_EQ(f.GameState, kStateFightOver) << "frame " << frame;
                    f.P1Fighter.Armour = f.P1Spec.MaxArmour;
                    f.P2Fighter.Armour = f.P2Spec.MaxArmour;
                    f.GameState = kStateFight;
                }
            }
        }
}

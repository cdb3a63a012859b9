// Test helpers for the third set's robots: a fight set up the way the game sets one up
// (both robots loaded by the pre-fight screen change, then stepped frame by frame through
// the controls and the fight stage, on a dummy display in the game's data directory), the
// resources a load asks for, the graph reachable from idle and the rocket fans' symmetry.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/resources.h"
#include "robots/loading.h"
#include "shell/form.h"
#include "test_support.h"

namespace third_set {

struct Rig {
    std::unique_ptr<TForm1> form = std::make_unique<TForm1>();
    TForm1& f = *form;

    Rig(int p1, int p2, int mode = 2) {
        dw::Display::SetPacing(false);
        f.DirectDrawObj = std::make_unique<dw::Display>();
        f.DirectDrawObj->Open("test", true);
        f.CreateDrawingTools();
        f.BuildDammyWeapon();
        f.BuildDefaultMotions();
        Load(p1, p2, mode);
    }

    // Loads both robots and starts the fight: player 1 at (400, 450) facing up, player 2 at
    // (400, 150) facing down. Outside the two-player mode the game draws player 2's robot;
    // the stage and the random seed are set so that the draw gives p2.
    void Load(int p1, int p2, int mode) {
        testing_support::ScopedCwd cwd(DW_GAME_DATA_DIR);
        f.GameMode = mode;
        f.P1RobotId = p1;
        f.P2RobotId = p2;
        for (int s = 0; s < 1000; ++s) {
            f.StageNo = s;
            f.Randomize(uint32_t(s));
            f.ChooseOpponent();
            if (f.P2RobotId == p2) {
                f.Randomize(uint32_t(s));
                break;
            }
        }
        f.ToBefore();
        EXPECT_EQ(f.P2RobotId, p2);
        f.ToFight();
        f.GameState = kStateFight;
        f.LimitFrames = 1 << 30;
        f.LimitElapsed = 0;
    }
    void Place(int x1, int y1, int x2, int y2) {
        f.P1Fighter.PosX = x1;
        f.P1Fighter.PosY = y1;
        f.P2Fighter.PosX = x2;
        f.P2Fighter.PosY = y2;
    }
    void Hold(dw::Key k, bool down = true) { f.Keys.Press(k, down); }
    void Frame(int n = 1) {
        for (int i = 0; i < n; ++i) {
            f.ControlHead();
            f.FightStage();
        }
    }
    // Frames until player 1 stands on node (s, k), at most limit; the frames run.
    int FramesUntil(int s, int k, int limit = 200) {
        int n = 0;
        while (f.P1Fighter.CurrentNode != &f.P1Graph.Node[s][k] && n < limit) {
            Frame();
            ++n;
        }
        return n;
    }
    // Frames from player 1's node (s, k) until it stands on it again.
    int LoopFrames(int s, int k) {
        int n = 0;
        do {
            Frame();
            ++n;
        } while (f.P1Fighter.CurrentNode == &f.P1Graph.Node[s][k] && n < 200);
        return n + FramesUntil(s, k);
    }
    // Draws the frame as the frame loop does: ground, robots and shots, then the overlay.
    void Draw() {
        f.Draw_FS2();
        f.BackDC.emplace(*f.BackSurface(), f.DirectDrawObj->Palette());
        f.Draw_FS();
        f.BackDC.reset();
    }
    int ActiveShots(int group) {
        int n = 0;
        for (auto& row : f.Shots.Record[group])
            for (ShotRecord& r : row) n += r.Active;
        return n;
    }
};

// The view sheets and sounds a load of the row into player 2 asks for, in order; every one
// of them is made.
inline std::vector<std::string> LoadedResources(const RobotRow& row) {
    testing_support::ScopedCwd cwd(DW_GAME_DATA_DIR);
    auto form = std::make_unique<TForm1>();
    TForm1& f = *form;
    f.DirectDrawObj = std::make_unique<dw::Display>();
    f.DirectDrawObj->Open("test", true);
    f.SoundDevice = std::make_unique<dw::SoundDevice>();
    f.SoundDevice->Open();
    f.BuildDammyWeapon();
    f.BuildDefaultMotions();
    std::vector<std::string> seen;
    dw::SetResourceObserver([&](dw::ResourceKind, std::string_view name) { seen.emplace_back(name); });
    f.LoadRobot(1, row);
    dw::SetResourceObserver({});
    for (const auto& s : f.P2Sheets) EXPECT_NE(s, nullptr);
    for (const auto& b : f.P2ShotSounds) EXPECT_NE(b, nullptr);
    f.EndDirectSound();
    return seen;
}

// The nodes reachable from the idle node through any link; a hit leads every one of them
// to the hit node 6.0 but for the guard node 5.0, which stands.
inline std::set<const ActionNode*> ReachableFromIdle(const ActionGraph& g) {
    std::set<const ActionNode*> seen;
    std::vector<const ActionNode*> todo{&g.Node[0][0]};
    while (!todo.empty()) {
        const ActionNode* n = todo.back();
        todo.pop_back();
        if (!n || !seen.insert(n).second) continue;
        const ActionNode* hit = n == &g.Node[5][0] ? n : &g.Node[6][0];
        EXPECT_EQ(n->Next[kSlotHit], hit) << "node " << (n - &g.Node[0][0]) / kSequenceNodes << "."
                                          << (n - &g.Node[0][0]) % kSequenceNodes;
        todo.insert(todo.end(), std::begin(n->Next), std::end(n->Next));
    }
    return seen;
}

// The steps of node `node` of a fanning weapon that break its mirror rules: heading 2 is
// heading 0 turned a quarter clockwise; 4 is 0 and 6 is 2 mirrored top to bottom and left to
// right; 7 is 1 mirrored left to right, 3 is 1 and 5 is 7 mirrored top to bottom. As
// (heading, column).
inline std::vector<std::pair<int, int>> FanIrregularities(const ShotTable& t, int node, int columns) {
    struct Rule {
        int heading, from, mx, my;
        bool turn;
    };
    static constexpr Rule kRules[] = {{2, 0, 1, 1, true},   {4, 0, 1, -1, false}, {6, 2, -1, 1, false},
                                      {7, 1, -1, 1, false}, {3, 1, 1, -1, false}, {5, 7, 1, -1, false}};
    std::vector<std::pair<int, int>> out;
    for (const Rule& r : kRules)
        for (int c = 0; c < columns; ++c) {
            const ShotNode& a = t.Node[r.from][c][node];
            const ShotNode& b = t.Node[r.heading][c][node];
            const int x = r.turn ? -a.Dy : r.mx * a.Dx, y = r.turn ? a.Dx : r.my * a.Dy;
            if (b.Dx != x || b.Dy != y) out.emplace_back(r.heading, c);
        }
    return out;
}

}  // namespace third_set

// The fight rig of the engine and robot tests: two robots loaded by the pre-fight screen
// change on a dummy display, then stepped frame by frame through the controls and the
// fight stage, exactly as the frame loop steps them.
#pragma once

#include <initializer_list>
#include <memory>
#include <vector>

#include "shell/form.h"
#include "test_support.h"

namespace fight_rig {

using Ints = std::vector<int>;  // several figures compared at once

// Each player's weapon keys 1..4.
constexpr dw::Key kWeaponKey[2][4] = {{dw::Key::G, dw::Key::H, dw::Key::J, dw::Key::K},
                                      {dw::Key::Pad1, dw::Key::Pad2, dw::Key::Pad4, dw::Key::Pad5}};

struct Rig {
    std::unique_ptr<TForm1> form = std::make_unique<TForm1>();
    TForm1& f = *form;

    explicit Rig(int p1 = 14, int p2 = 14, int mode = 2) {
        testing_support::OpenHeadless(f);
        Load(p1, p2, mode);
    }

    // Loads both robots (player 2's by its own id) and starts the fight proper in a game
    // mode: player 1 at (400, 450) facing up, player 2 at (400, 150) facing down.
    void Load(int p1, int p2, int mode) {
        testing_support::ScopedCwd cwd(DW_GAME_DATA_DIR);
        f.GameMode = 2;
        f.P1RobotId = p1;
        f.P2RobotId = p2;
        f.ToBefore();
        f.ToFight();
        f.GameMode = mode;
        f.GameState = kStateFight;
        f.LimitFrames = 1 << 30;
        f.LimitElapsed = 0;
        f.Keys.ReleaseAll();
    }
    void Place(int x1, int y1, int x2, int y2) {
        f.P1Fighter.PosX = x1;
        f.P1Fighter.PosY = y1;
        f.P2Fighter.PosX = x2;
        f.P2Fighter.PosY = y2;
    }
    void Hold(dw::Key k, bool down = true) { f.Keys.Press(k, down); }
    void Hold(std::initializer_list<dw::Key> keys, bool down = true) {
        for (dw::Key k : keys) Hold(k, down);
    }
    // Holds the keys for `frames` frames, then lets them go.
    void Press(std::initializer_list<dw::Key> keys, int frames = 1) {
        Hold(keys);
        Frame(frames);
        Hold(keys, false);
    }
    void Frame(int n = 1) {
        for (int i = 0; i < n; ++i) {
            f.ControlHead();
            f.FightStage();
        }
    }
    // Draws the frame as the frame loop does: ground, robots and shots, then the overlay.
    void Draw() {
        f.Draw_FS2();
        f.BackDC.emplace(*f.BackSurface(), f.DirectDrawObj->Palette());
        f.Draw_FS();
        f.BackDC.reset();
    }
    // Frames until player 1 stands on node (s, k), at most `limit`; the frames run.
    int FramesUntil(int s, int k, int limit = 200) {
        int n = 0;
        for (; f.P1Fighter.CurrentNode != &f.P1Graph.Node[s][k] && n < limit; ++n) Frame();
        return n;
    }
    int Shots(int group) const { return testing_support::ActiveShots(f, group); }
};

}  // namespace fight_rig

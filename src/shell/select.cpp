// The robot select screen's step: cursors, decisions, the game speed, and the way on.
#include <algorithm>

#include "shell/form.h"

namespace {

// Frames between the last decision and the pre-fight screen.
constexpr int kSelectLeaveFrames = 15;
// The best Survival score that unlocks the hidden robot.
constexpr int kUnlockScore = 10;
constexpr int kZoRa = 12;

// Cursor step on the select screen: up/down within a row of five (six with the hidden
// robot), left/right between the two rows.
int32_t MoveCursor(int32_t id, int horizontal, int vertical, bool unlocked) {
    int row = id >= 10 ? 1 : 0;
    int place = std::clamp(id % 10, 1, 6);
    place = std::clamp(place + vertical, 1, unlocked ? 6 : 5);
    if (horizontal != 0) row = horizontal > 0 ? 1 : 0;
    return row * 10 + place;
}

}  // namespace

bool TForm1::HiddenRobotUnlocked() const { return SurvivalTable[0].Value >= kUnlockScore; }

void TForm1::ToSelect() {
    if (!LoadScreenSheets("MARKS", "MARKS2")) return;
    P1RobotId = 1;
    P2RobotId = 1;
    P1Decided = 0;
    P2Decided = 0;
    // A run starts on the select screen.
    SurvivalScore = 0;
    StageNo = 0;
    LimitEnemy = 1;
    LimitElapsed = 0;
    StateFrames = 0;
    GameState = kStateSelect;
    PlayMusic("Select.mid");
}

void TForm1::SelectStage() {
    const bool twoPlayers = GameMode == 2;
    const bool unlocked = HiddenRobotUnlocked();
    struct Cursor {
        int32_t& id;
        uint8_t& decided;
        bool active;
    };
    Cursor cursors[2] = {{P1RobotId, P1Decided, true}, {P2RobotId, P2Decided, twoPlayers}};

    for (int p = 0; p < 2; ++p) {
        Cursor& c = cursors[p];
        if (!c.active) continue;
        const PlayerControls& now = Controls[size_t(p)];
        const PlayerControls& before = PrevControls[size_t(p)];
        if (now.Guard && !before.Guard && FrameWait > 0) --FrameWait;
        if (now.Dash && !before.Dash && FrameWait < 100) ++FrameWait;
        if (c.decided) continue;
        const int h = now.Horizontal != before.Horizontal ? now.Horizontal : 0;
        const int v = now.Vertical != before.Vertical ? now.Vertical : 0;
        if (h != 0 || v != 0) {
            const int32_t next = MoveCursor(c.id, h, v, unlocked);
            if (next != c.id) PlayCursorSound();
            c.id = next;
        }
        if (now.Weapon[0] && !before.Weapon[0]) {
            if (c.id == kZoRa) {
                HitSound1("HITTED1");  // no data: a thud instead of a decision
            } else {
                c.decided = 1;
                PlayCursorSound();
            }
        }
    }

    const bool allDecided = P1Decided && (!twoPlayers || P2Decided);
    if (allDecided && ++StateFrames >= kSelectLeaveFrames) ToBefore();
}

// The fight loop (GameState 8..10): one frame of both fighters and all shots, the camera,
// the knock-out and what follows it in each mode.
#include <algorithm>

#include "fight/fighter.h"
#include "fight/shots.h"
#include "robots/builders.h"
#include "shell/form.h"

namespace {

// Our own choices where the rules leave them open.
constexpr int kStartX = 400;            // both fighters start on the middle line,
constexpr int kStartY[2] = {450, 150};  // player 1 below, player 2 above
constexpr int kIntroFrames = 90;        // "ready" before the fight proper
constexpr int kOverFrames = 150;        // the fight-over screen's length
constexpr int kDashEnergy = 3;          // energy a frame of dashing costs
constexpr int kEnergyRegen = 1;         // energy regained each frame not dashing
constexpr int kLadderLength = 6;        // one-player fights before the ending
constexpr int kLimitEnemies = 8;        // Limit fights in a run

// The camera keeps both robots inside this box; they cannot drift farther apart than it.
constexpr dw::Rect kCameraBox{150, 120, 650, 480};

// Ground tiles: 8 x 7 centres, 200 pixels apart from (-300, -300), wrapping with the camera.
constexpr int kGridStep = 200;
constexpr int kGridLeft = -300, kGridTop = -300;
constexpr int kGridWidth = 8 * kGridStep, kGridHeight = 7 * kGridStep;

int Wrap(int v, int lo, int span) { return lo + ((v - lo) % span + span) % span; }

}  // namespace

void TForm1::ResetBackGrid() {
    for (int i = 0; i < 8; ++i)
        for (int j = 0; j < 7; ++j) BackGrid[i][j] = {kGridLeft + i * kGridStep, kGridTop + j * kGridStep};
}

void TForm1::ToFight() {
    for (int p = 0; p < 2; ++p) {
        PlayerRefs pl = Player(p);
        FighterState& f = pl.fighter;
        for (int k = 0; k < 4; ++k)
            if (const WeaponData* w = Shots.Record[pl.firstGroup + k][0][0].Weapon) f.Ammo[k] = w->StartAmmo;
        f.PosX = kStartX;
        f.PosY = kStartY[p];
        f.Facing = p == 0 ? 0 : 4;
    }
    ResetBackGrid();
    PinchPlayed = false;
    Winner = 0;
    StateFrames = 0;
    if (!LoadScreenSheets("SABAKU", "WEAPON")) return;
    if (!PlayMusic(StageNo % 2 == 0 ? "Fighting1.mid" : "Fighting2.mid") || !PlayVoice("S_START")) return;
    GameState = kStateFightIntro;
}

void TForm1::MoveFighter(int player, int dx, int dy) {
    FighterState& f = Player(player).fighter;
    const FighterState& o = Player(1 - player).fighter;
    if (!f.Spec || !o.Spec) return;
    // Each axis on its own: a step that would overlap the bodies or spread the two robots
    // beyond the camera box is not taken.
    auto allowed = [&](int x, int y) {
        const bool overlap = std::abs(x - o.PosX) < f.Spec->HalfWidth + o.Spec->HalfWidth &&
                             std::abs(y - o.PosY) < f.Spec->HalfHeight + o.Spec->HalfHeight;
        const bool spread = std::abs(x - o.PosX) > kCameraBox.Width() || std::abs(y - o.PosY) > kCameraBox.Height();
        return !overlap && !spread;
    };
    if (dx != 0 && allowed(f.PosX + dx, f.PosY)) f.PosX += dx;
    if (dy != 0 && allowed(f.PosX, f.PosY + dy)) f.PosY += dy;
}

void TForm1::ScrollWorld(int dx, int dy) {
    if (dx == 0 && dy == 0) return;
    for (FighterState* f : {&P1Fighter, &P2Fighter}) {
        f->PosX += dx;
        f->PosY += dy;
    }
    for (auto& group : Shots.Record)
        for (auto& row : group)
            for (ShotRecord& r : row) {
                if (!r.Active) continue;
                r.PosX += dx;
                r.PosY += dy;
                for (ShotTrail& t : r.Trail) {
                    t.X += dx;
                    t.Y += dy;
                }
            }
    for (auto& column : BackGrid)
        for (GridPoint& g : column) {
            g.X = Wrap(g.X + dx, kGridLeft, kGridWidth);
            g.Y = Wrap(g.Y + dy, kGridTop, kGridHeight);
        }
}

void TForm1::FightStage() {
    // Robot data the fight cannot use ends in the error screen.
    for (int p = 0; p < 2; ++p) {
        const RobotSpec* s = Player(p).fighter.Spec;
        if (!s || s->MaxArmour <= 0 || s->MaxEnergy <= 0 || !Player(p).fighter.CurrentNode) {
            ToError(p + 1);
            return;
        }
    }
    if (GameState == kStateFightIntro) {
        if (++StateFrames >= kIntroFrames) {
            StateFrames = 0;
            GameState = kStateFight;
        }
        return;
    }
    if (GameState == kStateFight && GameMode == 4 && ++LimitElapsed >= LimitFrames) {
        StopVoice();
        LimitEnemy = 1;
        Winner = 0;
        GameState = kStateTimeOver;
        return;
    }
    // Exactly below a third: of 460 armour in all, 153 left is a pinch.
    auto pinched = [](const FighterState& f) { return 3 * int64_t(f.Armour) < f.Spec->MaxArmour; };
    if (!PinchPlayed && (pinched(P1Fighter) || pinched(P2Fighter))) {
        PinchPlayed = true;
        if (!PlayMusic("Fighting3.mid")) return;
    }

    FighterState* fighters[2] = {&P1Fighter, &P2Fighter};
    for (int p = 0; p < 2; ++p) {
        FighterState& f = *fighters[p];
        const FighterState& o = *fighters[1 - p];
        if (f.CurrentNode->TurnToOpponent && !f.Dashing) f.Facing = DirectionTo(f.PosX, f.PosY, o.PosX, o.PosY);
    }
    for (FighterState* f : fighters) {
        ApplyControls(*f);
        TakeActionRequest(*f);
    }
    for (int p = 0; p < 2; ++p) {
        FighterState& f = *fighters[p];
        f.Dashing = f.DashRequest && f.Energy > kDashEnergy && f.CurrentNode->CanMove;
        if (!f.CurrentNode->CanMove) {
            f.SpeedLeft = f.SpeedRight = f.SpeedUp = f.SpeedDown = 0;
            f.HoldLeft = f.HoldRight = f.HoldUp = f.HoldDown = 0;
            continue;
        }
        if (f.Dashing) {
            UpdateDashSpeeds(f);
            f.Energy -= kDashEnergy;
        } else {
            UpdateWalkSpeeds(f);
        }
        MoveFighter(p, f.SpeedRight - f.SpeedLeft, f.SpeedDown - f.SpeedUp);
    }

    // The camera: how far the world must shift so both robots stand inside the box.
    const int minX = std::min(P1Fighter.PosX, P2Fighter.PosX), maxX = std::max(P1Fighter.PosX, P2Fighter.PosX);
    const int minY = std::min(P1Fighter.PosY, P2Fighter.PosY), maxY = std::max(P1Fighter.PosY, P2Fighter.PosY);
    const int scrollX = maxX > kCameraBox.right  ? kCameraBox.right - maxX
                        : minX < kCameraBox.left ? kCameraBox.left - minX
                                                 : 0;
    const int scrollY = maxY > kCameraBox.bottom ? kCameraBox.bottom - maxY
                        : minY < kCameraBox.top  ? kCameraBox.top - minY
                                                 : 0;

    ShotWeapon(0);
    ShotWeapon(1);
    for (int g = 0; g < kShotGroups; ++g) {
        const int owner = g < 4 ? 0 : 1;
        for (auto& row : Shots.Record[g])
            for (ShotRecord& r : row) {
                if (!r.Active || !r.Node) continue;
                MoveShot(r, *fighters[owner], *fighters[1 - owner]);
                StepShotNode(r, *fighters[owner]);
                if (r.Active) HitShot(r, 1 - owner);
            }
    }
    ScrollWorld(scrollX, scrollY);
    for (FighterState* f : fighters) {
        StepActionGraph(*f);
        if (!f->Dashing && f->Energy < f->Spec->MaxEnergy)
            f->Energy = std::min(f->Energy + kEnergyRegen, f->Spec->MaxEnergy);
    }

    if (GameState == kStateFight && (P1Fighter.Armour <= 0 || P2Fighter.Armour <= 0)) {
        Winner = P1Fighter.Armour <= 0 && P2Fighter.Armour <= 0 ? 0 : P2Fighter.Armour <= 0 ? 1 : 2;
        GameState = kStateFightOver;
        StateFrames = 0;
        if (SoundDevice && !CreateSoundData("S_FINISH", VoiceBuffer)) {
            Close();
            return;
        }
        if (VoiceBuffer) VoiceBuffer->Play();
        return;
    }
    if (GameState == kStateFightOver && ++StateFrames >= kOverFrames) {
        StateFrames = 0;
        FightOver();
    }
}

void TForm1::FightOver() {
    const bool won = Winner == 1;
    switch (GameMode) {
    case 1:
        if (!won) {
            ToStart();
        } else if (StageNo >= kLadderLength - 1) {
            StageNo = 0;
            Winner = 0;
            GameState = kStateEnding;
            ToEnd();
        } else {
            ++StageNo;
            ToBefore();
        }
        break;
    case 2: ToSelect(); break;
    case 3:
        if (won) {
            ++SurvivalScore;
            ToBefore();
        } else {
            EnterSurvivalScore();
        }
        break;
    case 4:
        if (!won) {
            ToStart();
        } else if (LimitEnemy >= kLimitEnemies) {
            LimitData();
            StopVoice();
            LimitEnemy = 1;
            Winner = 0;
            GameState = kStateLimitResult;
        } else {
            ++LimitEnemy;
            ToBefore();
        }
        break;
    default: ToStart(); break;
    }
}

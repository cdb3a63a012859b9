// Fights of particular robots through the real frame loop, headless: the homing missile of
// "Zeredi vovu Ridodar" up to a knock-out, every weapon of "DariZev" and "DeziVor" landing
// in one two-player fight, and the hidden "ViveraziV" unlocked by a Survival score and a
// restart, then fighting with all its weapons. Weapons are fired by key events only; the
// tests stage positions between frames.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "shell/form.h"
#include "test_support.h"

using testing_support::GameRig;
using testing_support::PushKey;
using testing_support::Tap;
using testing_support::ActiveShots;
using testing_support::RunWhile;
using testing_support::ToFightProper;
using testing_support::ToSelectScreen;

namespace {

int AllActiveShots(const TForm1& f) {
    int n = 0;
    for (int g = 0; g < kShotGroups; ++g) n += ActiveShots(f, g);
    return n;
}

// Runs frames until no shot flies and both fighters stand idle (not in a hit reaction).
bool Settle(TForm1& f, int limit = 300) {
    for (int i = 0; i < limit && f.GameState == kStateFight; ++i) {
        if (AllActiveShots(f) == 0 && f.P1Fighter.ActionState == 0 && f.P2Fighter.ActionState == 0) return true;
        f.App.Pump();
    }
    return false;
}

void Place(TForm1& f, int x1, int y1, int x2, int y2) {
    f.P1Fighter.PosX = x1;
    f.P1Fighter.PosY = y1;
    f.P2Fighter.PosX = x2;
    f.P2Fighter.PosY = y2;
}

// What one weapon's volley did: the most of its shots in the air at once, and the victim's
// armour loss in each frame it lost any.
struct Volley {
    int launched = 0;
    std::vector<int> drops;
    int total = 0;
    bool othersFlew = false;  // a shot of another group was live: the drops are not this weapon's alone
};

// Presses a weapon key for `hold` frames, then runs frames until every shot of the weapon's
// group has ended.
Volley FireAndWatch(TForm1& f, SDL_Scancode key, int group, int hold = 2, int limit = 400) {
    const FighterState& victim = group < 4 ? f.P2Fighter : f.P1Fighter;
    Volley v;
    int before = victim.Armour;
    PushKey(key, true);
    for (int i = 0; i < limit && f.GameState == kStateFight; ++i) {
        if (i == hold) PushKey(key, false);
        f.App.Pump();
        const int live = ActiveShots(f, group);
        v.launched = std::max(v.launched, live);
        v.othersFlew |= AllActiveShots(f) != live;
        if (victim.Armour < before) {
            v.drops.push_back(before - victim.Armour);
            v.total += before - victim.Armour;
        }
        before = victim.Armour;
        if (i >= hold && v.launched > 0 && live == 0) break;
    }
    if (v.launched == 0) PushKey(key, false);
    return v;
}

// Each drop is a whole number of hits of `damage`.
bool WholeHits(const Volley& v, int damage) {
    for (int d : v.drops)
        if (d <= 0 || d % damage != 0) return false;
    return !v.drops.empty();
}

// The single live shot of a group, or nullptr.
ShotRecord* OnlyShot(TForm1& f, int group) {
    ShotRecord* found = nullptr;
    for (auto& row : f.Shots.Record[group])
        for (ShotRecord& r : row)
            if (r.Active) {
                if (found) return nullptr;
                found = &r;
            }
    return found;
}

// Whether a missile stands on one of the turn nodes (3-5, 8-10) of any chain of its table.
bool OnTurnNode(const ShotTable& t, const ShotNode* node) {
    for (int h = 0; h < kHeadings; ++h)
        for (int c = 0; c < kColumns; ++c)
            for (int n : {3, 4, 5, 8, 9, 10})
                if (node == &t.Node[h][c][n]) return true;
    return false;
}

}  // namespace

TEST(RobotFightsEndToEnd, ZerediMissileTurnsOntoAnOpponentOffItsLineThenKnocksOut) {
    GameRig rig;
    TForm1& f = *rig.form;
    f.FormShow();
    ASSERT_FALSE(f.Closed());
    f.FrameWait = 0;
    ToSelectScreen(f, 1);
    ASSERT_EQ(f.GameState, kStateSelect);
    EXPECT_EQ(f.P1RobotId, 1);  // the cursor opens on the first name
    Tap(f, SDL_SCANCODE_G);
    ToFightProper(f);
    ASSERT_EQ(f.GameState, kStateFight);
    ASSERT_EQ(f.P2RobotId, 1);  // the ladder's first stage: the same robot, standing still
    ASSERT_EQ(std::string(f.Roster[0].WeaponName[2]), "MISILE");
    const int armour = f.P2Fighter.Armour;
    ASSERT_EQ(armour, 590);
    const int ammo = f.P1Fighter.Ammo[2];

    // Fire one missile at the opponent straight ahead.
    constexpr int kMissiles = 2;  // player 1's slot 3
    PushKey(SDL_SCANCODE_J, true);
    for (int i = 0; i < 40 && ActiveShots(f, kMissiles) == 0; ++i) f.App.Pump();
    PushKey(SDL_SCANCODE_J, false);
    ShotRecord* m = OnlyShot(f, kMissiles);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(f.P1Fighter.Ammo[2], ammo - 1);
    const int launchHeading = m->Heading;
    EXPECT_EQ(launchHeading, f.P1Fighter.Facing);
    EXPECT_EQ(launchHeading, 0);

    // The opponent steps aside, far off the launch line, and stands still from here on.
    // (A robot faces its opponent as it fires, so a target can only be this far off the
    // missile's line once the missile is away.) Flying straight, the missile would pass
    // 150 px beside it.
    const int px = f.P1Fighter.PosX, py = f.P1Fighter.PosY;
    f.P2Fighter.PosX = px - 150;
    f.P2Fighter.PosY = py - 100;
    const double off = std::atan2(double(px - f.P2Fighter.PosX), double(py - f.P2Fighter.PosY)) * 180.0 / M_PI;
    EXPECT_GT(off, 30.0);  // degrees off the missile's heading (up)

    int turnFrame = -1, hitFrame = -1, drop = 0;
    bool headingChanged = false;
    for (int i = 0; i < 200 && m->Active && f.GameState == kStateFight; ++i) {
        const int before = f.P2Fighter.Armour;
        f.App.Pump();
        EXPECT_EQ(AllActiveShots(f), m->Active ? 1 : 0);
        headingChanged |= m->Heading != launchHeading;
        if (turnFrame < 0 && m->Active && OnTurnNode(f.P1ShotTables[2], m->Node)) turnFrame = i;
        if (f.P2Fighter.Armour < before) {
            if (hitFrame < 0) hitFrame = i;
            drop += before - f.P2Fighter.Armour;
        }
    }
    EXPECT_TRUE(headingChanged);
    ASSERT_GE(turnFrame, 0) << "the missile never entered a turn";
    ASSERT_GE(hitFrame, 0) << "the missile never hit";
    EXPECT_LT(turnFrame, hitFrame);
    EXPECT_EQ(drop, 40);  // one missile's damage, once
    EXPECT_EQ(f.GameState, kStateFight);

    // Then missile after missile at the opponent put back on the line, to the knock-out.
    ASSERT_TRUE(Settle(f));
    f.P2Fighter.PosX = f.P1Fighter.PosX;
    f.P2Fighter.PosY = f.P1Fighter.PosY - 300;
    for (int i = 0; i < 3000 && f.GameState == kStateFight; ++i) {
        PushKey(SDL_SCANCODE_J, i % 24 < 12);
        f.App.Pump();
    }
    PushKey(SDL_SCANCODE_J, false);
    EXPECT_EQ(f.GameState, kStateFightOver);
    EXPECT_EQ(f.Winner, 1);
    EXPECT_LE(f.P2Fighter.Armour, 0);
    // Missiles alone, each for its full damage, and every one fired hit the still target.
    EXPECT_EQ((armour - f.P2Fighter.Armour) % 40, 0);
    EXPECT_EQ((armour - f.P2Fighter.Armour) / 40, ammo - f.P1Fighter.Ammo[2]);
    EXPECT_EQ(f.P1Fighter.Armour, 590);
}

TEST(RobotFightsEndToEnd, DariZevAndDeziVorLandEveryWeapon) {
    GameRig rig;
    TForm1& f = *rig.form;
    f.FormShow();
    ASSERT_FALSE(f.Closed());
    f.FrameWait = 0;
    ToSelectScreen(f, 2);
    ASSERT_EQ(f.GameState, kStateSelect);
    for (int i = 0; i < 4; ++i) Tap(f, SDL_SCANCODE_S);  // player 1 down the first row
    Tap(f, SDL_SCANCODE_RIGHT);                           // player 2 over to the second
    EXPECT_EQ(f.P1RobotId, 5);
    EXPECT_EQ(f.P2RobotId, 11);
    Tap(f, SDL_SCANCODE_G);
    Tap(f, SDL_SCANCODE_KP_1);
    ToFightProper(f);
    ASSERT_EQ(f.GameState, kStateFight);

    struct Case {
        int player;  // who fires
        int slot;    // 0..2
        SDL_Scancode key;
        const char* name;
        int damage;
        int x1, y1, x2, y2;  // staged positions: player 1 below, player 2 above
    };
    // Guns and fireflies from the start positions; the close-combat weapons with the two
    // robots 60 px apart (just clear of touching); the mine, thrown out behind its owner,
    // floats back across it to the target.
    const Case cases[] = {
        {0, 0, SDL_SCANCODE_G, "MACHINE-GUN", 8, 400, 450, 400, 150},
        {0, 1, SDL_SCANCODE_H, "SPIKE", 32, 400, 450, 400, 390},
        {0, 2, SDL_SCANCODE_J, "FIRE-FLY", 20, 400, 450, 400, 150},
        {1, 0, SDL_SCANCODE_KP_1, "SHOT-GUN", 20, 400, 450, 400, 150},
        {1, 1, SDL_SCANCODE_KP_2, "CHAIN-SAW", 12, 400, 210, 400, 150},
        {1, 2, SDL_SCANCODE_KP_4, "FLORTING-MINE", 36, 400, 450, 400, 150},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int robot = c.player == 0 ? f.P1RobotId : f.P2RobotId;
        EXPECT_EQ(std::string(f.Roster.at(size_t(RosterIndex(robot))).WeaponName[c.slot]), c.name);
        ASSERT_TRUE(Settle(f));
        Place(f, c.x1, c.y1, c.x2, c.y2);
        const FighterState& shooter = c.player == 0 ? f.P1Fighter : f.P2Fighter;
        const int ammo = shooter.Ammo[c.slot];
        const Volley v = FireAndWatch(f, c.key, c.player * 4 + c.slot);
        EXPECT_GT(v.launched, 0);
        EXPECT_FALSE(v.othersFlew);
        EXPECT_TRUE(WholeHits(v, c.damage)) << "armour lost by frame: " << ::testing::PrintToString(v.drops);
        if (c.slot != 1) {  // one round a shot; the close-combat weapons run on energy
            EXPECT_EQ(shooter.Ammo[c.slot], ammo - v.launched);
        }
        ASSERT_EQ(f.GameState, kStateFight);
    }
    EXPECT_GT(f.P1Fighter.Armour, 0);
    EXPECT_GT(f.P2Fighter.Armour, 0);
}

TEST(RobotFightsEndToEnd, SurvivalScoreUnlocksViveraziVAfterARestart) {
    GameRig rig;
    {
        TForm1& f = *rig.form;
        f.FormShow();
        ASSERT_FALSE(f.Closed());
        f.FrameWait = 0;
        EXPECT_FALSE(f.HiddenRobotUnlocked());
        ToSelectScreen(f, 3);
        ASSERT_EQ(f.GameState, kStateSelect);
        // Locked, the cursor stops on the fifth name.
        for (int i = 0; i < 6; ++i) Tap(f, SDL_SCANCODE_S);
        EXPECT_EQ(f.P1RobotId, 5);
        Tap(f, SDL_SCANCODE_G);
        RunWhile(f, kStateSelect, 30);
        ASSERT_EQ(f.GameState, kStatePreFight);
        f.SurvivalScore = 10;  // as if ten enemies had fallen already
        Tap(f, SDL_SCANCODE_F1);
        ASSERT_EQ(f.GameState, kStateSurvivalResult);
        ASSERT_TRUE(std::filesystem::exists(rig.dir.Path() / "score.zor"));
    }

    // Quit and start the game again in the same directory: only the file carries the score.
    rig.form->Close();
    rig.form = std::make_unique<TForm1>();
    rig.form->DataDir = rig.dir.Str();
    TForm1& f = *rig.form;
    EXPECT_FALSE(f.HiddenRobotUnlocked());
    f.FormShow();
    ASSERT_FALSE(f.Closed());
    f.FrameWait = 0;
    EXPECT_EQ(f.SurvivalTable[0].Value, 10);
    EXPECT_EQ(f.SurvivalTable[0].RobotTypeId, 5);
    ASSERT_TRUE(f.HiddenRobotUnlocked());

    ToSelectScreen(f, 1);
    ASSERT_EQ(f.GameState, kStateSelect);
    for (int i = 0; i < 5; ++i) Tap(f, SDL_SCANCODE_S);
    EXPECT_EQ(f.P1RobotId, 6);  // below the fifth name
    Tap(f, SDL_SCANCODE_S);
    EXPECT_EQ(f.P1RobotId, 6);  // and no further
    Tap(f, SDL_SCANCODE_D);
    EXPECT_EQ(f.P1RobotId, 16);  // its place in the second row
    Tap(f, SDL_SCANCODE_A);
    EXPECT_EQ(f.P1RobotId, 6);
    Tap(f, SDL_SCANCODE_G);
    ToFightProper(f);
    ASSERT_EQ(f.GameState, kStateFight);
    const RosterEntry& entry = f.Roster.at(size_t(RosterIndex(6)));
    // ViveraziV's load: its armour and its three weapons' rounds.
    EXPECT_EQ(f.P1Fighter.Armour, 580);
    EXPECT_EQ(f.P1Fighter.Ammo[0], 100);
    EXPECT_EQ(f.P1Fighter.Ammo[1], 60);
    EXPECT_EQ(f.P1Fighter.Ammo[2], 20);

    struct Case {
        SDL_Scancode key;
        const char* name;
        int damage;
    };
    const Case cases[] = {
        {SDL_SCANCODE_G, "LONG-RIFLE", 24},
        {SDL_SCANCODE_H, "FIRE-FLY", 24},
        {SDL_SCANCODE_J, "NAPARM", 100},
    };
    for (int slot = 0; slot < 3; ++slot) {
        const Case& c = cases[slot];
        SCOPED_TRACE(c.name);
        EXPECT_EQ(std::string(entry.WeaponName[slot]), c.name);
        ASSERT_TRUE(Settle(f));
        Place(f, 400, 450, 400, 150);
        const int ammo = f.P1Fighter.Ammo[slot];
        const Volley v = FireAndWatch(f, c.key, slot);
        EXPECT_GT(v.launched, 0);
        EXPECT_EQ(f.P1Fighter.Ammo[slot], ammo - v.launched);
        EXPECT_FALSE(v.othersFlew);
        EXPECT_TRUE(WholeHits(v, c.damage)) << "armour lost by frame: " << ::testing::PrintToString(v.drops);
        ASSERT_EQ(f.GameState, kStateFight);
    }
}

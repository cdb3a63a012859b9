// The game shell: "opt.ez", start-up and close, the sounds of each action, the key-down
// event and the error screen, and the menus.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/bitmap.h"
#include "shell/form.h"
#include "shell/little_endian.h"
#include "test_support.h"

namespace fs = std::filesystem;
using namespace testing_support;

TEST(Options, FieldsInRangeAreKeptTheOthersTakeTheirDefaults) {
    std::vector<uint8_t> cut = Words({40, 3, 2});
    cut.pop_back();  // the third field one byte short
    // The defaults: no wait, level 1, one player, easy (a Limit run of 10000 frames). A wait
    // of 0, the fastest game, is a value of its own.
    const struct {
        std::vector<uint8_t> file;
        int32_t wait, level, mode, difficulty, limitFrames;
    } rows[] = {
        {.file = Words({100, 3, 4, 2}), .wait = 100, .level = 3, .mode = 4, .difficulty = 2, .limitFrames = 5000},
        {.file = Words({0, 2, 2, 1}), .wait = 0, .level = 2, .mode = 2, .difficulty = 1, .limitFrames = 7500},
        {.file = Words({101, 4, 5, 3}), .wait = 0, .level = 1, .mode = 1, .difficulty = 0, .limitFrames = 10000},
        {.file = cut, .wait = 40, .level = 3, .mode = 1, .difficulty = 0, .limitFrames = 10000},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(::testing::Message() << "row " << &r - rows);
        TempDir dir;
        WriteAll(dir.Path() / "opt.ez", r.file);
        auto f = std::make_unique<TForm1>();
        f->DataDir = dir.Str();
        f->LoadOptions();
        EXPECT_EQ(f->FrameWait, r.wait);
        EXPECT_EQ(f->CpuLevel, r.level);
        EXPECT_EQ(f->GameMode, r.mode);
        EXPECT_EQ(f->LimitDifficulty, r.difficulty);
        EXPECT_EQ(f->LimitFrames, r.limitFrames);
    }
    TempDir dir;
    // A game closed before it read the file (a start that failed) writes none.
    auto early = std::make_unique<TForm1>();
    early->DataDir = dir.Str();
    early->Close();
    EXPECT_FALSE(fs::exists(dir.Path() / "opt.ez"));
    // Options that cannot be stored are reported.
    fs::create_directory(dir.Path() / "opt.ez");
    auto blocked = std::make_unique<TForm1>();
    blocked->DataDir = dir.Str();
    blocked->LoadOptions();
    ::testing::internal::CaptureStderr();
    blocked->Close();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Could not write opt.ez\n");
    // The files' fields are little-endian, every byte of them.
    std::vector<uint8_t> field(4);
    WriteLe32(field.data(), 0x12345678);
    EXPECT_EQ(field, std::vector<uint8_t>({0x78, 0x56, 0x34, 0x12}));
}

TEST(Shell, StartSoundsF1TheErrorScreenAndClose) {
    GameRig rig;
    TForm1& f = *rig.form;
    WriteAll(rig.dir.Path() / "opt.ez", Words({3, 2, 3, 1}));
    f.SurvivalScore = 10;  // a best score that unlocks the hidden robot
    f.EnterSurvivalScore();
    f.SurvivalTable = {};
    f.FormShow();
    ASSERT_FALSE(f.Closed());
    EXPECT_EQ(f.GameState, kStateTitle);
    EXPECT_EQ(f.GameMode, 3);
    EXPECT_EQ(f.LimitFrames, 7500);
    EXPECT_TRUE(f.HiddenRobotUnlocked());
    // The title screen shows its picture alone.
    f.App.Pump();
    const auto title = dw::LoadBitmapSurface(f.DirectDrawObj.get(), "TITLE");
    ASSERT_TRUE(title);
    EXPECT_TRUE(std::equal(title->Pixels(), title->Pixels() + 800 * 600, f.BackSurface()->Pixels()));
    // The sounds playing after an action, all stopped before it. Short sounds must still be
    // playing when they are looked at: the actions are steps without a frame's drawing.
    auto playing = [&](const std::function<void()>& act) {
        const std::pair<const char*, dw::SoundBuffer*> sounds[] = {
            {"voice ", f.VoiceBuffer.get()},
            {"cursor ", f.CursorBuffer.get()},
            {"hit1 ", f.HitBuffers[0].get()},
            {"hit2 ", f.HitBuffers[1].get()},
            {"player1hit1 ", f.HitDuplicates[0].get()},
        };
        for (const auto& [name, buffer] : sounds) buffer->Stop();
        act();
        std::string names;
        for (const auto& [name, buffer] : sounds) names += buffer->Playing() ? name : "";
        return names;
    };
    // A screen's step with a key newly pressed.
    auto press = [&](dw::Key key, void (TForm1::*stage)()) {
        f.Keys.ReleaseAll();
        f.ControlHead();
        f.Keys.Press(key, true);
        f.ControlHead();
        (f.*stage)();
    };
    EXPECT_EQ(playing([&] { press(dw::Key::G, &TForm1::StartStage); }), "cursor ");  // from the title to the menu
    EXPECT_EQ(playing([&] { f.HitSound1("HITTED2"); }), "hit2 ");                    // player 2's shots
    EXPECT_EQ(playing([&] { f.HitSound2("HITTED1"); }), "player1hit1 ");             // player 1's
    EXPECT_EQ(playing([&] { f.HitSound1("NONE"); }), "");
    f.GameState = kStateSelect;
    f.P1RobotId = 12;
    EXPECT_EQ(playing([&] { press(dw::Key::G, &TForm1::SelectStage); }), "hit1 ");  // no robot data: a thud

    // then: the state after the key
    const struct {
        int32_t mode, state, then;
    } rows[] = {
        {.mode = 1, .state = kStateSelect, .then = kStateTitle},
        {.mode = 4, .state = kStateLimitMenu, .then = kStateTitle},
        {.mode = 3, .state = kStatePreFight, .then = kStateSurvivalResult},
        {.mode = 3, .state = kStateSelect, .then = kStateSelect},
        {.mode = 1, .state = kStateError, .then = kStateError},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(::testing::Message() << "mode " << r.mode << ", state " << r.state);
        f.GameMode = r.mode;
        f.GameState = r.state;
        f.VoiceBuffer->Play();
        Tap(f, SDL_SCANCODE_F1);
        EXPECT_EQ(f.GameState, r.then);
        // The title plays its voice afresh; the result stops it.
        EXPECT_EQ(f.VoiceBuffer->Playing(), r.then != kStateSurvivalResult);
    }
    // The error screen names the failure and its code (an unknown one as 5) on black, and the
    // way out.
    const struct {
        int32_t error;
        const char* what;
        const char* code;
    } errors[] = {
        {.error = 1, .what = "There is a Error In Loading Character Data1.", .code = "ErrorCode #1."},
        {.error = 2, .what = "There is a Error In Loading Character Data2.", .code = "ErrorCode #2."},
        {.error = 3, .what = "There is a Error In Sound.", .code = "ErrorCode #3."},
        {.error = 4, .what = "There is a Error In Drawing.", .code = "ErrorCode #4."},
        {.error = 0, .what = "There is a Unknown Error.", .code = "ErrorCode #5."},
    };
    for (const auto& e : errors) {
        SCOPED_TRACE(::testing::Message() << "error " << e.error);
        f.ErrorCode = e.error;
        f.BackSurface()->Fill(9);  // what the screen does not draw shows
        f.App.Pump();
        EXPECT_TRUE(OnScreen(f, 100, 200, e.what, 0xFFFFFF));
        EXPECT_TRUE(OnScreen(f, 10, 560, e.code, 0xFFFFFF));
        EXPECT_TRUE(OnScreen(f, 140, 220, "Sorry!Once You Should Stop the Game.", 0xFFFFFF));
        EXPECT_TRUE(OnScreen(f, 180, 240, "Please Press Escape Key(Esc)! And Try Again!", 0xFFFFFF));
        EXPECT_EQ(CountIndex(*f.BackSurface(), {0, 0, 800, 200}, 0), 800 * 200);
    }
    // Esc closes the game and stores the options, a value the next start would refuse as its
    // default; a second close writes nothing.
    f.FrameWait = 9;
    f.CpuLevel = 7;
    f.GameMode = 2;
    f.LimitDifficulty = 1;
    Tap(f, SDL_SCANCODE_ESCAPE);
    EXPECT_TRUE(f.Closed());
    EXPECT_EQ(f.DirectDrawObj, nullptr);
    EXPECT_EQ(f.SoundDevice, nullptr);
    EXPECT_EQ(ReadAll(rig.dir.Path() / "opt.ez"), Words({9, 1, 2, 1}));
    fs::remove(rig.dir.Path() / "opt.ez");
    f.Close();
    EXPECT_FALSE(fs::exists(rig.dir.Path() / "opt.ez"));
}

TEST(Menus, ScriptsFromTheTitle) {
    // The menu fields before the keys (limit: the Limit difficulty); then the screen and the
    // fields after them.
    const struct {
        int32_t mode = 1, level = 1, limit = 0;
        const char* keys;
        int32_t state, toMode = 1, toLevel = 1, toLimit = 0, frames = 10000;
    } rows[] = {
        {.keys = "G", .state = kStateMainMenu},                           // a held button decides once
        {.keys = "gDg", .state = kStateStartMessage, .toMode = 2},        // a held direction moves once
        {.mode = 9, .keys = "ga", .state = kStateMainMenu, .toMode = 4},  // out of range: back at the edge
        {.level = 2, .keys = "ggddd", .state = kStateLevelMenu, .toLevel = 3},
        {.mode = 4, .limit = 1, .keys = "ggdd", .state = kStateLimitMenu, .toMode = 4, .toLimit = 2, .frames = 5000},
        {.mode = 4, .limit = 2, .keys = "gga", .state = kStateLimitMenu, .toMode = 4, .toLimit = 1, .frames = 7500},
    };
    GameRig rig;
    TForm1& f = *rig.form;
    f.FormShow();
    for (const auto& r : rows) {
        SCOPED_TRACE(r.keys);
        f.GameState = kStateTitle;
        f.GameMode = r.mode;
        f.CpuLevel = r.level;
        f.LimitDifficulty = r.limit;
        f.LimitFrames = 10000;
        Play(f, r.keys);
        EXPECT_EQ(f.GameState, r.state);
        EXPECT_EQ(f.GameMode, r.toMode);
        EXPECT_EQ(f.CpuLevel, r.toLevel);
        EXPECT_EQ(f.LimitDifficulty, r.toLimit);
        EXPECT_EQ(f.LimitFrames, r.frames);
    }
    // The start message stands 60 frames from the one that decided: the key's release and 59.
    f.GameState = kStateTitle;
    f.GameMode = 2;
    Play(f, "gg");
    EXPECT_EQ(FramesWhile(f, kStateStartMessage, 100), 59);
    EXPECT_EQ(f.GameState, kStateSelect);
}

TEST(Controls, AJoystickCountsFromWhereItRests) {
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");  // the test window has no focus
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
    SDL_Joystick* stick = SDL_JoystickOpen(SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 6, 0));
    ASSERT_NE(stick, nullptr);
    SDL_JoystickSetVirtualAxis(stick, 0, 10000);  // off the centre, where it rests at the start
    SDL_JoystickUpdate();
    ScreenRig rig;
    TForm1& f = *rig.form;
    f.Sticks.Open();
    f.GameState = kStateError;  // a screen that takes no controls
    f.App.Pump();
    EXPECT_EQ(f.Controls[0].Horizontal, 0);
    // Left by more than 16000 from there, with the dash and the fourth weapon's buttons.
    SDL_JoystickSetVirtualAxis(stick, 0, 10000 - 16001);
    SDL_JoystickSetVirtualButton(stick, 5, 1);
    SDL_JoystickSetVirtualButton(stick, 3, 1);
    f.App.Pump();
    EXPECT_EQ((std::array{f.Controls[0].Horizontal, f.Controls[0].Vertical}), (std::array{-1, 0}));
    EXPECT_EQ(f.Controls[0].Action, 10);
    EXPECT_EQ(f.Controls[1].Action, 0);  // player 2 has no stick
    f.Sticks.Close();
    SDL_JoystickClose(stick);
    SDL_JoystickDetachVirtual(0);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

// The game shell: "opt.ez", start-up and close, the key-down event, the menus, each
// player's controls from keys and joysticks, and the title and error screens.
#include <SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/message_box.h"
#include "platform/resources.h"
#include "shell/form.h"
#include "test_support.h"

namespace fs = std::filesystem;
using namespace testing_support;

TEST(Options, FieldsInRangeAreKeptTheOthersTakeTheirDefaults) {
    std::vector<uint8_t> cut = Words({40, 3, 2});
    cut.pop_back();  // the third field one byte short
    // want: FrameWait, CpuLevel, GameMode, LimitDifficulty, LimitFrames
    const struct {
        std::vector<uint8_t> file;
        int32_t want[5];
    } rows[] = {{Words({100, 3, 4, 2}), {100, 3, 4, 2, 5000}},
                {Words({7, 2, 2, 1}), {7, 2, 2, 1, 7500}},
                {Words({101, 4, 5, 3}), {0, 1, 1, 0, 10000}},
                {Words({-1, 0, 0, -1}), {0, 1, 1, 0, 10000}},
                {Words({INT32_MIN, INT32_MAX, 3, 1}), {0, 1, 3, 1, 7500}},
                {cut, {40, 3, 1, 0, 10000}},
                {{}, {0, 1, 1, 0, 10000}}};
    for (const auto& r : rows) {
        TempDir dir;
        WriteAll(dir.Path() / "opt.ez", r.file);
        auto f = std::make_unique<TForm1>();
        f->DataDir = dir.Str(), f->LoadOptions();
        const int32_t got[5] = {f->FrameWait, f->CpuLevel, f->GameMode, f->LimitDifficulty, f->LimitFrames};
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(got[i], r.want[i]) << "field " << i << " of " << r.file.size() << " bytes";
    }
    // A file that cannot be replaced is reported, and no temporary file is left behind.
    TempDir dir;
    fs::create_directory(dir.Path() / "opt.ez");
    auto f = std::make_unique<TForm1>();
    f->DataDir = dir.Str(), f->LoadOptions();
    testing::internal::CaptureStderr();
    f->SaveOptions();
    EXPECT_TRUE(testing::internal::GetCapturedStderr() == "Could not write opt.ez\n" &&
                !fs::exists(dir.Path() / "opt.ez.tmp"));
}

TEST(Shell, StartReadsTheFilesAndCloseWritesTheOptionsOnce) {
    GameRig rig;
    TForm1& f = *rig.form;
    WriteAll(rig.dir.Path() / "opt.ez", Words({3, 2, 3, 1}));
    f.SurvivalScore = 10, f.EnterSurvivalScore(), f.SurvivalTable = {};
    f.FormShow();
    ASSERT_FALSE(f.Closed());
    EXPECT_TRUE(f.GameState == kStateTitle && f.GameMode == 3 && f.LimitFrames == 7500 && f.HiddenRobotUnlocked());
    ASSERT_TRUE(f.SheetSurface1 && f.SheetSurface1->ColorKey().has_value() && f.VoiceBuffer && f.CursorBuffer);
    EXPECT_EQ(f.DirectDrawObj->Palette(), f.SheetSurface1->Colors());
    for (size_t i = 0; i < 4; ++i) EXPECT_TRUE(f.HitBuffers[i] && f.HitDuplicates[i]) << i;
    f.FrameWait = 9, f.CpuLevel = 7;  // a value the next start would refuse is stored as its default
    PushKey(SDL_SCANCODE_ESCAPE, true);
    f.App.Run();
    EXPECT_TRUE(f.Closed() && !f.DirectDrawObj && !f.SoundDevice && !f.Fonts[1]);
    EXPECT_EQ(ReadAll(rig.dir.Path() / "opt.ez"), Words({9, 1, 3, 1}));
    fs::remove(rig.dir.Path() / "opt.ez");
    f.Close();  // a second close writes nothing
    EXPECT_FALSE(fs::exists(rig.dir.Path() / "opt.ez"));
}

// A start that fails early (here without a display, which the player is told in a message
// box) leaves the options file alone.
TEST(Shell, AStartThatFailsEarlyLeavesTheOptionsFileAlone) {
    ScopedEnv video("SDL_VIDEODRIVER", "no-such-driver");
    GameRig rig;
    const std::vector<uint8_t> stored = Words({250, 2, 9, 1});
    WriteAll(rig.dir.Path() / "opt.ez", stored);
    std::vector<std::string> messages;
    dw::SetMessageSink([&](const std::string&, const std::string& text) { messages.push_back(text); });
    rig.form->FormShow();
    rig.form->Close();
    dw::SetMessageSink({});
    EXPECT_TRUE(ReadAll(rig.dir.Path() / "opt.ez") == stored &&
                messages == std::vector<std::string>{"There is a Error In Drawing."});
}

TEST(Shell, EachActionPlaysItsSoundAndABrokenOneSilencesTheGame) {
    GameRig rig;
    TForm1& f = *rig.form;
    f.FormShow();
    auto buffers = [&] {
        return std::array{f.VoiceBuffer.get(), f.CursorBuffer.get(), f.HitBuffers[0].get(), f.HitBuffers[1].get(),
                          f.HitDuplicates[0].get()};
    };
    // One step of a screen with a key newly pressed, without a frame's drawing: short
    // sounds must still be playing when they are looked at.
    auto step = [&](dw::Key key, void (TForm1::*stage)()) {
        f.Keys.ReleaseAll();
        f.ControlHead();
        f.Keys.Press(key, true);
        f.ControlHead();
        (f.*stage)();
    };
    // playing, bits: the voice, the cursor, hits 1 and 2, the second player's hit 1
    const struct {
        std::function<void()> act;
        unsigned playing;
    } rows[] = {
        {[&] { step(dw::Key::G, &TForm1::StartStage); }, 2},  // the title gives way to the main menu
        {[&] { step(dw::Key::D, &TForm1::StartStage); }, 2},
        {[&] { f.HitSound1("HITTED2"); }, 8},
        {[&] { f.HitSound1("HITTED1"); }, 4},
        {[&] { f.HitSound2("HITTED1"); }, 16},
        {[&] { f.HitSound1("NONE"); }, 0},
        {[&] { f.FormKeyDown(dw::Key::F1); }, 1},  // back to the title and its voice
        {[&] {
             f.GameState = kStateSelect;
             f.P1RobotId = 5;
             step(dw::Key::S, &TForm1::SelectStage);
         },
         0},  // stuck
        {[&] {
             f.P1RobotId = 12;
             step(dw::Key::G, &TForm1::SelectStage);
         },
         4},  // a robot without data: a thud
        {[&] {
             f.GameMode = 3;
             f.GameState = kStatePreFight;
             f.VoiceBuffer->Play();
             f.FormKeyDown(dw::Key::F1);
         },
         0},
    };
    for (const auto& r : rows) {
        for (dw::SoundBuffer* b : buffers()) b->Stop();
        r.act();
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(buffers()[size_t(i)]->Playing(), (r.playing >> i & 1u) != 0) << &r - rows << " " << i;
    }
    // A sound that cannot be read is named with its failing step, in a message box and on
    // stderr; the game goes on silent.
    std::vector<std::string> messages;
    dw::SetMessageSink(
        [&](const std::string& caption, const std::string& text) { messages.push_back(caption + "|" + text); });
    const std::vector<uint8_t> broken{'R', 'I', 'F', 'X'};
    dw::OverrideResource(dw::ResourceKind::Wave, "HITTED2", broken);
    testing::internal::CaptureStderr();
    EXPECT_EQ(f.CreateSoundData("HITTED2", f.HitBuffers[1]), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: The sound \"HITTED2\" could not be read (step 2).\n");
    dw::OverrideResource(dw::ResourceKind::Wave, "HITTED2", {});
    dw::SetMessageSink({});
    EXPECT_EQ(messages, std::vector<std::string>{"Error|The sound \"HITTED2\" could not be read (step 2)."});
    EXPECT_TRUE(!f.SoundDevice && !f.HitDuplicates[3] && !f.CursorBuffer);  // every buffer goes with the device
    f.GameState = kStateTitle, f.Keys.ReleaseAll(), f.App.Pump();
    Play(f, "g");
    EXPECT_EQ(f.GameState, kStateMainMenu);
}

TEST(Shell, F1AndEscapeInEachModeAndScreenAndTheErrorScreen) {
    const auto F1 = SDL_SCANCODE_F1;  // then: the state after the key's frame, -1 closed
    const struct {
        int32_t mode, state;
        SDL_Scancode key;
        int32_t then, error = 0;
        const char* what = nullptr;
    } rows[] = {{1, kStateSelect, F1, kStateTitle},
                {4, kStateLimitMenu, F1, kStateTitle},
                {3, kStatePreFight, F1, kStateSurvivalResult},
                {3, kStateSelect, F1, kStateSelect},
                {1, kStateError, F1, kStateError, 0, "There is a Unknown Error."},
                {1, kStateError, F1, kStateError, 5, "There is a Unknown Error."},
                {3, kStateError, F1, kStateError, 1, "There is a Error In Loading Character Data1."},
                {1, kStateError, F1, kStateError, 4, "There is a Error In Drawing."},
                {2, kStateSelect, SDL_SCANCODE_ESCAPE, -1}};
    GameRig rig;
    TForm1& f = *rig.form;
    f.FormShow();
    for (const auto& r : rows) {
        f.GameMode = r.mode, f.GameState = r.state, f.ErrorCode = r.error;
        f.BackSurface()->Fill(9);  // what a screen does not draw shows
        PushKey(r.key, true), f.App.Pump(), PushKey(r.key, false);
        EXPECT_EQ(f.Closed() ? -1 : f.GameState, r.then) << r.mode << " " << r.state;
        EXPECT_EQ(fs::remove(rig.dir.Path() / "score.zor"), r.then == kStateSurvivalResult);
        if (!r.what) continue;
        // The failure and its code (an unknown one as 5) on black, and the way out.
        const std::string code = "ErrorCode #" + std::to_string(r.error == 0 ? 5 : r.error) + ".";
        EXPECT_TRUE(OnScreen(f, 100, 200, r.what, 0xFFFFFF) && OnScreen(f, 10, 560, code.c_str(), 0xFFFFFF) &&
                    OnScreen(f, 180, 240, "Please Press Escape Key(Esc)! And Try Again!", 0xFFFFFF) &&
                    CountIndex(*f.BackSurface(), {0, 0, 800, 200}, 0) == 800 * 200)
            << r.error;
    }
}

TEST(Menus, ScriptsFromTheTitle) {
    const struct {
        int32_t mode, level, difficulty;
        const char* keys;
        int32_t want[5];
    } rows[] = {
        // want: GameState, GameMode, CpuLevel, LimitDifficulty, LimitFrames
        {1, 1, 0, "G", {kStateMainMenu, 1, 1, 0, 10000}},        // a held button decides once
        {1, 1, 0, "gDg", {kStateStartMessage, 2, 1, 0, 10000}},  // a held direction moves once
        {9, 1, 0, "ga", {kStateMainMenu, 4, 1, 0, 10000}},       // out of range: back in at the edge
        {1, 1, 0, "gadddddg", {kStateLimitMenu, 4, 1, 0, 10000}},
        {3, 1, 0, "gg", {kStateStartMessage, 3, 1, 0, 10000}},
        {1, 2, 0, "ggaaag", {kStateStartMessage, 1, 1, 0, 10000}},
        {1, 2, 0, "ggddd", {kStateLevelMenu, 1, 3, 0, 10000}},
        {4, 1, 1, "ggdd", {kStateLimitMenu, 4, 1, 2, 5000}},
        {4, 1, 1, "ggaag", {kStateStartMessage, 4, 1, 0, 10000}},
        {4, 1, 2, "gga", {kStateLimitMenu, 4, 1, 1, 7500}},
    };
    GameRig rig;
    TForm1& f = *rig.form;
    f.FormShow();
    for (const auto& r : rows) {
        f.GameState = kStateTitle, f.GameMode = r.mode, f.CpuLevel = r.level;
        f.LimitDifficulty = r.difficulty, f.LimitFrames = 10000;
        Play(f, r.keys);
        const int32_t got[5] = {f.GameState, f.GameMode, f.CpuLevel, f.LimitDifficulty, f.LimitFrames};
        for (int i = 0; i < 5; ++i) EXPECT_EQ(got[i], r.want[i]) << r.keys << " field " << i;
    }
    // The start message stands 60 frames, the one that decided first.
    f.GameState = kStateTitle, f.GameMode = 2;
    Play(f, "gg");
    int frames = 1;
    for (; f.GameState == kStateStartMessage && frames < 100; ++frames) f.App.Pump();
    EXPECT_TRUE(frames == 60 && f.GameState == kStateSelect) << frames;
    f.GameState = kStateLevelMenu;
    f.App.Pump();
    EXPECT_TRUE(OnScreen(f, 0, 40, "EASY", 0xFFFFFF) && OnScreen(f, 100, 40, "NORMAL", 0x808080));
}

TEST(Controls, KeysAndJoysticksOfEachPlayer) {
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");  // the test window has no focus
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
    const int rest[2][2] = {{1000, -500}, {-2000, 300}};  // where each stick rests at the start
    SDL_Joystick* sticks[2];
    auto set = [&](int n, int dx, int dy, unsigned buttons) {
        SDL_JoystickSetVirtualAxis(sticks[n], 0, int16_t(rest[n][0] + dx));
        SDL_JoystickSetVirtualAxis(sticks[n], 1, int16_t(rest[n][1] + dy));
        for (int b = 0; b < 6; ++b) SDL_JoystickSetVirtualButton(sticks[n], b, uint8_t(buttons >> b & 1u));
    };
    for (int n = 0; n < 2; ++n) {
        ASSERT_TRUE(sticks[n] = SDL_JoystickOpen(SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 6, 0)));
        set(n, 0, 0, 0);
    }
    SDL_JoystickUpdate();
    ScreenRig rig;
    rig.form->Sticks.Open();
    rig.form->GameState = kStateError;  // a screen that takes no controls
    const SDL_Scancode W = SDL_SCANCODE_W, A = SDL_SCANCODE_A, S = SDL_SCANCODE_S, D = SDL_SCANCODE_D,
                       G = SDL_SCANCODE_G, H = SDL_SCANCODE_H;
    const SDL_Scancode J = SDL_SCANCODE_J, K = SDL_SCANCODE_K, B = SDL_SCANCODE_B, V = SDL_SCANCODE_V,
                       Up = SDL_SCANCODE_UP, Down = SDL_SCANCODE_DOWN;
    const SDL_Scancode Left = SDL_SCANCODE_LEFT, Right = SDL_SCANCODE_RIGHT, Pad1 = SDL_SCANCODE_KP_1,
                       Pad2 = SDL_SCANCODE_KP_2, Pad4 = SDL_SCANCODE_KP_4;
    const SDL_Scancode Pad5 = SDL_SCANCODE_KP_5, Pad6 = SDL_SCANCODE_KP_6, PadAdd = SDL_SCANCODE_KP_PLUS;
    // Keys, or the player's stick moved from where it rests and its buttons; want: Horizontal,
    // Vertical, Action. Of two actions the first weapon wins, a weapon over the guard, the
    // guard over the dash; dash and a weapon make the dashing shot.
    const struct {
        int player;
        std::vector<SDL_Scancode> keys;
        int dx, dy;
        unsigned buttons;
        int want[3];
    } rows[] = {{0, {W}, 0, 0, 0, {0, -1, 0}},
                {0, {S}, 0, 0, 0, {0, 1, 0}},
                {0, {W, S}, 0, 0, 0, {0, 0, 0}},
                {0, {A}, 0, 0, 0, {-1, 0, 0}},
                {0, {D, H}, 0, 0, 0, {1, 0, 2}},
                {0, {A, D, J}, 0, 0, 0, {0, 0, 3}},
                {0, {V}, 0, 0, 0, {0, 0, 6}},
                {0, {K, G}, 0, 0, 0, {0, 0, 1}},
                {0, {B, K}, 0, 0, 0, {0, 0, 4}},
                {0, {B, V}, 0, 0, 0, {0, 0, 5}},
                {0, {V, G}, 0, 0, 0, {0, 0, 7}},
                {0, {V, K}, 0, 0, 0, {0, 0, 10}},
                {1, {Up, Left, Pad1}, 0, 0, 0, {-1, -1, 1}},
                {1, {Down, Right, Pad2}, 0, 0, 0, {1, 1, 2}},
                {1, {Pad4}, 0, 0, 0, {0, 0, 3}},
                {1, {Pad6, Pad5}, 0, 0, 0, {0, 0, 4}},
                {1, {Pad6}, 0, 0, 0, {0, 0, 5}},
                {1, {PadAdd, Pad4}, 0, 0, 0, {0, 0, 9}},
                {0, {}, 16001, 0, 0, {1, 0, 0}},
                {0, {}, 16000, -16000, 0, {0, 0, 0}},
                {0, {}, -16001, 16001, 0, {-1, 1, 0}},
                {0, {}, 0, -16001, 0, {0, -1, 0}},
                {1, {}, 0, 16000, 0, {0, 0, 0}},
                {1, {}, -16001, 16001, 0, {-1, 1, 0}},
                {0, {}, 0, 0, 1u << 0, {0, 0, 1}},
                {0, {}, 0, 0, 1u << 1, {0, 0, 2}},
                {1, {}, 0, 0, 1u << 2, {0, 0, 3}},
                {0, {}, 0, 0, 1u << 4, {0, 0, 5}},
                {1, {}, 0, 0, 1u << 5, {0, 0, 6}},
                {0, {}, 0, 0, 1u << 5 | 1u << 3, {0, 0, 10}}};
    for (const auto& r : rows) {
        for (SDL_Scancode k : r.keys) PushKey(k, true);
        set(r.player, r.dx, r.dy, r.buttons);
        rig.form->App.Pump();
        for (size_t p = 0; p < 2; ++p) {
            const PlayerControls& c = rig.form->Controls[p];
            const int got[3] = {c.Horizontal, c.Vertical, c.Action};
            for (int i = 0; i < 3; ++i)
                EXPECT_EQ(got[i], int(p) == r.player ? r.want[i] : 0) << "row " << &r - rows << " player " << p;
        }
        for (SDL_Scancode k : r.keys) PushKey(k, false);
        set(r.player, 0, 0, 0);
        rig.form->App.Pump();
    }
    rig.form->Sticks.Close();
    for (int n = 1; n >= 0; --n) SDL_JoystickClose(sticks[n]), SDL_JoystickDetachVirtual(n);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

TEST(Controls, FightersAreDrivenOnlyInTheFightAndPlayerTwoOnlyByTwoPlayers) {
    const struct {
        int32_t mode, state;
        bool driven[2];
    } rows[] = {{2, kStateFight, {true, true}},        {1, kStateFight, {true, false}},
                {3, kStateFight, {true, false}},       {4, kStateFight, {true, false}},
                {2, kStateFightIntro, {false, false}}, {2, kStateFightOver, {false, false}}};
    // Each player dashes down with the second weapon, keeps firing it, then guards.
    const struct {
        dw::Key keys[6];
        int action, held, vertical;
    } frames[] = {{{dw::Key::V, dw::Key::H, dw::Key::S, dw::Key::PadAdd, dw::Key::Pad2, dw::Key::Down}, 8, 1, 1},
                  {{dw::Key::H, dw::Key::H, dw::Key::H, dw::Key::Pad2, dw::Key::Pad2, dw::Key::Pad2}, 2, 2, 0},
                  {{dw::Key::B, dw::Key::B, dw::Key::B, dw::Key::Pad6, dw::Key::Pad6, dw::Key::Pad6}, 5, 0, 0}};
    auto owner = std::make_unique<TForm1>();
    TForm1& f = *owner;
    for (const auto& r : rows) {
        f.GameMode = r.mode, f.GameState = r.state;
        for (const auto& fr : frames) {
            f.Keys.ReleaseAll();
            for (dw::Key k : fr.keys) f.Keys.Press(k, true);
            f.ControlHead();
            for (int p = 0; p < 2; ++p) {
                const FighterState& x = p == 0 ? f.P1Fighter : f.P2Fighter;
                const int action = r.driven[p] ? fr.action : 0;
                EXPECT_TRUE(x.ActionCode == action && x.Horizontal == 0 && x.Vertical == (action ? fr.vertical : 0) &&
                            x.FireHeld[1] == (action ? fr.held : 0) &&
                            x.FireHeld[0] + x.FireHeld[2] + x.FireHeld[3] == 0 && x.DashRequest == (action == 8) &&
                            x.GuardRequest == (action == 5))
                    << r.mode << " " << r.state << " " << fr.action << " " << p;
            }
        }
    }
}

TEST(TitleScreen, TheChosenWordWhiteTheOthersGreyOnAClearedBand) {
    const dw::Rect main{0, 290, 800, 310}, level{0, 40, 350, 60}, limit{300, 540, 800, 560};
    struct Word {
        const char* text;
        int x, y;
    };
    const struct {
        int32_t state;
        int32_t TForm1::*field;
        int32_t value;
        dw::Rect band;
        Word white, grey;
    } rows[] = {
        {kStateMainMenu, &TForm1::GameMode, 2, main, {"2Player?", 240, 290}, {"1Player?", 120, 290}},
        {kStateMainMenu, &TForm1::GameMode, 4, main, {"Limit Mode?", 550, 290}, {"Survival Mode?", 350, 290}},
        {kStateLevelMenu, &TForm1::CpuLevel, 3, level, {"HARD", 250, 40}, {"EASY", 0, 40}},
        {kStateLevelMenu, &TForm1::CpuLevel, 1, level, {"EASY", 0, 40}, {"NORMAL", 100, 40}},
        {kStateLimitMenu, &TForm1::LimitDifficulty, 0, limit, {"EASY", 400, 540}, {"NORMAL", 500, 540}},
        {kStateLimitMenu, &TForm1::LimitDifficulty, 2, limit, {"HARD", 650, 540}, {"EASY", 400, 540}},
        {kStateStartMessage, &TForm1::CpuLevel, 1, main, {"OK!! Have A Nice Fight!!", 280, 290}, {}},
        {kStateMainMenu, &TForm1::GameMode, 5, main, {}, {}},
        {kStateLimitMenu, &TForm1::LimitDifficulty, 3, limit, {}, {}},
        {kStateTitle, &TForm1::GameMode, 1, {}, {}, {}},
    };
    ScreenRig rig;
    for (const auto& r : rows) {
        rig.form->GameState = r.state, (*rig.form).*r.field = r.value;
        rig.Draw(&TForm1::Draw_Start);
        const int area = r.band.Width() * r.band.Height();
        EXPECT_EQ(CountIndex(*rig.back, {0, 0, 800, 600}, 7), 800 * 600 - area) << r.state << " " << r.value;
        if (r.white.text) {
            EXPECT_TRUE(rig.Shows(r.white.x, r.white.y, r.white.text, 0xFFFFFF)) << r.white.text;
        }
        if (r.grey.text) {
            EXPECT_TRUE(rig.Shows(r.grey.x, r.grey.y, r.grey.text, 0x808080)) << r.grey.text;
        }
        if (!r.white.text) {
            EXPECT_EQ(CountIndex(*rig.back, r.band, 0), area) << r.state << " " << r.value;
        }
    }
}

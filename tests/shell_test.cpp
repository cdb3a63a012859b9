// The game shell: "opt.ez", start-up and close, the key-down event, the menus, each
// player's controls from keys and joysticks, and the title and error screens.
#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/message_box.h"
#include "platform/resources.h"
#include "shell/form.h"
#include "shell/little_endian.h"
#include "test_support.h"

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int32_t> fields) {
    std::vector<uint8_t> v(fields.size() * 4);
    size_t i = 0;
    for (int32_t f : fields) WriteLe32(v.data() + 4 * i++, f);
    return v;
}

std::vector<uint8_t> ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), {});
}

void WriteAll(const fs::path& p, const std::vector<uint8_t>& b) {
    std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
}

}  // namespace

TEST(Options, FieldsInRangeAreKeptTheOthersTakeTheirDefaults) {
    struct Row {
        std::vector<uint8_t> file;
        int32_t wait, level, mode, difficulty, limitFrames;
    };
    std::vector<uint8_t> cut = Bytes({40, 3, 2});
    cut.pop_back();  // the third field is one byte short
    const Row rows[] = {
        {Bytes({100, 3, 4, 2}), 100, 3, 4, 2, 5000},
        {Bytes({7, 2, 2, 1}), 7, 2, 2, 1, 7500},
        {Bytes({101, 4, 5, 3}), 0, 1, 1, 0, 10000},
        {Bytes({-1, 0, 0, -1}), 0, 1, 1, 0, 10000},
        {Bytes({INT32_MIN, INT32_MAX, 3, 1}), 0, 1, 3, 1, 7500},
        {cut, 40, 3, 1, 0, 10000},
        {{}, 0, 1, 1, 0, 10000},
    };
    for (const Row& r : rows) {
        TempDir dir;
        WriteAll(dir.Path() / "opt.ez", r.file);
        auto f = std::make_unique<TForm1>();
        f->DataDir = dir.Str();
        f->LimitFrames = 1;
        f->LoadOptions();
        const int32_t got[5] = {f->FrameWait, f->CpuLevel, f->GameMode, f->LimitDifficulty, f->LimitFrames};
        const int32_t want[5] = {r.wait, r.level, r.mode, r.difficulty, r.limitFrames};
        for (int i = 0; i < 5; ++i) EXPECT_EQ(got[i], want[i]) << "field " << i << " of a " << r.file.size() << "-byte file";
    }
}

TEST(Shell, StartReadsTheFilesAndCloseWritesTheOptionsOnce) {
    GameRig rig;
    TForm1& f = *rig.form;
    WriteAll(rig.dir.Path() / "opt.ez", Bytes({3, 2, 3, 1}));
    {
        auto writer = std::make_unique<TForm1>();
        writer->DataDir = rig.dir.Str();
        writer->SurvivalScore = 10;
        writer->EnterSurvivalScore();
    }
    f.FormShow();
    ASSERT_FALSE(f.Closed());
    EXPECT_EQ(f.GameState, kStateTitle);
    EXPECT_EQ(f.GameMode, 3);
    EXPECT_EQ(f.LimitFrames, 7500);
    EXPECT_TRUE(f.HiddenRobotUnlocked());
    ASSERT_NE(f.SheetSurface1, nullptr);
    EXPECT_TRUE(f.SheetSurface1->ColorKey().has_value());
    EXPECT_EQ(f.DirectDrawObj->Palette(), f.SheetSurface1->Colors());
    EXPECT_NE(f.VoiceBuffer, nullptr);
    EXPECT_NE(f.CursorBuffer, nullptr);
    for (size_t i = 0; i < 4; ++i) EXPECT_TRUE(f.HitBuffers[i] && f.HitDuplicates[i]) << i;

    f.App.Pump();
    f.FrameWait = 9;
    f.CpuLevel = 7;  // a value the next start would refuse is stored as its default
    PushKey(SDL_SCANCODE_ESCAPE, true);
    f.App.Run();
    EXPECT_TRUE(f.Closed());
    EXPECT_EQ(f.DirectDrawObj, nullptr);
    EXPECT_EQ(f.SoundDevice, nullptr);
    EXPECT_EQ(f.Fonts[1], nullptr);
    EXPECT_EQ(ReadAll(rig.dir.Path() / "opt.ez"), Bytes({9, 1, 3, 1}));
    WriteAll(rig.dir.Path() / "opt.ez", {});
    f.Close();  // a second close writes nothing
    f.AppIdle();
    EXPECT_TRUE(ReadAll(rig.dir.Path() / "opt.ez").empty());
}

TEST(Shell, AStartThatFailsEarlyLeavesTheOptionsFileAlone) {
    const std::vector<uint8_t> stored = Bytes({250, 2, 9, 1});
    for (const bool noDisplay : {true, false}) {
        ScopedEnv video("SDL_VIDEODRIVER", noDisplay ? "no-such-driver" : "dummy");
        GameRig rig;
        if (!noDisplay) fs::remove(rig.dir.Path() / "Start.mid");
        WriteAll(rig.dir.Path() / "opt.ez", stored);
        std::vector<std::string> messages;
        dw::SetMessageSink([&](const std::string&, const std::string& text) { messages.push_back(text); });
        rig.form->FormShow();
        rig.form->Close();
        dw::SetMessageSink({});
        EXPECT_EQ(ReadAll(rig.dir.Path() / "opt.ez"), stored) << noDisplay;
        if (noDisplay) {
            EXPECT_EQ(rig.form->ErrorCode, 4);
            EXPECT_EQ(messages, std::vector<std::string>{"There is a Error In Drawing."});
        }
    }
}

TEST(Shell, SoundFailuresLeaveASilentGameRunning) {
    {
        ScopedEnv audio("SDL_AUDIODRIVER", "no-such-driver");
        GameRig rig;
        rig.form->FormShow();
        EXPECT_FALSE(rig.form->Closed());
        EXPECT_EQ(rig.form->VoiceBuffer, nullptr);
        EXPECT_EQ(rig.form->CreateSoundData("S_BEGIN", rig.form->VoiceBuffer), 0);
        EXPECT_TRUE(rig.form->PlayMusic("no-such.mid"));
    }
    GameRig rig;
    TForm1& f = *rig.form;
    f.FormShow();
    std::vector<std::string> messages;
    dw::SetMessageSink([&](const std::string& caption, const std::string& text) { messages.push_back(caption + "|" + text); });
    const std::vector<uint8_t> broken{'R', 'I', 'F', 'X'};
    dw::OverrideResource(dw::ResourceKind::Wave, "HITTED2", broken);
    EXPECT_EQ(f.CreateSoundData("HITTED2", f.HitBuffers[1]), 0);
    dw::OverrideResource(dw::ResourceKind::Wave, "HITTED2", {});
    dw::SetMessageSink({});
    EXPECT_EQ(messages, std::vector<std::string>{"Error|The sound \"HITTED2\" could not be read (step 2)."});
    EXPECT_EQ(f.SoundDevice, nullptr);  // every buffer goes with the device
    EXPECT_EQ(f.HitDuplicates[3], nullptr);
    EXPECT_EQ(f.CursorBuffer, nullptr);
    Play(f, "g");
    EXPECT_EQ(f.GameState, kStateMainMenu);
}

TEST(Shell, F1AndEscapeInEachModeAndScreen) {
    struct Row {
        int32_t mode, state;
        SDL_Scancode key;
        int32_t then;  // the state after the key's frame; -1: closed
    };
    const Row rows[] = {
        {1, kStateSelect, SDL_SCANCODE_F1, kStateTitle},
        {4, kStateLimitMenu, SDL_SCANCODE_F1, kStateTitle},
        {3, kStatePreFight, SDL_SCANCODE_F1, kStateSurvivalResult},
        {3, kStateSelect, SDL_SCANCODE_F1, kStateSelect},
        {1, kStateError, SDL_SCANCODE_F1, kStateError},
        {2, kStateSelect, SDL_SCANCODE_ESCAPE, -1},
    };
    GameRig rig;
    TForm1& f = *rig.form;
    f.FormShow();
    for (const Row& r : rows) {
        f.GameMode = r.mode;
        f.GameState = r.state;
        PushKey(r.key, true);
        f.App.Pump();
        PushKey(r.key, false);
        EXPECT_EQ(f.Closed(), r.then < 0) << r.mode << " " << r.state;
        if (r.then >= 0) { EXPECT_EQ(f.GameState, r.then) << r.mode << " " << r.state; }
        EXPECT_EQ(fs::remove(rig.dir.Path() / "score.zor"), r.then == kStateSurvivalResult);
    }
}

TEST(Menus, ScriptsFromTheTitle) {
    struct Row {
        int32_t mode, level, difficulty;
        const char* keys;
        int32_t state, wantMode, wantLevel, wantDifficulty, limitFrames;
    };
    const Row rows[] = {
        {1, 1, 0, "G", kStateMainMenu, 1, 1, 0, 10000},           // a held button decides once
        {1, 1, 0, "gadddddg", kStateLimitMenu, 4, 1, 0, 10000},    // the mode stops at both ends
        {1, 1, 0, "gDg", kStateStartMessage, 2, 1, 0, 10000},      // a held direction moves once
        {3, 1, 0, "gg", kStateStartMessage, 3, 1, 0, 10000},
        {1, 2, 0, "ggaaag", kStateStartMessage, 1, 1, 0, 10000},
        {1, 2, 0, "ggddd", kStateLevelMenu, 1, 3, 0, 10000},
        {4, 1, 1, "ggdd", kStateLimitMenu, 4, 1, 2, 5000},
        {4, 1, 1, "ggaag", kStateStartMessage, 4, 1, 0, 10000},
        {4, 1, 2, "gga", kStateLimitMenu, 4, 1, 1, 7500},
        {9, 1, 0, "ga", kStateMainMenu, 4, 1, 0, 10000},            // out of range: back in at the edge
        {4, 1, 7, "ggd", kStateLimitMenu, 4, 1, 2, 5000},
    };
    GameRig rig;
    TForm1& f = *rig.form;
    f.FormShow();
    for (const Row& r : rows) {
        f.GameState = kStateTitle;
        f.GameMode = r.mode;
        f.CpuLevel = r.level;
        f.LimitDifficulty = r.difficulty;
        f.LimitFrames = 10000;
        Play(f, r.keys);
        const int32_t got[5] = {f.GameState, f.GameMode, f.CpuLevel, f.LimitDifficulty, f.LimitFrames};
        const int32_t want[5] = {r.state, r.wantMode, r.wantLevel, r.wantDifficulty, r.limitFrames};
        for (int i = 0; i < 5; ++i) EXPECT_EQ(got[i], want[i]) << r.keys << " field " << i;
    }
    // The start message stands 60 frames, its first frame the one that decided.
    f.GameState = kStateTitle;
    f.GameMode = 2;
    Play(f, "gg");
    int frames = 1;
    for (; f.GameState == kStateStartMessage && frames < 100; ++frames) f.App.Pump();
    EXPECT_EQ(frames, 60);
    EXPECT_EQ(f.GameState, kStateSelect);
}

TEST(Controls, EachKeyOfEachPlayer) {
    struct Row {
        std::vector<SDL_Scancode> keys;
        int player, horizontal, vertical, action;
    };
    const Row rows[] = {
        {{SDL_SCANCODE_W}, 0, 0, -1, 0},
        {{SDL_SCANCODE_S}, 0, 0, 1, 0},
        {{SDL_SCANCODE_W, SDL_SCANCODE_S}, 0, 0, 0, 0},
        {{SDL_SCANCODE_A}, 0, -1, 0, 0},
        {{SDL_SCANCODE_D, SDL_SCANCODE_H}, 0, 1, 0, 2},
        {{SDL_SCANCODE_A, SDL_SCANCODE_D, SDL_SCANCODE_J}, 0, 0, 0, 3},
        {{SDL_SCANCODE_K, SDL_SCANCODE_G}, 0, 0, 0, 1},  // the first weapon wins
        {{SDL_SCANCODE_B, SDL_SCANCODE_K}, 0, 0, 0, 4},  // a weapon before the guard
        {{SDL_SCANCODE_B, SDL_SCANCODE_V}, 0, 0, 0, 5},  // the guard before the dash
        {{SDL_SCANCODE_V}, 0, 0, 0, 6},
        {{SDL_SCANCODE_V, SDL_SCANCODE_G}, 0, 0, 0, 7},
        {{SDL_SCANCODE_V, SDL_SCANCODE_K}, 0, 0, 0, 10},
        {{SDL_SCANCODE_UP, SDL_SCANCODE_LEFT, SDL_SCANCODE_KP_1}, 1, -1, -1, 1},
        {{SDL_SCANCODE_DOWN, SDL_SCANCODE_RIGHT, SDL_SCANCODE_KP_2}, 1, 1, 1, 2},
        {{SDL_SCANCODE_KP_4}, 1, 0, 0, 3},
        {{SDL_SCANCODE_KP_6, SDL_SCANCODE_KP_5}, 1, 0, 0, 4},
        {{SDL_SCANCODE_KP_6}, 1, 0, 0, 5},
        {{SDL_SCANCODE_KP_PLUS, SDL_SCANCODE_KP_4}, 1, 0, 0, 9},
    };
    ScreenRig rig;
    TForm1& f = *rig.form;
    f.GameState = kStateError;  // a screen that takes no controls
    for (const Row& r : rows) {
        for (SDL_Scancode k : r.keys) PushKey(k, true);
        f.App.Pump();
        for (SDL_Scancode k : r.keys) PushKey(k, false);
        for (int p = 0; p < 2; ++p) {
            const PlayerControls& c = f.Controls[size_t(p)];
            const bool mine = p == r.player;
            EXPECT_EQ(c.Horizontal, mine ? r.horizontal : 0) << r.keys[0] << " player " << p;
            EXPECT_EQ(c.Vertical, mine ? r.vertical : 0) << r.keys[0] << " player " << p;
            EXPECT_EQ(c.Action, mine ? r.action : 0) << r.keys[0] << " player " << p;
        }
        f.App.Pump();
    }
}

TEST(Controls, JoystickAxesAndButtons) {
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");  // the test window has no focus
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
    // Two sticks that rest off the middle: the game measures from where they rest at start-up.
    const int rest[2][2] = {{1000, -500}, {-2000, 300}};
    SDL_Joystick* sticks[2];
    for (int n = 0; n < 2; ++n) {
        const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 6, 0);
        ASSERT_GE(index, 0) << SDL_GetError();
        sticks[n] = SDL_JoystickOpen(index);
        ASSERT_NE(sticks[n], nullptr);
        SDL_JoystickSetVirtualAxis(sticks[n], 0, int16_t(rest[n][0]));
        SDL_JoystickSetVirtualAxis(sticks[n], 1, int16_t(rest[n][1]));
    }
    SDL_JoystickUpdate();
    ScreenRig rig;
    TForm1& f = *rig.form;
    f.Sticks.Open();
    struct Row {
        int stick, dx, dy;
        unsigned buttons;
        int horizontal, vertical, action;
    };
    const Row rows[] = {
        {0, 16001, 0, 0, 1, 0, 0},   {0, 16000, -16000, 0, 0, 0, 0}, {0, -16001, 0, 0, -1, 0, 0},
        {0, 0, 16001, 0, 0, 1, 0},   {0, 0, -16001, 0, 0, -1, 0},    {1, 0, 16000, 0, 0, 0, 0},
        {1, -16001, 16001, 0, -1, 1, 0}, {0, 0, 0, 1u << 0, 0, 0, 1}, {0, 0, 0, 1u << 1, 0, 0, 2},
        {1, 0, 0, 1u << 2, 0, 0, 3}, {0, 0, 0, 1u << 3, 0, 0, 4},     {0, 0, 0, 1u << 4, 0, 0, 5},
        {1, 0, 0, 1u << 5, 0, 0, 6}, {0, 0, 0, 1u << 5 | 1u << 3, 0, 0, 10},
    };
    f.GameState = kStateError;
    for (const Row& r : rows) {
        SDL_Joystick* s = sticks[r.stick];
        SDL_JoystickSetVirtualAxis(s, 0, int16_t(rest[r.stick][0] + r.dx));
        SDL_JoystickSetVirtualAxis(s, 1, int16_t(rest[r.stick][1] + r.dy));
        for (int b = 0; b < 6; ++b) SDL_JoystickSetVirtualButton(s, b, (r.buttons >> b) & 1u);
        f.App.Pump();
        for (int p = 0; p < 2; ++p) {
            const PlayerControls& c = f.Controls[size_t(p)];
            const bool mine = p == r.stick;
            EXPECT_EQ(c.Horizontal, mine ? r.horizontal : 0) << &r - rows << " player " << p;
            EXPECT_EQ(c.Vertical, mine ? r.vertical : 0) << &r - rows << " player " << p;
            EXPECT_EQ(c.Action, mine ? r.action : 0) << &r - rows << " player " << p;
        }
        SDL_JoystickSetVirtualAxis(s, 0, int16_t(rest[r.stick][0]));
        SDL_JoystickSetVirtualAxis(s, 1, int16_t(rest[r.stick][1]));
        for (int b = 0; b < 6; ++b) SDL_JoystickSetVirtualButton(s, b, 0);
    }
    f.Sticks.Close();
    for (SDL_Joystick* s : sticks) SDL_JoystickClose(s);
    SDL_JoystickDetachVirtual(1);
    SDL_JoystickDetachVirtual(0);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

TEST(Controls, FightersAreDrivenOnlyInTheFightAndPlayerTwoOnlyByTwoPlayers) {
    struct Row {
        int32_t mode, state;
        bool driven[2];
    };
    const Row rows[] = {{2, kStateFight, {true, true}},         {1, kStateFight, {true, false}},
                        {3, kStateFight, {true, false}},        {4, kStateFight, {true, false}},
                        {2, kStateFightIntro, {false, false}}, {2, kStateFightOver, {false, false}}};
    // Each player dashes with the second weapon, keeps firing it, then guards.
    struct Frame {
        dw::Key keys[4];
        int action, held;
    };
    const Frame frames[] = {{{dw::Key::V, dw::Key::H, dw::Key::PadAdd, dw::Key::Pad2}, 8, 1},
                            {{dw::Key::H, dw::Key::H, dw::Key::Pad2, dw::Key::Pad2}, 2, 2},
                            {{dw::Key::H, dw::Key::H, dw::Key::Pad2, dw::Key::Pad2}, 2, 2},
                            {{dw::Key::B, dw::Key::B, dw::Key::Pad6, dw::Key::Pad6}, 5, 0}};
    auto owner = std::make_unique<TForm1>();
    TForm1& f = *owner;
    for (const Row& r : rows) {
        f.GameMode = r.mode;
        f.GameState = r.state;
        for (const Frame& fr : frames) {
            f.Keys.ReleaseAll();
            for (dw::Key k : fr.keys) f.Keys.Press(k, true);
            f.ControlHead();
            for (int p = 0; p < 2; ++p) {
                const FighterState& fighter = p == 0 ? f.P1Fighter : f.P2Fighter;
                const int action = r.driven[p] ? fr.action : 0;
                EXPECT_EQ(fighter.ActionCode, action) << r.mode << " " << r.state << " " << fr.action << " " << p;
                EXPECT_EQ(fighter.FireHeld[1], r.driven[p] ? fr.held : 0) << r.mode << " " << fr.action << " " << p;
                EXPECT_EQ(fighter.FireHeld[0] + fighter.FireHeld[2] + fighter.FireHeld[3], 0);
                EXPECT_EQ(fighter.DashRequest, action == 8);
                EXPECT_EQ(fighter.GuardRequest, action == 5);
            }
        }
    }
}

TEST(TitleScreen, TheChosenWordIsWhiteAndAFieldOutOfRangeShowsNone) {
    struct Row {
        int32_t state;
        int32_t TForm1::*field;
        int32_t value;
        dw::Rect band, white, grey;  // empty white: no word at all
    };
    const Row rows[] = {
        {kStateMainMenu, &TForm1::GameMode, 2, {0, 290, 800, 310}, {240, 290, 350, 310}, {120, 290, 240, 310}},
        {kStateMainMenu, &TForm1::GameMode, 4, {0, 290, 800, 310}, {550, 290, 800, 310}, {350, 290, 550, 310}},
        {kStateLevelMenu, &TForm1::CpuLevel, 3, {0, 40, 350, 60}, {250, 40, 350, 60}, {0, 40, 100, 60}},
        {kStateLimitMenu, &TForm1::LimitDifficulty, 0, {300, 540, 800, 560}, {400, 540, 500, 560}, {650, 540, 800, 560}},
        {kStateStartMessage, &TForm1::LimitDifficulty, 0, {0, 290, 800, 310}, {280, 290, 800, 310}, {}},
        {kStateMainMenu, &TForm1::GameMode, 5, {0, 290, 800, 310}, {}, {}},
        {kStateMainMenu, &TForm1::GameMode, 0, {0, 290, 800, 310}, {}, {}},
        {kStateLevelMenu, &TForm1::CpuLevel, 4, {0, 40, 350, 60}, {}, {}},
        {kStateLimitMenu, &TForm1::LimitDifficulty, 3, {300, 540, 800, 560}, {}, {}},
        {kStateTitle, &TForm1::GameMode, 1, {}, {}, {}},
    };
    ScreenRig rig;
    for (const Row& r : rows) {
        rig.form->GameState = r.state;
        (*rig.form).*r.field = r.value;
        rig.Draw(&TForm1::Draw_Start);
        const int area = r.band.Width() * r.band.Height();
        const uint8_t white = rig.Index(0xFFFFFF), grey = rig.Index(0x808080), black = 0;
        EXPECT_EQ(CountIndex(*rig.back, {0, 0, 800, 600}, 7), 800 * 600 - area) << r.state << " " << r.value;
        // White only in the chosen word's place; grey in another's.
        EXPECT_EQ(CountIndex(*rig.back, r.band, white), CountIndex(*rig.back, r.white, white)) << r.state;
        EXPECT_EQ(CountIndex(*rig.back, r.white, white) > 20, !r.white.Empty()) << r.state << " " << r.value;
        EXPECT_EQ(CountIndex(*rig.back, r.grey, grey) > 20, !r.grey.Empty()) << r.state << " " << r.value;
        EXPECT_EQ(CountIndex(*rig.back, r.grey, white), 0);
        if (r.white.Empty()) { EXPECT_EQ(CountIndex(*rig.back, r.band, black), area); }
    }
}

TEST(ErrorScreen, NamesTheFailureAndTheCode) {
    struct Row {
        int32_t code;
        const char* what;
        const char* line;
    };
    const Row rows[] = {{1, "There is a Error In Loading Character Data1.", "ErrorCode #1."},
                        {2, "There is a Error In Loading Character Data2.", "ErrorCode #2."},
                        {4, "There is a Error In Drawing.", "ErrorCode #4."},
                        {0, "There is a Unknown Error.", "ErrorCode #5."},
                        {5, "There is a Unknown Error.", "ErrorCode #5."}};
    ScreenRig rig;
    for (const Row& r : rows) {
        rig.form->ErrorCode = r.code;
        rig.Draw(&TForm1::Draw_Error);
        EXPECT_TRUE(rig.Shows(100, 200, r.what, 0xFFFFFF)) << r.code;
        EXPECT_TRUE(rig.Shows(10, 560, r.line, 0xFFFFFF)) << r.code;
        EXPECT_TRUE(rig.Shows(180, 240, "Please Press Escape Key(Esc)! And Try Again!", 0xFFFFFF));
        EXPECT_EQ(CountIndex(*rig.back, {0, 0, 800, 200}, 0), 800 * 200);
    }
}

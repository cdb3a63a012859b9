// Damaged or missing game data at run time: the game ends or goes on as it should, and
// never crashes.
#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include "platform/resources.h"
#include "shell/form.h"
#include "shell/options.h"
#include "test_support.h"

namespace fs = std::filesystem;
using testing_support::GameRig;
using testing_support::Tap;

namespace {

// Replaces a linked robot directory of the rig by a real copy we may damage.
fs::path OwnCopy(GameRig& rig, const char* robotDir) {
    const fs::path dir = rig.dir.Path() / robotDir;
    const fs::path from = fs::read_symlink(dir);
    fs::remove(dir);
    fs::copy(from, dir);
    return dir;
}

void Garble(const fs::path& file, size_t keep) {
    std::ifstream in(file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    in.close();
    bytes.resize(std::min(bytes.size(), keep));
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes << "garbage";
}

}  // namespace

// A music file or view sheet missing or cut short ends the game where it is needed, without
// an error screen; with no sound device the music is not missed.
TEST(DamagedData, MissingOrCorruptGameFilesEndTheGame) {
    enum When { StartUp, ToSelect, ToFight };
    const struct {
        const char* file;
        int keep;  // bytes kept before the garbage; -1: the file is removed
        When when;
        bool audio = true, closes = true;
    } cases[] = {
        {"p_D2E/st_bs.bmp", -1, ToFight}, {"p_D2E/st_bs.bmp", 60, ToFight},  // cut inside the colour table
        {"Start.mid", 10, StartUp},       {"Select.mid", -1, ToSelect},  {"Start.mid", -1, StartUp, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.file << " keeping " << c.keep);
        std::optional<testing_support::ScopedEnv> env;
        if (!c.audio) env.emplace("SDL_AUDIODRIVER", "no-such-driver");
        GameRig rig;
        TForm1& f = *rig.form;
        if (c.when == ToFight) OwnCopy(rig, "p_D2E");
        if (c.keep < 0) fs::remove(rig.dir.Path() / c.file);
        else Garble(rig.dir.Path() / c.file, size_t(c.keep));
        f.FormShow();
        ASSERT_TRUE(c.when == StartUp || !f.Closed());
        if (c.when == ToSelect) {
            f.GameState = kStateStartMessage;
            f.StateFrames = 100;
            f.App.Pump();
        } else if (c.when == ToFight) {
            f.GameMode = 2;
            f.P1RobotId = f.P2RobotId = 14;
            f.ToBefore();
            EXPECT_NE(f.GameState, kStatePreFight);  // no fight starts
            for (const auto& sheet : f.P1Sheets) EXPECT_EQ(sheet, nullptr);
        }
        EXPECT_EQ(f.Closed(), c.closes);
        EXPECT_EQ(f.ErrorCode, 0);
        f.AppIdle();  // the frame after does nothing
    }
}

TEST(DamagedData, UnwritableFilesAreReportedNotFatal) {
    GameRig rig;
    TForm1& f = *rig.form;
    // Directories stand where the game keeps its files: none can be read or replaced (a
    // read-only directory would do the same, but the tests may run as root).
    for (const char* name : {"opt.ez", "score.zor", "score2.zor"}) fs::create_directory(rig.dir.Path() / name);
    f.FormShow();  // the options read gives defaults
    ASSERT_FALSE(f.Closed());
    EXPECT_EQ(f.GameMode, 1);
    f.SurvivalScore = 4;
    f.EnterSurvivalScore();
    EXPECT_TRUE(f.ScoreFileError == 1 && f.GameState == kStateSurvivalResult);
    f.ScoreFileError = 0;
    f.LimitDifficulty = 0;
    f.LimitData();
    EXPECT_EQ(f.ScoreFileError, 1);
    f.Close();  // the options cannot be written: the game still closes cleanly
    EXPECT_TRUE(f.Closed() && fs::is_directory(rig.dir.Path() / "opt.ez"));
}

// A built-in picture or sound replaced by the head of its own bytes: in a screen change the
// game releases the screen's pictures and shows the error screen (4 drawing, 3 sound) until
// Esc; at start-up and at the end of a fight it closes.
TEST(DamagedData, BrokenPictureOrVoiceOfAScreenChangeShowsTheErrorScreen) {
    enum When { StartUp, F1, Select, Fight, KnockOut };
    static constexpr const char* kWhen[] = {"start-up", "F1 to the title", "select", "fight", "knock-out"};
    struct Case {
        dw::ResourceKind kind;
        const char* name;
        When when;
        int code;  // 0: the game closes
    };
    using K = dw::ResourceKind;
    const Case cases[] = {
        {K::Bitmap, "MARKS", Select, 4},   {K::Bitmap, "MARKS2", Select, 4}, {K::Bitmap, "SABAKU", Fight, 4},
        {K::Bitmap, "WEAPON", Fight, 4},   {K::Bitmap, "TITLE", F1, 4},      {K::Wave, "S_BEGIN", F1, 3},
        {K::Wave, "S_START", Fight, 3},    {K::Bitmap, "TITLE", StartUp, 0}, {K::Wave, "S_BEGIN", StartUp, 0},
        {K::Wave, "S_FINISH", KnockOut, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.name << " at " << kWhen[c.when]);
        const auto whole = dw::FindResource(c.kind, c.name);
        ASSERT_GT(whole.size(), 30u);
        const std::vector<uint8_t> head(whole.begin(), whole.begin() + 30);
        auto damage = [&] { dw::OverrideResource(c.kind, c.name, head); };
        GameRig rig;
        TForm1& f = *rig.form;
        if (c.when == StartUp) damage();
        f.FormShow();
        if (c.when == F1) {
            damage();
            Tap(f, SDL_SCANCODE_F1);
        } else if (c.when == Select) {
            damage();
            testing_support::ToSelectScreen(f, 2);
        } else if (c.when != StartUp) {
            f.GameMode = 2;
            f.P1RobotId = f.P2RobotId = 14;
            f.ToBefore();
            f.StateFrames = 240;  // the pre-fight screen's last frame
            if (c.when == Fight) damage();
            f.App.Pump();
            if (c.when == KnockOut) {
                ASSERT_EQ(f.GameState, kStateFightIntro);
                f.GameState = kStateFight;
                damage();
                f.P2Fighter.Armour = 0;
                f.App.Pump();
            }
        }
        dw::OverrideResource(c.kind, c.name, {});
        if (c.code == 0) {
            EXPECT_TRUE(f.Closed());
            continue;
        }
        EXPECT_TRUE(f.GameState == kStateError && f.ErrorCode == c.code);
        EXPECT_TRUE(f.SheetSurface1 == nullptr && f.SheetSurface2 == nullptr);
        EXPECT_EQ(f.SoundDevice == nullptr, c.code == 3);  // a failed voice took the device with it
        f.App.Pump();
        Tap(f, SDL_SCANCODE_F1);
        EXPECT_TRUE(f.GameState == kStateError && !f.Closed());
        Tap(f, SDL_SCANCODE_ESCAPE);
        EXPECT_TRUE(f.Closed());
    }
}

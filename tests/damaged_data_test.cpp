// Damaged or missing game data at run time: the game ends or goes on as it should, and
// never crashes.
#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "shell/form.h"
#include "shell/options.h"
#include "test_support.h"

namespace fs = std::filesystem;
using testing_support::GameRig;

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

TEST(DamagedData, MissingOrCorruptViewSheetEndsTheGame) {
    for (bool corrupt : {false, true}) {
        GameRig rig;
        TForm1& f = *rig.form;
        const fs::path dir = OwnCopy(rig, "p_D2E");
        if (corrupt)
            Garble(dir / "st_bs.bmp", 60);  // cut inside the colour table
        else
            fs::remove(dir / "st_bs.bmp");
        f.FormShow();
        ASSERT_FALSE(f.Closed());
        f.GameMode = 2;
        f.P1RobotId = 14;
        f.P2RobotId = 14;
        f.ToBefore();
        EXPECT_TRUE(f.Closed()) << corrupt;
        EXPECT_EQ(f.ErrorCode, 0);
        EXPECT_NE(f.GameState, kStatePreFight);  // no fight starts
        for (const auto& s : f.P1Sheets) EXPECT_EQ(s, nullptr);
        f.AppIdle();  // the frame after does nothing
    }
}

TEST(DamagedData, MissingOrCorruptMusicEndsTheGame) {
    {  // the title music at start-up
        GameRig rig;
        Garble(rig.dir.Path() / "Start.mid", 10);
        rig.form->FormShow();
        EXPECT_TRUE(rig.form->Closed());
    }
    {  // the select music, on the way to the select screen
        GameRig rig;
        TForm1& f = *rig.form;
        fs::remove(rig.dir.Path() / "Select.mid");
        f.FormShow();
        ASSERT_FALSE(f.Closed());
        f.GameState = kStateStartMessage;
        f.StateFrames = 100;
        f.App.Pump();
        EXPECT_TRUE(f.Closed());
        f.App.Pump();
    }
    {  // without any sound device the music is not missed
        testing_support::ScopedEnv env("SDL_AUDIODRIVER", "no-such-driver");
        GameRig rig;
        fs::remove(rig.dir.Path() / "Start.mid");
        rig.form->FormShow();
        EXPECT_FALSE(rig.form->Closed());
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
    EXPECT_EQ(f.ScoreFileError, 1);
    EXPECT_EQ(f.GameState, kStateSurvivalResult);
    f.LimitDifficulty = 0;
    f.LimitData();
    EXPECT_EQ(f.ScoreFileError, 1);
    f.Close();  // the options cannot be written: the game still closes cleanly
    EXPECT_TRUE(f.Closed());
    EXPECT_TRUE(fs::is_directory(rig.dir.Path() / "opt.ez"));
}

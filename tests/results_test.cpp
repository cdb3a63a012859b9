// Best-table files, the result and time-over screens, the credits roll, and whole Survival
// and Limit runs through the frame loop.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "shell/form.h"
#include "shell/little_endian.h"
#include "test_support.h"

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

std::vector<uint8_t> ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), {});
}

void WriteAll(const fs::path& p, const std::vector<uint8_t>& bytes) {
    std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

int32_t At(const std::vector<uint8_t>& b, size_t offset) { return ReadLe32(b.data() + offset); }

// A form that keeps its best tables in a temporary directory.
struct FileRig {
    TempDir dir;
    std::unique_ptr<TForm1> form = std::make_unique<TForm1>();
    TForm1& f = *form;
    FileRig() { f.DataDir = dir.Str(); }
    fs::path Survival() const { return dir.Path() / "score.zor"; }
    fs::path Limit() const { return dir.Path() / "score2.zor"; }
    void EnterSurvival(int32_t score, int32_t robot) {
        f.SurvivalScore = score;
        f.P1RobotId = robot;
        f.EnterSurvivalScore();
    }
    void EnterLimit(int32_t difficulty, int32_t rest, int32_t robot) {
        f.LimitDifficulty = difficulty;
        f.LimitFrames = 10000;
        f.LimitElapsed = 10000 - rest;
        f.P1RobotId = robot;
        f.LimitData();
    }
};

// Whether text drawn in the screen's font at (x, y) shows on the game's own back buffer.
bool OnScreen(TForm1& f, int x, int y, const char* text, dw::ColorRef colour) {
    return TextShows(*f.BackSurface(), f.DirectDrawObj->Palette(), f.Fonts[1].get(), x, y, text, colour);
}

// Runs only the last frames of a screen that ends on its counter: the counts themselves are
// checked elsewhere.
void Finish(TForm1& f, int32_t state, int32_t counter) {
    if (f.GameState == state) f.StateFrames = counter;
    RunWhile(f, state, 20);
}

// From the decided select screen into the fight proper.
void IntoFight(TForm1& f) {
    RunWhile(f, kStateSelect, 30);
    Finish(f, kStatePreFight, 236);
    Finish(f, kStateFightIntro, 85);
}

// The fight ends the next frame; the fight-over screen runs to its end.
void KnockOut(TForm1& f, FighterState& loser) {
    loser.Armour = 0;
    RunWhile(f, kStateFight, 5);
    Finish(f, kStateFightOver, 145);
}

}  // namespace

TEST(BestTables, EntriesComeInOrderAndTheFilesCarryTheirChecks) {
    FileRig rig;
    // A first score of zero enters nothing, but the file is made with its checks.
    rig.EnterSurvival(0, 4);
    EXPECT_EQ(ReadAll(rig.Survival()), [] {
        std::vector<uint8_t> b(64, 0);
        b[48] = 1;
        return b;
    }());
    for (auto [score, robot] : {std::pair{5, 1}, {9, 2}, {5, 3}, {-2, 5}, {6, 6}, {7, 7}, {8, 8}, {1, 9}, {5, 10}})
        rig.EnterSurvival(score, robot);
    EXPECT_EQ(rig.f.ScoreFileError, 0);
    EXPECT_EQ(rig.f.GameState, kStateSurvivalResult);
    const int32_t survival[] = {9, 2, 8, 8, 7, 7, 6, 6, 5, 1, 95, 0, 8, 0, 7, 0};  // 9 8 7 6 5, then c1 c2 c3
    const std::vector<uint8_t> s = ReadAll(rig.Survival());
    ASSERT_EQ(s.size(), 64u);
    for (size_t i = 0; i < 16; ++i) EXPECT_EQ(At(s, 4 * i), survival[i]) << "survival word " << i;
    auto reader = std::make_unique<TForm1>();
    reader->DataDir = rig.dir.Str();
    reader->ReadSurvivalTable();
    EXPECT_EQ(reader->SurvivalTable[4].RobotTypeId, 1);

    for (auto [difficulty, rest, robot] : {std::tuple{0, 100, 1}, {0, 50, 2}, {1, 300, 3}, {1, 200, 4}, {2, 70, 5},
                                           {2, 60, 6}, {2, 40, 7}, {1, 200, 8}, {2, 0, 9}})
        rig.EnterLimit(difficulty, rest, robot);
    EXPECT_EQ(rig.f.ScoreFileError, 0);
    const std::vector<uint8_t> l = ReadAll(rig.Limit());
    ASSERT_EQ(l.size(), 192u);
    const std::pair<size_t, int32_t> limit[] = {{0, 100}, {4, 1},  {8, 50},   {12, 2},   {64, 300}, {72, 200},
                                                {76, 4},  {80, 200}, {84, 8}, {128, 70}, {144, 40}, {148, 7},
                                                {152, 0}, {40, 620}, {48, -60}, {56, 560}};
    for (auto [offset, value] : limit) EXPECT_EQ(At(l, offset), value) << "limit offset " << offset;
}

TEST(BestTables, ADamagedTableStartsAfreshAndThePlayerIsTold) {
    FileRig rig;
    for (auto [score, robot] : {std::pair{9, 2}, {4, 3}}) rig.EnterSurvival(score, robot);
    for (auto [difficulty, rest, robot] : {std::tuple{0, 100, 1}, {1, 300, 3}, {1, 200, 4}, {2, 40, 7}})
        rig.EnterLimit(difficulty, rest, robot);
    const std::vector<uint8_t> good[2] = {ReadAll(rig.Survival()), ReadAll(rig.Limit())};
    struct Row {
        bool limit;
        int offset;  // the byte changed; -1 none, -2 every byte zeroed
        size_t size;  // then the file cut to this size
        bool reset;
    };
    const Row rows[] = {
        {false, 0, 64, true},    {false, 32, 64, true},  {false, 57, 64, true},  {false, 4, 64, false},
        {false, 44, 64, false},  {false, -1, 30, true},  {false, -2, 64, false}, {false, -2, 0, false},
        {true, 0, 192, true},    {true, 73, 192, true},  {true, 144, 192, true}, {true, 88, 192, true},
        {true, 32, 192, true},   {true, 41, 192, true},  {true, 128, 192, false}, {true, 4, 192, false},
        {true, -1, 30, true},   {true, -2, 16, false},
    };
    for (const Row& r : rows) {
        std::vector<uint8_t> bytes = good[r.limit];
        if (r.offset >= 0) bytes[size_t(r.offset)] ^= 0x10;
        if (r.offset == -2) std::fill(bytes.begin(), bytes.end(), 0);
        bytes.resize(r.size);
        const bool wasEmpty = r.offset == -2;
        WriteAll(r.limit ? rig.Limit() : rig.Survival(), bytes);
        if (r.limit) {
            rig.EnterLimit(1, 30, 5);
            EXPECT_EQ(rig.f.LimitTable[1][0].Value, r.reset || wasEmpty ? 30 : 300) << r.offset;
            EXPECT_EQ(rig.f.LimitTable[0][0].Value, r.reset || wasEmpty ? 0 : 100) << r.offset;
        } else {
            rig.f.ReadSurvivalTable();
            EXPECT_EQ(rig.f.SurvivalTable[0].Value, r.reset || wasEmpty ? 0 : 9) << r.offset;
            rig.EnterSurvival(3, 5);
            EXPECT_EQ(rig.f.SurvivalTable[0].Value, r.reset || wasEmpty ? 3 : 9) << r.offset;
        }
        EXPECT_EQ(rig.f.ScoreFileError, r.reset ? 1 : 0) << r.limit << " " << r.offset << " " << r.size;
        WriteAll(r.limit ? rig.Limit() : rig.Survival(), good[r.limit]);
    }
}

TEST(BestTables, FilesThatCannotBeWritten) {
    FileRig rig;
    rig.EnterLimit(3, 100, 1);  // a difficulty outside 0..2 is never an index
    EXPECT_EQ(rig.f.ScoreFileError, 1);
    EXPECT_FALSE(fs::exists(rig.Limit()));
    fs::create_directory(rig.Limit());
    fs::create_directory(rig.Survival());
    rig.EnterLimit(0, 100, 1);
    EXPECT_EQ(rig.f.ScoreFileError, 1);
    rig.EnterSurvival(5, 1);
    EXPECT_EQ(rig.f.ScoreFileError, 1);
    EXPECT_EQ(rig.f.GameState, kStateSurvivalResult);
    if (getuid() != 0) {  // root writes anywhere
        FileRig locked;
        fs::permissions(locked.dir.Path(), fs::perms::owner_read | fs::perms::owner_exec);
        locked.EnterSurvival(5, 1);
        EXPECT_EQ(locked.f.ScoreFileError, 1);
        locked.EnterLimit(0, 100, 1);
        EXPECT_EQ(locked.f.ScoreFileError, 1);
    }
}

TEST(ResultScreens, TablesNamesAndFileError) {
    struct Row {
        int32_t state, difficulty, error;
        const char* title;                         // at (200, 160), or the file error at (250, 210)
        const char* line;                          // at (180, 250): the second entry
        const char* name;                          // at (440, 270)
    };
    const char* fileError = "File Error(ファイルを初期化(すべて０にする。)します。)";
    const Row rows[] = {
        {kStateLimitResult, 2, 0, "Fast Player's Rest Time!!(HARD)", "Second Time :  4321", "D-2-E"},
        {kStateLimitResult, 1, 0, "Fast Player's Rest Time!!(NORMAL)", "Second Time :  0", "----"},
        {kStateLimitResult, 0, 0, "Fast Player's Rest Time!!(EASY)", "Second Time :  12", "----"},
        {kStateSurvivalResult, 5, 0, "Great Surviver's SCORE!!", "Second Score : SCORE 7", "DEZIVOR"},
        {kStateSurvivalResult, 0, 1, fileError, nullptr, nullptr},
        {kStateLimitResult, 3, 0, fileError, nullptr, nullptr},
        {kStateLimitResult, -1, 0, fileError, nullptr, nullptr},
    };
    ScreenRig rig;
    TForm1& f = *rig.form;
    f.LimitTable[2][1] = {4321, 14};
    f.LimitTable[0][1] = {12, 77};  // an id that names no robot
    f.SurvivalTable[1] = {7, 11};
    for (const Row& r : rows) {
        f.GameState = r.state;
        f.LimitDifficulty = r.difficulty;
        f.ScoreFileError = r.error;
        rig.Draw(&TForm1::Draw_Result);
        EXPECT_EQ(rig.back->Get(5, 300), rig.Index(0x0000B4));  // the red band
        EXPECT_EQ(rig.back->Get(5, 100), 0);
        if (!r.line) {
            EXPECT_TRUE(rig.Shows(250, 210, r.title, 0)) << r.difficulty;
            EXPECT_EQ(CountIndex(*rig.back, {0, 250, 800, 450}, 0), 0);
            continue;
        }
        EXPECT_TRUE(rig.Shows(200, 160, r.title, 0)) << r.title;
        EXPECT_TRUE(rig.Shows(180, 250, r.line, 0)) << r.line;
        EXPECT_TRUE(rig.Shows(440, 270, r.name, 0)) << r.name;
    }
    rig.back->Fill(9);
    rig.form->BackDC.emplace(*rig.back, rig.palette);
    f.Draw_Limit();
    rig.form->BackDC.reset();
    EXPECT_TRUE(rig.Shows(300, 280, "Time Over!!", 0x0000FF));
    EXPECT_EQ(CountIndex(*rig.back, {0, 0, 800, 600}, 9), 800 * 540);  // the fight stays around the band
}

TEST(Ending, CreditsFadeInAndOutThenTheTitle) {
    ScreenRig rig;
    TForm1& f = *rig.form;
    f.SetEnd();
    f.GameState = kStateEnding;
    f.StageNo = 4;
    f.ToEnd();
    int first = -1, last = -1, whiteFrom = -1, whiteTo = -1, lastLine0 = -1;
    for (int frame = 1; frame <= 1999; ++frame) {
        f.EndingStage();
        bool any = false;
        for (const CreditLine& l : f.CreditLines) any = any || l.Active;
        if (any && first < 0) first = frame;
        if (any) last = frame;
        const CreditLine& l0 = f.CreditLines[0];
        if (l0.Active) lastLine0 = frame;
        if (l0.Active && l0.FadeStep == 4 && whiteFrom < 0) whiteFrom = frame;
        if (l0.Active && l0.FadeStep == 4) whiteTo = frame;
        if (frame == 60 || frame == 150) {
            rig.Draw(&TForm1::Draw_End);
            EXPECT_TRUE(rig.Shows(300, 300, "Thanks for your FIGHT", frame == 60 ? 0x3F3F3F : 0xFFFFFF, 1));
        }
        if (frame == 975) {  // two lines stand at the same point
            rig.Draw(&TForm1::Draw_End);
            EXPECT_TRUE(f.CreditLines[12].Active && f.CreditLines[16].Active);
            EXPECT_TRUE(rig.Shows(f.CreditLines[16].X, f.CreditLines[16].Y, "Built with our own tools", 0x3F3F3F, 1));
        }
    }
    EXPECT_EQ(first, 50);
    EXPECT_EQ(last, 1958);
    EXPECT_EQ(whiteFrom, 139);
    EXPECT_EQ(whiteTo, 178);
    EXPECT_EQ(lastLine0, 268);
    EXPECT_EQ(f.GameState, kStateEnding);
    f.App.Pump();
    EXPECT_EQ(f.GameState, kStateTitle);
    EXPECT_EQ(f.StageNo, 0);
}

TEST(Runs, ALimitRunLostThenASecondRunEndingInTimeOver) {
    GameRig rig;
    TForm1& f = *rig.form;
    f.FormShow();
    ASSERT_FALSE(f.Closed());
    ToSelectScreen(f, 4);
    Play(f, "g");
    IntoFight(f);
    ASSERT_EQ(f.GameState, kStateFight);
    KnockOut(f, f.P2Fighter);  // the first fight won
    ASSERT_EQ(f.GameState, kStatePreFight);
    EXPECT_TRUE(OnScreen(f, 0, 530, "Second Enemy!!", 0xFFFFFF));
    Finish(f, kStatePreFight, 236);
    Finish(f, kStateFightIntro, 85);
    KnockOut(f, f.P1Fighter);  // the second lost
    ASSERT_EQ(f.GameState, kStateTitle);

    ToSelectScreen(f, 4);
    Play(f, "g");
    RunWhile(f, kStateSelect, 30);
    ASSERT_EQ(f.GameState, kStatePreFight);
    EXPECT_TRUE(OnScreen(f, 0, 530, "First Enemy!!", 0xFFFFFF));
    EXPECT_TRUE(OnScreen(f, 0, 550, "LIMIT MODE :REST IS 10000 COUNT!!", 0xFFFFFF));
    Finish(f, kStatePreFight, 236);
    Finish(f, kStateFightIntro, 85);
    ASSERT_EQ(f.GameState, kStateFight);
    f.LimitElapsed = f.LimitFrames - 3;
    int frames = 0;
    for (; f.GameState == kStateFight && frames < 10; ++frames) f.App.Pump();
    EXPECT_EQ(frames, 3);
    ASSERT_EQ(f.GameState, kStateTimeOver);
    EXPECT_TRUE(OnScreen(f, 300, 280, "Time Over!!", 0x0000FF));
    for (frames = 0; f.GameState == kStateTimeOver && frames < 400; ++frames) f.App.Pump();
    EXPECT_EQ(frames, 300);
    EXPECT_EQ(f.GameState, kStateTitle);
    EXPECT_FALSE(fs::exists(rig.dir.Path() / "score2.zor"));
}

TEST(Runs, SurvivalWinRaisesTheScoreAndALossEntersIt) {
    GameRig rig;
    TForm1& f = *rig.form;
    f.FormShow();
    ASSERT_FALSE(f.Closed());
    ToSelectScreen(f, 3);
    Play(f, "sg");
    IntoFight(f);
    ASSERT_EQ(f.GameState, kStateFight);
    KnockOut(f, f.P2Fighter);
    ASSERT_EQ(f.GameState, kStatePreFight);
    EXPECT_TRUE(OnScreen(f, 0, 550, "SURVIVAL MODE :SCORE IS 1 POINT!!", 0xFFFFFF));
    Finish(f, kStatePreFight, 236);
    Finish(f, kStateFightIntro, 85);
    ASSERT_EQ(f.GameState, kStateFight);
    KnockOut(f, f.P1Fighter);
    ASSERT_EQ(f.GameState, kStateSurvivalResult);
    EXPECT_TRUE(OnScreen(f, 180, 200, "First Score  : SCORE 1", 0x000000));
    const std::vector<uint8_t> b = ReadAll(rig.dir.Path() / "score.zor");
    ASSERT_EQ(b.size(), 64u);
    EXPECT_EQ(At(b, 0), 1);
    EXPECT_EQ(At(b, 4), 2);
    int frames = 0;
    for (; f.GameState == kStateSurvivalResult && frames < 300; ++frames) f.App.Pump();
    EXPECT_EQ(frames, 200);
    EXPECT_EQ(f.GameState, kStateTitle);
}

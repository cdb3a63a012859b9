// Best-table files, the result and time-over screens, the credits roll, and whole Survival
// and Limit runs through the frame loop.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <utility>
#include <vector>

#include "shell/form.h"
#include "shell/little_endian.h"
#include "test_support.h"

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

int32_t At(const std::vector<uint8_t>& b, size_t offset) { return ReadLe32(b.data() + offset); }

// A form that keeps its best tables in a temporary directory.
struct FileRig {
    TempDir dir;
    std::unique_ptr<TForm1> form = std::make_unique<TForm1>();
    TForm1& f = *form;
    FileRig() { f.DataDir = dir.Str(); }
    fs::path File(bool limit) const { return dir.Path() / (limit ? "score2.zor" : "score.zor"); }
    void Survival(int32_t score, int32_t robot) {
        f.SurvivalScore = score, f.P1RobotId = robot, f.EnterSurvivalScore();
    }
    void Limit(int32_t difficulty, int32_t rest, int32_t robot) {
        f.LimitDifficulty = difficulty, f.LimitFrames = 10000, f.LimitElapsed = 10000 - rest, f.P1RobotId = robot;
        f.LimitData();
    }
};

// Runs only the last frames of a screen that ends on its counter (the counts are checked
// elsewhere).
void Finish(TForm1& f, int32_t state, int32_t counter) {
    if (f.GameState == state) f.StateFrames = counter;
    RunWhile(f, state, 20);
}

// From the title into the fight proper of a run, the robot chosen by the keys.
void StartRun(TForm1& f, int mode, const char* keys) {
    ToSelectScreen(f, mode);
    Play(f, keys);
    RunWhile(f, kStateSelect, 30);
}

void IntoFight(TForm1& f) {
    Finish(f, kStatePreFight, 236), Finish(f, kStateFightIntro, 85);
    ASSERT_EQ(f.GameState, kStateFight);
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
    rig.Survival(0, 4);  // a first score of zero enters nothing, but the file is made
    EXPECT_EQ(ReadAll(rig.File(false)), Words({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0}));
    for (auto [score, robot] : {std::pair{5, 1}, {9, 2}, {5, 3}, {-2, 5}, {6, 6}, {7, 7}, {8, 8}, {1, 9}, {5, 10}})
        rig.Survival(score, robot);
    EXPECT_TRUE(rig.f.ScoreFileError == 0 && rig.f.GameState == kStateSurvivalResult);
    // Largest first, an equal value below the older one; then the checks c1, c2, c3.
    EXPECT_EQ(ReadAll(rig.File(false)), Words({9, 2, 8, 8, 7, 7, 6, 6, 5, 1, 95, 0, 8, 0, 7, 0}));
    rig.f.SurvivalTable = {};
    rig.f.ReadSurvivalTable();
    EXPECT_EQ(rig.f.SurvivalTable[4].RobotTypeId, 1);

    for (auto [difficulty, rest, robot] : {std::tuple{0, 100, 1},
                                           {0, 50, 2},
                                           {1, 300, 3},
                                           {1, 200, 4},
                                           {2, 70, 5},
                                           {2, 60, 6},
                                           {2, 40, 7},
                                           {1, 200, 8},
                                           {2, 0, 9}})
        rig.Limit(difficulty, rest, robot);
    EXPECT_EQ(rig.f.ScoreFileError, 0);
    const std::vector<uint8_t> l = ReadAll(rig.File(true));
    ASSERT_EQ(l.size(), 192u);
    const std::pair<size_t, int32_t> limit[] = {{0, 100}, {4, 1},    {8, 50},   {12, 2},   {64, 300}, {72, 200},
                                                {76, 4},  {80, 200}, {84, 8},   {128, 70}, {144, 40}, {148, 7},
                                                {152, 0}, {40, 620}, {48, -60}, {56, 560}, {168, 0}};
    for (auto [offset, value] : limit) EXPECT_EQ(At(l, offset), value) << "offset " << offset;
}

TEST(BestTables, ADamagedTableStartsAfreshAndThePlayerIsTold) {
    FileRig rig;
    rig.Survival(9, 2);
    rig.Survival(4, 3);
    for (auto [difficulty, rest, robot] : {std::tuple{0, 100, 1}, {1, 300, 3}, {1, 200, 4}, {2, 40, 7}})
        rig.Limit(difficulty, rest, robot);
    const std::vector<uint8_t> good[2] = {ReadAll(rig.File(false)), ReadAll(rig.File(true))};
    // offset: the byte changed, -1 none, -2 every byte zeroed; size: then the file cut to this size
    const struct {
        bool limit;
        int offset;
        size_t size;
        int error;
    } rows[] = {
        {false, 0, 64, 1},   {false, 32, 64, 1}, {false, 57, 64, 1}, {false, 4, 64, 0},  {false, 44, 64, 0},
        {false, -1, 30, 1},  {false, -2, 64, 0}, {false, -2, 0, 0},  {true, 0, 192, 1},  {true, 73, 192, 1},
        {true, 144, 192, 1}, {true, 88, 192, 1}, {true, 32, 192, 1}, {true, 41, 192, 1}, {true, 128, 192, 0},
        {true, 4, 192, 0},   {true, -1, 30, 1},  {true, -2, 16, 0},
    };
    for (const auto& r : rows) {
        std::vector<uint8_t> bytes = good[r.limit];
        if (r.offset >= 0) bytes[size_t(r.offset)] ^= 0x10;
        if (r.offset == -2) std::fill(bytes.begin(), bytes.end(), 0);
        bytes.resize(r.size);
        WriteAll(rig.File(r.limit), bytes);
        const bool kept = r.error == 0 && r.offset != -2;  // the old entries are still there
        if (r.limit) {
            rig.Limit(1, 30, 5);
            EXPECT_EQ(rig.f.LimitTable[1][0].Value, kept ? 300 : 30) << r.offset;
            EXPECT_EQ(rig.f.LimitTable[0][0].Value, kept ? 100 : 0) << r.offset;
        } else {
            rig.f.ReadSurvivalTable();
            EXPECT_EQ(rig.f.SurvivalTable[0].Value, kept ? 9 : 0) << r.offset;
            rig.Survival(3, 5);
            EXPECT_EQ(rig.f.SurvivalTable[0].Value, kept ? 9 : 3) << r.offset;
        }
        EXPECT_EQ(rig.f.ScoreFileError, r.error) << r.limit << " " << r.offset << " " << r.size;
        WriteAll(rig.File(r.limit), good[r.limit]);
    }
}

TEST(BestTables, ChecksWithoutATrapAndFilesThatCannotBeWritten) {
    FileRig rig;
    // Tables no run makes, whose second check is 0 or -1: the third is then 0, not a remainder.
    for (int32_t second : {1, 2}) {
        WriteAll(rig.File(false), Words({0, 0, second, 7, 0, 0, 0, 0, 0, 0, 2 * second, 0, 1 - second, 0, 0, 0}));
        rig.f.ReadSurvivalTable();
        EXPECT_EQ(rig.f.SurvivalTable[1].RobotTypeId, 7) << second;
    }
    fs::remove(rig.File(false));
    rig.Limit(3, 100, 1);  // a difficulty outside 0..2 is never an index
    EXPECT_EQ(rig.f.ScoreFileError, 1);
    EXPECT_FALSE(fs::exists(rig.File(true)));
    // A directory where the new table's temporary file goes, then where the table itself is
    // (the tests may run as root, who could write into a read-only directory).
    for (const char* blocked : {".tmp", ""})
        for (bool limit : {false, true}) {
            fs::remove(rig.File(limit));
            fs::create_directory(rig.File(limit) += blocked);
            rig.f.ScoreFileError = 0;
            limit ? rig.Limit(0, 100, 1) : rig.Survival(5, 1);
            EXPECT_EQ(rig.f.ScoreFileError, 1) << limit << blocked;
        }
    EXPECT_EQ(rig.f.GameState, kStateSurvivalResult);
}

TEST(ResultScreens, TablesNamesAndFileError) {
    const char* fileError = "File Error(ファイルを初期化(すべて０にする。)します。)";
    // title, line, name: at (200, 160), (180, 250) and (440, 270); or the file error
    const struct {
        int32_t state, difficulty, error;
        const char *title, *line, *name;
    } rows[] = {
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
    for (const auto& r : rows) {
        f.GameState = r.state, f.LimitDifficulty = r.difficulty, f.ScoreFileError = r.error;
        rig.Draw(&TForm1::Draw_Result);
        const uint8_t red = rig.Index(0x0000B4);  // the band 150..449 edge to edge, black around it
        EXPECT_TRUE(rig.back->Get(0, 150) == red && rig.back->Get(799, 449) == red && rig.back->Get(0, 149) == 0 &&
                    rig.back->Get(0, 450) == 0);
        EXPECT_TRUE(r.line ? rig.Shows(200, 160, r.title, 0) && rig.Shows(180, 250, r.line, 0) &&
                                 rig.Shows(440, 270, r.name, 0)
                           : rig.Shows(250, 210, r.title, 0) && CountIndex(*rig.back, {0, 250, 800, 450}, 0) == 0)
            << r.state << " " << r.difficulty;
    }
}

TEST(Ending, CreditsFadeInAndOutThenTheTitle) {
    ScreenRig rig;
    TForm1& f = *rig.form;
    f.SetEnd();
    f.CreditLines[0].Active = 1, f.CreditLines[0].Ticks = 7, f.CreditLines[0].FadeStep = 5;  // as a roll left off by F1
    f.GetIMPACT(0, 3), f.GetIMPACT(0, -1);  // a fade style outside 0..2 leaves the line as it was
    f.GameState = kStateEnding, f.StageNo = 4;
    f.ToEnd();
    std::array<std::pair<int, int>, 24> shown{};  // each line's first and last frame on screen
    for (int frame = 1; frame < 2000; ++frame) {
        frame == 150 ? f.App.Pump() : f.EndingStage();  // one frame of the loop, drawn
        for (size_t i = 0; i < 24; ++i)
            if (f.CreditLines[i].Active) shown[i] = {shown[i].first ? shown[i].first : frame, frame};
        if (frame == 60) {
            rig.Draw(&TForm1::Draw_End);
            EXPECT_TRUE(rig.Shows(300, 300, "Thanks for your FIGHT", 0x3F3F3F));
        }
        if (frame == 150) {
            EXPECT_TRUE(OnScreen(f, 300, 300, "Thanks for your FIGHT", 0xFFFFFF));
        }
        if (frame == 975) {  // two lines at the same point
            rig.Draw(&TForm1::Draw_End);
            EXPECT_TRUE(f.CreditLines[12].Active &&
                        rig.Shows(f.CreditLines[16].X, f.CreditLines[16].Y, "Built with our own tools", 0x3F3F3F));
        }
    }
    // A line of each fade style (0, 1, 2) and the last line: 220, 170 and 90 frames from its start.
    const std::pair<size_t, std::pair<int, int>> spans[] = {
        {0, {50, 268}}, {3, {530, 698}}, {5, {545, 633}}, {23, {1740, 1958}}};
    for (const auto& [line, span] : spans) EXPECT_EQ(shown[line], span) << line;
    // Every line's first and last frame on screen and its place, added up: the roll as approved.
    int roll = 0;
    for (size_t i = 0; i < 24; ++i) roll += shown[i].first + shown[i].second + f.CreditLines[i].X + f.CreditLines[i].Y;
    EXPECT_EQ(roll, 59882);
    EXPECT_EQ(f.GameState, kStateEnding);
    // The frame after the last is the title's: its state and its picture, a new run.
    f.App.Pump();
    ASSERT_TRUE(f.GameState == kStateTitle && f.StageNo == 0 && f.SheetSurface1);
    int differ = 0;  // rows unlike the title picture's (a picture without keyed pixels)
    for (int y = 0; y < 600; ++y) differ += std::memcmp(f.SheetSurface1->Row(y), f.BackSurface()->Row(y), 800) != 0;
    EXPECT_EQ(differ, 0);
}

TEST(Runs, TwoLimitRunsOneEndingInTimeOverThenASurvivalRun) {
    GameRig rig;
    TForm1& f = *rig.form;
    f.FormShow();
    StartRun(f, 4, "g");
    IntoFight(f), KnockOut(f, f.P2Fighter);  // the first fight won
    ASSERT_TRUE(f.GameState == kStatePreFight && OnScreen(f, 0, 530, "Second Enemy!!", 0xFFFFFF));
    IntoFight(f), KnockOut(f, f.P1Fighter);  // the second lost
    ASSERT_EQ(f.GameState, kStateTitle);

    StartRun(f, 4, "g");
    ASSERT_TRUE(f.GameState == kStatePreFight && OnScreen(f, 0, 530, "First Enemy!!", 0xFFFFFF) &&
                OnScreen(f, 0, 550, "LIMIT MODE :REST IS 10000 COUNT!!", 0xFFFFFF));
    IntoFight(f);
    f.LimitElapsed = f.LimitFrames - 3;
    f.App.Pump(), f.App.Pump();
    ASSERT_EQ(f.GameState, kStateFight);
    const std::vector<uint8_t> fight(f.BackSurface()->Row(0), f.BackSurface()->Row(0) + 800 * 600);
    f.App.Pump();
    ASSERT_TRUE(f.GameState == kStateTimeOver && OnScreen(f, 300, 280, "Time Over!!", 0x0000FF));
    // The fight stays around a black band, edge to edge.
    for (int y : {0, 259, 320, 599})
        EXPECT_EQ(std::memcmp(&fight[800 * size_t(y)], f.BackSurface()->Row(y), 800), 0) << y;
    EXPECT_TRUE(f.BackSurface()->Get(0, 260) == 0 && f.BackSurface()->Get(799, 319) == 0);
    int frames = 0;
    for (; f.GameState == kStateTimeOver && frames < 400; ++frames) f.App.Pump();
    EXPECT_TRUE(frames == 300 && f.GameState == kStateTitle) << frames;
    EXPECT_FALSE(fs::exists(rig.dir.Path() / "score2.zor"));

    // A won Survival fight raises the score; the lost one enters it.
    StartRun(f, 3, "sg");
    IntoFight(f), KnockOut(f, f.P2Fighter);
    ASSERT_TRUE(f.GameState == kStatePreFight && OnScreen(f, 0, 550, "SURVIVAL MODE :SCORE IS 1 POINT!!", 0xFFFFFF));
    IntoFight(f), KnockOut(f, f.P1Fighter);
    ASSERT_TRUE(f.GameState == kStateSurvivalResult && OnScreen(f, 180, 200, "First Score  : SCORE 1", 0x000000));
    const std::vector<uint8_t> b = ReadAll(rig.dir.Path() / "score.zor");
    EXPECT_TRUE(b.size() == 64u && At(b, 0) == 1 && At(b, 4) == 2);
    for (frames = 0; f.GameState == kStateSurvivalResult && frames < 300; ++frames) f.App.Pump();
    EXPECT_TRUE(frames == 200 && f.GameState == kStateTitle) << frames;
}

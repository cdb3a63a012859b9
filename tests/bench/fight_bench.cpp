// The frame budget quoted in the README: a fight frame with every shot record busy, the
// pre-fight load of the heaviest pair, and start-up to the first drawn frame.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "fight/fighter.h"
#include "shell/form.h"

namespace {

struct InGameData {
    std::filesystem::path old = std::filesystem::current_path();
    InGameData() { std::filesystem::current_path(DW_GAME_DATA_DIR); }
    ~InGameData() { std::filesystem::current_path(old); }
};

// D-2-E against D-2-E, past the pre-fight load, in the fight proper.
struct Fight : InGameData {
    std::unique_ptr<TForm1> form = std::make_unique<TForm1>();
    TForm1& f = *form;

    Fight() {
        dw::Display::SetPacing(false);
        f.DirectDrawObj = std::make_unique<dw::Display>();
        f.DirectDrawObj->Open("bench", true);
        f.CreateDrawingTools();
        f.BuildDammyWeapon();
        f.BuildDefaultMotions();
        f.GameMode = 2;
        f.P1RobotId = f.P2RobotId = 14;
        f.ToBefore();
        f.ToFight();
        f.GameState = kStateFight;
    }
};

void BM_FightFrame(benchmark::State& state) {
    Fight fight;
    TForm1& f = fight.f;
    std::vector<uint32_t> argb(size_t(dw::kScreenWidth) * dw::kScreenHeight);
    for (auto _ : state) {
        state.PauseTiming();  // every record of every group in flight on a long straight node
        for (int g = 0; g < kShotGroups; ++g)
            for (int r = 0; r < kMaxRows; ++r)
                for (int c = 0; c < kPoolColumns; ++c) {
                    ShotRecord& s = f.Shots.Record[g][r][c];
                    const size_t slot = g % 4 == 3 ? 0 : size_t(g % 4);
                    s.Node = &(g < 4 ? f.P1ShotTables : f.P2ShotTables)[slot].Node[(r + c) % 8][0][0];
                    s.Weapon = &(g < 4 ? f.P1Weapons : f.P2Weapons)[slot];
                    s.Active = s.Visible = 1;
                    s.Ticks = s.HitArmed = 0;
                    s.Heading = (r + c) % 8;
                    s.PosX = 40 + 7 * c + 90 * r;
                    s.PosY = 60 + 60 * g;
                }
        state.ResumeTiming();
        f.ControlHead();
        f.FightStage();
        f.Draw_FS2();
        f.BackDC.emplace(*f.BackSurface(), f.DirectDrawObj->Palette());
        f.Draw_FS();
        f.BackDC.reset();
        dw::ConvertToArgb(*f.BackSurface(), f.DirectDrawObj->Palette(), argb.data(), dw::kScreenWidth * 4);
        benchmark::DoNotOptimize(argb.data());
    }
}
BENCHMARK(BM_FightFrame)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Two four-weapon robots, one with a homing missile's turn tables.
void BM_ToBeforeHeaviestPair(benchmark::State& state) {
    Fight fight;
    fight.f.P1RobotId = 3;
    fight.f.P2RobotId = 15;
    for (auto _ : state) {
        fight.f.ToBefore();
        benchmark::DoNotOptimize(fight.f.P2Fighter.Armour);
    }
}
BENCHMARK(BM_ToBeforeHeaviestPair)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_StartUpToFirstFrame(benchmark::State& state) {
    InGameData here;
    for (auto _ : state) {
        auto form = std::make_unique<TForm1>();
        form->FormShow();
        form->AppIdle();
        benchmark::DoNotOptimize(form->GameState);
    }
}
BENCHMARK(BM_StartUpToFirstFrame)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

}  // namespace

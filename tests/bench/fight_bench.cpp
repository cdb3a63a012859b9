// The fight's frame budget: one whole fight frame with every shot record busy, and the
// pre-fight loads of two robots.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "fight/fighter.h"
#include "robots/builders.h"
#include "shell/form.h"

namespace {

struct Fight {
    std::unique_ptr<TForm1> form = std::make_unique<TForm1>();
    std::filesystem::path old = std::filesystem::current_path();

    Fight() {
        TForm1& f = *form;
        std::filesystem::current_path(DW_GAME_DATA_DIR);
        dw::Display::SetPacing(false);
        f.DirectDrawObj = std::make_unique<dw::Display>();
        f.DirectDrawObj->Open("bench", true);
        f.CreateDrawingTools();
        f.BuildDammyWeapon();
        f.BuildDefaultMotions();
        f.GameMode = 2;
        f.P1RobotId = f.P2RobotId = 14;
        f.ToBefore();
        f.LoadSheet(f.SheetSurface1, "SABAKU");
        f.LoadSheet(f.SheetSurface2, "WEAPON");
        f.ResetBackGrid();
        f.P1Fighter.PosX = f.P2Fighter.PosX = 400;
        f.P1Fighter.PosY = 450;
        f.P2Fighter.PosY = 150;
        f.GameState = kStateFight;
    }
    ~Fight() { std::filesystem::current_path(old); }

    // Every record of rows 0..7 of every group in flight on a long straight node.
    void FillPool() {
        TForm1& f = *form;
        for (int g = 0; g < kShotGroups; ++g)
            for (int r = 0; r < kMaxRows; ++r)
                for (int c = 0; c < kPoolColumns; ++c) {
                    ShotRecord& s = f.Shots.Record[g][r][c];
                    const int slot = g % 4;
                    ShotTable& t = (g < 4 ? f.P1ShotTables : f.P2ShotTables)[size_t(slot == 3 ? 0 : slot)];
                    s.Node = &t.Node[(r + c) % 8][0][0];
                    s.Weapon = &(g < 4 ? f.P1Weapons : f.P2Weapons)[size_t(slot == 3 ? 0 : slot)];
                    s.Active = s.Visible = 1;
                    s.HitArmed = 0;
                    s.Ticks = 0;
                    s.Heading = (r + c) % 8;
                    s.PosX = 40 + 7 * c + 90 * r;
                    s.PosY = 60 + 60 * g;
                }
    }
};

void BM_FightFrame(benchmark::State& state) {
    Fight fight;
    TForm1& f = *fight.form;
    std::vector<uint32_t> argb(size_t(dw::kScreenWidth) * dw::kScreenHeight);
    for (auto _ : state) {
        state.PauseTiming();
        fight.FillPool();
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

// The heaviest pair: two four-weapon robots, one with a homing missile's turn tables.
void BM_ToBeforeHeaviestPair(benchmark::State& state) {
    Fight fight;
    TForm1& f = *fight.form;
    f.P1RobotId = 3;
    f.P2RobotId = 15;
    for (auto _ : state) {
        f.ToBefore();
        benchmark::DoNotOptimize(f.P2Fighter.Armour);
    }
}
BENCHMARK(BM_ToBeforeHeaviestPair)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// From a new game object to its first drawn frame, as the player waits for it.
void BM_StartUpToFirstFrame(benchmark::State& state) {
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(DW_GAME_DATA_DIR);
    for (auto _ : state) {
        auto form = std::make_unique<TForm1>();
        form->FormShow();
        form->AppIdle();
        benchmark::DoNotOptimize(form->GameState);
    }
    std::filesystem::current_path(old);
}
BENCHMARK(BM_StartUpToFirstFrame)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

}  // namespace

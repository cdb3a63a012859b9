// The frame budget quoted in the README: a fight frame with every shot record busy, the
// pre-fight load of the heaviest pair, and start-up to the first drawn frame.
#include <benchmark/benchmark.h>

#include <memory>

#include "fight_rig.h"

namespace {

void BM_FightFrame(benchmark::State& state) {
    fight_rig::Rig rig;  // D-2-E against D-2-E in the fight proper
    TForm1& f = rig.f;
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
        rig.Frame();
        rig.Draw();
        dw::ConvertToArgb(*f.BackSurface(), f.DirectDrawObj->Palette(), argb.data(), dw::kScreenWidth * 4);
        benchmark::DoNotOptimize(argb.data());
    }
}
BENCHMARK(BM_FightFrame)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Two four-weapon robots, one with a homing missile's turn tables.
void BM_ToBeforeHeaviestPair(benchmark::State& state) {
    fight_rig::Rig rig;
    testing_support::ScopedCwd cwd(testing_support::GameDataDir());
    rig.f.P1RobotId = 3;
    rig.f.P2RobotId = 15;
    for (auto _ : state) {
        rig.f.ToBefore();
        benchmark::DoNotOptimize(rig.f.P2Fighter.Armour);
    }
}
BENCHMARK(BM_ToBeforeHeaviestPair)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_StartUpToFirstFrame(benchmark::State& state) {
    testing_support::ScopedCwd cwd(testing_support::GameDataDir());
    for (auto _ : state) {
        auto form = std::make_unique<TForm1>();
        form->FormShow();
        form->AppIdle();
        benchmark::DoNotOptimize(form->GameState);
    }
}
BENCHMARK(BM_StartUpToFirstFrame)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

}  // namespace

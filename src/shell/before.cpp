// The pre-fight screen change and step: the opponent, both robot loads, the countdown.
#include <vector>

#include "shell/form.h"

namespace {

// The pre-fight screen stands until its counter passes this.
constexpr int kBeforeFrames = 240;

// The ids whose robots have data, in ladder order for the one-player mode.
std::vector<int32_t> RobotsWithData() { return {}; }

}  // namespace

void TForm1::ChooseOpponent() {
    const std::vector<int32_t> robots = RobotsWithData();
    if (robots.empty()) return;
    switch (GameMode) {
    case 1:  // a fixed ladder, one robot per stage
        P2RobotId = robots[size_t(StageNo) % robots.size()];
        break;
    case 3:
    case 4: {  // a random robot with data; id 6 stands for the hidden robot's place
        std::vector<int32_t> pool = robots;
        pool.push_back(6);
        P2RobotId = pool[size_t(Random()) % pool.size()];
        break;
    }
    default:  // two players: the second player's own choice
        break;
    }
}

void TForm1::RunLoader(int player) {
    (void)player;  // no robot has its loader yet
}

void TForm1::ToBefore() {
    ResetFighter(P1Fighter);
    ResetFighter(P2Fighter);
    for (auto& group : Shots.Record)
        for (int row = 0; row < kMaxRows; ++row)
            for (ShotRecord& r : group[row]) ResetShot(r);

    ChooseOpponent();
    for (int p = 0; p < 2 && !closed_; ++p) {
        PlayerRefs pl = Player(p);
        RunLoader(p);
        pl.hide = 0;
    }
    for (int p = 0; p < 2; ++p) {
        PlayerRefs pl = Player(p);
        for (int k = 0; k < 4; ++k) {
            const WeaponData* w = Shots.Record[pl.firstGroup + k][0][0].Weapon;
            if (w) pl.fighter.Ammo[k] = w->StartAmmo;
        }
        if (pl.fighter.Spec) {
            pl.fighter.Armour = pl.fighter.Spec->MaxArmour;
            pl.fighter.Energy = pl.fighter.Spec->MaxEnergy;
        }
    }
    if (closed_) return;
    GameState = kStatePreFight;
}

void TForm1::BeforeStage() {
    if (++StateFrames > kBeforeFrames) {
        // The fight arrives with the fight engine; until then the run ends here.
        ToStart();
    }
}

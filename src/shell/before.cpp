// The pre-fight screen change and step: the opponent, both robot loads, the countdown.
#include "robots/loading.h"
#include "shell/form.h"

namespace {

// The pre-fight screen stands until its counter passes this.
constexpr int kBeforeFrames = 240;

}  // namespace

void TForm1::ChooseOpponent() {
    int count = 0;
    const int32_t* ladder = LadderIds(count);
    if (count == 0) return;
    switch (GameMode) {
    case 1:  // a fixed ladder, one robot per stage
        P2RobotId = ladder[(StageNo < 0 ? 0 : StageNo) % count];
        break;
    case 3:
    case 4: {  // any robot with data; id 6 is drawn too, and loads as its stand-in
        const bool sixLoads = RobotRowFor(6, 1, GameMode) != nullptr;
        const int n = Random() % (count + (sixLoads ? 1 : 0));
        P2RobotId = n < count ? ladder[n] : 6;
        break;
    }
    default:  // two players: the second player's own choice
        break;
    }
}

void TForm1::RunLoader(int player) {
    const PlayerRefs p = Player(player);
    if (const RobotRow* row = RobotRowFor(p.robotId, player, GameMode)) LoadRobot(player, *row);
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
    if (++StateFrames > kBeforeFrames) ToFight();
}

#include "fight/fight_records.h"

void ResetFighter(FighterState& fighter) { fighter = FighterState{}; }

void ResetShot(ShotRecord& record) {
    record = ShotRecord{};
    record.PosX = 10;
    record.PosY = 10;
}

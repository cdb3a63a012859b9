// Which robot each RobotTypeId loads, and the one-player ladder.
#include "robots/d2e/d2e.h"
#include "robots/darizev/darizev.h"
#include "robots/dezivor/dezivor.h"
#include "robots/divizodir/divizodir.h"
#include "robots/doz/doz.h"
#include "robots/durade/durade.h"
#include "robots/loading.h"
#include "robots/revidu/revidu.h"
#include "robots/viveraziv/viveraziv.h"
#include "robots/zeredi/zeredi.h"
#include "robots/zovazazovo/zovazazovo.h"

const RobotRow* RobotRowFor(int robotTypeId, int player, int gameMode) {
    switch (robotTypeId) {
    case 0:
    case 1: return &kZerediRow;
    case 2: return &kReviduRow;
    case 3: return &kZovaZazovoRow;
    case 4: return &kDOZRow;
    case 6:  // player 2's stand-in in Survival and Limit
        return player == 1 && (gameMode == 3 || gameMode == 4) ? &kZerediRow : &kViveraziVRow;
    case 5: return &kDariZevRow;
    case 10:
    case 11: return &kDeziVorRow;
    case 13: return &kDivizOdirRow;
    case 14: return &kD2ERow;
    case 15: return &kDuradeRow;
    case 16: return &kViveraziVRow;
    default: return nullptr;
    }
}

const int32_t* LadderIds(int& count) {
    static constexpr int32_t kLadder[] = {1, 14, 5, 11, 4, 13, 16, 2, 3, 15};
    count = int(sizeof kLadder / sizeof kLadder[0]);
    return kLadder;
}

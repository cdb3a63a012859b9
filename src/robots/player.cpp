#include "shell/form.h"

PlayerRefs TForm1::Player(int p) {
    if (p == 0)
        return PlayerRefs{0,        P1Spec,       P1Graph,   P1Weapons, P1ShotTables, P1Motion,
                          P1Sheets, P1ShotSounds, P1Fighter, 0,         P1RobotId,    P1Hide};
    return PlayerRefs{1,        P2Spec,       P2Graph,   P2Weapons, P2ShotTables, P2Motion,
                      P2Sheets, P2ShotSounds, P2Fighter, 4,         P2RobotId,    P2Hide};
}

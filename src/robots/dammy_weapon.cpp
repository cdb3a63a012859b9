// The placeholder fourth weapon of three-weapon robots: it never fires, and every node of
// its table leads back to itself so nothing that follows its links can leave it.
#include "shell/form.h"

void TForm1::BuildDammyWeapon() {
    DammyWeapon.FireSound = "NOTHING";
    DammyWeapon.HitSound = "NOTHING";
    DammyWeapon.StartAmmo = 100;
    DammyWeapon.Rows = 1;
    DammyWeapon.Columns = 1;
    DammyWeapon.VanishOnHit = 1;
    DammyWeapon.DisarmOnHit = 1;
    for (auto& heading : DammyShotTable.Node)
        for (auto& column : heading)
            for (ShotNode& n : column) {
                n = ShotNode{};
                n.Duration = 1;
                n.Next = &n;
                n.ImpactNode = &n;
                for (int h = 0; h < kHeadings; ++h) {
                    n.LaunchLinks[h] = &n;
                    n.HomingLinks[h] = &n;
                }
            }
}

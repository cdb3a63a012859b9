// The robot catalogue of the select screen.
#include <algorithm>
#include <cstring>

#include "shell/form.h"

namespace {

// What a player sees of a robot before choosing it. Ratings 1..3 follow from these:
//   Armor      maximum armour: 650 and more 3, 550 and more 2, else 1;
//   FirePower  1, +1 with four weapons, +1 with a beam, missile, rocket or cannon;
//   Control    recovery from hits: 7 and more 3, 6 2, else 1;
//   Energy     maximum energy: 600 and more 3, 500 and more 2, else 1;
//   Speed      speed modifier +1 3, 0 2, -1 1;
//   Barance    the rounded mean of the other five.
struct RobotFacts {
    int armour, energy, recovery, speedModifier;
    bool heavyWeapon;
    const char* weapons[4];
};

constexpr RobotFacts kFacts[dw::kRosterSize] = {
    {590, 480, 6, 0, true, {"MACHINE-GUN", "STICK", "MISILE", "NOTHING"}},                     // Zeredi vovu Ridodar
    {590, 480, 6, 0, true, {"LONG-RIFLE", "STICK", "4WAY-ROCKET", "NOTHING"}},                 // Revidu zava Davov
    {700, 520, 6, -1, true, {"GADRING-GUN", "LAZER-SPIKE", "300mm-CANON", "3LINKED-MISILE"}},  // ZovaZazovo
    {660, 560, 7, -1, true, {"GADRING-GUN", "HEAVY-RIPPER", "FIRE-CREEPER", "4WAY-ROCKET"}},   // DedaZivirEvavid
    {460, 400, 5, 1, true, {"MACHINE-GUN", "SPIKE", "FIRE-FLY", "NOTHING"}},                   // DariZev
    {600, 640, 5, 0, false, {"SHOT-GUN", "CHAIN-SAW", "FLORTING-MINE", "NOTHING"}},            // DeziVor
    {0, 0, 0, -1, false, {"NOTHING", "NOTHING", "NOTHING", "NOTHING"}},                        // Zo-Ra: no data
    {640, 600, 6, 0, true, {"GRANEED", "CRAW", "LAZER", "TENPEST"}},                           // DivizOdir
    {480, 450, 6, 1, true, {"LONG-RIFLE", "CRAW", "LAZER", "NOTHING"}},                        // D-2-E
    {720, 500, 8, -1, true, {"SHOT-GUN", "BANISHING", "3WAY-CANON", "6WAY-ROCKET"}},           // Durade-Revov
    {580, 600, 5, 1, true, {"LONG-RIFLE", "FIRE-FLY", "NAPARM", "NOTHING"}},                   // ViveraziV
};

int Band(int value, int two, int three) { return value >= three ? 3 : value >= two ? 2 : 1; }

}  // namespace

void TForm1::FillRoster() {
    for (int i = 0; i < dw::kRosterSize; ++i) {
        const RobotFacts& f = kFacts[i];
        RosterEntry& e = Roster[size_t(i)];
        e = RosterEntry{};
        if (f.armour == 0) {  // a robot without data rates 1 everywhere
            std::fill(std::begin(e.Rating), std::end(e.Rating), 1);
        } else {
            const bool fourWeapons = std::strcmp(f.weapons[3], "NOTHING") != 0;
            e.Rating[0] = Band(f.armour, 550, 650);
            e.Rating[1] = 1 + fourWeapons + f.heavyWeapon;
            e.Rating[2] = Band(f.recovery, 6, 7);
            e.Rating[3] = Band(f.energy, 500, 600);
            e.Rating[4] = 2 + f.speedModifier;
            const int sum = e.Rating[0] + e.Rating[1] + e.Rating[2] + e.Rating[3] + e.Rating[4];
            e.Rating[5] = (sum + 2) / 5;
        }
        for (int w = 0; w < 4; ++w) {
            std::strncpy(e.WeaponName[w], f.weapons[w], sizeof e.WeaponName[w] - 1);
            e.WeaponName[w][sizeof e.WeaponName[w] - 1] = '\0';
        }
        const dw::Rect cell = dw::RosterCell(i);
        e.Cell[0] = cell.left;
        e.Cell[1] = cell.top;
        e.Cell[2] = cell.right;
        e.Cell[3] = cell.bottom;
    }
}

// The loading recipe: builds a robot's row into one player's records, sheets and sounds.
#include "robots/loading.h"

#include "shell/form.h"

namespace {

// Sheets are held front, back, fs, bs, side; they load back, bs, front, fs, side.
constexpr int kLoadOrderToHeld[5] = {1, 3, 0, 2, 4};

}  // namespace

void TForm1::LoadRobot(int player, const RobotRow& row) {
    PlayerRefs p = Player(player);

    row.spec(p.spec, row.modifier);
    row.graph(p.graph);
    for (int k = 0; k < 4; ++k)
        if (row.weapons[k]) row.weapons[k](p.weapons[size_t(k)], p.shotTables[size_t(k)]);
    if (row.missileTurns && row.missileSlot >= 1 && row.missileSlot <= 4)
        row.missileTurns(p.shotTables[size_t(row.missileSlot - 1)]);

    p.fighter.Spec = &p.spec;
    p.fighter.CurrentNode = &p.graph.Node[0][0];
    p.fighter.NormalSpeed = p.spec.NormalSpeed;
    p.fighter.DashSpeed = p.spec.DashSpeed;

    for (int k = 0; k < 4; ++k) {
        const bool own = row.weapons[k] != nullptr;
        const bool perColumn = (row.perColumnSlots >> k & 1u) != 0;
        WeaponData* weapon = own ? &p.weapons[size_t(k)] : &DammyWeapon;
        ShotTable& table = own ? p.shotTables[size_t(k)] : DammyShotTable;
        for (int r = 0; r < kMaxRows; ++r)
            for (int c = 0; c < kColumns; ++c) {
                ShotRecord& rec = Shots.Record[p.firstGroup + k][r][c];
                rec.Node = &table.Node[0][own && perColumn ? c : 0][0];
                rec.Weapon = weapon;
            }
    }

    p.motion = DefaultMotions[size_t(row.motionIndex)];

    for (auto& sheet : p.sheets) sheet.reset();
    for (int v = 0; v < 5; ++v) {
        auto& sheet = p.sheets[size_t(kLoadOrderToHeld[v])];
        sheet = dw::LoadBitmapSurface(DirectDrawObj.get(), row.sheets[v]);
        if (!sheet) {
            Close();  // the game ends; nothing more is loaded
            return;
        }
    }
    for (auto& sheet : p.sheets) {
        const uint32_t key = dw::ColorToPixel(DirectDrawObj.get(), sheet.get(), 0xFF00FF);
        if (key != 0xFFFFFFFF) sheet->SetColorKey(uint8_t(key));
    }

    for (auto& sound : p.shotSounds) sound.reset();
    for (int k = 0; k < 4; ++k) {
        const WeaponData* w = Shots.Record[p.firstGroup + k][0][0].Weapon;
        const std::string name = row.weapons[k] ? w->FireSound : std::string("HITTED4");
        if (!CreateSoundData(name.c_str(), p.shotSounds[size_t(k)])) {
            EndDirectSound();
            break;
        }
    }
}

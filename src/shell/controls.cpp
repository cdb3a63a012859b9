// ControlHead: each player's keys and joystick turned into the frame's controls.
#include "shell/form.h"

namespace {

using dw::Key;

struct KeyMap {
    Key up, down, left, right;
    Key weapon[4];
    Key guard, dash;
};

constexpr KeyMap kKeyMaps[2] = {
    {Key::W, Key::S, Key::A, Key::D, {Key::G, Key::H, Key::J, Key::K}, Key::B, Key::V},
    {Key::Up, Key::Down, Key::Left, Key::Right, {Key::Pad1, Key::Pad2, Key::Pad4, Key::Pad5}, Key::Pad6, Key::PadAdd},
};

// How far from its centre a joystick axis must lean to count as a direction.
constexpr int kAxisThreshold = 16000;

}  // namespace

void TForm1::ControlHead() {
    PrevControls = Controls;
    for (int p = 0; p < 2; ++p) {
        const KeyMap& m = kKeyMaps[p];
        const dw::JoystickState js = Sticks.Read(p);
        auto button = [&](int n) { return js.present && (js.buttons >> n & 1u) != 0; };

        PlayerControls c;
        const bool left = Keys.Down(m.left) || (js.present && js.x < -kAxisThreshold);
        const bool right = Keys.Down(m.right) || (js.present && js.x > kAxisThreshold);
        const bool up = Keys.Down(m.up) || (js.present && js.y < -kAxisThreshold);
        const bool down = Keys.Down(m.down) || (js.present && js.y > kAxisThreshold);
        c.Horizontal = right == left ? 0 : right ? 1 : -1;
        c.Vertical = down == up ? 0 : down ? 1 : -1;
        for (int k = 0; k < 4; ++k) c.Weapon[k] = Keys.Down(m.weapon[k]) || button(k);
        c.Guard = Keys.Down(m.guard) || button(4);
        c.Dash = Keys.Down(m.dash) || button(5);

        c.Action = 0;
        for (int k = 0; k < 4 && c.Action == 0; ++k)
            if (c.Weapon[k]) c.Action = c.Dash ? 7 + k : 1 + k;
        if (c.Action == 0) c.Action = c.Guard ? 5 : c.Dash ? 6 : 0;
        Controls[size_t(p)] = c;
    }

    // In a fight the controls become each fighter's requests. There is no computer
    // opponent: outside the two-player mode the second robot gets no controls.
    for (int p = 0; p < 2; ++p) {
        FighterState& f = Player(p).fighter;
        const bool driven = GameState == kStateFight && (p == 0 || GameMode == 2);
        const PlayerControls c = driven ? Controls[size_t(p)] : PlayerControls{};
        f.Horizontal = c.Horizontal;
        f.Vertical = c.Vertical;
        f.ActionCode = c.Action;
        const int weapon = c.Action >= 7 ? c.Action - 6 : c.Action >= 1 && c.Action <= 4 ? c.Action : 0;
        for (int k = 1; k <= 4; ++k) {
            int32_t& held = f.FireHeld[k - 1];
            held = weapon != k ? 0 : held == 0 ? 1 : 2;
        }
        f.GuardRequest = c.Action == 5;
        f.DashRequest = c.Action >= 6;
    }
}

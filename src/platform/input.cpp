#include "platform/input.h"

#include <SDL.h>

#include <algorithm>

namespace dw {
namespace {

Key KeyOf(SDL_Scancode code) {
    switch (code) {
    case SDL_SCANCODE_W: return Key::W;
    case SDL_SCANCODE_A: return Key::A;
    case SDL_SCANCODE_S: return Key::S;
    case SDL_SCANCODE_D: return Key::D;
    case SDL_SCANCODE_G: return Key::G;
    case SDL_SCANCODE_H: return Key::H;
    case SDL_SCANCODE_J: return Key::J;
    case SDL_SCANCODE_K: return Key::K;
    case SDL_SCANCODE_B: return Key::B;
    case SDL_SCANCODE_V: return Key::V;
    case SDL_SCANCODE_UP: return Key::Up;
    case SDL_SCANCODE_DOWN: return Key::Down;
    case SDL_SCANCODE_LEFT: return Key::Left;
    case SDL_SCANCODE_RIGHT: return Key::Right;
    case SDL_SCANCODE_KP_1: return Key::Pad1;
    case SDL_SCANCODE_KP_2: return Key::Pad2;
    case SDL_SCANCODE_KP_4: return Key::Pad4;
    case SDL_SCANCODE_KP_5: return Key::Pad5;
    case SDL_SCANCODE_KP_6: return Key::Pad6;
    case SDL_SCANCODE_KP_PLUS: return Key::PadAdd;
    case SDL_SCANCODE_ESCAPE: return Key::Escape;
    case SDL_SCANCODE_F1: return Key::F1;
    default: return Key::Count;
    }
}

SDL_Joystick* Stick(void* p) { return static_cast<SDL_Joystick*>(p); }

}  // namespace

Key Keyboard::Handle(const SDL_Event& event) {
    if (event.type != SDL_KEYDOWN && event.type != SDL_KEYUP) return Key::Count;
    const Key key = KeyOf(event.key.keysym.scancode);
    if (key != Key::Count) Press(key, event.type == SDL_KEYDOWN);
    return key;
}

Joysticks::~Joysticks() { Close(); }

void Joysticks::Open() {
    if (open_ || SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return;
    open_ = true;
    const int count = SDL_NumJoysticks();
    for (int n = 0; n < 2 && n < count; ++n) {
        SDL_Joystick* stick = SDL_JoystickOpen(n);
        if (!stick) continue;
        sticks_[size_t(n)] = stick;
        centreX_[size_t(n)] = SDL_JoystickGetAxis(stick, 0);
        centreY_[size_t(n)] = SDL_JoystickGetAxis(stick, 1);
    }
}

void Joysticks::Close() {
    if (!open_) return;
    for (void*& stick : sticks_) {
        if (stick) SDL_JoystickClose(Stick(stick));
        stick = nullptr;
    }
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    open_ = false;
}

JoystickState Joysticks::Read(int n) const {
    JoystickState state;
    if (n < 0 || n > 1 || !sticks_[size_t(n)]) return state;
    SDL_Joystick* stick = Stick(sticks_[size_t(n)]);
    SDL_JoystickUpdate();
    state.present = SDL_JoystickGetAttached(stick) == SDL_TRUE;
    if (!state.present) return state;
    state.x = SDL_JoystickGetAxis(stick, 0) - centreX_[size_t(n)];
    state.y = SDL_JoystickGetAxis(stick, 1) - centreY_[size_t(n)];
    state.buttonCount = std::clamp(SDL_JoystickNumButtons(stick), 0, 32);
    for (int b = 0; b < state.buttonCount; ++b)
        if (SDL_JoystickGetButton(stick, b)) state.buttons |= 1u << b;
    return state;
}

}  // namespace dw

// Keyboard and joysticks, polled once a frame.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

union SDL_Event;

namespace dw {

// The keys the game reads.
// clang-format off
enum class Key : uint8_t {
    W, A, S, D, G, H, J, K, B, V,
    Up, Down, Left, Right,
    Pad1, Pad2, Pad4, Pad5, Pad6, PadAdd,
    Escape, F1,
    Count
};
// clang-format on

class Keyboard {
public:
    // Updates the key table from a key event; returns the game key it concerned
    // (Key::Count for keys the game does not use).
    Key Handle(const SDL_Event& event);
    bool Down(Key key) const { return down_[size_t(key)]; }
    void Press(Key key, bool down) { down_[size_t(key)] = down; }
    void ReleaseAll() { down_.fill(false); }

private:
    std::array<bool, size_t(Key::Count)> down_{};
};

struct JoystickState {
    bool present = false;
    int x = 0;  // axis values relative to the centre read at start-up
    int y = 0;
    uint32_t buttons = 0;  // bit n = button n + 1
    int buttonCount = 0;
};

class Joysticks {
public:
    Joysticks() = default;
    ~Joysticks();
    Joysticks(const Joysticks&) = delete;
    Joysticks& operator=(const Joysticks&) = delete;

    // Opens joysticks 0 and 1 where present and reads their axis centres.
    void Open();
    void Close();
    // The state of joystick n (0 or 1) now.
    JoystickState Read(int n) const;

private:
    std::array<void*, 2> sticks_{};
    std::array<int, 2> centreX_{};
    std::array<int, 2> centreY_{};
    bool open_ = false;
};

}  // namespace dw

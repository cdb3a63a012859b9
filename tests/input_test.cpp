#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/input.h"

namespace dw {
namespace {

// Two virtual sticks (SDL's own, no device needed) read through Joysticks.
TEST(JoystickTest, AxesFromTheirCentreAndButtonsAsBits) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
    ASSERT_EQ(SDL_NumJoysticks(), 0);
    SDL_Joystick* handles[3] = {};
    for (int n = 0; n < 3; ++n) {
        const int buttons = n == 0 ? 40 : 3;
        ASSERT_EQ(SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, buttons, 0), n) << SDL_GetError();
        handles[n] = SDL_JoystickOpen(n);
        // The centre read at start-up is wherever the stick rests then.
        SDL_JoystickSetVirtualAxis(handles[n], 0, Sint16(100 * (n + 1)));
        SDL_JoystickSetVirtualAxis(handles[n], 1, Sint16(-50 * (n + 1)));
    }
    SDL_JoystickUpdate();
    Joysticks sticks;
    sticks.Open();

    SDL_JoystickSetVirtualAxis(handles[0], 0, 5000);
    SDL_JoystickSetVirtualAxis(handles[0], 1, -3000);
    for (int b : {0, 2, 31, 39}) SDL_JoystickSetVirtualButton(handles[0], b, SDL_PRESSED);
    SDL_JoystickSetVirtualAxis(handles[1], 0, -32768);
    SDL_JoystickSetVirtualAxis(handles[1], 1, 32767);
    SDL_JoystickSetVirtualButton(handles[1], 1, SDL_PRESSED);
    const JoystickState one = sticks.Read(0), two = sticks.Read(1);
    EXPECT_TRUE(one.present && two.present);
    EXPECT_EQ(one.x, 5000 - 100);
    EXPECT_EQ(one.y, -3000 + 50);
    EXPECT_EQ(one.buttons, 0x80000005u);  // only the first 32 buttons count
    EXPECT_EQ(one.buttonCount, 32);
    EXPECT_EQ(two.x, -32768 - 200);
    EXPECT_EQ(two.y, 32767 + 100);
    EXPECT_EQ(two.buttons, 2u);
    EXPECT_EQ(two.buttonCount, 3);
    for (int n : {-1, 2}) EXPECT_FALSE(sticks.Read(n).present) << n;

    // A stick pulled out reads as absent; after Close every stick does.
    SDL_JoystickClose(handles[1]);
    SDL_JoystickDetachVirtual(1);
    EXPECT_FALSE(sticks.Read(1).present);
    EXPECT_EQ(sticks.Read(1).x, 0);
    EXPECT_TRUE(sticks.Read(0).present);
    sticks.Close();
    sticks.Close();
    EXPECT_FALSE(sticks.Read(0).present);
    SDL_JoystickClose(handles[0]);
    SDL_JoystickClose(handles[2]);
    for (int n = SDL_NumJoysticks() - 1; n >= 0; --n) SDL_JoystickDetachVirtual(n);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

// Every game key comes from exactly one scancode, and key events press and release it.
TEST(KeyboardTest, EachGameKeyHasOneScancode) {
    Keyboard keyboard;
    int mapped[size_t(Key::Count) + 1] = {};
    for (int code = 0; code < SDL_NUM_SCANCODES; ++code) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.scancode = SDL_Scancode(code);
        const Key key = keyboard.Handle(e);
        ++mapped[size_t(key)];
        if (key == Key::Count) continue;
        EXPECT_TRUE(keyboard.Down(key));
        e.type = SDL_MOUSEBUTTONDOWN;
        EXPECT_EQ(keyboard.Handle(e), Key::Count);
        e.type = SDL_KEYUP;
        EXPECT_EQ(keyboard.Handle(e), key);
        EXPECT_FALSE(keyboard.Down(key));
    }
    for (size_t k = 0; k < size_t(Key::Count); ++k) EXPECT_EQ(mapped[k], 1) << k;
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.scancode = SDL_SCANCODE_KP_PLUS;
    EXPECT_EQ(keyboard.Handle(e), Key::PadAdd);
    keyboard.ReleaseAll();
    EXPECT_FALSE(keyboard.Down(Key::PadAdd));
}

}  // namespace
}  // namespace dw

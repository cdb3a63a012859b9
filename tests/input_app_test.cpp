// The application loop: key-down events for the form, the idle handler, quitting; a stick's
// buttons. (Keys and joysticks as each player's controls: the shell's controls test; the
// message box's sink and its copy on stderr: its sound test.)
#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/application.h"
#include "platform/input.h"
#include "test_support.h"

namespace dw {
namespace {

TEST(Application, FreshEscapeAndF1ReachTheKeyHandlerAndAQuitEndsTheLoop) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0) << SDL_GetError();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    Keyboard keyboard;
    Application app{keyboard};
    int idles = 0;
    int closes = 0;
    std::vector<Key> keys;
    app.OnIdle([&] { ++idles; });
    app.OnKeyDown([&](Key k) { keys.push_back(k); });
    app.OnClose([&] {
        ++closes;
        app.Terminate();
    });
    // One pass: the events, then one idle call. The keyboard sees every key, the key handler
    // only fresh presses of Escape and F1.
    SDL_Event repeat{};
    repeat.key.type = SDL_KEYDOWN;
    repeat.key.repeat = 1;
    repeat.key.keysym.scancode = SDL_SCANCODE_ESCAPE;
    testing_support::PushKey(SDL_SCANCODE_ESCAPE, true);
    SDL_PushEvent(&repeat);
    testing_support::PushKey(SDL_SCANCODE_ESCAPE, false);
    for (SDL_Scancode other : {SDL_SCANCODE_F1, SDL_SCANCODE_W, SDL_SCANCODE_Z, SDL_SCANCODE_F2})
        testing_support::PushKey(other, true);
    app.Pump();
    EXPECT_EQ(keys, (std::vector<Key>{Key::Escape, Key::F1}));
    EXPECT_EQ(idles, 1);
    EXPECT_TRUE(keyboard.Down(Key::W));

    // A quit, as from closing the window, reaches the close handler, which ends the loop;
    // after the end nothing is called.
    SDL_Event quit{SDL_QUIT};
    SDL_PushEvent(&quit);
    app.Run();
    app.Pump();
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(idles, 1);
    EXPECT_FALSE(app.Running());
    SDL_QuitSubSystem(SDL_INIT_EVENTS);
}

// A virtual stick of 40 buttons (SDL's own, no device needed): only the first 32 count.
TEST(JoystickTest, OnlyTheFirst32ButtonsCount) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
    if (SDL_NumJoysticks() != 0) GTEST_SKIP() << "a real stick is attached";
    ASSERT_EQ(SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 40, 0), 0);
    SDL_Joystick* handle = SDL_JoystickOpen(0);
    Joysticks sticks;
    sticks.Open();
    for (int b : {2, 31, 32, 39}) SDL_JoystickSetVirtualButton(handle, b, SDL_PRESSED);
    EXPECT_EQ(sticks.Read(0).buttons, 0x80000004u);  // buttons 2 and 31
    EXPECT_EQ(sticks.Read(0).buttonCount, 32);
    SDL_JoystickClose(handle);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

}  // namespace
}  // namespace dw

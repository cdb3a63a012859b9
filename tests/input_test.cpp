#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/input.h"

namespace dw {
namespace {

// Virtual sticks (SDL's own, no device needed) read through Joysticks.
TEST(JoystickTest, AxesFromTheirCentreAndButtonsAsBits) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
    if (SDL_NumJoysticks() != 0) GTEST_SKIP() << "a real stick is attached";
    SDL_Joystick* handles[3] = {};
    for (int n = 0; n < 3; ++n) {
        ASSERT_EQ(SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, n == 0 ? 40 : 0, 0), n);
        handles[n] = SDL_JoystickOpen(n);
        // The centre read at start-up is wherever the stick rests then.
        SDL_JoystickSetVirtualAxis(handles[n], 0, Sint16(100 * (n + 1)));
        SDL_JoystickSetVirtualAxis(handles[n], 1, Sint16(-50 * (n + 1)));
    }
    SDL_JoystickUpdate();
    Joysticks sticks;
    sticks.Open();
    const int moves[][3] = {{0, 0, 5000}, {0, 1, -3000}, {1, 0, -32768}, {1, 1, 32767}};
    for (auto [n, axis, value] : moves) SDL_JoystickSetVirtualAxis(handles[n], axis, Sint16(value));
    for (int b : {0, 2, 31, 39}) SDL_JoystickSetVirtualButton(handles[0], b, SDL_PRESSED);
    const JoystickState one = sticks.Read(0), two = sticks.Read(1);
    EXPECT_TRUE(one.present && two.present && !sticks.Read(-1).present && !sticks.Read(2).present);
    EXPECT_TRUE(one.x == 5000 - 100 && one.y == -3000 + 50 && two.x == -32768 - 200 && two.y == 32767 + 100);
    EXPECT_EQ(one.buttons, 0x80000005u);  // only the first 32 buttons count
    EXPECT_TRUE(one.buttonCount == 32 && two.buttons == 0 && two.buttonCount == 0);

    // A stick pulled out reads as absent; after Close every stick does.
    SDL_JoystickClose(handles[1]);
    SDL_JoystickDetachVirtual(1);
    EXPECT_TRUE(!sticks.Read(1).present && sticks.Read(1).x == 0 && sticks.Read(0).present);
    const SDL_JoystickID first = SDL_JoystickInstanceID(handles[0]);
    sticks.Close();
    sticks.Close();
    EXPECT_FALSE(sticks.Read(0).present);
    SDL_JoystickClose(handles[0]);
    EXPECT_EQ(SDL_JoystickFromInstanceID(first), nullptr);  // Close let go of it too
    SDL_JoystickClose(handles[2]);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

}  // namespace
}  // namespace dw

// The application loop: key-down events for the form, the idle handler, quitting. (The
// message box's sink and its copy on stderr: the shell's sound test.)
#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/application.h"
#include "test_support.h"

namespace dw {
namespace {

TEST(Application, FreshEscapeAndF1ReachTheKeyHandlerAndAQuitEndsTheLoop) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0) << SDL_GetError();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    Keyboard keyboard;
    Application app{keyboard};
    int idles = 0, closes = 0;
    std::vector<Key> keys;
    app.OnIdle([&] { ++idles; });
    app.OnKeyDown([&](Key k) { keys.push_back(k); });
    app.OnClose([&] { ++closes, app.Terminate(); });
    // One pass: the events, then one idle call. The keyboard sees every key, the key handler
    // only fresh presses of Escape and F1.
    SDL_Event repeat{
        .key = {SDL_KEYDOWN, 0, 0, SDL_PRESSED, /* repeat */ 1, 0, 0, {SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, 0, 0}}};
    testing_support::PushKey(SDL_SCANCODE_ESCAPE, true);
    SDL_PushEvent(&repeat);
    testing_support::PushKey(SDL_SCANCODE_ESCAPE, false);
    for (SDL_Scancode other : {SDL_SCANCODE_F1, SDL_SCANCODE_W, SDL_SCANCODE_Z, SDL_SCANCODE_F2})
        testing_support::PushKey(other, true);
    app.Pump();
    EXPECT_TRUE(keys == (std::vector<Key>{Key::Escape, Key::F1}) && idles == 1 && !keyboard.Down(Key::Escape) &&
                keyboard.Down(Key::F1) && keyboard.Down(Key::W));

    // Run calls idle until a quit reaches the close handler, which ends the loop; after the
    // end nothing is called. Without a close handler a quit ends the loop itself.
    SDL_Event quit{SDL_QUIT};
    app.OnIdle([&] {
        if (++idles == 3) SDL_PushEvent(&quit);
    });
    app.Run();
    app.Pump();
    EXPECT_TRUE(idles == 3 && closes == 1 && !app.Running());
    Application bare{keyboard};
    SDL_PushEvent(&quit);
    bare.Run();
    EXPECT_FALSE(bare.Running());
    SDL_QuitSubSystem(SDL_INIT_EVENTS);
}

}  // namespace
}  // namespace dw

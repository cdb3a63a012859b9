// The application loop: key-down events for the form, the idle handler, quitting; and the
// message box's sink.
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/application.h"
#include "platform/message_box.h"
#include "test_support.h"

namespace dw {
namespace {

class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0) << SDL_GetError();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        app.OnIdle([this] { ++idles; });
        app.OnKeyDown([this](Key k) { keys.push_back(k); });
        app.OnClose([this] {
            ++closes;
            app.Terminate();
        });
    }
    void TearDown() override { SDL_QuitSubSystem(SDL_INIT_EVENTS); }
    static void Quit() {
        SDL_Event e{SDL_QUIT};
        SDL_PushEvent(&e);
    }

    Keyboard keyboard;
    Application app{keyboard};
    int idles = 0, closes = 0;
    std::vector<Key> keys;
};

TEST_F(AppTest, OnlyFreshEscapeAndF1PressesReachTheKeyHandler) {
    SDL_Event repeat{SDL_KEYDOWN};
    repeat.key.repeat = 1;
    repeat.key.keysym.scancode = SDL_SCANCODE_ESCAPE;
    testing_support::PushKey(SDL_SCANCODE_ESCAPE, true);
    SDL_PushEvent(&repeat);
    testing_support::PushKey(SDL_SCANCODE_ESCAPE, false);
    for (SDL_Scancode other : {SDL_SCANCODE_F1, SDL_SCANCODE_W, SDL_SCANCODE_Z, SDL_SCANCODE_F2})
        testing_support::PushKey(other, true);
    app.Pump();
    EXPECT_EQ(keys, (std::vector<Key>{Key::Escape, Key::F1}));
    EXPECT_FALSE(keyboard.Down(Key::Escape));
    EXPECT_TRUE(keyboard.Down(Key::F1) && keyboard.Down(Key::W));
    EXPECT_EQ(idles, 1);  // one idle call a pass, after the events
}

TEST_F(AppTest, RunCallsIdleUntilTheCloseHandlerTerminates) {
    app.OnIdle([this] {
        if (++idles == 3) Quit();
    });
    app.Run();
    EXPECT_TRUE(idles == 3 && closes == 1 && !app.Running());
    app.Pump();  // after the end nothing is called
    EXPECT_EQ(idles, 3);

    Application bare{keyboard};  // without a close handler a quit ends the loop itself
    Quit();
    bare.Run();
    EXPECT_FALSE(bare.Running());
}

TEST(MessageBoxTest, SinkReceivesMessagesAndStderrAlwaysDoes) {
    std::vector<std::string> seen;
    SetMessageSink([&](const std::string& caption, const std::string& text) { seen.push_back(caption + "|" + text); });
    testing::internal::CaptureStderr();
    ShowMessage(nullptr, "Load", "ATTACK1: step 3");
    SetMessageSink({});
    ShowMessage(nullptr, "No", "window");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Load: ATTACK1: step 3\nNo: window\n");
    EXPECT_EQ(seen, std::vector<std::string>{"Load|ATTACK1: step 3"});
}

}  // namespace
}  // namespace dw

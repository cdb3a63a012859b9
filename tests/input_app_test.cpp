#include <SDL.h>
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "platform/application.h"
#include "platform/input.h"
#include "platform/message_box.h"

namespace dw {
namespace {

void PushKey(SDL_Scancode code, bool down, bool repeat = false) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat ? 1 : 0;
    e.key.keysym.scancode = code;
    e.key.keysym.sym = SDL_GetKeyFromScancode(code);
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
}

void PushQuit() {
    SDL_Event e{};
    e.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
}

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

    Keyboard keyboard;
    Application app{keyboard};
    int idles = 0;
    int closes = 0;
    std::vector<Key> keys;
};

TEST_F(AppTest, KeyEventsFillTheKeyTable) {
    const std::pair<SDL_Scancode, Key> table[] = {{SDL_SCANCODE_G, Key::G},
                                                  {SDL_SCANCODE_LEFT, Key::Left},
                                                  {SDL_SCANCODE_KP_5, Key::Pad5},
                                                  {SDL_SCANCODE_KP_PLUS, Key::PadAdd}};
    for (const auto& [code, key] : table) {
        PushKey(code, true);
        app.Pump();
        for (int k = 0; k < int(Key::Count); ++k)
            EXPECT_EQ(keyboard.Down(Key(k)), Key(k) == key) << "scancode " << code << ", key " << k;
        PushKey(code, false);
        app.Pump();
        EXPECT_FALSE(keyboard.Down(key));
    }
    // Keys the game does not use change nothing and reach no handler.
    for (SDL_Scancode other : {SDL_SCANCODE_Z, SDL_SCANCODE_KP_3, SDL_SCANCODE_5, SDL_SCANCODE_F2}) {
        PushKey(other, true);
        app.Pump();
    }
    for (int k = 0; k < int(Key::Count); ++k) EXPECT_FALSE(keyboard.Down(Key(k)));
    EXPECT_TRUE(keys.empty());
    EXPECT_EQ(idles, int(std::size(table)) * 2 + 4);  // one idle call per pass
}

TEST_F(AppTest, EscapeAndF1KeyDownsReachTheKeyHandlerOnce) {
    PushKey(SDL_SCANCODE_ESCAPE, true);
    PushKey(SDL_SCANCODE_ESCAPE, true, true);  // auto-repeat
    PushKey(SDL_SCANCODE_ESCAPE, false);
    PushKey(SDL_SCANCODE_F1, true);
    PushKey(SDL_SCANCODE_W, true);
    app.Pump();
    EXPECT_EQ(keys, (std::vector<Key>{Key::Escape, Key::F1}));
    EXPECT_FALSE(keyboard.Down(Key::Escape));
    EXPECT_TRUE(keyboard.Down(Key::F1));
    EXPECT_TRUE(keyboard.Down(Key::W));
    EXPECT_EQ(idles, 1);
}

TEST_F(AppTest, RunCallsIdleUntilTheCloseHandlerTerminates) {
    app.OnIdle([this] {
        if (++idles == 3) PushQuit();
    });
    app.Run();
    EXPECT_EQ(idles, 3);
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(app.Running());

    // Events after the end wait for nobody; Pump no longer calls idle.
    PushKey(SDL_SCANCODE_W, true);
    app.Pump();
    EXPECT_EQ(idles, 3);
}

TEST_F(AppTest, QuitWithoutCloseHandlerEndsTheLoop) {
    app.OnClose({});
    PushQuit();
    app.Run();
    EXPECT_FALSE(app.Running());
    EXPECT_EQ(idles, 0);
}

TEST(JoystickTest, AbsentSticksReadAsNotPresent) {
    Joysticks sticks;
    sticks.Open();
    for (int n : {-1, 2, SDL_NumJoysticks()}) EXPECT_FALSE(sticks.Read(n).present);
    sticks.Close();
    sticks.Close();
    EXPECT_FALSE(sticks.Read(0).present);
}

TEST(MessageBoxTest, SinkReceivesMessagesInsteadOfABox) {
    std::vector<std::string> seen;
    SetMessageSink([&](const std::string& caption, const std::string& text) { seen.push_back(caption + "|" + text); });
    testing::internal::CaptureStderr();
    ShowMessage(nullptr, "Load", "ATTACK1: step 3");
    const std::string err = testing::internal::GetCapturedStderr();
    SetMessageSink({});
    EXPECT_EQ(seen, std::vector<std::string>{"Load|ATTACK1: step 3"});
    EXPECT_EQ(err, "Load: ATTACK1: step 3\n");

    testing::internal::CaptureStderr();
    ShowMessage(nullptr, "No", "window");  // no window, no sink: stderr only
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "No: window\n");
    EXPECT_EQ(seen.size(), 1u);
}

}  // namespace
}  // namespace dw

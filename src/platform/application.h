// The application loop: polls events and calls the idle handler while none waits.
#pragma once

#include <functional>

#include "platform/input.h"

namespace dw {

class Application {
public:
    using IdleHandler = std::function<void()>;
    using KeyHandler = std::function<void(Key)>;
    using CloseHandler = std::function<void()>;

    explicit Application(Keyboard& keyboard) : keyboard_(keyboard) {}

    void OnIdle(IdleHandler h) { idle_ = std::move(h); }
    void OnKeyDown(KeyHandler h) { keyDown_ = std::move(h); }  // Esc and F1 only
    void OnClose(CloseHandler h) { close_ = std::move(h); }    // window closed by the user

    // Runs until Terminate. Events first; the idle handler once per pass while none waits.
    void Run();
    // Handles all waiting events, then calls the idle handler once (tests step frames).
    void Pump();
    void Terminate() { running_ = false; }
    bool Running() const { return running_; }

private:
    void HandleEvents();

    Keyboard& keyboard_;
    IdleHandler idle_;
    KeyHandler keyDown_;
    CloseHandler close_;
    bool running_ = true;
};

}  // namespace dw

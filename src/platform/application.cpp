#include "platform/application.h"

#include <SDL.h>

namespace dw {

void Application::HandleEvents() {
    SDL_Event event;
    while (running_ && SDL_PollEvent(&event)) {
        switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const Key key = keyboard_.Handle(event);
            if (event.type == SDL_KEYDOWN && !event.key.repeat && (key == Key::Escape || key == Key::F1) && keyDown_)
                keyDown_(key);
            break;
        }
        case SDL_QUIT:  // also sent when the user closes the last window
            if (close_)
                close_();
            else
                Terminate();
            break;
        default: break;
        }
    }
}

void Application::Run() {
    while (running_) {
        HandleEvents();
        if (!running_) break;
        if (SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT)) continue;
        if (idle_)
            idle_();
        else
            SDL_WaitEventTimeout(nullptr, 10);
    }
}

void Application::Pump() {
    HandleEvents();
    if (running_ && idle_) idle_();
}

}  // namespace dw

#include "platform/message_box.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>

namespace dw {
namespace {

std::function<void(const std::string&, const std::string&)>& Sink() {
    static std::function<void(const std::string&, const std::string&)> sink;
    return sink;
}

}  // namespace

void ShowMessage(SDL_Window* parent, const std::string& caption, const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    if (Sink()) {
        Sink()(caption, text);
        return;
    }
    if (!parent) return;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver && std::strcmp(driver, "dummy") != 0)
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption.c_str(), text.c_str(), parent);
}

void SetMessageSink(std::function<void(const std::string& caption, const std::string& text)> sink) {
    Sink() = std::move(sink);
}

}  // namespace dw

#include "platform/music.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <fstream>

#include "platform/sound.h"

namespace dw {
namespace {

// Every piece loaded while the device is open, so closing the device can free them.
std::vector<Music*> gLoaded;

constexpr std::streamoff kMaxMidiBytes = 4 << 20;

bool ReadSmallFile(const std::string& path, std::vector<uint8_t>& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size <= 0 || size > kMaxMidiBytes) return false;
    in.seekg(0);
    out.resize(size_t(size));
    return bool(in.read(reinterpret_cast<char*>(out.data()), size));
}

}  // namespace

const char* SoundFontPath() { return DW_SOUNDFONT; }

Music::Music(std::vector<uint8_t> bytes, void* handle) : bytes_(std::move(bytes)), handle_(handle) {
    gLoaded.push_back(this);
}

std::unique_ptr<Music> Music::Load(SoundDevice& device, const std::string& path) {
    if (!device.IsOpen()) return nullptr;
    std::vector<uint8_t> bytes;
    if (!ReadSmallFile(path, bytes) || !IsMidiFile(bytes)) return nullptr;
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), int(bytes.size()));
    if (!rw) return nullptr;
    Mix_Music* music = Mix_LoadMUSType_RW(rw, MUS_MID, 1);
    if (!music) return nullptr;
    // The vector's buffer moves with it, so the mixer's view of the bytes stays valid.
    return std::unique_ptr<Music>(new Music(std::move(bytes), music));
}

Music::~Music() {
    Mix_FreeMusic(static_cast<Mix_Music*>(handle_));  // halts it first if it is playing
    std::erase(gLoaded, this);
}

void Music::ReleaseAll() {
    for (Music* m : gLoaded) {
        Mix_FreeMusic(static_cast<Mix_Music*>(m->handle_));
        m->handle_ = nullptr;
    }
    gLoaded.clear();
}

bool Music::Play(bool loop) {
    if (!handle_) return false;
    return Mix_PlayMusic(static_cast<Mix_Music*>(handle_), loop ? -1 : 1) == 0;
}

void Music::Stop() {
    if (!gLoaded.empty()) Mix_HaltMusic();
}

}  // namespace dw

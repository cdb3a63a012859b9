#include "platform/sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <climits>
#include <cstddef>
#include <vector>

#include "platform/music.h"

namespace dw {
namespace {

// There is one audio device. Buffers remember the generation they were made in; once
// the device closes, the generation moves on and every older buffer goes quiet.
bool gOpen = false;
uint64_t gGeneration = 1;
// Mixer channels handed to buffers (true = taken). Each buffer plays on its own channel.
std::vector<bool> gChannels;

int AcquireChannel() {
    for (size_t i = 0; i < gChannels.size(); ++i) {
        if (!gChannels[i]) {
            gChannels[i] = true;
            return int(i);
        }
    }
    gChannels.push_back(true);
    const int needed = int(gChannels.size());
    if (Mix_AllocateChannels(-1) < needed) Mix_AllocateChannels(needed);
    return needed - 1;
}

void ReleaseChannel(int channel) {
    if (channel >= 0 && size_t(channel) < gChannels.size()) gChannels[size_t(channel)] = false;
}

void PutLe16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void PutLe32(std::vector<uint8_t>& out, uint32_t v) {
    PutLe16(out, v & 0xFFFF);
    PutLe16(out, v >> 16);
}

// A canonical RIFF/WAVE image of the data, or empty when the format is not plain PCM.
std::vector<uint8_t> CanonicalWave(const WaveData& wave) {
    const WaveFormat& f = wave.format;
    if (f.formatTag != 1 || (f.channels != 1 && f.channels != 2) || (f.bitsPerSample != 8 && f.bitsPerSample != 16) ||
        f.samplesPerSec < 1000 || f.samplesPerSec > 192000)
        return {};
    const uint32_t block = uint32_t(f.channels) * f.bitsPerSample / 8;
    if (wave.samples.size() > size_t(INT_MAX) - 64) return {};
    const size_t bytes = wave.samples.size() - wave.samples.size() % block;  // whole frames

    std::vector<uint8_t> out;
    out.reserve(44 + bytes);
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    PutLe32(out, uint32_t(36 + bytes));
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    PutLe32(out, 16);
    PutLe16(out, 1);
    PutLe16(out, f.channels);
    PutLe32(out, f.samplesPerSec);
    PutLe32(out, f.samplesPerSec * block);
    PutLe16(out, block);
    PutLe16(out, f.bitsPerSample);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    PutLe32(out, uint32_t(bytes));
    out.insert(out.end(), wave.samples.begin(), wave.samples.begin() + std::ptrdiff_t(bytes));
    return out;
}

}  // namespace

SoundDevice::~SoundDevice() { Close(); }

bool SoundDevice::Open() {
    if (open_) return true;
    if (gOpen) return false;  // another device object holds the one audio device
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    gChannels.clear();
    gOpen = open_ = true;
    return true;
}

void SoundDevice::Close() {
    if (!open_) return;
    Mix_HaltChannel(-1);
    Music::ReleaseAll();  // the music hook must go while the mixer is still open
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    gChannels.clear();
    ++gGeneration;
    gOpen = open_ = false;
}

struct SoundBuffer::Samples {
    Mix_Chunk* chunk = nullptr;
    uint64_t generation = 0;

    explicit Samples(Mix_Chunk* c) : chunk(c), generation(gGeneration) {}
    // The chunk only holds plain memory, so it can be freed even after the device closed.
    ~Samples() { Mix_FreeChunk(chunk); }
    Samples(const Samples&) = delete;
    Samples& operator=(const Samples&) = delete;

    bool Live() const { return gOpen && generation == gGeneration; }
};

std::unique_ptr<SoundBuffer> SoundBuffer::Create(SoundDevice& device, const WaveData& wave) {
    if (!device.IsOpen()) return nullptr;
    const std::vector<uint8_t> image = CanonicalWave(wave);
    if (image.empty()) return nullptr;
    SDL_RWops* rw = SDL_RWFromConstMem(image.data(), int(image.size()));
    if (!rw) return nullptr;
    Mix_Chunk* chunk = Mix_LoadWAV_RW(rw, 1);  // converts to the device's format
    if (!chunk) return nullptr;
    return std::unique_ptr<SoundBuffer>(new SoundBuffer(std::make_shared<Samples>(chunk)));
}

SoundBuffer::SoundBuffer(std::shared_ptr<Samples> samples) : samples_(std::move(samples)), channel_(AcquireChannel()) {}

SoundBuffer::~SoundBuffer() {
    if (!samples_->Live()) return;
    Mix_HaltChannel(channel_);
    ReleaseChannel(channel_);
}

std::unique_ptr<SoundBuffer> SoundBuffer::Duplicate() const {
    if (!samples_->Live()) return nullptr;
    return std::unique_ptr<SoundBuffer>(new SoundBuffer(samples_));
}

void SoundBuffer::Play() {
    if (samples_->Live()) Mix_PlayChannel(channel_, samples_->chunk, 0);
}

void SoundBuffer::Stop() {
    if (samples_->Live()) Mix_HaltChannel(channel_);
}

bool SoundBuffer::Playing() const { return samples_->Live() && Mix_Playing(channel_) != 0; }

}  // namespace dw

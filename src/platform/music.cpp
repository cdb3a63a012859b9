#include "platform/music.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <fluidsynth.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <mutex>

#include "platform/sound.h"

namespace dw {
namespace {

constexpr std::streamoff kMaxMidiBytes = 4 << 20;
// The synthesizer renders in slices this long.
constexpr int kSliceFrames = 256;
// How many more passes a looping tune may start before the mixer tops the count up again.
// The player's own endless loop would, inside one slice, reload forever a tune that cannot
// be read or has no length; a count topped up after every slice loops a real tune without
// a gap and lets such a tune run out.
constexpr int kPassesAhead = 2;
// The synthesizer's output level, well short of full scale: the loudest moments of the tunes
// (the fights' drum fills over the whole band) peak about 3.5 dB below it. How loud they get
// changes from one playing to the next, by up to a quarter, with where the notes fall on the
// synthesizer's blocks, so the level keeps that margin rather than fitting one playing.
constexpr double kGain = 0.4;

// The one synthesizer, with the soundfont loaded once. The mixer's thread renders it
// through the music hook; the game thread starts and stops tunes. Both hold gLock while
// they touch the player or the synthesizer.
struct Synth {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_player_t* player = nullptr;  // the current tune, while there is one
    const Music* tune = nullptr;
    bool loop = false;
    int channels = 0;

    Synth() = default;
    Synth(const Synth&) = delete;
    Synth& operator=(const Synth&) = delete;
    ~Synth() {
        if (player) delete_fluid_player(player);
        if (synth) delete_fluid_synth(synth);
        if (settings) delete_fluid_settings(settings);
    }

    void StopTune() {
        if (player) delete_fluid_player(player);
        player = nullptr;
        tune = nullptr;
        // The reset leaves released notes ringing; the sounds go after it, not before.
        fluid_synth_system_reset(synth);
        fluid_synth_all_sounds_off(synth, -1);
    }
};

std::mutex gLock;
std::unique_ptr<Synth> gSynth;  // made at the first tune after the device opens
uint64_t gGeneration = 1;       // moves on whenever the synthesizer goes

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

// A synthesizer rendering at the mixer's rate, or nullptr.
std::unique_ptr<Synth> MakeSynth() {
    int rate = 0, channels = 0;
    Uint16 format = 0;
    // The device is opened for 16-bit samples and may change only rate and channels.
    if (!Mix_QuerySpec(&rate, &format, &channels) || format != AUDIO_S16SYS || channels < 1) return nullptr;
    auto s = std::make_unique<Synth>();
    s->channels = channels;
    s->settings = new_fluid_settings();
    if (!s->settings) return nullptr;
    if (fluid_settings_setnum(s->settings, "synth.sample-rate", double(rate)) != FLUID_OK ||
        fluid_settings_setnum(s->settings, "synth.gain", kGain) != FLUID_OK ||
        fluid_settings_setint(s->settings, "synth.lock-memory", 0) != FLUID_OK ||
        fluid_settings_setstr(s->settings, "player.timing-source", "sample") != FLUID_OK)
        return nullptr;
    s->synth = new_fluid_synth(s->settings);
    if (!s->synth || fluid_synth_sfload(s->synth, DW_SOUNDFONT, 1) == FLUID_FAILED) return nullptr;
    return s;
}

// Writes stereo frames into the device's channels: mono gets the average, more than two
// channels get the pair in front and silence elsewhere.
void Spread(const int16_t* stereo, int frames, int16_t* out, int channels) {
    for (int i = 0; i < frames; ++i, out += channels) {
        const int16_t left = stereo[2 * i], right = stereo[2 * i + 1];
        if (channels == 1) {
            out[0] = int16_t((left + right) / 2);
            continue;
        }
        out[0] = left;
        out[1] = right;
        std::fill(out + 2, out + channels, int16_t(0));
    }
}

// The mixer's music hook, on the audio thread: the synthesizer's output under the sound
// effects the mixer adds on top.
void Render(void*, Uint8* stream, int len) {
    std::lock_guard hold(gLock);
    if (!gSynth || !gSynth->player) {
        SDL_memset(stream, 0, size_t(len));
        return;
    }
    Synth& s = *gSynth;
    auto* out = reinterpret_cast<int16_t*>(stream);
    const int frames = len / int(sizeof(int16_t)) / s.channels;
    std::array<int16_t, 2 * kSliceFrames> slice;
    for (int done = 0; done < frames;) {
        const int n = std::min(kSliceFrames, frames - done);
        fluid_synth_write_s16(s.synth, n, slice.data(), 0, 2, slice.data(), 1, 2);
        Spread(slice.data(), n, out + done * s.channels, s.channels);
        done += n;
        if (s.loop) fluid_player_set_loop(s.player, kPassesAhead);
    }
}

}  // namespace

Music::Music(std::vector<uint8_t> bytes, uint64_t generation) : bytes_(std::move(bytes)), generation_(generation) {}

std::unique_ptr<Music> Music::Load(SoundDevice& device, const std::string& path) {
    if (!device.IsOpen()) return nullptr;
    std::vector<uint8_t> bytes;
    if (!ReadSmallFile(path, bytes) || !IsMidiFile(bytes)) return nullptr;
    if (!gSynth) {
        // The hook is not set yet, so nothing else sees the synthesizer.
        gSynth = MakeSynth();
        if (!gSynth) return nullptr;
        Mix_HookMusic(Render, nullptr);
    }
    return std::unique_ptr<Music>(new Music(std::move(bytes), gGeneration));
}

Music::~Music() {
    if (!gSynth) return;
    std::lock_guard hold(gLock);
    if (gSynth->tune == this) gSynth->StopTune();
}

void Music::ReleaseAll() {
    if (!gSynth) return;
    Mix_HookMusic(nullptr, nullptr);  // returns once the mixer is out of the hook for good
    gSynth.reset();
    ++gGeneration;
}

bool Music::Play(bool loop) {
    if (!gSynth || generation_ != gGeneration) return false;
    std::lock_guard hold(gLock);
    Synth& s = *gSynth;
    s.StopTune();
    fluid_player_t* player = new_fluid_player(s.synth);
    if (!player) return false;
    // The player keeps its own copy of the bytes and reads them as it starts.
    if (fluid_player_add_mem(player, bytes_.data(), bytes_.size()) != FLUID_OK ||
        fluid_player_set_loop(player, loop ? kPassesAhead : 1) != FLUID_OK || fluid_player_play(player) != FLUID_OK) {
        delete_fluid_player(player);
        return false;
    }
    s.player = player;
    s.tune = this;
    s.loop = loop;
    return true;
}

void Music::Stop() {
    if (!gSynth) return;
    std::lock_guard hold(gLock);
    gSynth->StopTune();
}

}  // namespace dw

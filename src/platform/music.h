// MIDI music through SDL2_mixer's FluidSynth backend and a General MIDI soundfont.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace dw {

class SoundDevice;

class Music {
public:
    // Loads a MIDI file relative to the working directory. nullptr when the device is
    // closed or the file is missing or not a well-formed standard MIDI file.
    static std::unique_ptr<Music> Load(SoundDevice& device, const std::string& path);
    ~Music();
    Music(const Music&) = delete;
    Music& operator=(const Music&) = delete;

    // Starts from the beginning; loops forever when loop is set.
    bool Play(bool loop);
    static void Stop();

private:
    friend class SoundDevice;
    Music(std::vector<uint8_t> bytes, void* handle);
    // Frees every loaded piece; the device calls it before the mixer closes.
    static void ReleaseAll();

    std::vector<uint8_t> bytes_;  // the file, kept while the mixer reads from it
    void* handle_;
};

// True when bytes hold a standard MIDI file whose header and track chunks all lie
// inside the data.
bool IsMidiFile(std::span<const uint8_t> bytes);

// The soundfont the music uses (set before the first load).
const char* SoundFontPath();

}  // namespace dw

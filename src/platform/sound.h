// Sound effects on SDL2_mixer. Without an audio device every call is a no-op.
#pragma once

#include <memory>

#include "platform/wave.h"

struct Mix_Chunk;

namespace dw {

class SoundDevice {
public:
    SoundDevice() = default;
    ~SoundDevice();
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

    // Opens the audio device and the mixer. False (and silent) when there is none.
    bool Open();
    void Close();
    bool IsOpen() const { return open_; }

private:
    bool open_ = false;
};

// One static buffer: a WAVE's samples. Play starts it from the beginning; a duplicate
// shares the samples and can sound at the same time.
class SoundBuffer {
public:
    // nullptr when the device is closed or the data cannot be converted.
    static std::unique_ptr<SoundBuffer> Create(SoundDevice& device, const WaveData& wave);
    ~SoundBuffer();
    SoundBuffer(const SoundBuffer&) = delete;
    SoundBuffer& operator=(const SoundBuffer&) = delete;

    std::unique_ptr<SoundBuffer> Duplicate() const;
    void Play();
    void Stop();
    bool Playing() const;

private:
    struct Samples;
    explicit SoundBuffer(std::shared_ptr<Samples> samples);
    std::shared_ptr<Samples> samples_;
    int channel_ = -1;
};

}  // namespace dw

// MIDI music: one FluidSynth synthesizer with a General MIDI soundfont, feeding the mixer.
// The synthesizer and its soundfont are made once, at the first tune, and serve every tune
// until the sound device closes; a tune itself is only its file's bytes.
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
    // closed, the file is missing or not a well-formed standard MIDI file, or the
    // synthesizer cannot be made.
    static std::unique_ptr<Music> Load(SoundDevice& device, const std::string& path);
    ~Music();  // stops the music if this tune is playing
    Music(const Music&) = delete;
    Music& operator=(const Music&) = delete;

    // Starts from the beginning in place of whatever tune plays, at once; loops forever
    // when loop is set. False once the device this tune was loaded on has closed.
    bool Play(bool loop);
    static void Stop();

private:
    friend class SoundDevice;
    Music(std::vector<uint8_t> bytes, uint64_t generation);
    // Frees the synthesizer; the device calls it before the mixer closes.
    static void ReleaseAll();

    std::vector<uint8_t> bytes_;
    uint64_t generation_;  // the synthesizer this tune was loaded for
};

// True when bytes hold a standard MIDI file the synthesizer's player reads whole: a header
// of 6 bytes timed in ticks a quarter note (not SMPTE), announcing 1 to 127 tracks; chunks
// that lie inside the data, with ASCII ids, holding exactly the tracks announced; and in
// every track, events it knows of the length it expects -- delta times of at most 4 bytes,
// channel messages with their data bytes (running status only after a channel message),
// meta and system-exclusive (0xF0) events whose data stays inside the chunk, meta events of
// a fixed length at that length, no tempo of zero -- ending with the end-of-track event
// exactly at the end of the chunk.
bool IsMidiFile(std::span<const uint8_t> bytes);

}  // namespace dw

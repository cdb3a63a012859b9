// Sound effects and music: the sound device, the voice, hit and weapon buffers, and the
// music of each screen.
#include <string>

#include "platform/message_box.h"
#include "platform/resources.h"
#include "platform/wave.h"
#include "shell/form.h"

namespace {

constexpr const char* kHitNames[4] = {"HITTED1", "HITTED2", "HITTED3", "HITTED4"};

int HitIndex(const std::string& name) {
    for (int i = 0; i < 4; ++i)
        if (name == kHitNames[i]) return i;
    return -1;
}

void PlayIfPresent(const std::unique_ptr<dw::SoundBuffer>& b) {
    if (b) b->Play();
}

}  // namespace

int TForm1::CreateSoundData(const char* name, std::unique_ptr<dw::SoundBuffer>& buffer) {
    if (!SoundDevice) return 0;  // silent game: nothing to make, nothing to report
    dw::WaveData wave;
    const int step = dw::ReadWave(dw::FindResource(dw::ResourceKind::Wave, name), wave);
    if (step != 0) {
        dw::ShowMessage(
            DirectDrawObj ? DirectDrawObj->Window() : nullptr, "Error",
            std::string("The sound \"") + name + "\" could not be read (step " + std::to_string(step) + ").");
        EndDirectSound();
        return 0;
    }
    buffer.reset();
    buffer = dw::SoundBuffer::Create(*SoundDevice, wave);
    if (!buffer) {
        EndDirectSound();
        return 0;
    }
    return 1;
}

void TForm1::EndDirectSound() {
    if (!SoundDevice) return;
    VoiceBuffer.reset();
    CursorBuffer.reset();
    for (auto& b : HitBuffers) b.reset();
    for (auto& b : HitDuplicates) b.reset();
    for (auto& b : P1ShotSounds) b.reset();
    for (auto& b : P2ShotSounds) b.reset();
    // The music plays through the same device.
    StopMusic();
    SoundDevice->Close();
    SoundDevice.reset();
}

void TForm1::CreateHitSounds() {
    for (int i = 0; i < 4 && SoundDevice; ++i) {
        if (!CreateSoundData(kHitNames[i], HitBuffers[size_t(i)])) return;
        HitDuplicates[size_t(i)] = HitBuffers[size_t(i)]->Duplicate();
    }
}

void TForm1::HitSound1(const std::string& name) {
    const int i = HitIndex(name);
    if (i >= 0) PlayIfPresent(HitBuffers[size_t(i)]);
}

void TForm1::HitSound2(const std::string& name) {
    const int i = HitIndex(name);
    if (i >= 0) PlayIfPresent(HitDuplicates[size_t(i)]);
}

bool TForm1::PlayVoice(const char* name) {
    if (!SoundDevice) return true;  // silent game
    if (!CreateSoundData(name, VoiceBuffer)) {
        ToError(3);  // the failed creation has already released the sound device
        return false;
    }
    VoiceBuffer->Play();
    return true;
}

void TForm1::StopVoice() {
    if (VoiceBuffer) VoiceBuffer->Stop();
}

void TForm1::PlayCursorSound() { PlayIfPresent(CursorBuffer); }

bool TForm1::PlayMusic(const char* file) {
    StopMusic();
    if (!SoundDevice) return true;  // silent game
    // A tune is only its file's bytes; the synthesizer behind every tune stays loaded.
    MusicSegment = dw::Music::Load(*SoundDevice, DataDir + "/" + file);
    if (!MusicSegment || !MusicSegment->Play(true)) {
        MusicSegment.reset();
        Close();
        return false;
    }
    return true;
}

void TForm1::StopMusic() { MusicSegment.reset(); }  // a playing tune stops as it goes

// The music as the mixer sends it out: tunes sound, loop, give way and stop with the device.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "shell/form.h"
#include "test_support.h"

namespace {

using dw::Music;

// The loudest sample the mixer sends out over the next passes; a pass under way may have
// begun before the change looked at. It also measures a tune from its first sound on.
class OutputWatch {
public:
    OutputWatch() { Mix_SetPostMix(Seen, this); }
    ~OutputWatch() { Mix_SetPostMix(nullptr, nullptr); }
    bool Wait(int passes) {
        const long until = passes_ + passes;
        for (int ms = 0; passes_ < until && ms <= 5000; ++ms) SDL_Delay(1);
        return passes_ >= until;
    }
    int Peak(int passes) {
        Wait(1);
        peak_ = 0;
        EXPECT_TRUE(Wait(passes)) << "the mixer stopped";
        return peak_;
    }
    // The peak and RMS of the first `samples` samples the mixer sends out once the tune
    // starts to sound, whatever played before stopped first; no RMS if they do not come
    // within half a minute.
    std::pair<int, double> Measure(Music& tune, size_t samples) {
        Music::Stop();
        Wait(2);  // the second pass begins after the stop
        counted_ = 0;
        energy_ = 0;
        peak_ = 0;
        want_ = samples;
        tune.Play(true);
        for (int ms = 0; counted_ < want_ && ms < 30000; ++ms) SDL_Delay(1);
        want_ = 0;
        return {peak_, counted_ == samples ? std::sqrt(energy_ / double(samples)) : 0.0};
    }

private:
    // On the mixer's thread; `counted_` tells the test when the measure is whole.
    static void Seen(void* self, Uint8* stream, int len) {
        auto* w = static_cast<OutputWatch*>(self);
        const auto* samples = reinterpret_cast<const int16_t*>(stream);
        const size_t n = size_t(len / 2);
        for (size_t i = 0; i < n; ++i) w->peak_ = std::max(w->peak_.load(), std::abs(int(samples[i])));
        ++w->passes_;
        const bool sounds = std::any_of(samples, samples + n, [](int16_t v) { return v != 0; });
        if (w->counted_ >= w->want_ || (w->counted_ == 0 && !sounds)) return;
        const size_t take = std::min(n, w->want_ - w->counted_);
        for (size_t i = 0; i < take; ++i) w->energy_ += double(samples[i]) * samples[i];
        w->counted_ += take;
    }
    std::atomic<int> peak_{0};
    std::atomic<long> passes_{0};
    std::atomic<size_t> counted_{0};
    std::atomic<size_t> want_{0};
    double energy_ = 0;
};

constexpr int kAudible = 500, kSilent = 64;  // dither and the last of the echo stay below kSilent

// A note of about 100 ms, and the tune ends 100 ms after it.
const std::vector<uint8_t> kBlip = {0, 0x90, 60, 100, 20, 0x80, 60, 0, 20, 0xFF, 0x2F, 0};

TEST(MusicTest, TunesLoopStopAndGiveWayAtOnceAndUnplayableOnesStaySilent) {
    dw::SoundDevice device;
    ASSERT_TRUE(device.Open()) << SDL_GetError();
    testing_support::TempDir dir;
    int files = 0;
    // A file of one track at 96 ticks a beat, 120 beats a minute: a tick is about 5 ms.
    auto tune = [&](const std::vector<uint8_t>& events) {
        std::vector<uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k', 0, 0, 0};
        file.push_back(uint8_t(events.size()));
        file.insert(file.end(), events.begin(), events.end());
        const std::string path = dir.Str() + "/tune" + std::to_string(++files) + ".mid";
        testing_support::WriteAll(path, file);
        return Music::Load(device, path);
    };
    OutputWatch out;
    auto blip = tune(kBlip);
    auto hush = tune({0x87, 0x40, 0xFF, 0x2F, 0});  // five seconds without a note
    ASSERT_TRUE(blip);
    ASSERT_TRUE(hush);

    ASSERT_TRUE(blip->Play(true));
    EXPECT_GT(out.Peak(15), kAudible);
    out.Wait(40);  // several times the tune's length
    EXPECT_GT(out.Peak(15), kAudible) << "a looping tune went quiet";
    ASSERT_TRUE(hush->Play(true));  // the pinch switch: the old tune stops mid-note
    EXPECT_LT(out.Peak(10), kSilent);

    ASSERT_TRUE(blip->Play(false));
    EXPECT_GT(out.Peak(15), kAudible);
    out.Wait(40);
    EXPECT_LT(out.Peak(15), kSilent) << "a tune played once came round again";

    blip->Play(true);
    Music::Stop();
    EXPECT_LT(out.Peak(10), kSilent);
    // Only the playing tune stops the music as it goes.
    blip->Play(true);
    hush.reset();
    EXPECT_GT(out.Peak(15), kAudible);
    blip.reset();
    EXPECT_LT(out.Peak(10), kSilent);

    // A data byte with no status before it is refused as the tune loads. A tune that ends as
    // it begins loads and does not stall the mixer.
    EXPECT_FALSE(tune({0, 0x40, 0x40, 0, 0xFF, 0x2F, 0}));
    blip = tune(kBlip);
    blip->Play(true);
    ASSERT_GT(out.Peak(15), kAudible);
    auto empty = tune({0, 0xFF, 0x2F, 0});
    ASSERT_TRUE(empty);
    ASSERT_TRUE(empty->Play(true));
    EXPECT_LT(out.Peak(10), kSilent);
    // Missing, empty, not MIDI, or a directory: refused.
    testing_support::WriteAll(dir.Path() / "empty.mid", {});
    testing_support::WriteAll(dir.Path() / "short.mid", {'M', 'T', 'h', 'd'});
    for (const char* name : {"empty.mid", "short.mid", "missing.mid", ""})
        EXPECT_FALSE(Music::Load(device, (dir.Path() / name).string())) << name;

    ASSERT_TRUE(blip->Play(true));
    device.Close();
    EXPECT_FALSE(blip->Play(true));
    EXPECT_FALSE(tune(kBlip));
    ASSERT_TRUE(device.Open());
    OutputWatch reopened;
    auto fresh = tune(kBlip);  // a new synthesizer, which the old tune must not use
    EXPECT_FALSE(blip->Play(true));
    ASSERT_TRUE(fresh);
    ASSERT_TRUE(fresh->Play(true));
    blip.reset();
    EXPECT_GT(reopened.Peak(15), kAudible);
}

// The screen's tune plays through the form and goes with the sound device, as do the sounds.
TEST(FormMusic, TheTitleTuneSoundsAndGoesWithTheSoundDevice) {
    testing_support::GameRig rig;
    TForm1& f = *rig.form;
    f.FormShow();
    f.P1RobotId = 14;
    f.P2RobotId = 14;
    f.ToBefore();  // the robots' weapon sounds too
    f.ToStart();
    ASSERT_TRUE(f.SoundDevice);
    ASSERT_TRUE(f.MusicSegment);
    ASSERT_FALSE(f.Closed());
    OutputWatch out;
    EXPECT_GT(out.Peak(40), kAudible);
    f.EndDirectSound();
    EXPECT_FALSE(f.MusicSegment) << "a tune outlived its sound device";
    long sounds = long(f.VoiceBuffer != nullptr) + long(f.CursorBuffer != nullptr);
    for (const auto* kind : {&f.HitBuffers, &f.HitDuplicates, &f.P1ShotSounds, &f.P2ShotSounds})
        sounds += std::ranges::count_if(*kind, [](const auto& b) { return b != nullptr; });
    EXPECT_EQ(sounds, 0) << "sounds outlived their device";
}

// Each of the game's tunes, played through the game's music path for a whole pass or more, stays
// clear of full scale and still sounds. The disk driver mixes into nowhere as fast as it can,
// so a pass takes a small part of its playing time.
TEST(MusicTest, EveryTuneStaysBelowFullScaleAndSoundsThroughAWholePass) {
    constexpr int kBelowFullScale = 29200;  // about -1 dBFS
    constexpr double kQuietest = 1036;      // an RMS of -30 dBFS
    // The longest tune, Fighting2, is 16 bars of four beats at 140 a minute: 27.4 s.
    constexpr double kLongestPass = 28;
    testing_support::ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    testing_support::ScopedEnv file("SDL_DISKAUDIOFILE", "/dev/null");
    testing_support::ScopedEnv delay("SDL_DISKAUDIODELAY", "0");  // no waiting between passes
    dw::SoundDevice device;
    ASSERT_TRUE(device.Open()) << SDL_GetError();
    int rate = 0;
    int channels = 0;
    Uint16 format = 0;
    ASSERT_TRUE(Mix_QuerySpec(&rate, &format, &channels));
    OutputWatch out;
    for (const char* name :
         {"Start.mid", "Select.mid", "Fighting1.mid", "Fighting2.mid", "Fighting3.mid", "Ending.mid"}) {
        const std::string path = std::string(testing_support::GameDataDir()) + "/" + name;
        auto tune = Music::Load(device, path);
        ASSERT_TRUE(tune) << name;
        const auto [peak, rms] = out.Measure(*tune, size_t(kLongestPass * rate) * size_t(channels));
        EXPECT_LT(peak, kBelowFullScale) << name;
        EXPECT_GT(rms, kQuietest) << name << ": the mixer stalled, or the tune is too quiet";
    }
}

}  // namespace

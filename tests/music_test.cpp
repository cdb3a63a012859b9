// The music through the mixer: what reaches the output, looping, switching and memory.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/music.h"
#include "platform/sound.h"
#include "shell/form.h"
#include "test_support.h"

namespace {

using dw::Music;
using dw::SoundDevice;

// Watches what the mixer sends to the device: the loudest sample and the number of
// passes, both counted from the mixer's thread.
class OutputWatch {
public:
    OutputWatch() { Mix_SetPostMix(Seen, this); }
    ~OutputWatch() { Mix_SetPostMix(nullptr, nullptr); }
    OutputWatch(const OutputWatch&) = delete;
    OutputWatch& operator=(const OutputWatch&) = delete;

    // Lets the mixer run n passes; false when it stops calling.
    bool Wait(int n) {
        const long until = passes_ + n;
        for (int ms = 0; passes_ < until; ++ms) {
            if (ms > 5000) return false;
            SDL_Delay(1);
        }
        return true;
    }
    // The loudest sample over the next n passes.
    int Peak(int n) {
        Wait(1);  // a pass under way may have begun before the change being looked at
        peak_ = 0;
        EXPECT_TRUE(Wait(n)) << "the mixer stopped";
        return peak_;
    }

private:
    static void Seen(void* self, Uint8* stream, int len) {
        auto* w = static_cast<OutputWatch*>(self);
        const auto* s = reinterpret_cast<const int16_t*>(stream);
        int peak = w->peak_;
        for (int i = 0; i < len / 2; ++i) peak = std::max(peak, std::abs(int(s[i])));
        w->peak_ = peak;
        ++w->passes_;
    }
    std::atomic<int> peak_{0};
    std::atomic<long> passes_{0};
};

constexpr int kAudible = 1000;
constexpr int kSilent = 64;  // dither stays below it

// A one-track file at 96 ticks a beat, 120 beats a minute: a tick is about 5 ms.
std::vector<uint8_t> MidiFile(const std::vector<uint8_t>& events) {
    std::vector<uint8_t> f = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k'};
    for (int shift = 24; shift >= 0; shift -= 8) f.push_back(uint8_t(events.size() >> shift));
    f.insert(f.end(), events.begin(), events.end());
    return f;
}

class MusicTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(device.Open()) << SDL_GetError(); }
    std::unique_ptr<Music> Tune(const char* name, const std::vector<uint8_t>& events) {
        const std::string path = dir.Str() + "/" + name;
        const std::vector<uint8_t> bytes = MidiFile(events);
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return Music::Load(device, path);
    }
    testing_support::TempDir dir;
    SoundDevice device;
};

// A note of about 100 ms, and the tune ends 100 ms after it.
const std::vector<uint8_t> kBlip = {0, 0x90, 60, 100, 20, 0x80, 60, 0, 20, 0xFF, 0x2F, 0};
// Five seconds without a note.
const std::vector<uint8_t> kHush = {0x87, 0x40, 0xFF, 0x2F, 0};

TEST_F(MusicTest, TunesLoopStopAndGiveWayAtOnce) {
    OutputWatch out;
    auto blip = Tune("blip.mid", kBlip);
    auto hush = Tune("hush.mid", kHush);
    ASSERT_TRUE(blip && hush);

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
}

TEST_F(MusicTest, UnplayableTunesStaySilentAndNeverStallTheMixer) {
    OutputWatch out;
    // Both pass the structural check: no status byte before the first data byte, and a
    // tune that ends as it begins.
    auto broken = Tune("broken.mid", {0, 0x40, 0x40, 0, 0xFF, 0x2F, 0});
    auto empty = Tune("empty.mid", {0, 0xFF, 0x2F, 0});
    auto blip = Tune("blip.mid", kBlip);
    ASSERT_TRUE(broken && empty && blip);
    for (Music* m : {broken.get(), empty.get()}) {
        blip->Play(true);
        ASSERT_GT(out.Peak(15), kAudible);
        EXPECT_TRUE(m->Play(true));
        EXPECT_LT(out.Peak(10), kSilent);
    }
    blip->Play(true);
    EXPECT_GT(out.Peak(15), kAudible);
}

TEST_F(MusicTest, TunesOfAClosedDeviceStaySilentAfterItOpensAgain) {
    auto old = Tune("blip.mid", kBlip);
    ASSERT_TRUE(old && old->Play(true));
    device.Close();
    EXPECT_FALSE(old->Play(true));
    Music::Stop();
    EXPECT_FALSE(Tune("blip.mid", kBlip));

    ASSERT_TRUE(device.Open());
    OutputWatch out;
    EXPECT_FALSE(old->Play(true));
    EXPECT_LT(out.Peak(5), kSilent);
    auto fresh = Tune("blip.mid", kBlip);
    ASSERT_TRUE(fresh && fresh->Play(true));
    old.reset();
    EXPECT_GT(out.Peak(15), kAudible);
}

constexpr const char* kTunes[] = {"Start.mid",     "Select.mid",    "Fighting1.mid",
                                  "Fighting2.mid", "Fighting3.mid", "Ending.mid"};

// Resident memory in kilobytes.
long ResidentKb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * 4;
}

long HeapKb() { return long(mallinfo2().uordblks / 1024); }

TEST(MusicMemory, OneSynthesizerWhateverHowManyTunesHavePlayed) {
    testing_support::GameRig rig;
    TForm1& f = *rig.form;
    f.FormShow();  // the title screen starts its tune
    ASSERT_FALSE(f.Closed());
    ASSERT_TRUE(f.SoundDevice) << "the dummy audio driver should open";
    OutputWatch out;
    SDL_Delay(300);
    const long first = ResidentKb();
    const long firstHeap = HeapKb();

    for (const char* tune : kTunes) {
        ASSERT_TRUE(f.PlayMusic(tune)) << tune;
        SDL_Delay(300);
    }
    const long allSix = ResidentKb();
    const long allSixHeap = HeapKb();

    for (int i = 0; i < 500; ++i) {
        ASSERT_TRUE(f.PlayMusic(kTunes[i % 6])) << i;
        SDL_Delay(2);
    }
    const long after500 = ResidentKb();
    EXPECT_GT(out.Peak(40), kAudible) << "the memory of a silent synthesizer proves nothing";
    std::printf("music memory: resident %ld KB after the first tune, %ld KB after all six, %ld KB after 500 "
                "changes; heap %ld KB, %ld KB, %ld KB\n",
                first, allSix, after500, firstHeap, allSixHeap, HeapKb());
#if defined(__SANITIZE_ADDRESS__)
    // Freed memory sits in the sanitizer's quarantine; its leak check stands in.
#else
    EXPECT_LT(allSix - first, 2048);
    EXPECT_LT(after500 - first, 2048);
#endif
}

}  // namespace

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/sound.h"
#include "test_support.h"

namespace dw {
namespace {

// A 16-bit mono tone of the given length.
WaveData Tone(int milliseconds, uint32_t rate = 22050) {
    WaveData w;
    w.format = WaveFormat{1, 1, rate, rate * 2, 2, 16};
    for (size_t i = 0; i < size_t(rate) * size_t(milliseconds) / 1000; ++i) {
        const auto v = uint16_t(int16_t(8000 * std::sin(double(i) * 0.1)));
        w.samples.insert(w.samples.end(), {uint8_t(v & 0xFF), uint8_t(v >> 8)});
    }
    return w;
}

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(device.Open()) << SDL_GetError(); }
    SoundDevice device;
};

TEST_F(SoundTest, BuffersAndDuplicatesPlayOnChannelsOfTheirOwnAndFormatsAreConvertedOrRefused) {
    auto a = SoundBuffer::Create(device, Tone(2000));
    ASSERT_TRUE(a && !a->Playing());
    a->Play();
    auto dup = a->Duplicate();
    ASSERT_TRUE(dup && !dup->Playing());
    dup->Play();
    a->Stop();
    EXPECT_TRUE(!a->Playing() && dup->Playing());
    a->Play();  // restarts while the duplicate goes on
    EXPECT_TRUE(a->Playing());
    // The original may go first; the duplicate keeps the shared samples alive.
    a.reset();
    EXPECT_TRUE(dup->Playing());
    auto dup2 = dup->Duplicate();
    dup.reset();
    ASSERT_TRUE(dup2);
    dup2->Play();
    EXPECT_TRUE(dup2->Playing());
    // A short sound ends by itself.
    dup2.reset();
    a = SoundBuffer::Create(device, Tone(20));
    ASSERT_TRUE(a);
    a->Play();
    for (int i = 0; i < 200 && a->Playing(); ++i) SDL_Delay(10);
    EXPECT_FALSE(a->Playing());
    a.reset();

    // More buffers than the mixer starts with channels, each on its own; freed ones are reused.
    std::vector<std::unique_ptr<SoundBuffer>> buffers;
    buffers.push_back(SoundBuffer::Create(device, Tone(30000)));  // outlasts the test on a busy machine
    ASSERT_TRUE(buffers[0]);
    for (int i = 1; i < 20; ++i) buffers.push_back(buffers[0]->Duplicate());
    for (const auto& b : buffers) b->Play();
    const int channels = Mix_AllocateChannels(-1);
    EXPECT_TRUE(Mix_Playing(-1) == 20 && channels >= 20);
    buffers.erase(buffers.begin() + 4);  // silences only its own channel
    EXPECT_EQ(Mix_Playing(-1), 19);
    buffers.clear();
    EXPECT_EQ(Mix_Playing(-1), 0);
    buffers.push_back(SoundBuffer::Create(device, Tone(100)));
    for (int i = 1; i < 20; ++i) buffers.push_back(buffers[0]->Duplicate());
    EXPECT_EQ(Mix_AllocateChannels(-1), channels);

    // Formats are converted or refused; a stray half frame is dropped.
    EXPECT_TRUE(
        SoundBuffer::Create(device, WaveData{{1, 2, 11025, 22050, 2, 8}, std::vector<uint8_t>(11025 * 2 + 1, 0x80)}));
    for (const WaveData& w : {Tone(0), Tone(10, 1000), Tone(10, 192000)}) EXPECT_TRUE(SoundBuffer::Create(device, w));
    for (WaveFormat bad : {WaveFormat{3, 1, 22050, 88200, 4, 32}, WaveFormat{1, 0, 22050, 0, 0, 16},
                           WaveFormat{1, 1, 22050, 66150, 3, 24}, WaveFormat{1, 1, 999, 1998, 2, 16},
                           WaveFormat{1, 1, 192001, 384002, 2, 16}}) {
        WaveData w = Tone(100);
        w.format = bad;
        EXPECT_FALSE(SoundBuffer::Create(device, w)) << bad.formatTag << " " << bad.samplesPerSec;
    }
}

TEST_F(SoundTest, AfterCloseEverySoundCallIsANoOpAndWithoutADriverNothingOpens) {
    auto a = SoundBuffer::Create(device, Tone(2000));
    ASSERT_TRUE(a);
    auto dup = a->Duplicate();
    a->Play();
    device.Close();
    device.Close();
    EXPECT_TRUE(!device.IsOpen() && !a->Playing());
    a->Play();
    a->Stop();
    EXPECT_TRUE(!a->Playing() && !a->Duplicate() && !SoundBuffer::Create(device, Tone(100)));
    dup.reset();

    // Buffers of the old device stay silent after it opens again, and leave new ones alone.
    ASSERT_TRUE(device.Open());
    auto fresh = SoundBuffer::Create(device, Tone(2000));
    ASSERT_TRUE(fresh);
    fresh->Play();
    a->Play();
    EXPECT_FALSE(a->Playing());
    a.reset();
    EXPECT_TRUE(fresh->Playing());
    fresh.reset();

    // Without an audio driver the device fails to open and lets go of SDL's audio.
    device.Close();
    const uint32_t audioBefore = SDL_WasInit(SDL_INIT_AUDIO);
    {
        testing_support::ScopedEnv env("SDL_AUDIODRIVER", "nonexistent-driver");
        EXPECT_TRUE(!device.Open() && !device.IsOpen());
        EXPECT_FALSE(SoundBuffer::Create(device, Tone(100)));
        device.Close();
    }
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), audioBefore);
    EXPECT_TRUE(device.Open());
}

}  // namespace
}  // namespace dw

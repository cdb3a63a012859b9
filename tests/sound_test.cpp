#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <vector>

#include "platform/sound.h"

namespace dw {
namespace {

// Silence of the given length, 16-bit mono at 22050 Hz.
WaveData Silence(int milliseconds) {
    WaveData w;
    w.format = {.formatTag = 1,
                .channels = 1,
                .samplesPerSec = 22050,
                .avgBytesPerSec = 44100,
                .blockAlign = 2,
                .bitsPerSample = 16};
    w.samples.assign(size_t(22050 * milliseconds / 1000) * 2, 0);
    return w;
}

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(device.Open()) << SDL_GetError(); }
    SoundDevice device;
};

// A buffer's mixer channel is free again once the buffer goes, for the next buffer to take.
TEST_F(SoundTest, ABufferGivesBackItsChannel) {
    std::vector<std::unique_ptr<SoundBuffer>> held;
    for (int i = 0; i < 16; ++i) held.push_back(SoundBuffer::Create(device, Silence(10)));
    const int channels = Mix_AllocateChannels(-1);
    held.clear();
    for (int i = 0; i < 16; ++i) held.push_back(SoundBuffer::Create(device, Silence(10)));
    EXPECT_EQ(Mix_AllocateChannels(-1), channels);
}

// Plain PCM of 8 or 16 bits in one or two channels makes a buffer; no other sound does.
TEST_F(SoundTest, OnlyPlainPcmMakesABuffer) {
    for (const auto& [channels, bits, made] :
         {std::tuple{1, 8, true}, std::tuple{2, 16, true}, std::tuple{1, 24, false}, std::tuple{3, 16, false}}) {
        WaveData w = Silence(10);
        w.format.channels = uint16_t(channels);
        w.format.bitsPerSample = uint16_t(bits);
        EXPECT_EQ(SoundBuffer::Create(device, w) != nullptr, made) << channels << " x " << bits;
    }
}

// Every call on a buffer of a closed device does nothing, even once the device opens again.
TEST_F(SoundTest, BuffersOfAClosedDeviceStaySilent) {
    auto a = SoundBuffer::Create(device, Silence(2000));
    ASSERT_TRUE(a);
    a->Play();
    device.Close();
    device.Close();
    EXPECT_FALSE(a->Playing());
    ASSERT_TRUE(device.Open());
    a->Play();
    EXPECT_FALSE(a->Playing());
}

}  // namespace
}  // namespace dw

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/music.h"
#include "platform/sound.h"

namespace dw {
namespace {

namespace fs = std::filesystem;

// A 16-bit mono tone of the given length.
WaveData Tone(int milliseconds, uint32_t rate = 22050) {
    WaveData w;
    w.format = WaveFormat{1, 1, rate, rate * 2, 2, 16};
    const size_t frames = size_t(rate) * size_t(milliseconds) / 1000;
    for (size_t i = 0; i < frames; ++i) {
        const auto v = int16_t(8000 * std::sin(double(i) * 0.1));
        w.samples.push_back(uint8_t(uint16_t(v) & 0xFF));
        w.samples.push_back(uint8_t(uint16_t(v) >> 8));
    }
    return w;
}

std::vector<uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(device.Open()) << SDL_GetError(); }
    SoundDevice device;
};

TEST_F(SoundTest, BuffersPlayStopAndDuplicatesSoundTogether) {
    auto a = SoundBuffer::Create(device, Tone(2000));
    ASSERT_TRUE(a);
    EXPECT_FALSE(a->Playing());
    a->Play();
    EXPECT_TRUE(a->Playing());

    auto dup = a->Duplicate();
    ASSERT_TRUE(dup);
    EXPECT_FALSE(dup->Playing());
    dup->Play();
    EXPECT_TRUE(a->Playing());
    EXPECT_TRUE(dup->Playing());

    a->Stop();
    EXPECT_FALSE(a->Playing());
    EXPECT_TRUE(dup->Playing());
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
    auto blip = SoundBuffer::Create(device, Tone(20));
    ASSERT_TRUE(blip);
    blip->Play();
    for (int i = 0; i < 200 && blip->Playing(); ++i) SDL_Delay(10);
    EXPECT_FALSE(blip->Playing());
}

TEST_F(SoundTest, EveryBufferHasItsOwnChannelAndFreedChannelsAreReused) {
    const WaveData tone = Tone(2000);
    std::vector<std::unique_ptr<SoundBuffer>> buffers;
    for (int i = 0; i < 20; ++i) {
        buffers.push_back(i % 2 ? buffers.back()->Duplicate() : SoundBuffer::Create(device, tone));
        ASSERT_TRUE(buffers.back());
        buffers.back()->Play();
    }
    for (auto& b : buffers) EXPECT_TRUE(b->Playing());
    EXPECT_EQ(Mix_Playing(-1), 20);
    const int channels = Mix_AllocateChannels(-1);
    EXPECT_GE(channels, 20);

    // Destroying a buffer silences only its own channel.
    buffers.erase(buffers.begin() + 4);
    EXPECT_EQ(Mix_Playing(-1), 19);

    buffers.clear();
    EXPECT_EQ(Mix_Playing(-1), 0);
    for (int i = 0; i < 20; ++i) buffers.push_back(SoundBuffer::Create(device, tone));
    EXPECT_EQ(Mix_AllocateChannels(-1), channels);
}

TEST_F(SoundTest, FormatsAreConvertedOrRefused) {
    WaveData stereo8;
    stereo8.format = WaveFormat{1, 2, 11025, 22050, 2, 8};
    stereo8.samples.assign(11025 * 2 + 1, 0x80);  // a stray half frame is dropped
    EXPECT_TRUE(SoundBuffer::Create(device, stereo8));

    WaveData empty = Tone(0);
    EXPECT_TRUE(SoundBuffer::Create(device, empty));

    for (WaveFormat bad : {WaveFormat{3, 1, 22050, 88200, 4, 32}, WaveFormat{1, 0, 22050, 0, 0, 16},
                           WaveFormat{1, 1, 22050, 66150, 3, 24}, WaveFormat{1, 1, 0, 0, 2, 16}}) {
        WaveData w = Tone(100);
        w.format = bad;
        EXPECT_FALSE(SoundBuffer::Create(device, w)) << bad.formatTag << " " << bad.bitsPerSample;
    }
}

TEST_F(SoundTest, AfterCloseEverySoundCallIsANoOp) {
    auto a = SoundBuffer::Create(device, Tone(2000));
    ASSERT_TRUE(a);
    auto dup = a->Duplicate();
    a->Play();
    device.Close();
    device.Close();
    EXPECT_FALSE(device.IsOpen());

    EXPECT_FALSE(a->Playing());
    a->Play();
    a->Stop();
    EXPECT_FALSE(a->Playing());
    EXPECT_FALSE(a->Duplicate());
    EXPECT_FALSE(SoundBuffer::Create(device, Tone(100)));
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
}

TEST(SoundDeviceTest, OpenFailsCleanlyWithoutAnAudioDriver) {
    const char* old = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = old ? old : "";
    const uint32_t audioBefore = SDL_WasInit(SDL_INIT_AUDIO);
    setenv("SDL_AUDIODRIVER", "nonexistent-driver", 1);
    SoundDevice device;
    EXPECT_FALSE(device.Open());
    EXPECT_FALSE(device.IsOpen());
    EXPECT_FALSE(SoundBuffer::Create(device, Tone(100)));
    EXPECT_FALSE(Music::Load(device, std::string(DW_GAME_DATA_DIR) + "/Start.mid"));
    device.Close();
    if (old)
        setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), audioBefore);
    EXPECT_TRUE(device.Open());
}

TEST_F(SoundTest, MusicRefusesMissingAndMalformedFiles) {
    const std::vector<uint8_t> good = ReadAll(std::string(DW_GAME_DATA_DIR) + "/Start.mid");
    ASSERT_GT(good.size(), 22u);
    EXPECT_TRUE(IsMidiFile(good));

    std::vector<uint8_t> truncated(good.begin(), good.end() - 1);
    std::vector<uint8_t> noTracks(good.begin(), good.begin() + 14);
    std::vector<uint8_t> badMagic = good;
    badMagic[0] = 'X';
    std::vector<uint8_t> hugeTrack = good;
    hugeTrack[18] = 0x7F;  // first track length far past the end
    std::vector<uint8_t> garbage(300);
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = uint8_t(i * 37 + 11);
    for (const auto& bytes : {truncated, noTracks, badMagic, hugeTrack, garbage})
        EXPECT_FALSE(IsMidiFile(bytes));

    const fs::path dir = fs::temp_directory_path() / ("dw_music_" + std::to_string(getpid()));
    fs::create_directories(dir);
    WriteAll(dir / "garbage.mid", garbage);
    WriteAll(dir / "empty.mid", {});
    EXPECT_FALSE(Music::Load(device, (dir / "garbage.mid").string()));
    EXPECT_FALSE(Music::Load(device, (dir / "empty.mid").string()));
    EXPECT_FALSE(Music::Load(device, (dir / "missing.mid").string()));
    EXPECT_FALSE(Music::Load(device, dir.string()));  // a directory
    fs::remove_all(dir);
}

}  // namespace
}  // namespace dw

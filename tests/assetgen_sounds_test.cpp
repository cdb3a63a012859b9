// The generated sound effects and music: well-formed files the game and SDL_mixer accept.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t Le(const std::vector<uint8_t>& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + size_t(i)];
    return v;
}

uint32_t Be(const std::vector<uint8_t>& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v = (v << 8) | b[at + size_t(i)];
    return v;
}

bool Tag(const std::vector<uint8_t>& b, size_t at, const char* tag) {
    return at + 4 <= b.size() && std::string(b.begin() + long(at), b.begin() + long(at) + 4) == tag;
}

const char* const kWaves[] = {"ATTACK1", "ATTACK2", "ATTACK3", "ATTACK4", "ATTACK5", "HITTED1", "HITTED2", "HITTED3",
                              "HITTED4", "BEAM",    "ACID",    "S_BEGIN", "S_SELECT", "S_BEAT", "S_START", "S_FINISH"};
const char* const kTunes[] = {"Start.mid", "Select.mid", "Fighting1.mid", "Fighting2.mid", "Fighting3.mid",
                              "Ending.mid"};

TEST(GeneratedSounds, EveryWaveIsShortAudibleMonoPcmWithoutClicks) {
    size_t total = 0;
    for (const std::string name : kWaves) {
        SCOPED_TRACE(name);
        const std::vector<uint8_t> b = ReadAll(fs::path(DW_ASSET_DIR) / (name + ".wav"));
        total += b.size();
        ASSERT_TRUE(Tag(b, 0, "RIFF") && Tag(b, 8, "WAVE"));
        ASSERT_EQ(Le(b, 4, 4) + 8, b.size());
        bool sawFormat = false;
        std::vector<int16_t> samples;
        for (size_t at = 12; at < b.size();) {
            ASSERT_LE(at + 8, b.size());
            const uint32_t size = Le(b, at + 4, 4);
            ASSERT_LE(size, b.size() - at - 8);
            if (Tag(b, at, "fmt ")) {
                ASSERT_GE(size, 16u);
                EXPECT_EQ(Le(b, at + 8, 2), 1u);        // PCM
                EXPECT_EQ(Le(b, at + 10, 2), 1u);       // mono
                EXPECT_EQ(Le(b, at + 12, 4), 22050u);   // rate
                EXPECT_EQ(Le(b, at + 16, 4), 44100u);   // bytes a second
                EXPECT_EQ(Le(b, at + 20, 2), 2u);       // block align
                EXPECT_EQ(Le(b, at + 22, 2), 16u);      // bits
                sawFormat = true;
            } else if (Tag(b, at, "data")) {
                ASSERT_TRUE(sawFormat) << "data before fmt";
                ASSERT_GT(size, 0u);
                ASSERT_EQ(size % 2, 0u);
                for (size_t i = 0; i < size; i += 2) samples.push_back(int16_t(Le(b, at + 8 + i, 2)));
            }
            at += 8 + size + (size & 1);
        }
        ASSERT_FALSE(samples.empty());

        const double seconds = double(samples.size()) / 22050;
        EXPECT_LT(seconds, name.starts_with("ATTACK") ? 0.6 : name.starts_with("HITTED") ? 0.5 : 1.3);
        int peak = 0;
        for (int16_t s : samples) peak = std::max(peak, std::abs(int(s)));
        EXPECT_GT(peak, 32767 * 0.6);  // about -3 dBFS: loud but never clipping
        EXPECT_LT(peak, 32767 * 0.75);
        EXPECT_LT(std::abs(int(samples.front())), 200);  // faded in and out
        EXPECT_LT(std::abs(int(samples.back())), 200);
    }
    EXPECT_LT(total, 1u << 20);
}

// Reads a variable-length quantity; false when it runs past the end.
bool ReadVlq(const std::vector<uint8_t>& b, size_t& at, size_t end, uint32_t& v) {
    v = 0;
    for (int i = 0; i < 4 && at < end; ++i) {
        const uint8_t c = b[at++];
        v = (v << 7) | (c & 0x7Fu);
        if (!(c & 0x80)) return true;
    }
    return false;
}

TEST(GeneratedMusic, EveryTuneIsWellFormedAndLoopsOnABarLine) {
    for (const std::string name : kTunes) {
        SCOPED_TRACE(name);
        const std::vector<uint8_t> b = ReadAll(fs::path(DW_GAME_DATA_DIR) / name);
        EXPECT_LT(b.size(), 16u * 1024);
        ASSERT_GE(b.size(), 14u);
        ASSERT_TRUE(Tag(b, 0, "MThd"));
        ASSERT_EQ(Be(b, 4, 4), 6u);
        EXPECT_EQ(Be(b, 8, 2), 1u);  // format 1
        const uint32_t trackCount = Be(b, 10, 2);
        EXPECT_EQ(Be(b, 12, 2), 480u);

        uint32_t tracks = 0, loopEnd = 0;
        bool tempo = false;
        std::set<int> channels;
        size_t at = 14;
        while (at < b.size()) {
            ASSERT_LE(at + 8, b.size());
            ASSERT_TRUE(Tag(b, at, "MTrk"));
            const size_t end = at + 8 + Be(b, at + 4, 4);
            ASSERT_LE(end, b.size());
            ++tracks;
            uint32_t tick = 0, delta = 0;
            int sounding = 0;  // notes on minus notes off
            bool ended = false;
            for (at += 8; at < end;) {
                ASSERT_FALSE(ended) << "events after end-of-track";
                ASSERT_TRUE(ReadVlq(b, at, end, delta));
                tick += delta;
                ASSERT_LT(at, end);
                const uint8_t status = b[at++];
                if (status == 0xFF) {
                    ASSERT_LT(at, end);
                    const uint8_t type = b[at++];
                    uint32_t length = 0;
                    ASSERT_TRUE(ReadVlq(b, at, end, length));
                    ASSERT_LE(length, end - at);
                    tempo |= type == 0x51 && length == 3;
                    ended = type == 0x2F && length == 0;
                    at += length;
                    continue;
                }
                ASSERT_GE(status, 0x80) << "running status is not written";
                ASSERT_LT(status, 0xF0);
                const int kind = status >> 4, dataBytes = kind == 0xC || kind == 0xD ? 1 : 2;
                ASSERT_LE(at + size_t(dataBytes), end);
                if (kind == 0x9 && b[at + 1] > 0) ++sounding, channels.insert(status & 0xF);
                if (kind == 0x8 || (kind == 0x9 && b[at + 1] == 0)) --sounding;
                at += size_t(dataBytes);
            }
            EXPECT_TRUE(ended) << "track " << tracks << " lacks end-of-track";
            EXPECT_EQ(sounding, 0) << "track " << tracks << " leaves notes hanging";
            EXPECT_EQ(tick % (4 * 480), 0u) << "track " << tracks << " ends off a bar line";
            if (tracks == 1) loopEnd = tick;
            EXPECT_EQ(tick, loopEnd) << "tracks of different lengths";
        }
        EXPECT_EQ(at, b.size());
        EXPECT_EQ(tracks, trackCount);
        EXPECT_TRUE(tempo);
        EXPECT_GE(loopEnd, 8u * 4 * 480);
        EXPECT_TRUE(channels.count(9)) << "no drums";
        EXPECT_GE(channels.size(), 3u) << "needs melody, bass and drums";
    }
}

TEST(GeneratedMusic, SdlMixerLoadsEveryTune) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) GTEST_SKIP() << SDL_GetError();
    Mix_SetSoundFonts("/usr/share/sounds/sf2/TimGM6mb.sf2");
    Mix_Init(MIX_INIT_MID);
    if (Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 1024) != 0) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        GTEST_SKIP() << "no audio device";
    }
    for (const std::string name : kTunes) {
        Mix_Music* music = Mix_LoadMUS((fs::path(DW_GAME_DATA_DIR) / name).c_str());
        EXPECT_NE(music, nullptr) << name << ": " << Mix_GetError();
        if (music) {
            EXPECT_EQ(Mix_GetMusicType(music), MUS_MID) << name;
            Mix_FreeMusic(music);
        }
    }
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace

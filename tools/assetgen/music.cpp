// The game's music: short looping tunes written as format-1 Standard MIDI Files.
//
// Pitched parts are written as text, one token a note: "C#5:4" is C-sharp in octave 5 held
// for four sixteenths, "C4+E4+G4:16" a chord held a bar, "r:2" an eighth rest and "|" a bar
// line, where the bar is checked to add up to 16 sixteenths. In a template, "*" stands for
// the bar's chord. Drum lanes are one character per sixteenth: 'X' loud, 'x' normal, 'o'
// soft, '.' nothing.
#include <algorithm>
#include <cstdint>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "assetgen.h"

namespace assetgen {
namespace {

constexpr int kTicksPerQuarter = 480;
constexpr int kSixteenth = kTicksPerQuarter / 4;
constexpr int kBar = 16;  // sixteenths in a 4/4 bar
constexpr uint8_t kDrumChannel = 9;

struct Part {
    uint8_t program;  // General MIDI, 0-based
    uint8_t velocity;
    uint8_t volume;   // controller 7
    uint8_t pan;      // controller 10, 64 = centre
    int gatePercent;  // how much of each note's length it sounds
    std::string notes;
};

struct DrumLane {
    uint8_t key;
    std::string hits;  // repeated to the end of the tune
};

struct Song {
    const char* file;
    int bpm;
    int bars;
    std::vector<Part> parts;
    std::vector<DrumLane> drums;
};

std::string Repeat(std::string_view s, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += s;
    return out;
}

// Writes the template once per chord, each "*" replaced by that chord, bars separated by "|".
std::string Fill(std::string_view pattern, std::initializer_list<std::string_view> chords) {
    std::string out;
    for (std::string_view chord : chords) {
        for (char c : pattern) c == '*' ? out += chord : out += c;
        out += " | ";
    }
    return out;
}

int ParsePitch(std::string_view s) {
    static constexpr int kSemitone[] = {9, 11, 0, 2, 4, 5, 7};  // A..G
    if (s.size() < 2 || s[0] < 'A' || s[0] > 'G') throw std::runtime_error("bad pitch " + std::string(s));
    int note = kSemitone[s[0] - 'A'];
    size_t i = 1;
    if (s[i] == '#' || s[i] == 'b') {
        note += s[i] == '#' ? 1 : -1;
        ++i;
    }
    if (i + 1 != s.size() || s[i] < '0' || s[i] > '8') throw std::runtime_error("bad pitch " + std::string(s));
    return note + 12 * (s[i] - '0' + 1);
}

struct Event {
    uint32_t tick;
    int order;  // at one tick: note-offs before anything else, so repeated notes restart
    std::vector<uint8_t> bytes;
    bool operator<(const Event& o) const { return std::tie(tick, order) < std::tie(o.tick, o.order); }
};

class Track {
public:
    void Add(uint32_t tick, std::vector<uint8_t> bytes, int order = 1) {
        events_.push_back({tick, order, std::move(bytes)});
    }
    void Note(uint8_t channel, uint32_t on, uint32_t off, int key, uint8_t velocity) {
        if (key < 0 || key > 127) throw std::runtime_error("note out of range");
        Add(on, {uint8_t(0x90 | channel), uint8_t(key), velocity});
        Add(off, {uint8_t(0x80 | channel), uint8_t(key), 0}, 0);
    }
    void Setup(uint8_t channel, uint8_t program, uint8_t volume, uint8_t pan) {
        Add(0, {uint8_t(0xC0 | channel), program});
        Add(0, {uint8_t(0xB0 | channel), 7, volume});
        Add(0, {uint8_t(0xB0 | channel), 10, pan});
        Add(0, {uint8_t(0xB0 | channel), 91, 40});  // a little reverb
    }

    // The "MTrk" chunk, ending with end-of-track exactly at `end` so the tune loops on a bar line.
    std::vector<uint8_t> Chunk(uint32_t end) {
        std::stable_sort(events_.begin(), events_.end());
        std::vector<uint8_t> body;
        uint32_t now = 0;
        auto delta = [&](uint32_t tick) {
            uint32_t d = tick - now, buffer = d & 0x7F;
            while (d >>= 7) buffer = (buffer << 8) | 0x80 | (d & 0x7F);
            for (;; buffer >>= 8) {
                body.push_back(uint8_t(buffer));
                if (!(buffer & 0x80)) break;
            }
            now = tick;
        };
        for (const Event& e : events_) {
            if (e.tick > end) throw std::runtime_error("event after the end of the tune");
            delta(e.tick);
            body.insert(body.end(), e.bytes.begin(), e.bytes.end());
        }
        delta(end);
        body.insert(body.end(), {0xFF, 0x2F, 0x00});
        std::vector<uint8_t> chunk = {'M', 'T', 'r', 'k'};
        AppendBig(chunk, uint32_t(body.size()), 4);
        chunk.insert(chunk.end(), body.begin(), body.end());
        return chunk;
    }

    static void AppendBig(std::vector<uint8_t>& out, uint32_t v, int bytes) {
        for (int i = bytes - 1; i >= 0; --i) out.push_back(uint8_t(v >> (8 * i)));
    }

private:
    std::vector<Event> events_;
};

// Reads a part's text into notes; returns the length in sixteenths.
int WritePart(Track& track, uint8_t channel, const Part& part) {
    std::string text;
    for (char c : part.notes) c == '|' ? text += " | " : text += c;
    std::istringstream in(text);
    std::string token;
    int at = 0, barStart = 0;
    while (in >> token) {
        if (token == "|") {
            if (at - barStart != kBar) throw std::runtime_error("bar of wrong length in " + part.notes);
            barStart = at;
            continue;
        }
        const size_t colon = token.find(':');
        if (colon == std::string::npos) throw std::runtime_error("bad token " + token);
        const int length = std::stoi(token.substr(colon + 1));
        if (length <= 0 || length > kBar) throw std::runtime_error("bad length " + token);
        const std::string_view pitches = std::string_view(token).substr(0, colon);
        if (pitches != "r") {
            const auto on = uint32_t(at * kSixteenth);
            const auto off = on + uint32_t(length * kSixteenth * part.gatePercent / 100);
            for (size_t from = 0; from <= pitches.size();) {
                const size_t plus = std::min(pitches.find('+', from), pitches.size());
                track.Note(channel, on, off, ParsePitch(pitches.substr(from, plus - from)), part.velocity);
                from = plus + 1;
            }
        }
        at += length;
    }
    if (at != barStart) throw std::runtime_error("part does not end on a bar line");
    return at;
}

void WriteDrums(Track& track, const std::vector<DrumLane>& lanes, int length) {
    for (const DrumLane& lane : lanes) {
        if (lane.hits.empty() || length % int(lane.hits.size()))
            throw std::runtime_error("drum lane does not fit the tune");
        for (int at = 0; at < length; ++at) {
            const char c = lane.hits[size_t(at) % lane.hits.size()];
            const uint8_t velocity = c == 'X' ? 118 : c == 'x' ? 92 : c == 'o' ? 58 : 0;
            if (c != '.' && !velocity) throw std::runtime_error("bad drum hit");
            if (velocity) {
                const auto on = uint32_t(at * kSixteenth);
                track.Note(kDrumChannel, on, on + kSixteenth / 2, lane.key, velocity);
            }
        }
    }
}

std::vector<uint8_t> Midi(const Song& song) {
    const int length = song.bars * kBar;
    const auto end = uint32_t(length * kSixteenth);
    std::vector<Track> tracks(1);
    const uint32_t tempo = 60000000u / uint32_t(song.bpm);  // microseconds a quarter note
    tracks[0].Add(0, {0xFF, 0x51, 0x03, uint8_t(tempo >> 16), uint8_t(tempo >> 8), uint8_t(tempo)});
    tracks[0].Add(0, {0xFF, 0x58, 0x04, 4, 2, 24, 8});  // 4/4
    uint8_t channel = 0;
    for (const Part& part : song.parts) {
        Track& t = tracks.emplace_back();
        t.Setup(channel, part.program, part.volume, part.pan);
        if (WritePart(t, channel, part) != length) throw std::runtime_error("part of wrong length");
        if (++channel == kDrumChannel) ++channel;
    }
    Track& drums = tracks.emplace_back();
    drums.Setup(kDrumChannel, 0, 110, 64);
    WriteDrums(drums, song.drums, length);

    std::vector<uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
    Track::AppendBig(file, uint32_t(tracks.size()), 2);
    Track::AppendBig(file, kTicksPerQuarter, 2);
    for (Track& t : tracks) {
        const std::vector<uint8_t> chunk = t.Chunk(end);
        file.insert(file.end(), chunk.begin(), chunk.end());
    }
    return file;
}

// General MIDI programs and drum keys used below.
// clang-format off
enum : uint8_t {
    kPiano = 0, kElectricPiano = 4, kVibraphone = 11, kOverdrive = 29, kDistortion = 30, kAcousticBass = 32,
    kFingerBass = 33, kPickBass = 34, kSynthBass = 38, kStrings = 48, kSynthStrings = 50, kBrass = 61,
    kSynthBrass = 62, kFlute = 73, kSquareLead = 80, kSawLead = 81, kWarmPad = 89,
};
// clang-format on
// clang-format off
enum : uint8_t {
    kKick = 36, kSideStick = 37, kSnare = 38, kClap = 39, kLowTom = 45, kClosedHat = 42, kOpenHat = 46,
    kMidTom = 47, kHighTom = 50, kCrash = 49, kRide = 51, kTambourine = 54,
};
// clang-format on

std::vector<Song> Songs() {
    const std::string crashEvery8 = "X" + std::string(8 * kBar - 1, '.');
    // clang-format off
    return {
        // Title: heroic D minor, brass over strings and driving bass.
        {"Start.mid", 128, 8,
         {{kBrass, 100, 100, 64, 92,
           "D5:6 A4:2 D5:2 E5:2 F5:4 | F5:6 D5:2 Bb4:4 D5:4 | E5:6 C5:2 G4:4 C5:2 E5:2 | C#5:4 E5:4 A5:8 |"
           "D5:6 A4:2 D5:2 E5:2 F5:4 | G5:4 F5:2 G5:2 A5:4 Bb5:4 | Bb5:6 A5:2 G5:4 D5:4 | E5:4 C#5:4 A4:4 r:4 |"},
          {kStrings, 70, 90, 40, 100,
           Fill("*:16", {"D4+F4+A4", "D4+F4+Bb4", "C4+E4+G4", "C#4+E4+A4", "D4+F4+A4", "D4+F4+Bb4",
                         "D4+G4+Bb4", "C#4+E4+A4"})},
          {kSynthBass, 100, 100, 64, 85,
           Fill("*:2 *:2 *:2 *:2 *:2 *:2 *:2 *:2", {"D2", "Bb1", "C2", "A1", "D2", "Bb1", "G1", "A1"})}},
         {{kKick, Repeat("X.....x.X.......", 7) + "X.....x.X.x.x.x."},
          {kSnare, Repeat("....X.......X...", 7) + "....X...X.xxXxXX"},
          {kClosedHat, Repeat("x.o.x.o.x.o.x.o.", 7) + "x.o.x.o........."},
          {kCrash, crashEvery8}}},

        // Robot select: light and bouncy C major, vibraphone and electric piano stabs.
        {"Select.mid", 116, 8,
         {{kVibraphone, 96, 105, 70, 90,
           "E5:2 G5:2 r:2 E5:2 C5:4 D5:2 E5:2 | r:2 C5:2 A4:2 C5:2 E5:6 r:2 | F5:2 A5:2 r:2 F5:2 C5:4 D5:2 F5:2 |"
           "G5:6 F5:2 E5:2 D5:2 B4:4 | E5:2 G5:2 r:2 E5:2 C5:4 D5:2 E5:2 | r:2 C5:2 A4:2 C5:2 E5:2 A5:4 G5:2 |"
           "F5:2 E5:2 F5:2 A5:2 C6:6 A5:2 | G5:4 D5:2 B4:2 G4:4 r:4 |"},
          {kElectricPiano, 72, 85, 50, 60,
           Fill("r:2 *:2 r:2 *:2 r:2 *:2 r:2 *:2",
                {"E4+G4+C5", "E4+A4+C5", "F4+A4+C5", "D4+G4+B4", "E4+G4+C5", "E4+A4+C5", "F4+A4+C5", "D4+G4+B4"})},
          {kFingerBass, 100, 100, 64, 85,
           "C2:3 C3:1 G2:2 C2:2 r:2 C2:2 G2:2 A2:2 | A1:3 A2:1 E2:2 A1:2 r:2 A1:2 E2:2 G2:2 |"
           "F1:3 F2:1 C2:2 F1:2 r:2 F1:2 C2:2 E2:2 | G1:3 G2:1 D2:2 G1:2 r:2 G1:2 D2:2 B1:2 |"
           "C2:3 C3:1 G2:2 C2:2 r:2 C2:2 G2:2 A2:2 | A1:3 A2:1 E2:2 A1:2 r:2 A1:2 E2:2 G2:2 |"
           "F1:3 F2:1 C2:2 F1:2 r:2 F1:2 C2:2 E2:2 | G1:3 G2:1 D2:2 G1:2 r:2 G1:2 D2:2 B1:2 |"}},
         {{kKick, "X.......X.x....."},
          {kClap, "....X.......X..."},
          {kClosedHat, "x.o.x.o.x.o.x.oo"},
          {kTambourine, "..o...o...o...o."}}},

        // Fight: driving A minor rock with a saw lead and power chords.
        {"Fighting1.mid", 150, 16,
         {{kSawLead, 100, 92, 64, 90,
           "A4:2 C5:2 E5:2 A5:4 G5:2 E5:2 C5:2 | F5:4 E5:2 C5:2 A4:4 C5:4 | D5:2 B4:2 G4:2 B4:2 D5:4 G5:4 |"
           "G#5:6 E5:2 B4:4 G#4:4 | A4:2 C5:2 E5:2 A5:4 G5:2 E5:2 C5:2 | F5:4 A5:2 C6:2 A5:4 F5:4 |"
           "G5:4 D5:2 B4:2 G5:4 B5:4 | B5:6 G#5:2 E5:4 B4:4 |"
           "D5:4 F5:4 A5:6 G5:2 | E5:4 C5:4 A4:8 | D5:2 E5:2 F5:2 G5:2 A5:4 D6:4 | B5:8 G#5:4 E5:4 |"
           "C6:4 A5:2 F5:2 C6:4 A5:4 | B5:4 G5:2 D5:2 B5:4 D6:4 | C6:6 B5:2 A5:4 F5:4 | G#5:4 B5:4 E5:6 r:2 |"},
          {kOverdrive, 84, 80, 40, 85,
           Fill("*:3 *:3 *:2 *:3 *:3 *:2",
                {"A2+E3+A3", "F2+C3+F3", "G2+D3+G3", "E2+B2+E3", "A2+E3+A3", "F2+C3+F3", "G2+D3+G3", "E2+B2+E3",
                 "D3+A3+D4", "A2+E3+A3", "D3+A3+D4", "E2+B2+E3", "F2+C3+F3", "G2+D3+G3", "F2+C3+F3", "E2+B2+E3"})},
          {kPickBass, 104, 100, 64, 80,
           Fill("*:2 *:2 *:2 *:2 *:2 *:2 *:2 *:2",
                {"A1", "F1", "G1", "E1", "A1", "F1", "G1", "E1", "D2", "A1", "D2", "E1", "F1", "G1", "F1", "E1"})}},
         {{kKick, Repeat("X.x...x.X.x...x.", 7) + "X.x...x.X.X.X.X."},
          {kSnare, Repeat("....X.......X...", 7) + "....X...XxXxXXXX"},
          {kClosedHat, Repeat("x.x.x.x.x.x.x.x.", 7) + "x.x.x.x........."},
          {kLowTom, Repeat(".", 7 * kBar) + "..............x."},
          {kCrash, crashEvery8}}},

        // Fight: syncopated E minor, square lead over synth bass and strings.
        {"Fighting2.mid", 140, 16,
         {{kSquareLead, 96, 90, 80, 88,
           "E5:3 G5:3 B5:2 A5:3 G5:3 F#5:2 | E5:3 G5:3 C6:2 B5:4 G5:4 | F#5:3 A5:3 D6:2 C6:3 A5:3 F#5:2 |"
           "B5:8 r:4 F#5:2 A5:2 | E5:3 G5:3 B5:2 A5:3 G5:3 F#5:2 | G5:3 E5:3 C5:2 E5:4 G5:4 |"
           "A5:3 F#5:3 D5:2 F#5:3 A5:3 D6:2 | B5:6 A5:2 F#5:4 D#5:4 |"
           "E6:4 D6:2 C6:2 G5:4 E5:4 | F#6:4 E6:2 D6:2 A5:4 F#5:4 | G5:2 A5:2 B5:4 E6:6 D6:2 | B5:8 G5:4 E5:4 |"
           "E5:2 G5:2 C6:4 E6:4 C6:4 | D6:4 A5:2 F#5:2 D6:4 F#6:4 | D#6:6 B5:2 F#5:4 A5:4 |"
           "B5:4 A5:2 F#5:2 D#5:6 r:2 |"},
          {kSynthStrings, 66, 80, 45, 100,
           Fill("*:16", {"E4+G4+B4", "E4+G4+C5", "D4+F#4+A4", "D4+F#4+B4", "E4+G4+B4", "E4+G4+C5", "D4+F#4+A4",
                         "D#4+F#4+B4", "E4+G4+C5", "D4+F#4+A4", "E4+G4+B4", "E4+G4+B4", "E4+G4+C5", "D4+F#4+A4",
                         "D#4+F#4+B4", "D#4+F#4+B4"})},
          {kSynthBass, 104, 100, 64, 80,
           Fill("*:3 *:3 *:2 *:3 *:3 *:2",
                {"E2", "C2", "D2", "B1", "E2", "C2", "D2", "B1", "C2", "D2", "E2", "E2", "C2", "D2", "B1", "B1"})}},
         {{kKick, "X..X..X...X..X.."},
          {kSnare, Repeat("....X.......X...", 7) + "....X.......XxXX"},
          {kClosedHat, "xoxoxoxoxoxoxoxo"},
          {kOpenHat, "..............x."},
          {kCrash, crashEvery8}}},

        // Fight in a pinch: fast and chromatic C minor, distorted lead and brass stabs.
        {"Fighting3.mid", 172, 16,
         {{kDistortion, 100, 88, 64, 88,
           "C5:2 Eb5:2 G5:2 C5:2 Eb5:2 G5:2 Ab5:2 G5:2 | Db5:2 F5:2 Ab5:2 Db5:2 F5:2 Ab5:2 Bb5:2 Ab5:2 |"
           "C5:2 Eb5:2 G5:2 C5:2 Eb5:2 G5:2 Ab5:2 G5:2 | B4:2 D5:2 F5:2 B4:2 D5:2 F5:2 Ab5:2 F5:2 |"
           "G5:4 Eb5:2 C5:2 G5:4 C6:4 | Ab5:4 F5:2 Db5:2 Ab5:4 Db6:4 | C6:4 Bb5:2 Ab5:2 Eb5:4 C5:4 |"
           "B5:4 D6:4 G5:4 F5:2 D5:2 |"
           "F5:2 Ab5:2 C6:4 Bb5:2 Ab5:2 G5:4 | B4:2 D5:2 G5:4 F5:2 D5:2 B4:4 | C5:2 Eb5:2 G5:2 C6:2 Eb6:4 D6:4 |"
           "C6:4 Ab5:2 Eb5:2 C6:4 Eb6:4 | F6:4 Eb6:2 C6:2 Ab5:4 F5:4 | G5:4 B5:2 D6:2 F6:4 D6:4 |"
           "Eb6:4 C6:2 Ab5:2 Eb5:4 C6:4 | B5:2 G5:2 D5:2 B4:2 G4:4 r:4 |"},
          {kSynthBrass, 90, 82, 40, 70,
           Fill("*:2 r:4 *:2 r:4 *:2 r:2",
                {"C4+Eb4+G4", "Db4+F4+Ab4", "C4+Eb4+G4", "B3+D4+F4", "C4+Eb4+G4", "Db4+F4+Ab4", "C4+Eb4+Ab4",
                 "B3+D4+G4", "C4+F4+Ab4", "B3+D4+G4", "C4+Eb4+G4", "C4+Eb4+Ab4", "C4+F4+Ab4", "B3+D4+G4",
                 "C4+Eb4+Ab4", "B3+D4+G4"})},
          {kSynthBass, 108, 100, 64, 75,
           Fill("*:2 *:2 *:2 *:2 *:2 *:2 *:2 *:2",
                {"C2", "Db2", "C2", "B1", "C2", "Db2", "Ab1", "G1", "F1", "G1", "C2", "Ab1", "F1", "G1", "Ab1", "G1"})}},
         {{kKick, "X.x.X.x.X.x.X.x."},
          {kSnare, Repeat("....X.......X...", 7) + "....X.X.XXXXXXXX"},
          {kClosedHat, "XxxxXxxxXxxxXxxx"},
          {kHighTom, Repeat(".", 7 * kBar) + "........x.x....."},
          {kMidTom, Repeat(".", 7 * kBar) + "............x.x."},
          {kCrash, "X" + std::string(4 * kBar - 1, '.')}}},

        // Ending: calm and warm F major, flute over a pad, soft brushes.
        {"Ending.mid", 80, 8,
         {{kFlute, 100, 110, 70, 96,
           "A5:6 G5:2 F5:4 C5:4 | G5:6 E5:2 C5:8 | D5:4 F5:4 A5:6 G5:2 | F5:8 D5:4 r:4 |"
           "A5:6 Bb5:2 C6:4 A5:4 | G5:6 E5:2 C5:4 E5:4 | D5:4 F5:4 Bb5:4 A5:2 G5:2 | G5:12 r:4 |"},
          {kWarmPad, 80, 90, 50, 100,
           Fill("*:16", {"F3+A3+C4", "E3+G3+C4", "D3+F3+A3", "D3+F3+Bb3", "F3+A3+C4", "E3+G3+C4", "D3+F3+Bb3",
                         "E3+G3+Bb3+C4"})},
          {kPiano, 76, 90, 84, 90,
           Fill("r:4 *:4 r:4 *:4", {"A3+C4", "G3+C4", "F3+A3", "F3+Bb3", "A3+C4", "G3+C4", "F3+Bb3", "G3+Bb3"})},
          {kAcousticBass, 104, 110, 64, 92,
           "F2:8 C3:8 | E2:8 G2:8 | D2:8 A2:8 | Bb1:8 F2:8 | F2:8 C3:8 | C2:8 G2:8 | Bb1:8 F2:8 | C2:8 E2:8 |"}},
         {{kKick, "o.......o......."}, {kSideStick, "....o.......o..."}, {kRide, "o...o...o.o.o..."}}},
    };
    // clang-format on
}

}  // namespace

void MakeMusic(const fs::path& gameDir) {
    for (const Song& song : Songs()) WriteFile(gameDir / song.file, Midi(song));
}

}  // namespace assetgen

// assetgen RESOURCE_DIR GAME_DIR: makes the built-in resources (pictures and WAVE
// sounds) in RESOURCE_DIR and the robot view sheets and MIDI music in GAME_DIR.
#include <cstdio>
#include <exception>

#include "assetgen.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: assetgen RESOURCE_DIR GAME_DIR\n");
        return 2;
    }
    try {
        assetgen::MakePictures(argv[1], argv[2]);
        assetgen::MakeSounds(argv[1]);
        assetgen::MakeMusic(argv[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
}

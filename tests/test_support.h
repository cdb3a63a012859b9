// Shared helpers of the tests: temporary game directories, environment, picture dumps.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/geometry.h"
#include "platform/surface.h"

namespace testing_support {

// A fresh temporary directory, removed with everything in it at the end of the scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    std::string Str() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

// Fills dir with what the game reads from its working directory: the music files and
// the robot view sheets (linked from the build's game directory).
void PrepareGameDir(const std::filesystem::path& dir);

// Sets an environment variable for the scope and restores the old value.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::string old_;
    bool had_;
};

// Writes an 8-bit surface with a palette as a .bmp, for looking at a screen by eye.
void DumpBmp(const dw::Surface& surface, const dw::ColorTable& palette, const std::string& path);

// Counts the pixels of rect equal to index.
int CountIndex(const dw::Surface& surface, const dw::Rect& rect, uint8_t index);

}  // namespace testing_support

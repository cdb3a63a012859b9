#include "shell/little_endian.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

bool ReadSmallFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& out) {
    out.clear();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    out.resize(maxBytes);
    const size_t n = std::fread(out.data(), 1, maxBytes, f);
    std::fclose(f);
    out.resize(n);
    return true;
}

bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes) {
    const std::string temp = path + ".tmp";
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return false;
    const size_t n = std::fwrite(bytes.data(), 1, bytes.size(), f);
    const bool flushed = std::fflush(f) == 0;
    const bool closed = std::fclose(f) == 0;
    std::error_code ec;
    if (n != bytes.size() || !flushed || !closed) {
        std::filesystem::remove(temp, ec);
        return false;
    }
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        return false;
    }
    return true;
}

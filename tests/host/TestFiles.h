// Scratch folders, whole-file reads and small image files for the host tests.
#pragma once
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kvtest {

// An empty folder group/name under the tests' scratch folder.
inline std::filesystem::path FreshDir(const std::string& group, const std::string& name) {
    const std::filesystem::path d = std::filesystem::path(KALVETRA_TEST_TMP) / group / name;
    std::filesystem::remove_all(d);
    std::filesystem::create_directories(d);
    return d;
}

inline std::string Slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A 24-bit bottom-up Windows bitmap of 0x00RRGGBB pixels, top row first.
inline std::string Bmp24(int w, int h, const std::vector<uint32_t>& rgb) {
    const int rowBytes = (w * 3 + 3) & ~3;
    std::string out(54 + size_t(rowBytes) * h, '\0');
    auto le = [&](size_t at, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) out[at + i] = char(v >> (8 * i));
    };
    out[0] = 'B', out[1] = 'M';
    le(2, uint32_t(out.size()), 4), le(10, 54, 4), le(14, 40, 4), le(18, uint32_t(w), 4), le(22, uint32_t(h), 4);
    le(26, 1, 2), le(28, 24, 2);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) le(54 + size_t(h - 1 - y) * rowBytes + x * 3, rgb[size_t(y) * w + x], 3);
    return out;
}

}  // namespace kvtest

// Start-up benchmark: from creating the installer's process to its window shown with nothing
// left to paint, for the installer as shipped and for the same build with its skin switched
// off, run alternately in the same session (median of several starts each). Each window is
// closed again before the next start.
// Usage: startup_bench <Kalvetra_setup.exe> <Kalvetra_setup_unskinned.exe>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/bench_framework/BenchTiming.h"
#include "tests/e2e/InstallerProcess.h"
#include "tests/e2e/TextUtil.h"

namespace {

constexpr int kStartsEach = 7;
constexpr DWORD kWindowTimeoutMs = 20000;

struct TStart {
    double Ms = 0;
    double ShownMs = 0;
    bool Skinned = false;  // the window's outline was cut to the skin's corners
};

bool HasRegion(HWND window) {
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    const bool has = GetWindowRgn(window, rgn) != ERROR;
    DeleteObject(rgn);
    return has;
}

bool StartOnce(const std::wstring& exe, TStart& result) {
    InstallerProcess process;
    if (!process.start(exe)) return false;
    HWND window = process.wait_painted_window(kWindowTimeoutMs);
    if (!window) return false;
    result.Ms = process.ms_to_painted();
    result.ShownMs = process.ms_to_window();
    result.Skinned = HasRegion(window);
    process.close();
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_bench <skinned installer> <unskinned installer>\n");
        return 2;
    }
    const std::wstring skinnedExe = to_windows_path(argv[1]), plainExe = to_windows_path(argv[2]);
    std::vector<double> skinned, plain, skinnedShown, plainShown;
    for (int i = 0; i < kStartsEach; ++i) {
        TStart s, p;
        if (!StartOnce(skinnedExe, s) || !StartOnce(plainExe, p)) {
            std::fprintf(stderr, "FAIL: an installer window did not appear\n");
            return 1;
        }
        if (!s.Skinned || p.Skinned) {
            std::fprintf(stderr, "FAIL: the skinned start was not skinned, or the plain one was\n");
            return 1;
        }
        skinned.push_back(s.Ms);
        plain.push_back(p.Ms);
        skinnedShown.push_back(s.ShownMs);
        plainShown.push_back(p.ShownMs);
    }
    const double ms = kvbench::Median(skinned), baseline = kvbench::Median(plain);
    std::printf("process start to window shown / fully painted, median of %d starts each:\n", kStartsEach);
    std::printf("  unskinned  %8.1f ms  %8.1f ms\n", kvbench::Median(plainShown), baseline);
    std::printf("  skinned    %8.1f ms  %8.1f ms\n", kvbench::Median(skinnedShown), ms);
    std::printf("  ratio (painted)      %8.2fx (goal <= 1.25x, < 200 ms)\n", baseline > 0 ? ms / baseline : 0.0);
    return 0;
}

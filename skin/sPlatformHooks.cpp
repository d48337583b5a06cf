#include "skin/sPlatformHooks.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "render/sGradient.h"
#include "render/sSysColors.h"
#include "skin/acCodePage.h"
#include "toolkit/PathNames.h"

namespace sk {

namespace {

rd::TColor SchemeColor(int index) { return static_cast<rd::TColor>(GetSysColor(index)); }

std::wstring AnsiToWideCp(std::string_view text) {
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(std::max(n, 0)), L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

std::optional<std::string> WideToAnsiCp(std::wstring_view text) {
    if (text.empty()) return std::string();
    BOOL lossy = FALSE;
    const int length = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, &lossy);
    if (n <= 0 || lossy) return std::nullopt;
    std::string ansi(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), length, ansi.data(), n, nullptr, &lossy);
    if (lossy) return std::nullopt;
    return ansi;
}

using GradientFillFn = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);
GradientFillFn gGradientFill = nullptr;

// msimg32 from the system folder only: a copy beside the (elevated) program is never loaded.
GradientFillFn LookUpGradientFill() {
    HMODULE module = LoadLibraryW(tk::SystemProgramPath(L"msimg32.dll").c_str());
    if (!module) return nullptr;
    return reinterpret_cast<GradientFillFn>(reinterpret_cast<void*>(GetProcAddress(module, "GradientFill")));
}

// One GradientFill into a top-down DIB section the size of the target, prefilled with
// `background`; the pixels come back in `out`. False when GDI cannot do it.
bool FillThroughDib(int width, int height, const std::vector<TRIVERTEX>& v, const std::vector<GRADIENT_TRIANGLE>& t,
                    uint32_t background, std::vector<uint32_t>& out) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP dib = dc ? CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    bool painted = false;
    if (dib) {
        auto* pixels = static_cast<uint32_t*>(bits);
        const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
        std::fill(pixels, pixels + count, background);
        HGDIOBJ old = SelectObject(dc, dib);
        painted = gGradientFill(dc, const_cast<TRIVERTEX*>(v.data()), static_cast<ULONG>(v.size()),
                                const_cast<GRADIENT_TRIANGLE*>(t.data()), static_cast<ULONG>(t.size()),
                                GRADIENT_FILL_TRIANGLE) != FALSE;
        GdiFlush();
        out.assign(pixels, pixels + count);
        SelectObject(dc, old);
        DeleteObject(dib);
    }
    if (dc) DeleteDC(dc);
    return painted;
}

// GradientFill paints into a DC, so the triangles are filled twice over two different
// backgrounds: a pixel the fill painted comes out the same both times, one it left alone does
// not. Painted pixels are copied to the target with alpha 255.
bool GdiTriangleFill(rd::TBitmap32* target, const rd::TTriVertex* vertices, int vertexCount,
                     const rd::TTriangle* triangles, int triangleCount) {
    uint8_t* row0;
    ptrdiff_t stride;
    if (!rd::GetScanGeometry(target, row0, stride)) return true;
    std::vector<TRIVERTEX> v(static_cast<size_t>(std::max(vertexCount, 0)));
    for (size_t i = 0; i < v.size(); ++i)
        v[i] = {vertices[i].X, vertices[i].Y, vertices[i].Red, vertices[i].Green, vertices[i].Blue, vertices[i].Alpha};
    std::vector<GRADIENT_TRIANGLE> t;
    for (int i = 0; i < triangleCount; ++i) {
        const rd::TTriangle& tri = triangles[i];
        if (std::min({tri.A, tri.B, tri.C}) < 0 || std::max({tri.A, tri.B, tri.C}) >= vertexCount) continue;
        t.push_back({static_cast<ULONG>(tri.A), static_cast<ULONG>(tri.B), static_cast<ULONG>(tri.C)});
    }
    if (t.empty()) return true;
    std::vector<uint32_t> overBlack, overWhite;
    if (!FillThroughDib(target->Width, target->Height, v, t, 0x00000000u, overBlack) ||
        !FillThroughDib(target->Width, target->Height, v, t, 0x00FFFFFFu, overWhite))
        return false;
    for (int y = 0; y < target->Height; ++y) {
        const size_t at = static_cast<size_t>(y) * static_cast<size_t>(target->Width);
        uint32_t* to = target->Row(y);
        for (int x = 0; x < target->Width; ++x) {
            const uint32_t a = overBlack[at + static_cast<size_t>(x)] & 0x00FFFFFFu;
            if (a == (overWhite[at + static_cast<size_t>(x)] & 0x00FFFFFFu)) to[x] = a | 0xFF000000u;
        }
    }
    return true;
}

}  // namespace

void InstallPlatformHooks() {
    rd::SetSysColorFunc(SchemeColor);
    SetAnsiCodePage(AnsiToWideCp, WideToAnsiCp);
    gGradientFill = LookUpGradientFill();
    if (gGradientFill) rd::SetTriangleFillFunc(GdiTriangleFill);
}

}  // namespace sk

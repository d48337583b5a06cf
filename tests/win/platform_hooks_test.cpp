// The engine's platform services once a skin manager exists: the current colour scheme, the
// system code page and GDI's triangle fill reach the portable core.
#include <gtest/gtest.h>

#include <windows.h>

#include "render/sGradient.h"
#include "render/sSysColors.h"
#include "skin/acCodePage.h"
#include "skinframework/sSkinManager.h"

namespace {

void StartEngine() { sk::TsSkinManager manager(nullptr); }

// Sets one system colour for the test and puts the old one back.
class SchemeColor {
public:
    SchemeColor(int index, COLORREF color) : FIndex(index), FOld(GetSysColor(index)) {
        SetSysColors(1, &FIndex, &color);
    }
    ~SchemeColor() { SetSysColors(1, &FIndex, &FOld); }

private:
    INT FIndex;
    COLORREF FOld;
};

}  // namespace

TEST(PlatformHooks, AChangedSystemColourIsWhatTheCoreResolves) {
    StartEngine();
    for (COLORREF probe : {RGB(12, 34, 56), RGB(200, 1, 99)}) {
        SchemeColor scheme(COLOR_HIGHLIGHT, probe);
        ASSERT_EQ(GetSysColor(COLOR_HIGHLIGHT), probe) << "the prefix keeps the changed colour";
        EXPECT_EQ(static_cast<COLORREF>(rd::ColorToRGB(rd::clHighlight)), probe);
    }
    EXPECT_EQ(static_cast<COLORREF>(rd::ColorToRGB(rd::clBtnFace)), GetSysColor(COLOR_BTNFACE));
}

TEST(PlatformHooks, SingleByteTextDecodesThroughTheSystemCodePage) {
    StartEngine();
    for (int b = 0x80; b <= 0xFF; ++b) {
        const char byte = static_cast<char>(b);
        wchar_t expected = 0;
        ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, &byte, 1, &expected, 1), 1);
        EXPECT_EQ(sk::AnsiToWide(std::string_view(&byte, 1)), std::wstring(1, expected)) << "byte " << b;
    }
    // A name with a character the code page has no byte for cannot be encoded.
    EXPECT_FALSE(sk::WideToAnsi(L"\x4E2D\x6587").has_value());
    EXPECT_EQ(sk::WideToAnsi(L"Skin 1").value_or("?"), "Skin 1");
}

TEST(PlatformHooks, TriangleGradientsFillTheirRectangleOnly) {
    StartEngine();
    const rd::TRect rect{5, 4, 15, 12};
    rd::TMemBitmap32 bitmap(30, 20);
    constexpr uint32_t kBackground = 0x00123456;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x) rd::WritePixel32(bitmap, x, y, kBackground);
    const sk::TsGradArray pieces = {{0x000000FF, 0, 0, 2, 0}, {0x0000FF00, 0, 0, 2, 0},
                                    {0x00FF0000, 0, 0, 2, 0}, {0x00FFFFFF, 0, 0, 2, 0}, {0x00000000, 0, 0, 2, 0}};
    rd::FillGradient(&bitmap, rect, pieces);
    int outside = 0, unpainted = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x) {
            const bool inside = x >= rect.Left && x < rect.Right && y >= rect.Top && y < rect.Bottom;
            const uint32_t p = rd::ReadPixel32(bitmap, x, y);
            if (!inside && p != kBackground) ++outside;
            if (inside && (p >> 24) != 0xFF) ++unpainted;
        }
    EXPECT_EQ(outside, 0);
    EXPECT_EQ(unpainted, 0);
    // The middle vertex carries the second colour (green).
    const uint32_t middle = rd::ReadPixel32(bitmap, 10, 8);
    EXPECT_GT((middle >> 8) & 0xFF, 0x80u) << std::hex << middle;
}

// WM_PRINT of the skinned combo edit: the printed picture is the skinned edit with its text but
// without the button, and the window's own painting shows the button again afterwards.
#include <gtest/gtest.h>

#include <memory>

#include "controls/sToolEdit.h"
#include "tests/win_framework/edit_support.h"

using namespace sk;
using namespace kvfw;

namespace {

// A 32-bit top-down picture the size of the window that WM_PRINT draws into.
class PrintTarget {
public:
    PrintTarget(int w, int h) : width(w) {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
        old = SelectObject(dc, bitmap);
    }
    ~PrintTarget() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    uint32_t Pixel(int x, int y) const { return bits[y * width + x] & 0xFFFFFF; }
    HDC dc = nullptr;

private:
    int width;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    uint32_t* bits = nullptr;
};

// Columns between x0 and x1 with a pixel other than background, rows 4 .. height - 4.
template <class PixelOf> int InkColumns(PixelOf pixel, int x0, int x1, int height, uint32_t background) {
    int columns = 0;
    for (int x = x0; x < x1; ++x) {
        bool ink = false;
        for (int y = 4; y < height - 4 && !ink; ++y) ink = pixel(x, y) != background;
        columns += ink;
    }
    return columns;
}

}  // namespace

TEST(ComboEditPrint, PrintsTheEditWithoutItsButton) {
    auto manager = MakeManager(nullptr, ComboSkin());
    TTestForm form(320, 120);
    auto* edit = new TsDirectoryEdit(&form);
    edit->BeginLoading();
    edit->SetBounds(20, 20, 240, 21);
    edit->SetText(L"C:\\Data");
    edit->SetParent(&form);
    edit->Loaded();
    edit->HandleNeeded();
    PumpFor(50);
    ASSERT_TRUE(edit->SkinData().Skinned());
    ASSERT_TRUE(edit->ShowButton());
    const int w = edit->Width(), h = edit->Height();
    const int buttonLeft = edit->TextMargin() - 1 + edit->Button()->Left();
    const uint32_t bg = AsRgb(edit->Color());
    auto cache = [&](int x, int y) { return CachePixel(edit->SkinData(), x, y); };

    ASSERT_TRUE(edit->PrepareCache());
    ASSERT_GT(InkColumns(cache, buttonLeft + 2, w - 4, h, bg), 2) << "the face holds the button";

    PrintTarget target(w, h);
    SendMessageW(edit->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(target.dc), PRF_NONCLIENT | PRF_CLIENT);
    auto printed = [&](int x, int y) { return target.Pixel(x, y); };
    EXPECT_EQ(0, InkColumns(printed, buttonLeft + 2, w - 4, h, bg)) << "no button in the print";
    EXPECT_GT(InkColumns(printed, 4, buttonLeft, h, bg), 10) << "the text is printed";
    EXPECT_EQ(cache(1, h / 2), printed(1, h / 2)) << "the skinned frame is printed";

    InvalidateRect(edit->Handle(), nullptr, TRUE);
    PumpFor(100);
    ASSERT_TRUE(edit->PrepareCache());
    EXPECT_GT(InkColumns(cache, buttonLeft + 2, w - 4, h, bg), 2) << "the button is back in the face";
    tk::TComponent::Free(edit);
}

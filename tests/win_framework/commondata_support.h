// Helpers of the skin-data tests: a memory bitmap to paint into, and a manager switched on for
// one test with an outer-effect shadow taken from the test skin's button border.
#pragma once
#include <windows.h>

#include "skinframework/sCommonData.h"
#include "skinframework/sSkinManager.h"
#include "skinframework/sSkinState.h"
#include "skinframework/sVclUtils.h"
#include "tests/win_framework/FrameworkFixture.h"
#include "tests/win_framework/TestControls.h"

namespace kvfw {

// A 32-bit bitmap selected into a memory DC, filled with one colour (0x00BBGGRR).
class TMemoryTarget {
public:
    TMemoryTarget(int width, int height, COLORREF fill) : FBitmap(width, height) {
        const RECT all{0, 0, width, height};
        HBRUSH brush = CreateSolidBrush(fill);
        FillRect(DC(), &all, brush);
        DeleteObject(brush);
    }
    HDC DC() { return FBitmap.Canvas().Handle(); }
    // The pixel at (x, y) as 0x00RRGGBB.
    uint32_t Pixel(int x, int y) {
        GdiFlush();
        return FBitmap.ScanLine(y)[x] & 0x00FFFFFF;
    }

private:
    tk::TBitmap FBitmap;
};

// The test skin's section of a name, writable (tests adjust single values of a loaded skin).
inline sk::TsGeneralData& SectionOf(sk::TsSkinManager& manager, const wchar_t* name) {
    return manager.Core().Model().gd[static_cast<size_t>(manager.Model().GetSkinIndex(name))];
}

}  // namespace kvfw

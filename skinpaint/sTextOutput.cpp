#include "skinpaint/sTextOutput.h"

#include <algorithm>

#include "render/sAlphaGraph.h"
#include "render/sSysColors.h"
#include "skin/SkinModel.h"

namespace rd {

namespace {

int DrawLine(HDC dc, const std::wstring& text, RECT r, UINT format) {
    return DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
}

RECT Shifted(RECT r, int dx, int dy) {
    OffsetRect(&r, dx, dy);
    return r;
}

// The contour passes in drawing order, with the offset of each.
struct ContourPass {
    TColor sk::TsFontColor::*side;
    int dx, dy;
};
constexpr ContourPass kContours[] = {
    {&sk::TsFontColor::Left, -1, 0}, {&sk::TsFontColor::Top, 0, -1}, {&sk::TsFontColor::Right, 1, 0}, {&sk::TsFontColor::Bottom, 0, 1}};

const sk::TsGeneralData* Section(const sk::TSkinModel* model, int index) {
    return model && model->IsValidSkinIndex(index) ? &model->gd[static_cast<size_t>(index)] : nullptr;
}

TColor DisabledTextColor(const sk::TsGeneralData& s) {
    return static_cast<TColor>(InterpolateColor(static_cast<uint32_t>(s.Props[0].FontColor.Color),
                                                static_cast<uint32_t>(s.Props[0].Color), DisabledBlendLevel));
}

// A memory DC with a top-down 32-bit DIB of the given size selected.
struct DibSurface {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    uint32_t* bits = nullptr;
    DibSurface(int w, int h, int bitsPerPixel) {
        struct {
            BITMAPINFOHEADER header;
            RGBQUAD colors[256];
        } bi{};
        bi.header.biSize = sizeof bi.header;
        bi.header.biWidth = w;
        bi.header.biHeight = -h;
        bi.header.biPlanes = 1;
        bi.header.biBitCount = static_cast<WORD>(bitsPerPixel);
        bi.header.biCompression = BI_RGB;
        if (bitsPerPixel == 8) {
            bi.header.biClrUsed = 256;
            for (int i = 0; i < 256; ++i) bi.colors[i] = {BYTE(i), BYTE(i), BYTE(i), 0};
        }
        void* p = nullptr;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS, &p, nullptr, 0);
        bits = static_cast<uint32_t*>(p);
        if (bitmap) old = SelectObject(dc, bitmap);
    }
    ~DibSurface() {
        if (bitmap) {
            SelectObject(dc, old);
            DeleteObject(bitmap);
        }
        DeleteDC(dc);
    }
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;
};

}  // namespace

void WriteSkinText(HDC dc, const std::wstring& text, bool enabled, const sk::TSkinModel* model, int hot,
                   int sectionIndex, UINT format, RECT rect) {
    if (text.empty()) return;
    SetBkMode(dc, TRANSPARENT);
    const sk::TsGeneralData* s = Section(model, sectionIndex);
    if (!s) {
        DrawLine(dc, text, rect, format);
        return;
    }
    if (!enabled) {
        SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(DisabledTextColor(*s))));
        DrawLine(dc, text, rect, format);
        return;
    }
    const sk::TsFontColor& fc = s->Props[hot ? 1 : 0].FontColor;
    for (const ContourPass& p : kContours) {
        TColor c = fc.*p.side;
        if (c == -1) continue;
        SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(c)));
        DrawLine(dc, text, Shifted(rect, p.dx, p.dy), format);
    }
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(fc.Color)));
    DrawLine(dc, text, rect, format);
}

void WriteTextOnBitmap32(TBitmap32* bitmap, HFONT font, const std::wstring& text, TColor color, UINT format,
                         TRect rect) {
    int w = rect.Width(), h = rect.Height();
    if (!bitmap || !bitmap->Row0 || text.empty() || w <= 0 || h <= 0) return;
    DibSurface tmp(w, h, 32);
    if (!tmp.bits) return;
    std::fill(tmp.bits, tmp.bits + static_cast<size_t>(w) * h, 0x00FFFFFFu);
    HGDIOBJ oldFont = SelectObject(tmp.dc, font);
    SetBkMode(tmp.dc, TRANSPARENT);
    SetTextColor(tmp.dc, RGB(0, 0, 0));
    DrawLine(tmp.dc, text, RECT{0, 0, w, h}, format);
    GdiFlush();
    SelectObject(tmp.dc, oldFont);
    const uint32_t rgb = static_cast<uint32_t>(ColorToRGB(color));
    const int c[3] = {int((rgb >> 16) & 0xFF), int((rgb >> 8) & 0xFF), int(rgb & 0xFF)};  // blue, green, red
    for (int y = 0; y < h; ++y) {
        int ty = rect.Top + y;
        if (ty < 0 || ty >= bitmap->Height) continue;
        const uint32_t* src = tmp.bits + static_cast<size_t>(y) * w;
        uint32_t* dst = bitmap->Row(ty);
        for (int x = 0; x < w; ++x) {
            int tx = rect.Left + x;
            uint32_t t = src[x];
            if (tx < 0 || tx >= bitmap->Width || (t & 0xFFFFFF) == 0xFFFFFF) continue;
            uint32_t d = dst[tx], out = 0xFF000000u;
            for (int lane = 0; lane < 3; ++lane) {
                int dv = (d >> (8 * lane)) & 0xFF, tv = (t >> (8 * lane)) & 0xFF;
                int v = ((dv - c[lane]) * tv + c[lane] * 256) >> 8;
                out |= static_cast<uint32_t>(v & 0xFF) << (8 * lane);
            }
            dst[tx] = out;
        }
    }
}

void WriteSkinTextOnBitmap32(TBitmap32* bitmap, HFONT font, const std::wstring& text, bool enabled, TColor fontColor,
                             const sk::TSkinModel* model, bool hot, int sectionIndex, UINT format, TRect rect) {
    if (text.empty() || rect.Width() <= 0 || rect.Height() <= 0) return;
    const sk::TsGeneralData* s = Section(model, sectionIndex);
    if (!s) {
        WriteTextOnBitmap32(bitmap, font, text, fontColor, format, rect);
        return;
    }
    if (!enabled) {
        WriteTextOnBitmap32(bitmap, font, text, DisabledTextColor(*s), format, rect);
        return;
    }
    const sk::TsFontColor& fc = s->Props[hot && s->States > 1 ? 1 : 0].FontColor;
    for (const ContourPass& p : kContours) {
        TColor c = fc.*p.side;
        if (c == -1) continue;
        TRect r{rect.Left + p.dx, rect.Top + p.dy, rect.Right + p.dx, rect.Bottom + p.dy};
        WriteTextOnBitmap32(bitmap, font, text, c, format, r);
    }
    WriteTextOnBitmap32(bitmap, font, text, fc.Color, format, rect);
}

void WriteTextShadowed(TBitmap32* bitmap, HFONT font, const std::wstring& text, TRect rect,
                       std::unique_ptr<TMemBitmap8>& cache, TColor color, int radius, unsigned sides, UINT format) {
    if (!bitmap || !bitmap->Row0 || text.empty()) return;
    const TRect r{rect.Left + 1, rect.Top + 1, rect.Right + 1, rect.Bottom + 1};
    const int margin = radius + 4;
    const int w = r.Width() + 2 * margin, h = r.Height() + 2 * margin;
    if (w <= 0 || h <= 0) return;
    if (!cache || cache->Width != w || cache->Height != h) {
        cache = std::make_unique<TMemBitmap8>(w, h, 255);
        // Rasterise through an 8-bit grey DIB, then keep the grey values in the cache.
        DibSurface grey(w, h, 8);
        if (!grey.bits) return;
        const int stride = (w + 3) & ~3;
        auto* greyRows = reinterpret_cast<uint8_t*>(grey.bits);
        std::fill(greyRows, greyRows + static_cast<size_t>(stride) * h, 255);
        HGDIOBJ oldFont = SelectObject(grey.dc, font);
        SetBkMode(grey.dc, TRANSPARENT);
        SetTextColor(grey.dc, RGB(0, 0, 0));
        const RECT at{margin, margin, margin + r.Width(), margin + r.Height()};
        const struct { unsigned bit; int dx, dy; } shifts[] = {{ssLeft, -1, 0}, {ssTop, 0, -1}, {ssRight, 1, 0}, {ssBottom, 0, 1}};
        for (const auto& s : shifts)
            if (sides & s.bit) DrawLine(grey.dc, text, Shifted(at, s.dx, s.dy), format);
        DrawLine(grey.dc, text, at, format);
        GdiFlush();
        SelectObject(grey.dc, oldFont);
        for (int y = 0; y < h; ++y) std::copy_n(greyRows + static_cast<size_t>(y) * stride, w, cache->Row(y));
        BlurGrey8(cache.get(), radius);
    }
    const uint32_t rgb = static_cast<uint32_t>(ColorToRGB(color));
    const int c[3] = {int((rgb >> 16) & 0xFF), int((rgb >> 8) & 0xFF), int(rgb & 0xFF)};
    for (int y = 0; y < h; ++y) {
        int ty = y + r.Top - margin;
        if (ty < 0 || ty >= bitmap->Height) continue;
        const uint8_t* src = cache->Row(y);
        uint32_t* dst = bitmap->Row(ty);
        for (int x = 0; x < w; ++x) {
            int tx = x + r.Left - margin;
            int v = src[x];
            if (v == 255 || tx < 0 || tx >= bitmap->Width) continue;
            int g = 255 - v;
            uint32_t d = dst[tx];
            int a = static_cast<int>(d >> 24);
            a = a + (((255 - a) * g) >> 8);
            uint32_t out = static_cast<uint32_t>(a) << 24;
            for (int lane = 0; lane < 3; ++lane) {
                int dv = (d >> (8 * lane)) & 0xFF;
                out |= static_cast<uint32_t>(((g * c[lane] + dv * v) >> 8) & 0xFF) << (8 * lane);
            }
            dst[tx] = out;
        }
    }
}

std::wstring AngledFaceName(const std::wstring& face) { return face == L"MS Sans Serif" ? L"Arial" : face; }

HFONT SelectAngledFont(HDC dc, const LOGFONTW& font, TColor color, int angle) {
    LOGFONTW lf{};
    lf.lfHeight = font.lfHeight;
    lf.lfEscapement = lf.lfOrientation = angle;
    lf.lfWeight = font.lfWeight >= FW_BOLD ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.lfItalic;
    lf.lfUnderline = font.lfUnderline;
    lf.lfStrikeOut = font.lfStrikeOut;
    lf.lfCharSet = font.lfCharSet;
    lstrcpynW(lf.lfFaceName, AngledFaceName(font.lfFaceName).c_str(), LF_FACESIZE);
    HFONT angled = CreateFontIndirectW(&lf);
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(color)));
    return static_cast<HFONT>(SelectObject(dc, angled));
}

SIZE MeasureText(HFONT font, const std::wstring& text, UINT format, int width, bool wordWrap) {
    SIZE size{0, 0};
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    if (wordWrap) {
        RECT r{0, 0, width, 0};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format | kCalcRect | DT_WORDBREAK);
        size = {r.right - r.left, r.bottom - r.top};
    } else if (!GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size)) {
        size = {0, 0};
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size;
}

void DrawArrowShape(HDC dc, TColor color, RECT rect, int kind) {
    const COLORREF c = static_cast<COLORREF>(ColorToRGB(color));
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (kind == 1 || kind == 3) {
        const int x0 = rect.left + (w - 6) / 2 - 1, y0 = rect.top + (h - 3) / 2 - 1;
        for (int k = 0; k < 4; ++k) {
            int y = kind == 3 ? y0 + k : y0 + 3 - k;
            for (int x = x0 + k; x <= x0 + 3; ++x) SetPixelV(dc, x, y, c);
            for (int x = x0 + 4; x <= x0 + 7 - k; ++x) SetPixelV(dc, x, y, c);
        }
    } else if (kind == 0 || kind == 2) {
        const int x0 = rect.left + (w - 3) / 2, y0 = rect.top + (h - 6) / 2;
        for (int k = 0; k < 4; ++k) {
            int x = kind == 2 ? x0 + k : x0 + 3 - k;
            for (int y = y0 + k; y <= y0 + 6 - k; ++y) SetPixelV(dc, x, y, c);
        }
    }
}

void DrawDottedFrame(HDC dc, RECT rect, TColor colorA, TColor colorB) {
    auto put = [dc](int x, int y, TColor color) {
        if (color != clNone) SetPixelV(dc, x, y, static_cast<COLORREF>(ColorToRGB(color)));
    };
    for (int k = (rect.right - rect.left) / 2; k >= 1; --k)
        for (int y : {rect.top, rect.bottom - 1}) {
            put(rect.left + 2 * k, y, colorB);
            put(rect.left + 2 * k - 1, y, colorA);
        }
    for (int k = (rect.bottom - rect.top) / 2; k >= 1; --k)
        for (int x : {rect.left, rect.right - 1}) {
            put(x, rect.top + 2 * k, colorB);
            put(x, rect.top + 2 * k - 1, colorA);
        }
}

}  // namespace rd

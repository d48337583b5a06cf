// Text output for skinned surfaces (Windows): section colours with contours, coverage-correct
// text on 32-bit bitmaps, blurred text for glows, angled fonts, measuring and two small
// pixel shapes. Texts go through GDI; composition works on the pixel rows.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "render/acBlur.h"
#include "render/sGraphUtils.h"

namespace sk {
class TSkinModel;
}

namespace rd {

constexpr UINT kNoClip = DT_NOCLIP;        // 0x100
constexpr UINT kCalcRect = DT_CALCRECT;    // 0x400

// Draws text on dc (transparent background) in the colours of a section state: each
// contour colour that is not -1 one pixel to the left, above, right and below, in that
// order, then the main colour. Disabled text is drawn once in the blend of the normal font
// colour and the section colour. Without a valid section, in dc's current colours.
void WriteSkinText(HDC dc, const std::wstring& text, bool enabled, const sk::TSkinModel* model, int hot,
                   int sectionIndex, UINT format, RECT rect);

// Draws text with font into a temporary black-on-white bitmap of rect's size and composes
// color into bitmap by the coverage of each channel: d := ((d - c) * t + c * 256) >> 8,
// alpha 255. Parts of rect outside the bitmap are skipped.
void WriteTextOnBitmap32(TBitmap32* bitmap, HFONT font, const std::wstring& text, TColor color, UINT format,
                         TRect rect);

// WriteSkinText's passes, each through WriteTextOnBitmap32. fontColor is used without a
// model or a valid section.
void WriteSkinTextOnBitmap32(TBitmap32* bitmap, HFONT font, const std::wstring& text, bool enabled, TColor fontColor,
                             const sk::TSkinModel* model, bool hot, int sectionIndex, UINT format, TRect rect);

// Sides of WriteTextShadowed: the text is also drawn shifted by one pixel towards each.
enum TShadowSides : unsigned { ssLeft = 1, ssTop = 2, ssRight = 4, ssBottom = 8, ssAll = 15 };

// Draws a blurred copy of the text, one pixel right of and below rect, in color. The 8-bit
// cache is made (and the text rasterised and blurred) only when missing or of another size.
void WriteTextShadowed(TBitmap32* bitmap, HFONT font, const std::wstring& text, TRect rect,
                       std::unique_ptr<TMemBitmap8>& cache, TColor color, int radius, unsigned sides, UINT format);

// The face name used for text drawn at an angle: "MS Sans Serif" cannot be rotated.
std::wstring AngledFaceName(const std::wstring& face);
// Selects into dc a font like `font` turned by angle (tenths of a degree) and sets dc's text
// colour; returns the font that was selected before. The caller selects that one back and
// deletes the angled font the selection hands back.
HFONT SelectAngledFont(HDC dc, const LOGFONTW& font, TColor color, int angle);

// The size of the text in font: laid out in `width` with word wrap, else one line; 0 x 0
// when the platform cannot measure.
SIZE MeasureText(HFONT font, const std::wstring& text, UINT format, int width, bool wordWrap);

// A small solid arrow centred in rect: kind 0 left, 1 up, 2 right, 3 down.
void DrawArrowShape(HDC dc, TColor color, RECT rect, int kind);
// A dotted frame on the inner edge of rect in two alternating colours (clNone: not drawn).
void DrawDottedFrame(HDC dc, RECT rect, TColor colorA, TColor colorB);

}  // namespace rd

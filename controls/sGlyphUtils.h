// Button images shared by the push button and the speed button: a frame of a glyph strip put
// on the control's cache, blended, greyed or half transparent as the button's state asks.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "render/sGraphUtils.h"
#include "toolkit/Graphics.h"
#include "toolkit/ImgList.h"

namespace sk {

class TsSkinManager;

// How a disabled button shows its image (a set of these bits).
enum TsDisabledGlyphKind : unsigned { dgBlended = 1, dgGrayed = 2 };

// What a button hands to PaintButtonGlyph.
struct TsGlyphPaintInfo {
    rd::TBitmap32* DstBmp = nullptr;    // the cache; nothing is drawn without one
    tk::TCanvas* Canvas = nullptr;      // kept for callers that paint on a canvas
    const tk::TCustomImageList* Images = nullptr;  // used before Glyph when ImageIndex is valid
    int ImageIndex = -1;
    const tk::TBitmap* Glyph = nullptr;  // a strip of NumGlyphs frames side by side
    int SkinIndex = -1;
    TsSkinManager* Manager = nullptr;
    RECT GlyphRect{};                   // where the frame goes in DstBmp
    int NumGlyphs = 1;
    bool Enabled = true;
    int Blend = 0;                      // percent of the background kept in state 0
    bool Pressed = false;
    bool Grayed = false;
    int State = 0;
    unsigned DisabledGlyphKind = dgBlended;
    bool Reflected = false;
};

// Draws the image ImageIndex of Images, or else frame min(State, NumGlyphs - 1) of the glyph,
// at GlyphRect's top-left corner, clipped to the destination and to the image. A glyph whose
// alpha is zero everywhere is keyed by its bottom-left pixel instead of blended by alpha; an
// image list's entries carry their transparency in their alpha.
void PaintButtonGlyph(const TsGlyphPaintInfo& info);

// Frame width of a strip: width div count, with a count below 1 taken as 1.
int GlyphFrameWidth(int stripWidth, int numGlyphs);

// A glyph as a window description stores it ("Glyph.Data"): a 32-bit little-endian length,
// then exactly that many bytes of a Windows bitmap file (none: no glyph). Loads it into glyph;
// raises tk::EReadError for data that is cut short, longer than its length says, or not a
// bitmap that can be read, and leaves glyph as it was then. Never reads past the end of data.
void LoadGlyphData(const std::vector<uint8_t>& data, tk::TBitmap& glyph);

}  // namespace sk

// Masks: image pieces cut into states, and the value notations that define them
// ("^" border mask, "@" glyph, "~" texture, "!" external image, a .BMP file, a "#" list).
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "render/sGraphUtils.h"

namespace sk {

enum TacImgType : uint8_t { itisaBorder = 0, itisaTexture = 1, itisaGlyph = 2, itisaGlow = 3, itisaPngGlyph = 4 };

class TSkinModel;

struct TsMaskData {
    std::unique_ptr<rd::TMemBitmap32> Bmp;  // own image; none: R lies in the master bitmap
    std::wstring ClassName;
    std::wstring PropertyName;
    rd::TRect R;
    int16_t ImageCount = 0;
    int16_t MaskType = 0;
    int16_t BorderWidth = 0;
    int16_t DrawMode = 0;
    TacImgType ImgType = itisaBorder;
    const TSkinModel* Manager = nullptr;
    int16_t WL = 0, WT = 0, WR = 0, WB = 0;
    int CornerType = 0;
};

int MaskImageWidth(const TsMaskData& mask);
int MaskImageHeight(const TsMaskData& mask);

// What a value's notation says, before its image is known.
enum class TNotationKind { BorderMask, Glyph, Texture, External, BitmapFile, RectList };
struct TImageNotation {
    TNotationKind Kind = TNotationKind::BorderMask;
    std::wstring FileName;      // External and BitmapFile
    rd::TRect R;                // master-bitmap notations
    int ImageCount = 1;
    int MaskType = 0;
    int DrawMode = 0;
    int BorderWidth = 0;
    TacImgType ImgType = itisaBorder;
    int WL = 0, WT = 0, WR = 0, WB = 0;
    bool DefaultWidths = false;  // widths follow the one-third rule once R is known
};

// nullopt when the value defines no mask. Digits missing where a fixed-position notation
// needs them raise std::invalid_argument.
std::optional<TImageNotation> ParseImageNotation(const std::wstring& value);

// The one-third rule: all four widths from R, the image count and the mask type (a uniform
// border width takes precedence for "^" and "#"). Raises ESkinError when they cannot divide.
void ApplyDefaultWidths(TImageNotation& notation);

// The mask a notation gives over rectangle r (the whole image for own images).
TsMaskData MaskFromNotation(TImageNotation notation, rd::TRect r);

// 2 for the huge-button border, 1 when a corner box holds a 0x00FF00FF pixel, else 0.
// image: the mask's own bitmap or the master bitmap.
int DetectCornerType(const TsMaskData& mask, const rd::TBitmap32* image);

}  // namespace sk

#include "skin/sMaskData.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "skin/SkinError.h"
#include "skin/acntUtils.h"

namespace sk {

namespace {

// The digits at 1-based positions [from, from + count) of value.
int FixedAt(const std::wstring& value, size_t from, size_t count) {
    return DecimalOrThrow(from - 1 < value.size() ? std::wstring_view(value).substr(from - 1, count) : std::wstring_view());
}

rd::TRect FixedRect(const std::wstring& value) {
    return {FixedAt(value, 2, 4), FixedAt(value, 7, 4), FixedAt(value, 12, 4), FixedAt(value, 17, 4)};
}

TImageNotation BorderMask(const std::wstring& v) {
    TImageNotation n;
    n.Kind = TNotationKind::BorderMask;
    n.R = FixedRect(v);
    n.WL = FixedAt(v, 22, 4);
    n.WT = FixedAt(v, 27, 4);
    n.WR = FixedAt(v, 32, 4);
    n.WB = FixedAt(v, 37, 4);
    n.ImageCount = FixedAt(v, 42, 1);
    n.MaskType = FixedAt(v, 44, 1);
    n.DrawMode = FixedAt(v, 46, 1);
    n.BorderWidth = FixedAt(v, 48, 1);
    n.ImgType = itisaBorder;
    n.DefaultWidths = n.WL == 0 && n.WT == 0 && n.WR == 0 && n.WB == 0;
    return n;
}

TImageNotation Glyph(const std::wstring& v) {
    TImageNotation n;
    n.Kind = TNotationKind::Glyph;
    n.R = FixedRect(v);
    n.ImageCount = FixedAt(v, 22, 1);
    n.MaskType = FixedAt(v, 24, 1);
    n.ImgType = itisaGlyph;
    return n;
}

TImageNotation Texture(const std::wstring& v) {
    TImageNotation n;
    n.Kind = TNotationKind::Texture;
    n.R = FixedRect(v);
    n.DrawMode = FixedAt(v, 22, 2);
    n.MaskType = v.size() >= 25 ? FixedAt(v, 25, 1) : 0;
    n.ImageCount = 1;
    n.ImgType = itisaTexture;
    return n;
}

std::optional<TImageNotation> External(const std::wstring& v) {
    const std::wstring_view sep = L"!";
    TImageNotation n;
    n.Kind = TNotationKind::External;
    n.FileName = FieldAt(1, v, sep);
    if (n.FileName.find(L".BMP") == std::wstring::npos && n.FileName.find(L".PNG") == std::wstring::npos)
        return std::nullopt;
    const int fields = CountFields(v, sep);
    n.ImageCount = IntFieldAt(2, v, sep);
    n.MaskType = IntFieldAt(3, v, sep);
    // Kinds above 4 count as 4; negative kinds (not defined) are taken as borders.
    n.ImgType = static_cast<TacImgType>(std::clamp(IntFieldAt(4, v, sep), 0, 4));
    if (fields >= 5) {
        n.WL = IntFieldAt(5, v, sep);
        n.WT = IntFieldAt(6, v, sep);
        n.WR = IntFieldAt(7, v, sep);
        n.WB = IntFieldAt(8, v, sep);
    } else {
        n.DefaultWidths = true;
    }
    n.DrawMode = fields >= 9 ? IntFieldAt(9, v, sep) : 1;
    return n;
}

// The words of a rectangle list: a parenthesised group is one word (blanks inside it separate
// its items, as commas do); outside parentheses words are separated by blanks.
std::vector<std::wstring> RectListWords(std::wstring_view v) {
    std::vector<std::wstring> words;
    std::wstring word;
    bool inGroup = false;
    auto endWord = [&] {
        if (std::wstring w = TrimBlanks(word); !w.empty()) words.push_back(std::move(w));
        word.clear();
    };
    for (const wchar_t c : v) {
        if (c == L'(' || c == L')') {
            endWord();
            inGroup = c == L'(';
        } else if (c <= L' ' && !inGroup) {
            endWord();
        } else {
            word += c;
        }
    }
    endWord();
    return words;
}

// Left, top, right and bottom from a word of four integers, a rectangle with an area whose
// sides fit an int; nullopt otherwise.
std::optional<rd::TRect> RectFromWord(const std::wstring& word, std::wstring_view items) {
    if (CountFields(word, items) != 4) return std::nullopt;
    int v[4];
    for (int i = 0; i < 4; ++i) {
        const auto n = ParseDecimal(FieldAt(i + 1, word, items));
        if (!n) return std::nullopt;
        v[i] = *n;
    }
    const int64_t w = int64_t(v[2]) - v[0], h = int64_t(v[3]) - v[1];
    if (w <= 0 || h <= 0 || w > INT32_MAX || h > INT32_MAX) return std::nullopt;
    return rd::TRect{v[0], v[1], v[2], v[3]};
}

// A value whose second word is not a usable rectangle defines nothing (text such as
// "Studio #5" is not a rectangle list).
std::optional<TImageNotation> RectList(const std::wstring& v) {
    const std::wstring_view items = L" ,\t";
    const std::vector<std::wstring> words = RectListWords(v);
    const auto rect = words.size() > 1 ? RectFromWord(words[1], items) : std::nullopt;
    if (!rect) return std::nullopt;
    const std::wstring counts = words.size() > 2 ? words[2] : std::wstring();
    TImageNotation n;
    n.Kind = TNotationKind::RectList;
    n.R = *rect;
    n.ImageCount = IntFieldAt(1, counts, items);
    n.MaskType = std::max(IntFieldAt(2, counts, items), 0);
    n.BorderWidth = std::max(IntFieldAt(3, counts, items), 0);
    n.DrawMode = CountFields(counts, items) >= 4 ? IntFieldAt(4, counts, items) : 1;
    n.ImgType = itisaBorder;
    n.DefaultWidths = true;
    return n;
}

}  // namespace

int MaskImageWidth(const TsMaskData& mask) {
    if (mask.ImageCount == 0) return 0;
    if (mask.ImageCount == 1) return mask.R.Width();
    return mask.R.Width() / mask.ImageCount;
}

int MaskImageHeight(const TsMaskData& mask) {
    switch (mask.MaskType) {
        case -1: return 0;
        case 0: return mask.R.Height();
        case 1: return mask.R.Height() / 2;
        default: return mask.R.Height() / (mask.MaskType + 1);
    }
}

std::optional<TImageNotation> ParseImageNotation(const std::wstring& value) {
    if (value.empty()) return std::nullopt;
    switch (value[0]) {
        case L'^': return BorderMask(value);
        case L'@': return Glyph(value);
        case L'~': return Texture(value);
        case L'!': return External(value);
        default: break;
    }
    if (value.find(L'#') != std::wstring::npos) return RectList(value);
    if (UpperAscii(value).find(L".BMP") != std::wstring::npos) {
        TImageNotation n;
        n.Kind = TNotationKind::BitmapFile;
        n.FileName = value;
        n.ImageCount = 3;
        n.MaskType = 1;
        n.ImgType = itisaBorder;
        n.DefaultWidths = true;
        return n;
    }
    return std::nullopt;
}

void ApplyDefaultWidths(TImageNotation& n) {
    if (!n.DefaultWidths || n.WL != 0 || n.WT != 0 || n.WR != 0 || n.WB != 0) return;
    if (n.BorderWidth != 0) {
        n.WL = n.WT = n.WR = n.WB = n.BorderWidth;
        return;
    }
    if (n.ImageCount < 1 || n.MaskType < 0)
        throw ESkinError("Skin format error: a mask with image count " + std::to_string(n.ImageCount) +
                         " and mask type " + std::to_string(n.MaskType) + " cannot have default border widths");
    // 64-bit: counts and types of external images and rectangle lists may be any integer.
    n.WL = n.WR = static_cast<int>(n.R.Width() / (3 * int64_t(n.ImageCount)));
    n.WT = n.WB = static_cast<int>(n.R.Height() / (3 * (int64_t(n.MaskType) + 1)));
}

TsMaskData MaskFromNotation(TImageNotation n, rd::TRect r) {
    n.R = r;
    ApplyDefaultWidths(n);
    // The mask's 16-bit fields take values out of their range as the nearest they can hold,
    // never wrapped into another sign.
    auto narrow = [](int v) { return static_cast<int16_t>(std::clamp<int>(v, INT16_MIN, INT16_MAX)); };
    TsMaskData m;
    m.R = r;
    m.ImageCount = narrow(n.ImageCount);
    m.MaskType = narrow(n.MaskType);
    m.BorderWidth = narrow(n.BorderWidth);
    m.DrawMode = narrow(n.DrawMode);
    m.ImgType = n.ImgType;
    m.WL = narrow(n.WL);
    m.WT = narrow(n.WT);
    m.WR = narrow(n.WR);
    m.WB = narrow(n.WB);
    return m;
}

int DetectCornerType(const TsMaskData& mask, const rd::TBitmap32* image) {
    if (mask.ClassName == L"BUTTON_HUGE" && mask.PropertyName == L"BORDERSMASK") return 2;
    uint8_t* row0;
    ptrdiff_t stride;
    if (mask.R.Height() <= 0 || !rd::GetScanGeometry(image, row0, stride)) return 0;
    const int w = MaskImageWidth(mask), h = MaskImageHeight(mask);
    const int l = mask.R.Left, t = mask.R.Top;
    // Boxes clipped to the bitmap without its last column and row.
    auto hasKey = [&](int x0, int y0, int x1, int y1) {
        x0 = std::max(x0, 0);
        y0 = std::max(y0, 0);
        x1 = std::min(x1, image->Width - 1);
        y1 = std::min(y1, image->Height - 1);
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (rd::ReadPixel32(*image, x, y) == 0x00FF00FFu) return true;
        return false;
    };
    const bool found = hasKey(l, t, l + mask.WL, t + mask.WT) ||
                       hasKey(l + w - mask.WR, t, l + w, t + mask.WT) ||
                       hasKey(l, t + h - mask.WB, l + mask.WL, t + h) ||
                       hasKey(l + w - mask.WR, t + h - mask.WB, l + w, t + h);
    return found ? 1 : 0;
}

}  // namespace sk

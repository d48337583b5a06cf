// A skin built pixel by pixel for the face painting tests: every mask, glyph and colour is known,
// so each painted pixel can be predicted; and skin data bound to it by hand.
#pragma once
#include <memory>

#include "render/sGraphUtils.h"
#include "skinframework/sCommonData.h"
#include "skinframework/sSkinManager.h"

namespace kvfw {

// A colour value (0x00BBGGRR) as a pixel's 0x00RRGGBB.
inline uint32_t RgbOf(rd::TColor c) {
    const uint32_t v = static_cast<uint32_t>(c);
    return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

// Pixel colours of the painted skin (0x00RRGGBB).
inline constexpr uint32_t kRingRgb[3] = {0x0000C0, 0x00C000, 0xC00000};   // border ring, frames 0..2
inline constexpr uint32_t kGlyphRgb[3] = {0x112233, 0x445566, 0x778899};  // corner glyph, frames 0..2
inline constexpr rd::TColor kFaceColor = 0x00204060;                       // section colour, normal
inline constexpr rd::TColor kFaceHotColor = 0x0080A0C0;                    // section colour, hot
inline constexpr int kBorderWidth = 2;

// Masks and sections of the painted skin.
enum TPaintedMask { pmBorder, pmGlyph, pmHoverBorder, pmPlainBorder };
enum TPaintedSection { psButton, psClear, psGlyphs, psHoverBorder, psPlainBorder };

// A manager holding the painted skin:
//  masks     pmBorder       masked (image over mask), 3 frames of 6 x 6, 2-pixel ring (mask 0) around
//                           a kept centre (mask 255), the top-left pixel of each frame magenta,
//                           corners show the background (CornerType 1), tiled
//            pmGlyph        plain 2 x 2 glyph, 3 frames of one colour each
//            pmHoverBorder  pmBorder drawn only from state 1 on (DrawMode 2)
//            pmPlainBorder  pmBorder's pixels as a plain image (MaskType 0) of 3 frames
//  sections  psButton       3 states, kFaceColor / kFaceHotColor, border pmBorder
//            psClear        fully transparent, no border
//            psGlyphs       kFaceColor, pmGlyph top-right and bottom-left, no border
//            psHoverBorder  2 states, kFaceColor, border pmHoverBorder
//            psPlainBorder  3 states, kFaceColor, border pmPlainBorder
namespace detail {

inline uint32_t Opaque(uint32_t rgb) { return rgb | 0xFF000000u; }

// Frame k of pmBorder at (6k, 0): image rows 0..5 over mask rows 6..11.
inline void PaintBorderFrame(rd::TBitmap32& master, int k) {
    const int left = 6 * k;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool ring = x < kBorderWidth || y < kBorderWidth || x >= 6 - kBorderWidth || y >= 6 - kBorderWidth;
            rd::WritePixel32(master, left + x, y, Opaque(ring ? kRingRgb[k] : 0x0A0B0C));
            rd::WritePixel32(master, left + x, y + 6, ring ? 0xFF000000u : 0xFFFFFFFFu);
        }
    rd::WritePixel32(master, left, 0, 0x00FF00FFu);
}

inline sk::TsMaskData Mask(sk::TSkinModel& model, rd::TRect r, int imageCount, int maskType, int drawMode,
                           int width, int cornerType) {
    sk::TsMaskData m;
    m.R = r;
    m.ImageCount = static_cast<int16_t>(imageCount);
    m.MaskType = static_cast<int16_t>(maskType);
    m.DrawMode = static_cast<int16_t>(drawMode);
    m.WL = m.WT = m.WR = m.WB = static_cast<int16_t>(width);
    m.CornerType = cornerType;
    m.Manager = &model;
    return m;
}

inline sk::TsGeneralData Section(const wchar_t* name, int states, rd::TColor normal, rd::TColor hot, int transparency,
                                 int border) {
    sk::TsGeneralData gd;
    gd.ClassName = name;
    gd.States = states;
    gd.Props[0].Color = normal;
    gd.Props[1].Color = hot;
    gd.Props[0].Transparency = gd.Props[1].Transparency = transparency;
    gd.BorderIndex = border;
    return gd;
}

}  // namespace detail

struct TPaintedSkin {
    TPaintedSkin() : Manager(std::make_unique<sk::TsSkinManager>(nullptr)) {
        sk::TSkinModel& m = Model();
        m.CommonSkinData = std::make_unique<sk::TsSkinData>();
        m.CommonSkinData->Active = true;
        m.MasterBitmap = std::make_unique<rd::TMemBitmap32>(30, 12);
        for (int k = 0; k < 3; ++k) {
            detail::PaintBorderFrame(*m.MasterBitmap, k);
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < 2; ++x) rd::WritePixel32(*m.MasterBitmap, 18 + 2 * k + x, y, detail::Opaque(kGlyphRgb[k]));
        }
        m.ma.clear();
        m.ma.push_back(detail::Mask(m, {0, 0, 18, 12}, 3, 1, 0, kBorderWidth, 1));
        m.ma.push_back(detail::Mask(m, {18, 0, 24, 2}, 3, 0, 0, 0, 0));
        m.ma.push_back(detail::Mask(m, {0, 0, 18, 12}, 3, 1, 2, kBorderWidth, 1));
        m.ma.push_back(detail::Mask(m, {0, 0, 18, 6}, 3, 0, 0, kBorderWidth, 1));
        m.gd.clear();
        m.gd.push_back(detail::Section(L"BUTTON", 3, kFaceColor, kFaceHotColor, 0, pmBorder));
        m.gd.push_back(detail::Section(L"CLEAR", 2, kFaceColor, kFaceHotColor, 100, -1));
        m.gd.push_back(detail::Section(L"GLYPHS", 3, kFaceColor, kFaceHotColor, 0, -1));
        m.gd.back().ImgTR = m.gd.back().ImgBL = pmGlyph;
        m.gd.push_back(detail::Section(L"HOVERBORDER", 2, kFaceColor, kFaceHotColor, 0, pmHoverBorder));
        m.gd.push_back(detail::Section(L"PLAINBORDER", 3, kFaceColor, kFaceHotColor, 0, pmPlainBorder));
    }
    std::unique_ptr<sk::TsSkinManager> Manager;
    sk::TSkinModel& Model() { return Manager->Core().Model(); }
};

struct TBoundFace {
    TBoundFace(TPaintedSkin& skin, int section) {
        Data.FSkinManager = skin.Manager.get();
        Data.SkinIndex = section;
        Data.BorderIndex = skin.Model().gd[static_cast<size_t>(section)].BorderIndex;
        Data.Loading = false;
    }
    tk::TGraphicControl Owner{nullptr};
    sk::TsCtrlSkinData Data{&Owner, false, 93};
};

inline std::unique_ptr<rd::TMemBitmap32> NumberedBitmap(int width, int height) {
    auto bitmap = std::make_unique<rd::TMemBitmap32>(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            rd::WritePixel32(*bitmap, x, y, detail::Opaque(uint32_t(x * 7 + 1) << 16 | uint32_t(y * 9 + 2) << 8 | uint32_t(x + y)));
    return bitmap;
}

}  // namespace kvfw

#include "SkinArt.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "artwork.h"
#include "render/sGraphUtils.h"
#include "skin/acCodePage.h"
#include "skin/acntUtils.h"

namespace skinart {

namespace {

constexpr uint32_t kKey = 0xFF00FF;

// The palette, before the installer's hue rotation (warm accents turn azure).
constexpr uint32_t kFace = 0x262221, kFaceLight = 0x3A3432, kFaceHigh = 0x48403E, kEdge = 0x5A504D,
                   kEdgeDim = 0x3C3533, kWell = 0x1C1918, kText = 0xE2DEDC, kDim = 0x968E8C, kAccent = 0xD6543E,
                   kAccentLight = 0xF07860, kAccentDark = 0xA63E2C, kCloseRed = 0xC42B2B, kCloseDark = 0x8E1E1E,
                   kWhite = 0xFFFFFF;

struct TCanvas {
    TImage& Img;
    int OX = 0, OY = 0;  // origin of the piece being drawn
    void Set(int x, int y, uint32_t c) {
        x += OX, y += OY;
        if (x >= 0 && y >= 0 && x < Img.Width && y < Img.Height) Img.Rgb[size_t(y) * Img.Width + x] = c;
    }
    uint32_t Get(int x, int y) const { return Img.Rgb[size_t(y + OY) * Img.Width + x + OX]; }
    void Blend(int x, int y, uint32_t c, float a) {
        if (a <= 0) return;
        const uint32_t b = Get(x, y);
        if (b == kKey || a >= 1) {  // over the key colour a pixel is either set or not
            if (a >= 0.5f) Set(x, y, c);
            return;
        }
        auto ch = [&](int s) {
            return uint32_t(std::lround(((c >> s) & 255) * a + ((b >> s) & 255) * (1 - a))) << s;
        };
        Set(x, y, ch(16) | ch(8) | ch(0));
    }
};

uint32_t Mix(uint32_t a, uint32_t b, float t) {
    auto ch = [&](int s) { return uint32_t(std::lround(((a >> s) & 255) * (1 - t) + ((b >> s) & 255) * t)) << s; };
    return ch(16) | ch(8) | ch(0);
}

TImage NewImage(int w, int h) { return TImage{w, h, std::vector<uint32_t>(size_t(w) * h, kKey), {}}; }

// A rounded box w x h at the canvas origin: key colour outside, vertical gradient inside,
// a one-pixel outline; anti-aliased against the fill.
void Box(TCanvas& cv, int w, int h, float radius, uint32_t top, uint32_t bottom, uint32_t outline) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float d = art::sdRoundBox(x + 0.5f - w / 2.f, y + 0.5f - h / 2.f, w / 2.f, h / 2.f, radius);
            if (d > 0) continue;
            const uint32_t fill = Mix(top, bottom, h > 1 ? float(y) / (h - 1) : 0);
            cv.Set(x, y, d > -1.f ? outline : fill);
            if (d > -2.f && d <= -1.f) cv.Set(x, y, Mix(outline, fill, -d - 1.f));
        }
}

void Stroke(TCanvas& cv, int w, int h, float ax, float ay, float bx, float by, float width, uint32_t c) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            cv.Blend(x, y, c, art::coverage(art::sdSegment(x + 0.5f, y + 0.5f, ax, ay, bx, by) - width / 2));
}

void Disc(TCanvas& cv, int w, int h, float cx, float cy, float r, uint32_t c) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) cv.Blend(x, y, c, art::coverage(art::sdCircle(x + 0.5f, y + 0.5f, cx, cy, r)));
}

void At(TCanvas& cv, int x, int y) { cv.OX = x, cv.OY = y; }

// Frame 0 is the inactive window, frame 1 the active one (the form sections' state 1).
void DrawFormBorders(TImage& img) {
    TCanvas cv{img};
    for (int i = 0; i < 2; ++i) {
        const bool active = i == 1;
        At(cv, i * 32, 0);
        Box(cv, 32, 32, 6, kFace, kFace, active ? kEdge : kEdgeDim);
        if (active) Stroke(cv, 32, 32, 6, 1.5f, 26, 1.5f, 1, kAccentDark);
        At(cv, i * 32, 32);  // the title bar
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 32; ++x) cv.Set(x, y, Mix(active ? kFaceHigh : kFaceLight, kFaceLight, y / 29.f));
        for (int x = 0; x < 32; ++x) cv.Set(x, 29, active ? kAccent : kEdgeDim);
    }
}

void DrawButtons(TImage& img) {
    TCanvas cv{img};
    const uint32_t tops[3] = {kFaceHigh, kAccentLight, kAccentDark}, bottoms[3] = {kFaceLight, kAccent, kAccent},
                   lines[3] = {kEdge, kAccentLight, kAccentDark};
    for (int i = 0; i < 3; ++i) {
        At(cv, 64 + i * 24, 0);
        Box(cv, 24, 24, 4, tops[i], bottoms[i], lines[i]);
        At(cv, 136 + i * 16, 0);  // edit frame
        Box(cv, 16, 16, 2, kWell, kWell, i == 0 ? kEdgeDim : kAccent);
    }
    At(cv, 136, 16);  // gauge frame
    Box(cv, 16, 16, 2, kWell, kWell, kEdgeDim);
}

// Check box, radio button and small check box glyphs: 15 x 15, normal / hot / pressed.
enum TMark { mkNone, mkCheck, mkGray, mkDot };
void CheckFrame(TCanvas& cv, int state, bool round, int size, TMark mark) {
    const int o = (15 - size) / 2;
    TCanvas inner = cv;
    inner.OX += o, inner.OY += o;
    const uint32_t line = state == 0 ? kEdge : kAccentLight;
    const bool on = mark == mkCheck || mark == mkDot;
    Box(inner, size, size, round ? size / 2.f : 2.5f, on ? kAccentLight : kWell, on ? kAccent : kWell,
        state == 2 ? kAccentDark : line);
    const float s = size;
    if (mark == mkCheck) {
        Stroke(inner, size, size, s * .24f, s * .52f, s * .42f, s * .72f, s * .13f + .6f, kWhite);
        Stroke(inner, size, size, s * .42f, s * .72f, s * .78f, s * .3f, s * .13f + .6f, kWhite);
    } else if (mark == mkGray) {
        Box(inner, size, size, 2.5f, kWell, kWell, line);
        TCanvas dot = inner;
        dot.OX += size / 4, dot.OY += size / 4;
        Box(dot, size - size / 4 * 2, size - size / 4 * 2, 1, kDim, kDim, kDim);
    } else if (mark == mkDot) {
        Disc(inner, size, size, s / 2, s / 2, s * .2f, kWhite);
    }
}

void DrawChecks(TImage& img) {
    TCanvas cv{img};
    struct TRow { int X, Y; bool Round; int Size; TMark Mark; };
    const TRow rows[] = {{0, 64, false, 13, mkCheck},  {45, 64, false, 13, mkNone}, {90, 64, false, 13, mkGray},
                         {135, 64, true, 13, mkDot},   {180, 64, true, 13, mkNone}, {0, 80, false, 11, mkCheck},
                         {45, 80, false, 11, mkNone},  {90, 80, false, 11, mkGray}};
    for (const TRow& r : rows)
        for (int state = 0; state < 3; ++state) {
            At(cv, r.X + state * 15, r.Y);
            CheckFrame(cv, state, r.Round, r.Size, r.Mark);
        }
    for (int state = 0; state < 3; ++state) {  // the combo box arrow: a solid triangle on whole pixels, 8 x 8
        At(cv, 192 + state * 8, 80);
        const uint32_t c = state == 0 ? kDim : kText;
        for (int row = 0; row < 4; ++row)
            for (int x = row; x < 8 - row; ++x) cv.Set(x, 2 + row, c);
    }
    At(cv, 228, 64);  // size grip
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j <= i; ++j) Disc(cv, 12, 12, 10.f - j * 4 + 0.f, 2.f + i * 4, 1.1f, kDim);
}

enum TGlyph { glClose, glMax, glNorm, glMin, glHelp };
void CaptionGlyph(TCanvas& cv, int w, int h, TGlyph g, uint32_t c) {
    const float cx = w / 2.f, cy = h / 2.f, r = std::min(w, h) * 0.22f, lw = 1.3f;
    switch (g) {
    case glClose:
        Stroke(cv, w, h, cx - r, cy - r, cx + r, cy + r, lw, c);
        Stroke(cv, w, h, cx - r, cy + r, cx + r, cy - r, lw, c);
        break;
    case glMax:
        for (auto [ax, ay, bx, by] : {std::array<float, 4>{cx - r, cy - r, cx + r, cy - r},
                                      {cx + r, cy - r, cx + r, cy + r}, {cx + r, cy + r, cx - r, cy + r},
                                      {cx - r, cy + r, cx - r, cy - r}})
            Stroke(cv, w, h, ax, ay, bx, by, lw, c);
        break;
    case glNorm: {
        const float q = r * 0.45f;
        Stroke(cv, w, h, cx - r + q, cy - r, cx + r, cy - r, lw, c);
        Stroke(cv, w, h, cx + r, cy - r, cx + r, cy + r - q, lw, c);
        for (auto [ax, ay, bx, by] : {std::array<float, 4>{cx - r, cy - r + q, cx + r - q, cy - r + q},
                                      {cx + r - q, cy - r + q, cx + r - q, cy + r}, {cx + r - q, cy + r, cx - r, cy + r},
                                      {cx - r, cy + r, cx - r, cy - r + q}})
            Stroke(cv, w, h, ax, ay, bx, by, lw, c);
        break;
    }
    case glMin: Stroke(cv, w, h, cx - r, cy + r * 0.6f, cx + r, cy + r * 0.6f, lw, c); break;
    case glHelp:
        Stroke(cv, w, h, cx - r * 0.7f, cy - r * 0.5f, cx - r * 0.2f, cy - r, lw, c);
        Stroke(cv, w, h, cx - r * 0.2f, cy - r, cx + r * 0.6f, cy - r * 0.6f, lw, c);
        Stroke(cv, w, h, cx + r * 0.6f, cy - r * 0.6f, cx, cy + r * 0.2f, lw, c);
        Disc(cv, w, h, cx, cy + r * 0.85f, 1.0f, c);
        break;
    }
}

// Three states: glyph alone, lit, pressed. Close buttons light red.
void CaptionButton(TCanvas& cv, int w, int h, TGlyph g, bool close) {
    const TCanvas base = cv;
    for (int state = 0; state < 3; ++state) {
        TCanvas s = base;
        s.OX += state * w;
        if (state > 0) {
            const uint32_t lit = close ? (state == 1 ? kCloseRed : kCloseDark) : (state == 1 ? kFaceHigh : kWell);
            Box(s, w, h, 3, lit, lit, lit);
        }
        CaptionGlyph(s, w, h, g, state == 0 ? kDim : kWhite);
    }
}

void DrawCaptionButtons(TImage& img) {
    TCanvas cv{img};
    struct TButton { int X, Y, W, H; TGlyph Glyph; bool Close; };
    const TButton buttons[] = {{0, 96, 24, 20, glClose, true},   {72, 96, 24, 20, glClose, true},
                               {144, 96, 24, 20, glMax, false},  {0, 116, 24, 20, glNorm, false},
                               {72, 116, 24, 20, glMin, false},  {144, 116, 24, 20, glHelp, false},
                               {0, 136, 16, 14, glClose, true},  {48, 136, 16, 14, glMax, false},
                               {96, 136, 16, 14, glNorm, false}, {144, 136, 16, 14, glMin, false}};
    for (const TButton& b : buttons) {
        At(cv, b.X, b.Y);
        CaptionButton(cv, b.W, b.H, b.Glyph, b.Close);
    }
}

void WriteBmp(const std::filesystem::path& file, const TImage& img) {
    const int rowBytes = (img.Width * 3 + 3) & ~3;
    std::vector<uint8_t> out(54 + size_t(rowBytes) * img.Height, 0);
    auto le = [&](size_t at, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) out[at + i] = uint8_t(v >> (8 * i));
    };
    out[0] = 'B', out[1] = 'M';
    le(2, uint32_t(out.size()), 4);
    le(10, 54, 4);
    le(14, 40, 4);
    le(18, uint32_t(img.Width), 4);
    le(22, uint32_t(img.Height), 4);
    le(26, 1, 2);
    le(28, 24, 2);
    for (int y = 0; y < img.Height; ++y)
        for (int x = 0; x < img.Width; ++x) {
            const uint32_t c = img.Rgb[size_t(img.Height - 1 - y) * img.Width + x];
            le(54 + size_t(y) * rowBytes + x * 3, c, 3);  // blue, green, red
        }
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(out.data()), std::streamsize(out.size()));
}

void WritePng(const std::filesystem::path& file, const TImage& img) {
    std::vector<uint8_t> rgba;
    for (size_t i = 0; i < img.Rgb.size(); ++i) {
        const uint32_t c = img.Rgb[i];
        rgba.insert(rgba.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c), img.Alpha[i]});
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = uint32_t(img.Width);
    image.height = uint32_t(img.Height);
    image.format = PNG_FORMAT_RGBA;
    if (!png_image_write_to_file(&image, file.string().c_str(), 0, rgba.data(), 0, nullptr))
        throw std::runtime_error("cannot write " + file.string());
}

}  // namespace

TImage DrawMasterBitmap() {
    TImage img = NewImage(256, 152);
    DrawFormBorders(img);
    DrawButtons(img);
    DrawChecks(img);
    DrawCaptionButtons(img);
    return img;
}

TImage DrawHugeButton() {
    TImage img = NewImage(144, 48);
    TCanvas cv{img};
    const uint32_t tops[3] = {kFaceHigh, kAccentLight, kAccentDark}, lines[3] = {kEdge, kAccentLight, kAccentDark};
    for (int i = 0; i < 3; ++i) {
        At(cv, i * 48, 0);
        Box(cv, 48, 48, 8, tops[i], i == 0 ? kFaceLight : kAccent, lines[i]);
    }
    return img;
}

TImage DrawCaptionGlow(uint32_t colour) {
    constexpr int w = kGlowWidth, h = kGlowHeight;
    TImage img{w, h, std::vector<uint32_t>(w * h, colour), std::vector<uint8_t>(w * h)};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float dx = (x + 0.5f - w / 2.f) / (w / 2.f), dy = (y + 0.5f - h / 2.f) / (h / 2.f);
            const float t = art::clamp01(1 - std::sqrt(dx * dx + dy * dy));
            img.Alpha[size_t(y) * w + x] = uint8_t(std::lround(160 * t * t));
        }
    return img;
}

void WriteVelmora2(const std::filesystem::path& optionsSource, const std::filesystem::path& outDir) {
    std::ifstream in(optionsSource, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + optionsSource.string());
    const std::string utf8(std::istreambuf_iterator<char>(in), {});
    sk::UseHostCodePage(sk::THostCodePage::cp1251);
    const auto ansi = sk::WideToAnsi(sk::MessageText(utf8.c_str()));
    if (!ansi) throw std::runtime_error("the options text has characters outside code page 1251");
    std::filesystem::create_directories(outDir);
    std::ofstream(outDir / "Options.dat", std::ios::binary) << *ansi;
    WriteBmp(outDir / "MASTER.BMP", DrawMasterBitmap());
    WriteBmp(outDir / sk::NativeSkinPath(L"КНОПКА.BMP"), DrawHugeButton());
    // The glow images are turned by the installer's hue offset like every own bitmap, while
    // BIKEEPHUE keeps the close buttons red; their glows are therefore drawn turned back.
    const uint32_t closeGlow = rd::ShiftHue(360 - kInstallerHueOffset, kCloseRed) & 0xFFFFFFu;
    const struct { const char* Name; uint32_t Colour; } glows[] = {
        {"BCLOSEG.PNG", closeGlow}, {"BALONEG.PNG", closeGlow}, {"BMAXG.PNG", kAccent},
        {"BNORMG.PNG", kAccent},    {"BMING.PNG", kAccent},     {"BHELPG.PNG", kAccent}};
    for (const auto& g : glows) WritePng(outDir / g.Name, DrawCaptionGlow(g.Colour));
}

}  // namespace skinart

// The options text and the loaders that read it: three bytes of tint (hue, saturation,
// brightness), then the bytes of "Options.dat"; bytes after a 0x01 byte are the manager's
// common sections, merged into the skin. The package beside the options holds a small master
// bitmap ("MASTER.BMP", with key-coloured corners) and a PNG with alpha ("GLYPH.PNG"), so that
// rectangle notations, corner detection, PNG preparation and the tint of bitmaps are reached.
// A skin either loads or raises the skin error or a conversion error.
#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <stdexcept>

#include "skin/OptionsFile.h"
#include "skin/SkinModel.h"
#include "tests/fuzz/FuzzTint.h"

namespace {

void PutLe(sk::TBytes& b, size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// A 48 x 32 24-bit bitmap: a colour ramp with magenta in the top-left corner of every 16 x 16
// cell, so some border masks find key-coloured corners and others do not.
sk::TBytes MasterBitmap() {
    const int w = 48, h = 32, rowBytes = w * 3;
    sk::TBytes b(54 + size_t(rowBytes) * h, 0);
    b[0] = 'B';
    b[1] = 'M';
    PutLe(b, 2, static_cast<uint32_t>(b.size()), 4);
    PutLe(b, 10, 54, 4);
    PutLe(b, 14, 40, 4);
    PutLe(b, 18, w, 4);
    PutLe(b, 22, h, 4);
    PutLe(b, 26, 1, 2);
    PutLe(b, 28, 24, 2);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int top = h - 1 - y;  // bottom-up rows
            const bool key = x % 16 < 3 && top % 16 < 3;
            uint8_t* p = &b[54 + size_t(y) * rowBytes + size_t(x) * 3];
            p[0] = key ? 0xFF : static_cast<uint8_t>(x * 5);
            p[1] = key ? 0x00 : static_cast<uint8_t>(top * 7);
            p[2] = key ? 0xFF : static_cast<uint8_t>(x * 3 + top);
        }
    return b;
}

// A 2 x 2 RGBA PNG: red at alpha 128, opaque green, transparent white, blue at alpha 64.
sk::TBytes GlyphPng() {
    static const uint8_t png[] = {
        0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00,
        0x00, 0x02, 0x00, 0x00, 0x00, 0x02, 0x08, 0x06, 0x00, 0x00, 0x00, 0x72, 0xb6, 0x0d, 0x24, 0x00, 0x00, 0x00,
        0x16, 0x49, 0x44, 0x41, 0x54, 0x78, 0xda, 0x63, 0xf8, 0xcf, 0xc0, 0xd0, 0xc0, 0xf0, 0x1f, 0x04, 0xff, 0x03,
        0x99, 0x0c, 0xff, 0x1d, 0x00, 0x45, 0x14, 0x07, 0xba, 0x9d, 0xa4, 0x37, 0x75, 0x00, 0x00, 0x00, 0x00, 0x49,
        0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};
    return sk::TBytes(png, png + sizeof png);
}

const sk::TacSkinConvertor& Package() {
    static const sk::TacSkinConvertor* package = [] {
        auto* p = new sk::TacSkinConvertor();
        p->Files.push_back({L"MASTER.BMP", true, MasterBitmap()});
        p->Files.push_back({L"GLYPH.PNG", false, GlyphPng()});
        return p;
    }();
    return *package;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < kTintBytes) return 0;
    const uint8_t* text = data + kTintBytes;
    const uint8_t* end = data + size;
    try {
        const uint8_t* split = std::find(text, end, uint8_t(1));
        sk::TOptionsFile options = sk::TOptionsFile::FromBytes(sk::TBytes(text, split));
        sk::TSkinModel model;
        model.Adjustment = TintFrom(data);
        if (split != end) model.CommonSections = sk::DecodeOptionsText(sk::TBytes(split + 1, end));
        model.Load(options, sk::TSkinSource{&Package(), {}});
    } catch (const sk::ESkinError&) {
    } catch (const std::invalid_argument&) {  // a value that is not a number
    }
    return 0;
}

// A glyph stored in a window description ("Glyph.Data": a length, then a bitmap file) is read
// as untrusted input: whole data loads, and data that is cut short anywhere, claims more or
// less than it holds, or carries a broken bitmap header is refused with a read error, leaving
// the glyph as it was. The speed button takes the property from a description.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "controls/sGlyphUtils.h"
#include "controls/sSpeedButton.h"
#include "tests/host/TestFiles.h"
#include "toolkit/DescriptionReader.h"

namespace {

// A 3 x 2 bitmap: red, green, blue over white, black, magenta (0x00RRGGBB).
const std::vector<uint32_t> kPixels = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0xFF00FF};

std::vector<uint8_t> Stored(const std::string& bitmap, int64_t lengthDelta = 0) {
    const auto length = static_cast<uint32_t>(static_cast<int64_t>(bitmap.size()) + lengthDelta);
    std::vector<uint8_t> data(4 + bitmap.size());
    for (size_t i = 0; i < 4; ++i) data[i] = uint8_t(length >> (8 * i));
    for (size_t i = 0; i < bitmap.size(); ++i) data[4 + i] = uint8_t(bitmap[i]);
    return data;
}

void PutLe(std::string& s, size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) s[at + size_t(i)] = char(v >> (8 * i));
}

// The valid bitmap with one header field replaced.
std::string Patched(size_t at, uint32_t v, int bytes) {
    std::string s = kvtest::Bmp24(3, 2, kPixels);
    PutLe(s, at, v, bytes);
    return s;
}

bool Refused(const std::vector<uint8_t>& data, tk::TBitmap& glyph) {
    try {
        sk::LoadGlyphData(data, glyph);
    } catch (const tk::EReadError&) {
        return true;
    }
    return false;
}

}  // namespace

TEST(GlyphData, WholeDataLoadsEveryPixelInPlace) {
    tk::TBitmap glyph;
    sk::LoadGlyphData(Stored(kvtest::Bmp24(3, 2, kPixels)), glyph);
    ASSERT_EQ(glyph.Width(), 3);
    ASSERT_EQ(glyph.Height(), 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            // A 24-bit source has no alpha: the glyph is keyed by its colour when painted.
            EXPECT_EQ(glyph.ScanLine(y)[x], kPixels[size_t(y) * 3 + size_t(x)]) << x << "," << y;
}

TEST(GlyphData, NoBytesAfterTheLengthClearsTheGlyph) {
    tk::TBitmap glyph(4, 4);
    sk::LoadGlyphData({0, 0, 0, 0}, glyph);
    EXPECT_EQ(glyph.Width(), 0);
    EXPECT_EQ(glyph.Height(), 0);
}

TEST(GlyphData, BrokenDataIsRefusedAndTheGlyphKept) {
    const std::string valid = kvtest::Bmp24(3, 2, kPixels);
    struct Case {
        const char* name;
        std::vector<uint8_t> data;
    };
    const Case cases[] = {
        {"nothing at all", {}},
        {"half a length", {8, 0}},
        {"length past the end", Stored(valid, 1)},
        {"length far past the end", Stored(valid, 0x7FFFFFF0)},
        {"bytes beyond the length", Stored(valid, -1)},
        {"not a bitmap", Stored(std::string(60, 'x'))},
        {"header only", Stored(valid.substr(0, 54))},
        {"pixel offset past the end", Stored(Patched(10, 0xFFFFFFF0u, 4))},
        {"info header past the end", Stored(Patched(14, 0x7FFFFFFFu, 4))},
        {"more rows than stored", Stored(Patched(22, 200, 4))},
        {"more columns than stored", Stored(Patched(18, 4000, 4))},
        {"width zero", Stored(Patched(18, 0, 4))},
        {"negative width", Stored(Patched(18, 0xFFFFFFFDu, 4))},
        {"huge picture", Stored(Patched(18, 0x40000000u, 4))},
        {"unsupported depth", Stored(Patched(28, 16, 2))},
        {"compressed", Stored(Patched(30, 1, 4))},
        {"palette past the end", Stored(Patched(28, 8, 2))},
    };
    for (const Case& c : cases) {
        tk::TBitmap glyph(5, 7);
        glyph.ScanLine(0)[0] = 0x12345678u;
        EXPECT_TRUE(Refused(c.data, glyph)) << c.name;
        EXPECT_EQ(glyph.Width(), 5) << c.name;
        EXPECT_EQ(glyph.Height(), 7) << c.name;
        EXPECT_EQ(glyph.ScanLine(0)[0], 0x12345678u) << c.name;
    }
}

TEST(GlyphData, EveryCutOfTheDataIsRefused) {
    const std::vector<uint8_t> whole = Stored(kvtest::Bmp24(3, 2, kPixels));
    for (size_t size = 0; size < whole.size(); ++size) {
        std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(size));
        tk::TBitmap glyph;
        EXPECT_TRUE(Refused(cut, glyph)) << "cut to " << size << " bytes, length kept";
        if (size >= 4) {
            // The length told the truth about the cut: the bitmap itself is short.
            const uint32_t inner = static_cast<uint32_t>(size - 4);
            for (int i = 0; i < 4; ++i) cut[size_t(i)] = uint8_t(inner >> (8 * i));
            EXPECT_TRUE(inner == 0 || Refused(cut, glyph)) << "bitmap cut to " << inner << " bytes";
        }
    }
}

TEST(GlyphData, SpeedButtonReadsItsGlyphFromADescription) {
    sk::TsSpeedButton button(nullptr);
    tk::TReader reader(nullptr, 0);
    tk::TValue value;
    value.Kind = tk::TValueKind::Binary;
    value.Bytes = Stored(kvtest::Bmp24(3, 2, kPixels));
    button.SetProperty(reader, "Glyph.Data", value);
    EXPECT_EQ(button.Glyph().Width(), 3);
    EXPECT_EQ(button.GlyphWidth(), 3);
    EXPECT_EQ(button.Glyph().ScanLine(1)[2], 0xFF00FFu);
    value.Bytes.resize(20);
    EXPECT_THROW(button.SetProperty(reader, "Glyph.Data", value), tk::EReadError);
    EXPECT_EQ(button.Glyph().Width(), 3);
}

// The toolkit's image list: strips cut into images with the transparency of a mask, a key
// colour or the strip's own alpha; partial strips, rows beyond the list's height, invalid
// indexes; drawing normal and disabled over what a device context holds.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "toolkit/ImgList.h"

namespace {

// A strip of 4 x 2 pieces side by side, piece k filled with colours[k] (0xAARRGGBB).
std::unique_ptr<tk::TBitmap> Strip(const std::vector<uint32_t>& colours) {
    auto strip = std::make_unique<tk::TBitmap>(4 * static_cast<int>(colours.size()), 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < strip->Width(); ++x) strip->ScanLine(y)[x] = colours[static_cast<size_t>(x / 4)];
    return strip;
}

}  // namespace

TEST(ImageList, CutsStripsAndTakesTransparencyFromMaskKeyOrAlpha) {
    const struct {
        const char* name;
        std::vector<uint32_t> colours;
        int maskWhitePiece;  // piece whose mask pixels are white (-1: no mask)
        bool keyed;          // AddMasked with the colour 0x00FF00 (green)
        std::vector<uint32_t> expected;  // pixel (1, 1) of each image
    } cases[] = {
        {"no alpha: opaque", {0x00112233u, 0x00445566u}, -1, false, {0xFF112233u, 0xFF445566u}},
        {"own alpha kept", {0x80112233u, 0x00445566u}, -1, false, {0x80112233u, 0u}},
        {"white mask: transparent", {0x00112233u, 0x00445566u}, 1, false, {0xFF112233u, 0u}},
        {"key colour: transparent", {0x0000FF00u, 0x00445566u}, -1, true, {0u, 0xFF445566u}},
    };
    for (const auto& c : cases) {
        tk::TCustomImageList list(nullptr, 4, 2);
        const auto strip = Strip(c.colours);
        int first;
        if (c.keyed) {
            first = list.AddMasked(*strip, 0x00FF00);
        } else if (c.maskWhitePiece >= 0) {
            const auto mask = Strip({0, 0});
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < 4; ++x) mask->ScanLine(y)[c.maskWhitePiece * 4 + x] = 0x00FFFFFFu;
            first = list.Add(*strip, mask.get());
        } else {
            first = list.Add(*strip);
        }
        EXPECT_EQ(first, 0) << c.name;
        ASSERT_EQ(list.Count(), static_cast<int>(c.expected.size())) << c.name;
        for (size_t k = 0; k < c.expected.size(); ++k)
            EXPECT_EQ(list.Pixel(static_cast<int>(k), 1, 1), c.expected[k]) << c.name << ", image " << k;
    }
}

TEST(ImageList, PartialPiecesShortStripsAndInvalidIndexesReadNothing) {
    tk::TCustomImageList list(nullptr, 4, 3);
    // 10 pixels wide: two images, the last 2 columns dropped; only 2 rows of the 3.
    tk::TBitmap strip(10, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 10; ++x) strip.ScanLine(y)[x] = 0x00A0B0C0u;
    EXPECT_EQ(list.Add(strip), 0);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Pixel(1, 3, 1), 0xFFA0B0C0u);
    EXPECT_EQ(list.Pixel(1, 3, 2), 0u) << "a row the strip lacks is transparent";
    EXPECT_EQ(list.Add(tk::TBitmap(3, 3)), -1) << "narrower than one image";
    EXPECT_EQ(list.Count(), 2);
    for (const int index : {-1, 2, 1000}) {
        EXPECT_EQ(list.Pixel(index, 0, 0), 0u) << index;
        EXPECT_EQ(list.Row(index, 0), nullptr) << index;
    }
    for (const auto& at : std::vector<std::pair<int, int>>{{-1, 0}, {4, 0}, {0, -1}, {0, 3}})
        EXPECT_EQ(list.Pixel(0, at.first, at.second), 0u) << at.first << "," << at.second;
    tk::TBitmap out;
    list.GetBitmap(7, out);
    EXPECT_EQ(out.Width(), 0);
    list.GetBitmap(0, out);
    ASSERT_EQ(out.Width(), 4);
    EXPECT_EQ(out.ScanLine(0)[0], 0xFFA0B0C0u);
    int changes = 0;
    list.OnChange = [&changes] { ++changes; };
    list.SetSize(8, 8);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(changes, 1);
}

TEST(ImageList, DrawsNormalAndDisabledOverTheDeviceContext) {
    tk::TCustomImageList list(nullptr, 4, 2);
    list.Add(*Strip({0xFF0000FFu, 0x800000FFu, 0x00000000u}));
    const struct {
        const char* name;
        int index;
        bool enabled;
        uint32_t expected;  // the target pixel (1, 1) as 0x00RRGGBB, over 0x00202020
    } cases[] = {
        {"opaque blue", 0, true, 0x0000FF},
        {"half blue", 1, true, 0x10108F},
        {"transparent", 2, true, 0x202020},
        {"disabled: grey at half", 0, false, 0x1F1F1F},
        {"invalid index: nothing", 5, true, 0x202020},
    };
    for (const auto& c : cases) {
        tk::TBitmap target(6, 4);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x) target.ScanLine(y)[x] = 0x00202020u;
        list.Draw(target.Canvas().Handle(), 1, 1, c.index, c.enabled);
        GdiFlush();
        EXPECT_EQ(target.ScanLine(2)[2] & 0xFFFFFFu, c.expected) << c.name;
        EXPECT_EQ(target.ScanLine(0)[0] & 0xFFFFFFu, 0x202020u) << c.name << ": outside untouched";
    }
}

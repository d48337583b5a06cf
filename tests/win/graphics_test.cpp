// Bitmaps with signed stride, JPEG decoding through libjpeg, stored picture data.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <csetjmp>

extern "C" {
#include <jpeglib.h>
}

#include "toolkit/Graphics.h"

using namespace tk;

namespace {

// A small JPEG with a colour per quadrant, encoded in memory.
std::vector<uint8_t> EncodeJpeg(int w, int h, bool progressive) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = w;
    c.image_height = h;
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 95, TRUE);
    if (progressive) jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(w) * 3);
    while (c.next_scanline < c.image_height) {
        for (int x = 0; x < w; ++x) {
            bool right = x >= w / 2, bottom = static_cast<int>(c.next_scanline) >= h / 2;
            row[x * 3 + 0] = right ? 255 : 0;    // red on the right
            row[x * 3 + 1] = bottom ? 255 : 0;   // green at the bottom
            row[x * 3 + 2] = 0;
        }
        JSAMPROW r[1] = {row.data()};
        jpeg_write_scanlines(&c, r, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::vector<uint8_t> bytes(out, out + size);
    free(out);
    return bytes;
}

std::vector<uint8_t> StoredPicture(const std::string& cls, const std::vector<uint8_t>& image, int32_t declared) {
    std::vector<uint8_t> d;
    d.reserve(1 + cls.size() + 4 + image.size());
    d.push_back(static_cast<uint8_t>(cls.size()));
    d.insert(d.end(), cls.begin(), cls.end());
    uint8_t len[4];
    std::memcpy(len, &declared, 4);
    d.insert(d.end(), len, len + 4);
    d.insert(d.end(), image.begin(), image.end());
    return d;
}

bool Near(uint8_t a, int b) { return std::abs(static_cast<int>(a) - b) < 24; }

}  // namespace

TEST(Bitmap, RowZeroIsTheTopRowWhateverTheStorage) {
    TBitmap bmp(7, 5);
    ASSERT_NE(bmp.Row0(), nullptr);
    EXPECT_EQ(bmp.Stride(), -28) << "bottom-up storage";
    SetPixelV(bmp.Canvas().Handle(), 2, 0, RGB(10, 20, 30));
    SetPixelV(bmp.Canvas().Handle(), 3, 4, RGB(40, 50, 60));
    GdiFlush();
    EXPECT_EQ(bmp.ScanLine(0)[2] & 0xFFFFFF, 0x0A141Eu);
    EXPECT_EQ(bmp.ScanLine(4)[3] & 0xFFFFFF, 0x28323Cu);
    bmp.SetSize(0, 3);
    EXPECT_EQ(bmp.Row0(), nullptr);
}

TEST(JPEGImage, DecodesABaselinePictureIntoOpaquePixels) {
    TJPEGImage jpeg;
    auto bytes = EncodeJpeg(32, 16, false);
    jpeg.LoadFromMemory(bytes.data(), bytes.size());
    EXPECT_EQ(jpeg.Width(), 32);
    EXPECT_EQ(jpeg.Height(), 16);
    EXPECT_EQ(jpeg.Components(), 3);
    EXPECT_FALSE(jpeg.Progressive());
    struct Probe { int x, y, r, g; };
    for (Probe p : {Probe{2, 2, 0, 0}, Probe{29, 2, 255, 0}, Probe{2, 13, 0, 255}, Probe{29, 13, 255, 255}}) {
        uint32_t px = jpeg.Bitmap().ScanLine(p.y)[p.x];
        EXPECT_EQ(px >> 24, 0xFFu);
        EXPECT_TRUE(Near((px >> 16) & 0xFF, p.r) && Near((px >> 8) & 0xFF, p.g)) << std::hex << px << " at " << p.x << "," << p.y;
    }
}

TEST(JPEGImage, ProgressiveFilesAreRecognised) {
    TJPEGImage jpeg;
    auto bytes = EncodeJpeg(16, 16, true);
    jpeg.LoadFromMemory(bytes.data(), bytes.size());
    EXPECT_TRUE(jpeg.Progressive());
}

TEST(JPEGImage, CorruptDataRaisesAGraphicError) {
    auto bytes = EncodeJpeg(16, 16, false);
    for (size_t keep : {size_t(0), size_t(2), size_t(20)}) {
        TJPEGImage jpeg;
        EXPECT_THROW(jpeg.LoadFromMemory(bytes.data(), keep), EInvalidGraphic) << keep;
    }
    std::vector<uint8_t> junk(100, 0x42);
    TJPEGImage jpeg;
    EXPECT_THROW(jpeg.LoadFromMemory(junk.data(), junk.size()), EInvalidGraphic);
}

TEST(Picture, StoredDataCarriesClassNameAndLength) {
    auto image = EncodeJpeg(8, 8, false);
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&] { ++changes; };
    picture.LoadFromStoredData(StoredPicture("TJPEGImage", image, static_cast<int32_t>(image.size())));
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_EQ(picture.Graphic()->Width(), 8);
    EXPECT_EQ(changes, 1);

    struct Bad { const char* what; std::vector<uint8_t> data; };
    for (const Bad& b : {Bad{"empty", {}},
                         Bad{"length beyond the data", StoredPicture("TJPEGImage", image, static_cast<int32_t>(image.size()) + 1)},
                         Bad{"negative length", StoredPicture("TJPEGImage", image, -1)},
                         Bad{"unknown class", StoredPicture("TGIFImage", image, static_cast<int32_t>(image.size()))},
                         Bad{"name longer than the data", std::vector<uint8_t>{40, 'T'}}}) {
        TPicture p;
        EXPECT_THROW(p.LoadFromStoredData(b.data), EReadError) << b.what;
    }
}

#include "skin/acImageDecode.h"

#include <jpeglib.h>
#include <png.h>

#include <csetjmp>
#include <cstring>
#include <string>
#include <vector>

#include "skin/SkinError.h"

namespace sk {

namespace {

ESkinError SizeError(int64_t width, int64_t height, const char* format) {
    return ESkinError(std::string(format) + " image of unsupported size " + std::to_string(width) + " x " +
                      std::to_string(height));
}

void CheckSize(int64_t width, int64_t height, const char* format) {
    if (width <= 0 || height <= 0 || width * height > kMaxImagePixels) throw SizeError(width, height, format);
}

uint32_t Le(const uint8_t* p, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= uint32_t(p[i]) << (8 * i);
    return v;
}

}  // namespace

void ClearWhiteTransparent(rd::TBitmap32& bitmap) {
    for (int y = 0; y < bitmap.Height; ++y) {
        uint32_t* row = bitmap.Row(y);
        for (int x = 0; x < bitmap.Width; ++x)
            if (row[x] == 0x00FFFFFFu) row[x] = 0;
    }
}

void MakeOpaqueExceptKey(rd::TBitmap32& bitmap) {
    for (int y = 0; y < bitmap.Height; ++y) {
        uint32_t* row = bitmap.Row(y);
        for (int x = 0; x < bitmap.Width; ++x)
            if (row[x] != 0x00FF00FFu) row[x] |= 0xFF000000u;
    }
}

// ---- Windows bitmap ----

TDecodedImage DecodeBmp(const uint8_t* data, size_t size) {
    auto bad = [](const char* why) { return ESkinError(std::string("Invalid bitmap: ") + why); };
    if (size < 54 || data[0] != 'B' || data[1] != 'M') throw bad("no bitmap header");
    const uint32_t pixelOffset = Le(data + 10, 4);
    const uint32_t infoSize = Le(data + 14, 4);
    if (infoSize < 40 || 14 + uint64_t(infoSize) > size) throw bad("unsupported header");
    const int32_t width = static_cast<int32_t>(Le(data + 18, 4));
    const int32_t rawHeight = static_cast<int32_t>(Le(data + 22, 4));
    const int bpp = static_cast<int>(Le(data + 28, 2));
    const uint32_t compression = Le(data + 30, 4);
    const bool topDown = rawHeight < 0;
    const int64_t height = topDown ? -int64_t(rawHeight) : rawHeight;
    CheckSize(width, height, "Bitmap");
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) throw bad("unsupported bit depth");
    if (!(compression == 0 || (compression == 3 && bpp == 32))) throw bad("compressed bitmaps are not supported");

    std::vector<uint32_t> palette;
    if (bpp <= 8) {
        uint32_t colours = Le(data + 46, 4);
        if (colours == 0 || colours > (1u << bpp)) colours = 1u << bpp;
        const uint64_t at = 14 + uint64_t(infoSize);
        if (at + colours * 4ull > size) throw bad("palette past the end");
        for (uint32_t i = 0; i < colours; ++i) palette.push_back(Le(data + at + i * 4, 4) & 0x00FFFFFFu);
    }
    const uint64_t rowBytes = ((uint64_t(width) * bpp + 31) / 32) * 4;
    if (pixelOffset > size || rowBytes * uint64_t(height) > size - pixelOffset) throw bad("pixels past the end");

    TDecodedImage out;
    out.Has32Bits = bpp == 32;
    out.Bitmap = std::make_unique<rd::TMemBitmap32>(width, static_cast<int>(height));
    for (int64_t j = 0; j < height; ++j) {
        const uint8_t* src = data + pixelOffset + j * rowBytes;
        uint32_t* dst = out.Bitmap->Row(static_cast<int>(topDown ? j : height - 1 - j));
        for (int32_t x = 0; x < width; ++x) {
            uint32_t v;
            if (bpp == 32) {
                v = Le(src + x * 4, 4);
            } else if (bpp == 24) {
                v = Le(src + x * 3, 3);
            } else {
                const int perByte = 8 / bpp;
                const int shift = (perByte - 1 - x % perByte) * bpp;
                const uint32_t index = (src[x / perByte] >> shift) & ((1u << bpp) - 1);
                v = index < palette.size() ? palette[index] : 0;
            }
            dst[x] = v;
        }
    }
    return out;
}

// ---- PNG ----

TDecodedImage DecodePng(const uint8_t* data, size_t size) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size))
        throw ESkinError(std::string("Invalid PNG image: ") + image.message);
    struct Guard {
        png_image& i;
        ~Guard() { png_image_free(&i); }
    } guard{image};
    CheckSize(image.width, image.height, "PNG");
    image.format = PNG_FORMAT_BGRA;
    TDecodedImage out;
    out.Has32Bits = true;
    out.Bitmap = std::make_unique<rd::TMemBitmap32>(static_cast<int>(image.width), static_cast<int>(image.height));
    // libpng takes the buffer's lowest address and a signed stride in bytes (negative: bottom-up).
    const rd::TMemBitmap32& bmp = *out.Bitmap;
    const auto stride = static_cast<png_int_32>(bmp.Height > 1 ? bmp.Stride : bmp.Width * 4);
    void* lowest = stride < 0 ? static_cast<void*>(bmp.Row(bmp.Height - 1)) : static_cast<void*>(bmp.Row0);
    if (!png_image_finish_read(&image, nullptr, lowest, stride, nullptr))
        throw ESkinError(std::string("Invalid PNG image: ") + image.message);
    return out;
}

// ---- JPEG ----

namespace {

struct TJpegError {
    jpeg_error_mgr mgr;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr info) {
    auto* err = reinterpret_cast<TJpegError*>(info->err);
    err->mgr.format_message(info, err->message);
    longjmp(err->jump, 1);
}

}  // namespace

TDecodedImage DecodeJpeg(const uint8_t* data, size_t size) {
    jpeg_decompress_struct info{};
    TJpegError err{};
    info.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = JpegErrorExit;
    // Only a volatile raw pointer crosses the jump; it is owned again right after decoding.
    rd::TMemBitmap32* volatile bitmap = nullptr;
    volatile bool tooLarge = false;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        delete bitmap;
        throw ESkinError(std::string("Invalid JPEG image: ") + err.message);
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    if (info.image_width == 0 || info.image_height == 0 ||
        int64_t(info.image_width) * info.image_height > kMaxImagePixels) {
        tooLarge = true;
    } else {
        info.out_color_space = JCS_EXT_BGRX;
        jpeg_start_decompress(&info);
        bitmap = new rd::TMemBitmap32(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
        while (info.output_scanline < info.output_height) {
            JSAMPROW row = reinterpret_cast<JSAMPROW>(bitmap->Row(static_cast<int>(info.output_scanline)));
            jpeg_read_scanlines(&info, &row, 1);
        }
        jpeg_finish_decompress(&info);
    }
    const int64_t w = info.image_width, h = info.image_height;
    jpeg_destroy_decompress(&info);
    TDecodedImage out;
    out.Bitmap.reset(bitmap);
    if (tooLarge) throw SizeError(w, h, "JPEG");
    for (int y = 0; y < out.Bitmap->Height; ++y)
        for (int x = 0; x < out.Bitmap->Width; ++x) out.Bitmap->Row(y)[x] &= 0x00FFFFFFu;
    return out;
}

}  // namespace sk

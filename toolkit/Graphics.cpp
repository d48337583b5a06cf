#include "toolkit/Graphics.h"

#include <cstdio>
#include <cstring>
#include <csetjmp>
#include <map>

extern "C" {
#include <jpeglib.h>
}

#include "toolkit/Streams.h"

namespace tk {

COLORREF ColorToRGB(TColor c) {
    if (c < 0) return GetSysColor(c & 0xFF);
    return static_cast<COLORREF>(c) & 0xFFFFFF;
}

bool IdentToColor(const std::string& ident, TColor& color) {
    static const std::map<std::string, TColor> names = {
        {"clBlack", clBlack}, {"clWhite", clWhite}, {"clCream", clCream}, {"clNone", clNone},
        {"clWindowText", clWindowText}, {"clBtnFace", clBtnFace}, {"clWindow", clWindow},
        {"clHighlight", clHighlight}, {"clGrayText", clGrayText}, {"clBtnShadow", clBtnShadow},
        {"clBtnHighlight", clBtnHighlight}, {"clSilver", 0xC0C0C0}, {"clGray", 0x808080},
        {"clNavy", 0x800000}, {"clBlue", 0xFF0000}, {"clRed", 0x0000FF}, {"clGreen", 0x008000},
    };
    auto it = names.find(ident);
    if (it == names.end()) return false;
    color = it->second;
    return true;
}

// --- TFont

TFont::TFont() = default;
TFont::~TFont() { if (FHandle) DeleteObject(FHandle); }

void TFont::Assign(const TFont& o) {
    Name = o.Name; Height = o.Height; Color = o.Color; Style = o.Style; Charset = o.Charset;
    Orientation = o.Orientation;
    Changed();
}

bool TFont::operator==(const TFont& o) const {
    return Name == o.Name && Height == o.Height && Color == o.Color && Style == o.Style && Charset == o.Charset &&
           Orientation == o.Orientation;
}

void TFont::Changed() {
    if (FHandle) DeleteObject(FHandle);
    FHandle = nullptr;
    if (OnChange) OnChange();
}

HFONT TFont::Handle() {
    if (!FHandle) {
        LOGFONTW lf{};
        lf.lfHeight = Height;
        lf.lfEscapement = lf.lfOrientation = Orientation;
        lf.lfWeight = (Style & fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = (Style & fsItalic) != 0;
        lf.lfUnderline = (Style & fsUnderline) != 0;
        lf.lfStrikeOut = (Style & fsStrikeOut) != 0;
        lf.lfCharSet = static_cast<BYTE>(Charset);
        lf.lfQuality = DEFAULT_QUALITY;
        lstrcpynW(lf.lfFaceName, Name.c_str(), LF_FACESIZE);
        FHandle = CreateFontIndirectW(&lf);
    }
    return FHandle;
}

// --- TBrush, TPen

TBrush::~TBrush() { if (FHandle) DeleteObject(FHandle); }

HBRUSH TBrush::Handle() {
    if (Clear) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    COLORREF rgb = ColorToRGB(Color);
    if (!FHandle || FFor != rgb) {
        if (FHandle) DeleteObject(FHandle);
        FHandle = CreateSolidBrush(rgb);
        FFor = rgb;
    }
    return FHandle;
}

TPen::~TPen() { if (FHandle) DeleteObject(FHandle); }

HPEN TPen::Handle() {
    COLORREF rgb = ColorToRGB(Color);
    if (!FHandle || FFor != rgb || FWidthFor != Width) {
        if (FHandle) DeleteObject(FHandle);
        FHandle = CreatePen(PS_SOLID, Width, rgb);
        FFor = rgb;
        FWidthFor = Width;
    }
    return FHandle;
}

// --- TCanvas

void TCanvas::SelectFont() {
    SelectObject(FDC, Font.Handle());
    SetTextColor(FDC, ColorToRGB(Font.Color));
    SetBkMode(FDC, TRANSPARENT);
}

void TCanvas::FillRect(const RECT& r) { ::FillRect(FDC, &r, Brush.Handle()); }
void TCanvas::FrameRect(const RECT& r) { ::FrameRect(FDC, &r, Brush.Handle()); }

void TCanvas::Rectangle(const RECT& r) {
    HGDIOBJ oldPen = SelectObject(FDC, Pen.Handle());
    HGDIOBJ oldBrush = SelectObject(FDC, Brush.Handle());
    ::Rectangle(FDC, r.left, r.top, r.right, r.bottom);
    SelectObject(FDC, oldBrush);
    SelectObject(FDC, oldPen);
}

void TCanvas::TextOut(int x, int y, const std::wstring& text) {
    SelectFont();
    ::TextOutW(FDC, x, y, text.c_str(), static_cast<int>(text.size()));
}

void TCanvas::TextRect(const RECT& r, const std::wstring& text, UINT format) {
    SelectFont();
    RECT rc = r;
    DrawTextW(FDC, text.c_str(), static_cast<int>(text.size()), &rc, format);
}

SIZE TCanvas::TextExtent(const std::wstring& text) {
    SelectFont();
    SIZE s{};
    GetTextExtentPoint32W(FDC, text.c_str(), static_cast<int>(text.size()), &s);
    return s;
}

void TCanvas::Draw(int x, int y, TGraphic& g) {
    RECT r{x, y, x + g.Width(), y + g.Height()};
    g.Draw(*this, r);
}

// --- TBitmap

TBitmap::~TBitmap() { Release(); }

void TBitmap::Release() {
    FCanvas.reset();
    if (FDC) {
        SelectObject(FDC, FOldBitmap);
        DeleteDC(FDC);
    }
    if (FHandle) DeleteObject(FHandle);
    FDC = nullptr;
    FHandle = nullptr;
    FRow0 = nullptr;
    FWidth = FHeight = FStride = 0;
}

void TBitmap::SetSize(int width, int height) {
    if (width == FWidth && height == FHeight && FHandle) return;
    Release();
    if (width <= 0 || height <= 0) return;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = height;  // bottom-up, as the toolkit's bitmaps are
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    FHandle = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!FHandle) throw EOutOfResources(L"Out of system resources");
    FWidth = width;
    FHeight = height;
    FStride = -width * 4;
    FRow0 = static_cast<uint8_t*>(bits) + static_cast<ptrdiff_t>(height - 1) * width * 4;
}

TCanvas& TBitmap::Canvas() {
    if (!FCanvas) {
        FDC = CreateCompatibleDC(nullptr);
        FOldBitmap = SelectObject(FDC, FHandle);
        FCanvas = std::make_unique<TCanvas>(FDC);
    }
    return *FCanvas;
}

void TBitmap::Draw(TCanvas& canvas, const RECT& dest) {
    if (!FHandle) return;
    HDC src = Canvas().Handle();
    int w = dest.right - dest.left, h = dest.bottom - dest.top;
    if (w == FWidth && h == FHeight)
        BitBlt(canvas.Handle(), dest.left, dest.top, w, h, src, 0, 0, SRCCOPY);
    else {
        SetStretchBltMode(canvas.Handle(), HALFTONE);
        StretchBlt(canvas.Handle(), dest.left, dest.top, w, h, src, 0, 0, FWidth, FHeight, SRCCOPY);
    }
}

void TBitmap::LoadFromStream(TStream&) {
    throw EInvalidOperation(L"Bitmap streams are not supported");
}

// --- TJPEGImage

namespace {
struct JpegError {
    jpeg_error_mgr mgr;
    jmp_buf jump;
    char text[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<JpegError*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->text);
    longjmp(err->jump, 1);
}
}  // namespace

void TJPEGImage::LoadFromStream(TStream& stream) {
    int64_t size = stream.Size() - stream.Position();
    std::vector<uint8_t> data(static_cast<size_t>(std::max<int64_t>(size, 0)));
    stream.ReadBuffer(data.data(), static_cast<int64_t>(data.size()));
    LoadFromMemory(data.data(), data.size());
}

void TJPEGImage::LoadFromMemory(const uint8_t* data, size_t size) {
    jpeg_decompress_struct cinfo{};
    JpegError err{};
    std::vector<JSAMPLE> row;  // declared before setjmp so a decoding error cannot skip its destructor
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = JpegErrorExit;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        throw EInvalidGraphic(Format(L"JPEG error: %s", {Utf8ToWide(err.text)}));
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    FComponents = cinfo.num_components;
    FProgressive = cinfo.progressive_mode != 0;
    // Refuse dimensions no picture of ours could have before allocating anything.
    if (cinfo.image_width > 16384 || cinfo.image_height > 16384) {
        jpeg_destroy_decompress(&cinfo);
        throw EInvalidGraphic(L"JPEG error: image too large");
    }
    jpeg_start_decompress(&cinfo);
    int w = static_cast<int>(cinfo.output_width), h = static_cast<int>(cinfo.output_height);
    FBitmap.SetSize(w, h);
    row.resize(static_cast<size_t>(w) * cinfo.output_components);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW rows[1] = {row.data()};
        int y = static_cast<int>(cinfo.output_scanline);
        jpeg_read_scanlines(&cinfo, rows, 1);
        uint32_t* out = FBitmap.ScanLine(y);
        for (int x = 0; x < w; ++x) {
            const JSAMPLE* p = &row[static_cast<size_t>(x) * 3];
            out[x] = 0xFF000000u | (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
}

// --- TPicture

void TPicture::LoadFromStoredData(const std::vector<uint8_t>& data) {
    if (data.empty()) throw EReadError(L"Invalid picture data");
    size_t nameLen = data[0];
    if (1 + nameLen + 4 > data.size()) throw EReadError(L"Invalid picture data");
    std::string cls(reinterpret_cast<const char*>(&data[1]), nameLen);
    uint32_t len = 0;
    std::memcpy(&len, &data[1 + nameLen], 4);
    size_t start = 1 + nameLen + 4;
    if (len > data.size() - start) throw EReadError(L"Invalid picture data");
    if (cls != "TJPEGImage") throw EReadError(Format(L"Unsupported picture class %s", {Utf8ToWide(cls)}));
    auto jpeg = std::make_unique<TJPEGImage>();
    jpeg->LoadFromMemory(&data[start], len);
    FGraphic = std::move(jpeg);
    if (OnChange) OnChange();
}

bool UpdateLayeredFromBitmap(HWND wnd, const POINT* screenPos, const SIZE& size, TBitmap& premultiplied) {
    // A size past the bitmap would have the system read beyond its pixels.
    if (size.cx <= 0 || size.cy <= 0 || size.cx > premultiplied.Width() || size.cy > premultiplied.Height())
        return false;
    HDC screen = GetDC(nullptr);
    POINT source{0, 0};
    POINT position = screenPos ? *screenPos : POINT{};
    SIZE extent = size;
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    BOOL ok = UpdateLayeredWindow(wnd, screen, screenPos ? &position : nullptr, &extent,
                                  premultiplied.Canvas().Handle(), &source, 0, &blend, ULW_ALPHA);
    ReleaseDC(nullptr, screen);
    return ok != FALSE;
}

}  // namespace tk

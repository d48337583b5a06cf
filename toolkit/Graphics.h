// GDI objects with the toolkit's names: fonts, brushes, pens, canvases and 32-bit bitmaps.
#pragma once
#include "toolkit/Classes.h"

namespace tk {

using TColor = int32_t;  // 0x00BBGGRR; negative values are system colours
constexpr TColor clBlack = 0x000000, clWhite = 0xFFFFFF, clCream = 0xF0FBFF, clNone = 0x1FFFFFFF;
constexpr TColor clSystemBase = static_cast<TColor>(0x80000000);
constexpr TColor clWindowText = clSystemBase | COLOR_WINDOWTEXT;
constexpr TColor clBtnFace = clSystemBase | COLOR_BTNFACE;
constexpr TColor clWindow = clSystemBase | COLOR_WINDOW;
constexpr TColor clHighlight = clSystemBase | COLOR_HIGHLIGHT;
constexpr TColor clGrayText = clSystemBase | COLOR_GRAYTEXT;
constexpr TColor clBtnShadow = clSystemBase | COLOR_BTNSHADOW;
constexpr TColor clBtnHighlight = clSystemBase | COLOR_BTNHIGHLIGHT;

// Resolves system colours to RGB.
COLORREF ColorToRGB(TColor c);
// Colour names as stored in window descriptions ("clCream", "clHighlight", ...).
bool IdentToColor(const std::string& ident, TColor& color);

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class TFont : public TObject {
public:
    TFont();
    ~TFont() override;
    std::wstring Name = L"MS Sans Serif";
    int Height = -11;
    TColor Color = clWindowText;
    unsigned Style = 0;
    int Charset = DEFAULT_CHARSET;
    int Orientation = 0;
    std::function<void()> OnChange;

    void Assign(const TFont& other);
    void Changed();  // drops the cached handle and tells the owner
    HFONT Handle();
    bool operator==(const TFont& o) const;
private:
    HFONT FHandle = nullptr;
};

class TBrush : public TObject {
public:
    ~TBrush() override;
    TColor Color = clWhite;
    bool Clear = false;  // no fill
    HBRUSH Handle();
private:
    HBRUSH FHandle = nullptr;
    COLORREF FFor = 0;
};

class TPen : public TObject {
public:
    ~TPen() override;
    TColor Color = clBlack;
    int Width = 1;
    HPEN Handle();
private:
    HPEN FHandle = nullptr;
    COLORREF FFor = 0;
    int FWidthFor = 0;
};

// Drawing on a device context; the canvas does not own the DC unless it says so.
class TCanvas : public TObject {
public:
    explicit TCanvas(HDC dc = nullptr) : FDC(dc) {}
    HDC Handle() const { return FDC; }
    void SetHandle(HDC dc) { FDC = dc; }
    TFont Font;
    TBrush Brush;
    TPen Pen;

    void FillRect(const RECT& r);
    void FrameRect(const RECT& r);
    void Rectangle(const RECT& r);
    void TextOut(int x, int y, const std::wstring& text);
    void TextRect(const RECT& r, const std::wstring& text, UINT format);
    SIZE TextExtent(const std::wstring& text);
    void Draw(int x, int y, class TGraphic& graphic);
private:
    void SelectFont();
    HDC FDC;
};

class TGraphic : public TObject {
public:
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void Draw(TCanvas& canvas, const RECT& dest) = 0;
    virtual void LoadFromStream(class TStream& stream) = 0;
};

// A 32-bit device-independent bitmap. Rows are reached through the address of row 0 and a
// signed stride: the bitmap is stored bottom-up, so the stride is negative.
class TBitmap : public TGraphic {
public:
    TBitmap() = default;
    TBitmap(int width, int height) { SetSize(width, height); }
    ~TBitmap() override;
    void SetSize(int width, int height);
    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    uint8_t* Row0() const { return FRow0; }
    int Stride() const { return FStride; }
    uint32_t* ScanLine(int y) const { return reinterpret_cast<uint32_t*>(FRow0 + static_cast<ptrdiff_t>(y) * FStride); }
    HBITMAP Handle() const { return FHandle; }
    TCanvas& Canvas();  // a memory DC with the bitmap selected
    void Draw(TCanvas& canvas, const RECT& dest) override;
    void LoadFromStream(TStream& stream) override;
private:
    void Release();
    HBITMAP FHandle = nullptr;
    HDC FDC = nullptr;
    HGDIOBJ FOldBitmap = nullptr;
    std::unique_ptr<TCanvas> FCanvas;
    uint8_t* FRow0 = nullptr;
    int FWidth = 0, FHeight = 0, FStride = 0;
};

// Shows premultiplied 32-bit pixels as the whole content of the layered window wnd
// (one UpdateLayeredWindow call, per-pixel alpha, constant alpha 255); moves it to
// *screenPos when given. size must fit in the bitmap. Returns whether the call succeeded.
bool UpdateLayeredFromBitmap(HWND wnd, const POINT* screenPos, const SIZE& size, TBitmap& premultiplied);

// A JPEG image decoded through libjpeg into a 32-bit bitmap.
class TJPEGImage : public TGraphic {
public:
    int Width() const override { return FBitmap.Width(); }
    int Height() const override { return FBitmap.Height(); }
    void Draw(TCanvas& canvas, const RECT& dest) override { FBitmap.Draw(canvas, dest); }
    void LoadFromStream(TStream& stream) override;
    void LoadFromMemory(const uint8_t* data, size_t size);
    TBitmap& Bitmap() { return FBitmap; }
    int Components() const { return FComponents; }
    bool Progressive() const { return FProgressive; }
private:
    TBitmap FBitmap;
    int FComponents = 0;
    bool FProgressive = false;
};

// A picture holds one graphic; its stored form is the class name then the image bytes.
class TPicture : public TObject {
public:
    TGraphic* Graphic() const { return FGraphic.get(); }
    // data: class name (1-byte length + ASCII), 32-bit length, image bytes.
    void LoadFromStoredData(const std::vector<uint8_t>& data);
    std::function<void()> OnChange;
private:
    std::unique_ptr<TGraphic> FGraphic;
};

}  // namespace tk

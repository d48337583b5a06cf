// A list of images of one size, kept as 32-bit pixels with straight alpha. Images come from
// a bitmap strip cut into pieces of the list's width: transparency from a mask bitmap, a key
// colour, or the strip's own alpha. An entry is drawn normal or disabled (grey, half opacity).
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "toolkit/Classes.h"
#include "toolkit/Graphics.h"

namespace tk {

class TCustomImageList : public TComponent {
public:
    explicit TCustomImageList(TComponent* owner, int width = 16, int height = 16);
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int Count() const { return static_cast<int>(FImages.size()); }
    bool ValidIndex(int index) const { return index >= 0 && index < Count(); }
    // Drops every image and takes the new size (each side at least 1).
    void SetSize(int width, int height);
    void Clear();

    // Cuts strip into Width() x Height() pieces from the left (a narrower rest is dropped,
    // rows below Height() are ignored, missing rows are transparent). Where mask is given,
    // its non-black pixels are transparent; without one, a strip with any alpha keeps its
    // alpha and one without alpha is opaque. Returns the first new index, or -1 when none.
    int Add(const TBitmap& strip, const TBitmap* mask = nullptr);
    // As Add, with the pixels of colour key (0x00BBGGRR) transparent.
    int AddMasked(const TBitmap& strip, TColor key);

    // Pixel (x, y) of an image as 0xAARRGGBB with straight alpha; 0 outside the image.
    uint32_t Pixel(int index, int x, int y) const;
    // Row y of an image (Width() pixels), or nullptr outside.
    const uint32_t* Row(int index, int y) const;
    // The image as a 32-bit bitmap with its alpha (an empty one for an invalid index).
    void GetBitmap(int index, TBitmap& out) const;
    // Draws an image over dc with its alpha, its top-left at (x, y); disabled: grey at half
    // opacity. Nothing for an invalid index.
    void Draw(HDC dc, int x, int y, int index, bool enabled = true) const;

    // Called after every change of the images or the size.
    std::function<void()> OnChange;

private:
    int AddPieces(const TBitmap& strip, const std::function<uint32_t(uint32_t pixel, int x, int y)>& alphaOf);
    void Changed();
    int FWidth, FHeight;
    std::vector<std::vector<uint32_t>> FImages;
};

// Straight-alpha pixel p shown disabled: its grey at half its alpha.
uint32_t DisabledImagePixel(uint32_t p);

}  // namespace tk

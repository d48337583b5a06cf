#include "PixelFont.h"

#include <array>
#include <cstdint>

namespace skintool {

namespace {

// Five rows of three bits each, the high bit the left column.
struct TGlyph {
    char Char;
    std::array<uint8_t, 5> Rows;
};

constexpr TGlyph kGlyphs[] = {
    {'0', {7, 5, 5, 5, 7}}, {'1', {2, 6, 2, 2, 7}}, {'2', {7, 1, 7, 4, 7}}, {'3', {7, 1, 7, 1, 7}},
    {'4', {5, 5, 7, 1, 1}}, {'5', {7, 4, 7, 1, 7}}, {'6', {7, 4, 7, 5, 7}}, {'7', {7, 1, 1, 2, 2}},
    {'8', {7, 5, 7, 5, 7}}, {'9', {7, 5, 7, 1, 7}}, {'A', {2, 5, 7, 5, 5}}, {'B', {6, 5, 6, 5, 6}},
    {'C', {3, 4, 4, 4, 3}}, {'D', {6, 5, 5, 5, 6}}, {'E', {7, 4, 6, 4, 7}}, {'F', {7, 4, 6, 4, 4}},
    {'G', {3, 4, 5, 5, 3}}, {'H', {5, 5, 7, 5, 5}}, {'I', {7, 2, 2, 2, 7}}, {'J', {1, 1, 1, 5, 2}},
    {'K', {5, 5, 6, 5, 5}}, {'L', {4, 4, 4, 4, 7}}, {'M', {5, 7, 7, 5, 5}}, {'N', {6, 5, 5, 5, 5}},
    {'O', {2, 5, 5, 5, 2}}, {'P', {6, 5, 6, 4, 4}}, {'Q', {2, 5, 5, 6, 3}}, {'R', {6, 5, 6, 5, 5}},
    {'S', {3, 4, 2, 1, 6}}, {'T', {7, 2, 2, 2, 2}}, {'U', {5, 5, 5, 5, 7}}, {'V', {5, 5, 5, 5, 2}},
    {'W', {5, 5, 7, 7, 5}}, {'X', {5, 5, 2, 5, 5}}, {'Y', {5, 5, 2, 2, 2}}, {'Z', {7, 1, 2, 4, 7}},
    {'_', {0, 0, 0, 0, 7}}, {'-', {0, 0, 7, 0, 0}}, {'.', {0, 0, 0, 0, 2}}, {':', {0, 2, 0, 2, 0}},
    {'#', {5, 7, 5, 7, 5}}, {'/', {1, 1, 2, 4, 4}}, {'?', {7, 1, 2, 0, 2}}, {' ', {0, 0, 0, 0, 0}},
};

const TGlyph& GlyphFor(char c) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    for (const TGlyph& g : kGlyphs)
        if (g.Char == c) return g;
    return GlyphFor('?');
}

bool IsContinuationByte(char c) { return (static_cast<uint8_t>(c) & 0xC0) == 0x80; }

}  // namespace

int PixelTextLength(std::string_view text) {
    int n = 0;
    for (char c : text) n += IsContinuationByte(c) ? 0 : 1;
    return n;
}

void DrawPixelText(rd::TBitmap32& target, int x, int y, std::string_view text, rd::TColor color) {
    const uint32_t pixel = rd::ExchangeRedBlue(static_cast<uint32_t>(color) & 0x00FFFFFFu) | 0xFF000000u;
    for (char c : text) {
        if (IsContinuationByte(c)) continue;
        const TGlyph& g = GlyphFor(static_cast<uint8_t>(c) < 0x80 ? c : '?');
        for (int row = 0; row < kGlyphHeight; ++row)
            for (int col = 0; col < 3; ++col) {
                const int px = x + col, py = y + row;
                if ((g.Rows[row] >> (2 - col) & 1) && px >= 0 && py >= 0 && px < target.Width && py < target.Height)
                    rd::WritePixel32(target, px, py, pixel);
            }
        x += kGlyphAdvance;
    }
}

}  // namespace skintool

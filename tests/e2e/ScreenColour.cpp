#include "ScreenColour.h"

#include <cstdlib>

COLORREF screen_pixel(POINT at) {
  HDC dc = GetDC(nullptr);
  const COLORREF c = GetPixel(dc, at.x, at.y);
  ReleaseDC(nullptr, dc);
  return c;
}

int colour_distance(COLORREF a, COLORREF b) {
  return std::abs(int(GetRValue(a)) - int(GetRValue(b))) + std::abs(int(GetGValue(a)) - int(GetGValue(b))) +
         std::abs(int(GetBValue(a)) - int(GetBValue(b)));
}

std::wstring hex_colour(COLORREF c) {
  wchar_t text[16];
  swprintf(text, 16, L"%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return text;
}

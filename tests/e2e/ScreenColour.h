// Reading colours off the screen and comparing them, for the driver's look checks.
#pragma once
#include <windows.h>

#include <string>

COLORREF screen_pixel(POINT at);
// Sum of the absolute channel differences: 0 for equal colours, up to 765.
int colour_distance(COLORREF a, COLORREF b);
std::wstring hex_colour(COLORREF c);  // "RRGGBB", for log lines

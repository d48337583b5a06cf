// The tint a fuzz target takes from the first three bytes of its input.
#pragma once
#include <cstddef>
#include <cstdint>

#include "skin/SkinModel.h"

constexpr size_t kTintBytes = 3;

// Hue offset -384..381 degrees, saturation and brightness -100..100 per cent.
inline sk::TColorAdjustment TintFrom(const uint8_t* data) {
    return {static_cast<int8_t>(data[0]) * 3, static_cast<int8_t>(data[1]) % 101, static_cast<int8_t>(data[2]) % 101};
}

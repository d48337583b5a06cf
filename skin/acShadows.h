// The form-shadow templates a skin gives when extended borders are on: the skin's
// "EXBORDER" mask images, or the built-in shadow images.
#pragma once
#include <memory>

#include "skin/SkinModel.h"

namespace sk {

struct TBuiltInShadows {
    const rd::TBitmap32* Active = nullptr;    // "acSHDA"
    const rd::TBitmap32* Inactive = nullptr;  // "acSHDI"
};

struct TFormShadows {
    rd::TRect Size;  // the shadow's extent on each side (Left, Top, Right, Bottom)
    std::unique_ptr<rd::TMemBitmap32> Active, Inactive;
};

// Built-in size of a shadow on every side.
constexpr int kBuiltInShadowSize = 9;

// Nothing (size 0) unless the manager is active with extended borders.
TFormShadows CheckShadows(const TSkinModel& model, bool active, bool extendedBorders,
                          const TBuiltInShadows& builtIn);

}  // namespace sk

// The tint of a loaded skin: hue rotation, saturation and brightness over the master bitmap,
// the masks' own images, the section colours and the palette, in that order of operations.
// Pixels of the transparent colour 0x00FF00FF are never changed.
#pragma once

namespace sk {

class TSkinModel;
struct TColorAdjustment;

// Runs once at the end of a general-data load; every step with a value of 0 is skipped.
void AdjustSkinColors(TSkinModel& model, const TColorAdjustment& adjustment);

// Saturation percent to the amount ShiftSaturation takes: times 2.55, truncated, -255..255.
int SaturationAmount(int percent);

}  // namespace sk

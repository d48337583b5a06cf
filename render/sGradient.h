// Gradients: vertical, horizontal and four-triangle fills from parsed gradient pieces, and
// the gradient combined with a tiled texture in one pass.
#pragma once
#include "render/sGraphUtils.h"
#include "render/sGradientPieces.h"

namespace rd {

enum TGradientShape : int { gsVertical = 0, gsHorizontal = 1, gsTriangles = 2 };

// One vertex of a smooth-shaded triangle: colour channels as 16-bit values (channel << 8).
struct TTriVertex {
    int X = 0, Y = 0;
    uint16_t Red = 0, Green = 0, Blue = 0, Alpha = 0;
};
struct TTriangle {
    int A = 0, B = 0, C = 0;  // vertex indexes
};

// Smooth-shaded triangle fill. The Windows build installs msimg32's GradientFill, looked up
// at run time; the default interpolates the vertex colours directly on the rows, with the
// platform's top-left fill rule (pixels on a right or bottom edge are not painted). A function
// returning false means the platform offers no such fill (nothing is drawn).
using TTriangleFillFunc = bool (*)(TBitmap32* target, const TTriVertex* vertices, int vertexCount,
                                   const TTriangle* triangles, int triangleCount);
void SetTriangleFillFunc(TTriangleFillFunc func);  // nullptr restores the default
bool InterpolateTriangles(TBitmap32* target, const TTriVertex* vertices, int vertexCount,
                          const TTriangle* triangles, int triangleCount);

// Paints the gradient into rect (clipped to the target), alpha 255. The shape is Mode1 of the
// first piece. offset shifts the start of a vertical gradient down and lengthens its span.
void FillGradient(TBitmap32* target, TRect rect, const sk::TsGradArray& array, int offset = 0);

// Vertical or horizontal gradient G mixed with texture pixels T, per channel
// ((T - G) * level + G * 256) >> 8, alpha set to alpha. The texture is sourceRect of texture,
// tiled on a grid anchored at the target's origin.
void FillGradientTextured(TBitmap32* target, TRect rect, const sk::TsGradArray& array, uint8_t alpha, int level,
                          TRect sourceRect, const TBitmap32* texture);

}  // namespace rd

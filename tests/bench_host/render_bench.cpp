// Rendering routines against a plain copy of the same area, measured in the same run.
#include <benchmark/benchmark.h>

#include <cstring>

#include "render/acBlur.h"
#include "render/acResample.h"
#include "skinpaint/sMaskPaint.h"
#include "skinpaint/sTexture.h"

using namespace rd;

namespace {

TMemBitmap32 Pattern(int w, int h) {
    TMemBitmap32 bmp(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) WritePixel32(bmp, x, y, uint32_t(x * 7 + y * 13) * 0x010203u);
    return bmp;
}

// A border mask of 3 frames of 24 x 24 with a mask band (or, unmasked, without), margins 6.
struct TBorder {
    sk::TSkinModel model;
    explicit TBorder(int drawMode, bool masked = true) {
        model.MasterBitmap = std::make_unique<TMemBitmap32>(Pattern(72, 48));
        for (int y = 24; y < 48; ++y)
            for (int x = 0; x < 72; ++x) WritePixel32(*model.MasterBitmap, x, y, (x + y) % 3 ? 0 : 0x00808080);
        sk::TsMaskData m;
        m.R = {0, 0, 72, 48};
        m.ImageCount = 3;
        m.R.Bottom = masked ? 48 : 24;
        m.MaskType = masked ? 1 : 0;
        m.DrawMode = static_cast<int16_t>(drawMode);
        m.WL = m.WT = m.WR = m.WB = 6;
        m.CornerType = 1;
        m.Manager = &model;
        model.ma.push_back(std::move(m));
    }
};

void PlainCopy(benchmark::State& state, int w, int h) {
    const TMemBitmap32 src = Pattern(w, h);
    TMemBitmap32 dst(w, h);
    for (auto _ : state) {
        for (int y = 0; y < h; ++y) std::memcpy(dst.Row(y), src.Row(y), size_t(w) * 4);
        benchmark::ClobberMemory();
    }
}

void NinePart(benchmark::State& state, int drawMode, bool masked) {
    TBorder border(drawMode, masked);
    TMemBitmap32 parent = Pattern(500, 240), dst(465, 201);
    const TCacheInfo bg = CacheInfoForBitmap(&parent, 10, 10);
    for (auto _ : state) {
        PaintMaskNinePart(&dst, {0, 0, 465, 201}, bg, true, 1, border.model.ma[0]);
        benchmark::ClobberMemory();
    }
}

void FaceComposition(benchmark::State& state) {
    // Colour, gradient and a tiled texture, then the border: the install button's size.
    TBorder border(1 | 4);
    sk::TsMaskData texture;
    texture.R = {0, 0, 24, 24};
    texture.ImageCount = 1;
    texture.Manager = &border.model;
    border.model.ma.push_back(std::move(texture));
    sk::TsGradArray gradient;
    sk::ParseGradientData(L"16777215;8421504;100;0;0", gradient);
    const TSectionFill fill{0x00C0C0C0, 40, &gradient, 30, 1, nullptr};
    TMemBitmap32 parent = Pattern(100, 40), dst(75, 25);
    const TCacheInfo bg = CacheInfoForBitmap(&parent, 5, 5);
    for (auto _ : state) {
        ComposeSectionFill(&dst, {0, 0, 75, 25}, fill, border.model);
        PaintMaskNinePart(&dst, {0, 0, 75, 25}, bg, true, 0, border.model.ma[0]);
        benchmark::ClobberMemory();
    }
}

void DisabledLook(benchmark::State& state, bool readyBackground) {
    // A disabled face blended over its parent: BlendFromBitmap over a ready parent,
    // MixRectWithColor over a fill colour.
    TMemBitmap32 parent = Pattern(100, 40), face = Pattern(75, 25);
    const TCacheInfo bg = readyBackground ? CacheInfoForBitmap(&parent, 5, 5)
                                          : BackgroundToCacheInfo(0, nullptr, {}, 0x00C0C0C0, {});
    for (auto _ : state) {
        ApplyDisabledLook(&face, dkBlended, clWhite, {0, 0}, bg);
        benchmark::ClobberMemory();
    }
}

void Resample(benchmark::State& state, int w, int h, int tw, int th) {
    const TMemBitmap32 src = Pattern(w, h);
    TMemBitmap32 dst;
    for (auto _ : state) {
        ResampleBitmap32(&src, &dst, tw, rfMitchell, th);
        benchmark::ClobberMemory();
    }
}

void Blur(benchmark::State& state) {
    TMemBitmap8 bmp(400, 40);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 400; ++x) bmp.Row(y)[x] = uint8_t((x * 5) ^ (y * 11));
    for (auto _ : state) {
        BlurGrey8(&bmp, 6);
        benchmark::ClobberMemory();
    }
}

void PlainCopy8(benchmark::State& state) {
    TMemBitmap8 a(400, 40), b(400, 40);
    for (auto _ : state) {
        for (int y = 0; y < 40; ++y) std::memcpy(b.Row(y), a.Row(y), 400);
        benchmark::ClobberMemory();
    }
}

}  // namespace

BENCHMARK_CAPTURE(PlainCopy, border_465x201, 465, 201);
BENCHMARK_CAPTURE(NinePart, tiled_465x201, 4, true);
BENCHMARK_CAPTURE(NinePart, stretched_465x201, 1 | 4, true);
BENCHMARK_CAPTURE(NinePart, tiled_unmasked_465x201, 4, false);
BENCHMARK_CAPTURE(PlainCopy, face_75x25, 75, 25);
BENCHMARK(FaceComposition);
BENCHMARK_CAPTURE(DisabledLook, over_parent_75x25, true);
BENCHMARK_CAPTURE(DisabledLook, over_colour_75x25, false);
BENCHMARK_CAPTURE(PlainCopy, mitchell_down_to_200x100, 200, 100);
BENCHMARK_CAPTURE(Resample, mitchell_down_400x200_to_200x100, 400, 200, 200, 100);
BENCHMARK_CAPTURE(PlainCopy, mitchell_up_to_400x200, 400, 200);
BENCHMARK_CAPTURE(Resample, mitchell_up_200x100_to_400x200, 200, 100, 400, 200);
BENCHMARK(PlainCopy8);
BENCHMARK(Blur);
BENCHMARK_MAIN();

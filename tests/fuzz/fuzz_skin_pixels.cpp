// Skin to pixels: three bytes of tint (hue, saturation, brightness), then a packed skin. A skin
// that loads has every section's face painted at a few sizes and states and every mask drawn
// with the nine-part painters; nothing may read or write outside a bitmap.
//
// The mutator unpacks the skin, mutates the tint or one of its files and packs it again, so the
// fuzzer works on the options text and the images rather than on their compressed streams.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <algorithm>
#include <memory>
#include <random>
#include <stdexcept>
#include <vector>

#include "skinpaint/sMaskPaint.h"
#include "skinpaint/sSectionPaint.h"
#include "skin/OptionsFile.h"
#include "skin/SkinModel.h"
#include "skin/acSkinPack.h"
#include "tests/fuzz/FuzzTint.h"

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

namespace {

constexpr int kMaxSections = 64, kMaxMasks = 96;  // bounds the time one input takes

// A grey 19 x 19 blur template, so the outer-effect masks are generated as well.
const rd::TBitmap32* BlurTemplate() {
    static const rd::TMemBitmap32 blur = [] {
        rd::TMemBitmap32 b(19, 19);
        for (int y = 0; y < 19; ++y)
            for (int x = 0; x < 19; ++x) rd::WritePixel32(b, x, y, 0xFF000000u | uint32_t(x * 13 + y * 7) * 0x010101u);
        return b;
    }();
    return &blur;
}

rd::TMemBitmap32 Canvas(int w, int h) {
    rd::TMemBitmap32 b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) rd::WritePixel32(b, x, y, 0x80406080u ^ uint32_t(x * 31 + y * 17));
    return b;
}

void PaintEverything(const sk::TSkinModel& model) {
    static const rd::TPoint sizes[] = {{1, 1}, {9, 7}, {45, 28}};
    rd::TMemBitmap32 behind = Canvas(60, 40);
    const rd::TCacheInfo backgrounds[] = {rd::TCacheInfo{}, rd::CacheInfoForBitmap(&behind, 3, 2),
                                          rd::BackgroundToCacheInfo(0, &behind, {1, 1}, 0x00336699, {2, 2, 2, 2})};
    const int sections = std::min(static_cast<int>(model.gd.size()), kMaxSections);
    for (int i = 0; i < sections; ++i)
        for (const rd::TPoint size : sizes)
            for (int state = 0; state < 2; ++state) {
                rd::TMemBitmap32 target = Canvas(size.X + 4, size.Y + 4);
                rd::PaintSectionFace(i, {}, backgrounds[(i + state) % 3], -1, -1, &model, &target, {2, 1},
                                     {2, 2, 2 + size.X, 2 + size.Y}, state);
            }
    const int masks = std::min(static_cast<int>(model.ma.size()), kMaxMasks);
    for (int i = 0; i < masks; ++i) {
        const sk::TsMaskData& mask = model.ma[i];
        for (const rd::TPoint size : sizes)
            for (int state = 0; state < 2; ++state) {
                rd::TMemBitmap32 target = Canvas(size.X + 2, size.Y + 2);
                const rd::TRect rect{1, 1, 1 + size.X, 1 + size.Y};
                rd::PaintMaskNinePart(&target, rect, backgrounds[state + 1], state == 1, state, mask);
                rd::PaintMaskNinePartAlpha(&target, rect, backgrounds[state], state, mask);
            }
        rd::TMemBitmap32 region = Canvas(30, 20);
        std::vector<rd::TRect> cutOut;
        rd::PaintMaskWithRegion(&region, cutOut, true, 1, mask);
        rd::PaintMaskGlyph(&region, {-1, 2}, 1, backgrounds[1], mask, i % 2);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < kTintBytes) return 0;
    auto package = std::make_unique<sk::TacSkinConvertor>();
    package->SetPackedData(sk::TBytes(data + kTintBytes, data + size));
    try {
        sk::UnpackSkinPack(package);
        if (!package || !package->Options) return 0;
        const sk::TOptionsFile options = sk::TOptionsFile::FromBytes(*package->Options);
        sk::TSkinModel model;
        model.Adjustment = TintFrom(data);
        model.BlurTemplate = BlurTemplate();
        model.Load(options, sk::TSkinSource{package.get(), {}});
        PaintEverything(model);
    } catch (const sk::ESkinError&) {
    } catch (const std::invalid_argument&) {  // a value that is not a number
    }
    return 0;
}

// Mutates the tint bytes or one file of the package and packs it again; bytes that are no
// package are mutated as they are.
extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int seed) {
    std::minstd_rand random(seed);
    if (size < kTintBytes || random() % 8 == 0) return LLVMFuzzerMutate(data, size, maxSize);
    auto package = std::make_unique<sk::TacSkinConvertor>();
    package->SetPackedData(sk::TBytes(data + kTintBytes, data + size));
    std::vector<sk::TPackEntry> entries;
    try {
        sk::UnpackSkinPack(package);
        if (!package) return LLVMFuzzerMutate(data, size, maxSize);
        if (package->Options) entries.push_back({L"Options.dat", *package->Options});
        for (const sk::TacImageItem& f : package->Files) entries.push_back({f.FileName, f.FileStream});
    } catch (const sk::ESkinError&) {
        return LLVMFuzzerMutate(data, size, maxSize);
    }
    const size_t pick = random() % (entries.size() + 1);
    if (pick == entries.size()) {
        LLVMFuzzerMutate(data, kTintBytes, kTintBytes);
        return size;
    }
    sk::TBytes& content = entries[pick].Content;
    const size_t used = content.size(), room = std::max(used * 2, size_t(64));
    content.resize(room);
    content.resize(std::max<size_t>(LLVMFuzzerMutate(content.data(), used, room), 1));
    sk::TBytes packed;
    try {
        packed = sk::PackSkin(entries);
    } catch (const std::exception&) {
        return LLVMFuzzerMutate(data, size, maxSize);
    }
    if (packed.size() + kTintBytes > maxSize) return LLVMFuzzerMutate(data, size, maxSize);
    std::memcpy(data + kTintBytes, packed.data(), packed.size());
    return packed.size() + kTintBytes;
}

// Loading and tinting the internal skin, split into its steps, and the hue rotation's
// throughput against a plain copy of the same master bitmap, measured in the same run.
#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "skin/acSkinPack.h"
#include "skin/acColorAdjust.h"
#include "skin/sSkinManagerCore.h"

using namespace sk;

namespace {

const TBytes& PackedSkin() {
    static const TBytes bytes = [] {
        std::ifstream in(KALVETRA_BENCH_SKIN, std::ios::binary);
        return TBytes(std::istreambuf_iterator<char>(in), {});
    }();
    return bytes;
}

std::unique_ptr<TacSkinConvertor> Unpacked() {
    auto package = std::make_unique<TacSkinConvertor>();
    package->LendPackedData(&PackedSkin());
    UnpackSkinPack(package);
    package->DetachPackedData();
    return package;
}

// A package, its options and a model with the source set, ready for any loader.
struct TLoadStage {
    std::unique_ptr<TacSkinConvertor> Package = Unpacked();
    TOptionsFile Options = TOptionsFile::FromBytes(*Package->Options);
    TSkinModel Model;
    explicit TLoadStage(int hue = 0) {
        Model.Adjustment.HueOffset = hue;
        Model.SetSource(Options, {Package.get(), {}});
    }
};

void Unpack(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(Unpacked());
}

void ParseOptions(benchmark::State& state) {
    const auto package = Unpacked();
    for (auto _ : state) benchmark::DoNotOptimize(TOptionsFile::FromBytes(*package->Options));
}

void LoadAllMasks(benchmark::State& state) {
    TLoadStage s;
    for (auto _ : state) s.Model.LoadAllMasks();
}

void LoadAllPatterns(benchmark::State& state) {
    TLoadStage s;
    s.Model.LoadAllMasks();
    for (auto _ : state) s.Model.LoadAllPatterns();
}

void LoadAllGeneralDataUntinted(benchmark::State& state) {
    TLoadStage s;
    s.Model.LoadAllMasks();
    s.Model.LoadAllPatterns();
    for (auto _ : state) s.Model.LoadAllGeneralData();
}

// The colour adjustment alone (it ends every general-data load): hue 196 over the master
// bitmap, every image and colour. Repeating it rotates further; the work is the same.
void TintHue196(benchmark::State& state) {
    TLoadStage s;
    s.Model.Load(s.Options, {s.Package.get(), {}});
    for (auto _ : state) AdjustSkinColors(s.Model, {196, 0, 0});
}

void InitConstantIndexes(benchmark::State& state) {
    TLoadStage s;
    s.Model.Load(s.Options, {s.Package.get(), {}});
    for (auto _ : state) s.Model.InitConstantIndexes();
}

// What the installer does at start-up: the manager loads its internal skin with hue 196.
void WholeLoadThroughTheManager(benchmark::State& state) {
    TSkinManagerHost host;
    host.ExeFolder = L"";
    TSkinManagerCore core(host);
    core.SetSkinDirectory(L"/nonexistent-skin-dir");
    core.InternalSkins().push_back({L"Velmora2 (internal)", PackedSkin()});
    core.SetDescriptionLoading(true);
    core.SetHueOffset(196);
    core.SetDescriptionLoading(false);
    for (auto _ : state) {
        core.SetSkinName(L"Velmora2 (internal)");
        if (!core.SkinLoaded()) state.SkipWithError("the skin did not load");
    }
}

const rd::TBitmap32& Master() {
    static const TLoadStage* s = [] {
        auto* stage = new TLoadStage;
        stage->Model.LoadAllMasks();
        return stage;
    }();
    return *s->Model.MasterBitmap;
}

void PlainCopyOfMaster(benchmark::State& state) {
    const rd::TBitmap32& src = Master();
    rd::TMemBitmap32 dst(src.Width, src.Height);
    for (auto _ : state) {
        for (int y = 0; y < src.Height; ++y) std::memcpy(dst.Row(y), src.Row(y), size_t(src.Width) * 4);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * src.Width * src.Height);
}

void ShiftHueOfMaster(benchmark::State& state) {
    rd::TMemBitmap32 bmp(Master().Width, Master().Height);
    for (int y = 0; y < bmp.Height; ++y) std::memcpy(bmp.Row(y), Master().Row(y), size_t(bmp.Width) * 4);
    for (auto _ : state) {
        rd::ForEachPixel(&bmp, rd::PixelShiftHue, 196, 0x00FF00FF);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * bmp.Width * bmp.Height);
}

}  // namespace

BENCHMARK(Unpack)->Unit(benchmark::kMicrosecond);
BENCHMARK(ParseOptions)->Unit(benchmark::kMicrosecond);
BENCHMARK(LoadAllMasks)->Unit(benchmark::kMicrosecond);
BENCHMARK(LoadAllPatterns)->Unit(benchmark::kMicrosecond);
BENCHMARK(LoadAllGeneralDataUntinted)->Unit(benchmark::kMicrosecond);
BENCHMARK(TintHue196)->Unit(benchmark::kMicrosecond);
BENCHMARK(InitConstantIndexes)->Unit(benchmark::kMicrosecond);
BENCHMARK(WholeLoadThroughTheManager)->Unit(benchmark::kMicrosecond);
BENCHMARK(PlainCopyOfMaster)->Unit(benchmark::kMicrosecond);
BENCHMARK(ShiftHueOfMaster)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();

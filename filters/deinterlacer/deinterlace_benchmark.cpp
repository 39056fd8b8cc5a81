// Time of the Deinterlacer's work on one 720 x 480 frame (field pick, crop, mirror, scale
// into the reference, overlay; and the plain full view without crop and mirror) against FFmpeg's swscale doing the same 720 x 480 to
// 608 x 456 scale of a 32-bit picture. Prints the ratio of the medians at the end.
//   deinterlacer_benchmark.exe [--benchmark_repetitions=N] [google benchmark flags]
#include <windows.h>
#pragma push_macro("_WIN32")
#pragma push_macro("WIN32")
#undef _WIN32
#undef WIN32
#include <benchmark/benchmark.h>
#include "benchmark_ratio.h"
#pragma pop_macro("WIN32")
#pragma pop_macro("_WIN32")
extern "C" {
#include <libswscale/swscale.h>
#include <libavutil/pixfmt.h>
}
#include "deinterlace_engine.h"
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

const int W = 720, H = 480, RW = 608, RH = 456;

std::vector<uint32_t> CodedFrame()
{
    std::vector<uint32_t> f(size_t(W) * H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            f[size_t(y) * W + x] = uint32_t(y * 7 + x * 13) * 2654435761u;
    return f;
}

// state.range(0): 1 = crop (zoom) and mirror as well, 0 = the plain full view, 2 = the plain
// full view without the overlay (what a played clip with nothing drawn costs per field).
void BM_Deinterlacer(benchmark::State& state)
{
    const bool cropMirror = state.range(0) == 1;
    CDeinterlaceEngine engine;
    std::vector<uint32_t> source = CodedFrame(), frame = source;
    std::vector<uint32_t> overlay(size_t(RW) * RH, 0x00FF00FF);
    for (int y = 100; y < 110; ++y)
        for (int x = 0; x < RW; ++x)
            overlay[size_t(y) * RW + x] = 0x00FFFFFF;   // a drawn band
    DeinterlaceSettings s;
    s.bypass = FALSE;
    s.field = 1;
    if (cropMirror) {
        s.crop[0] = 0.1f;
        s.crop[1] = 0.1f;
        s.crop[2] = 0.8f;
        s.crop[3] = 0.8f;
        s.mirror = TRUE;
    }
    s.overlayEnabled = state.range(0) != 2;
    s.overlayBits = overlay.data();
    s.overlayWidth = RW;
    s.overlayHeight = RH;
    s.keyColour = 0x00FF00FF;
    for (auto _ : state) {
        state.PauseTiming();
        frame = source;   // every frame arrives fresh
        state.ResumeTiming();
        engine.Process((uint8_t*)frame.data(), W, H, 4, s, nullptr, false, nullptr);
        benchmark::DoNotOptimize(frame.data());
    }
}

void BM_Swscale(benchmark::State& state)
{
    const int flags = int(state.range(0));
    SwsContext* ctx = sws_getContext(W, H, AV_PIX_FMT_BGRA, RW, RH, AV_PIX_FMT_BGRA, flags,
                                     nullptr, nullptr, nullptr);
    if (!ctx) {
        state.SkipWithError("sws_getContext failed");
        return;
    }
    std::vector<uint32_t> source = CodedFrame(), out(size_t(RW) * RH);
    const uint8_t* src[4] = {(const uint8_t*)source.data()};
    int srcStride[4] = {W * 4};
    uint8_t* dst[4] = {(uint8_t*)out.data()};
    int dstStride[4] = {RW * 4};
    for (auto _ : state) {
        sws_scale(ctx, src, srcStride, 0, H, dst, dstStride);
        benchmark::DoNotOptimize(out.data());
    }
    sws_freeContext(ctx);
}

BENCHMARK(BM_Deinterlacer)->Arg(1)->Arg(0)->Arg(2)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_Swscale)->Arg(SWS_POINT)->Arg(SWS_FAST_BILINEAR)->Arg(SWS_BILINEAR)
    ->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double ours = reporter.Time("BM_Deinterlacer/1/real_time");
    const double plain = reporter.Time("BM_Deinterlacer/0/real_time");
    const double bare = reporter.Time("BM_Deinterlacer/2/real_time");
    if (bare > 0)
        printf("Deinterlacer frame (full view, no overlay): %.1f us\n", bare);
    const struct {
        const char* label;
        int flags;
    } scalers[] = {{"point", SWS_POINT}, {"fast bilinear", SWS_FAST_BILINEAR},
                   {"bilinear", SWS_BILINEAR}};
    for (const auto& s : scalers) {
        const double theirs =
            reporter.Time("BM_Swscale/" + std::to_string(s.flags) + "/real_time");
        if (ours > 0 && theirs > 0)
            printf("Deinterlacer frame (crop, mirror) / swscale %s scale: %.2f (%.1f us vs %.1f us)\n",
                   s.label, ours / theirs, ours, theirs);
        if (plain > 0 && theirs > 0)
            printf("Deinterlacer frame (full view) / swscale %s scale: %.2f (%.1f us vs %.1f us)\n",
                   s.label, plain / theirs, plain, theirs);
    }
    benchmark::Shutdown();
    return 0;
}

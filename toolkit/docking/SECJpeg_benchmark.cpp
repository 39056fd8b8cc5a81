// Time of saving a 608 x 456 snapshot as a JPEG file at quality 100 through the JPEG image
// (into a memory file) against the library encoding the same rows directly into memory.
// Prints the ratio of the medians at the end.
//   docking_SECJpeg_benchmark.exe [--benchmark_repetitions=N] [google benchmark flags]
#include "SECJpeg.h"
#pragma push_macro("_WIN32")
#pragma push_macro("WIN32")
#undef _WIN32
#undef WIN32
#include <benchmark/benchmark.h>
#include "benchmark_ratio.h"
#pragma pop_macro("WIN32")
#pragma pop_macro("_WIN32")
#define XMD_H
#define boolean jpeg_boolean
#include <jpeglib.h>
#undef boolean
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

const int W = 608, H = 456;

// A snapshot-like picture: smooth gradients with some texture.
void Fill(BYTE* bits, DWORD stride)
{
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            BYTE* p = bits + (size_t)y * stride + 3 * x;
            p[0] = BYTE(x / 3 + ((x * y) & 15));
            p[1] = BYTE(y / 2 + ((x ^ y) & 7));
            p[2] = BYTE((x + y) / 5);
        }
}

SECJpeg& Snapshot()
{
    static SECJpeg* image = nullptr;
    if (image == nullptr) {
        image = new SECJpeg;
        DWORD stride = SECPixelImage::RowBytes(24, W, TRUE);
        HGLOBAL hInfo = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(BITMAPINFOHEADER));
        HGLOBAL hPixels = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, stride * H);
        BITMAPINFOHEADER* h = (BITMAPINFOHEADER*)GlobalLock(hInfo);
        *h = {sizeof(BITMAPINFOHEADER), W, H, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        GlobalUnlock(hInfo);
        Fill((BYTE*)GlobalLock(hPixels), stride);
        GlobalUnlock(hPixels);
        image->Attach(hInfo, hPixels);
        image->AfterRead();
        image->m_nQuality = 100;
    }
    return *image;
}

void BM_SECJpegSave(benchmark::State& state)
{
    SECJpeg& image = Snapshot();
    for (auto _ : state) {
        CMemFile file(64 * 1024);
        if (!image.Write(&file))
            state.SkipWithError("write failed");
        benchmark::DoNotOptimize(file.GetLength());
    }
}

void BM_DirectEncode(benchmark::State& state)
{
    SECJpeg& image = Snapshot();
    DWORD stride = image.AlignedRowBytes();
    for (auto _ : state) {
        jpeg_compress_struct c;
        jpeg_error_mgr err;
        c.err = jpeg_std_error(&err);
        jpeg_create_compress(&c);
        unsigned char* out = nullptr;
        unsigned long size = 0;
        jpeg_mem_dest(&c, &out, &size);
        c.image_width = W;
        c.image_height = H;
        c.input_components = 3;
        c.in_color_space = JCS_EXT_BGR;
        jpeg_set_defaults(&c);
        jpeg_set_quality(&c, 100, TRUE);
        jpeg_start_compress(&c, TRUE);
        while (c.next_scanline < c.image_height) {
            JSAMPROW row = image.m_lpSrcBits + (size_t)(H - 1 - c.next_scanline) * stride;
            jpeg_write_scanlines(&c, &row, 1);
        }
        jpeg_finish_compress(&c);
        jpeg_destroy_compress(&c);
        benchmark::DoNotOptimize(size);
        free(out);
    }
}

BENCHMARK(BM_SECJpegSave)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_DirectEncode)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double ours = reporter.Time("BM_SECJpegSave/real_time");
    const double theirs = reporter.Time("BM_DirectEncode/real_time");
    if (ours > 0 && theirs > 0)
        printf("JPEG image save / direct library encode, 608 x 456 at quality 100: %.2f "
               "(%.0f us vs %.0f us)\n", ours / theirs, ours, theirs);
    return 0;
}

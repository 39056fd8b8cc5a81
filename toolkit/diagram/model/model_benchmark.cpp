// Speed of the model's hit test and rectangle query on 10,000 components with the spatial index
// against a scan of every component; storing and loading a drawing of 2,000 components; and
// interning into a property cache of 1,000 entries. Prints the ratios of the medians.
//   diagram_model_benchmark.exe [--benchmark_repetitions=N] [google benchmark flags]
#include "ODGeometry.h"
#include "od_stream_util.h"
#include "od_test_shape.h"
#pragma push_macro("_WIN32")
#pragma push_macro("WIN32")
#undef _WIN32
#undef WIN32
#include <benchmark/benchmark.h>
#include "benchmark_ratio.h"
#pragma pop_macro("WIN32")
#pragma pop_macro("_WIN32")
#include <cstdio>
#include <map>
#include <random>
#include <string>

int CTestShape::s_live = 0;

namespace {

// 10,000 small shapes scattered over a 10,000 x 10,000 canvas.
CODModel& Crowd()
{
    static CODModel* model = nullptr;
    if (!model) {
        model = new CODModel;
        model->SetSize(CSize(10000, 10000));
        std::mt19937 rng(7);
        std::uniform_int_distribution<int> at(0, 9900), size(5, 100);
        for (int i = 0; i < 10000; ++i) {
            int x = at(rng), y = at(rng);
            model->AppendChild(new CTestShape(CRect(x, y, x + size(rng), y + size(rng))));
        }
    }
    return *model;
}

std::vector<CPoint> Points()
{
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> at(0, 9999);
    std::vector<CPoint> v;
    for (int i = 0; i < 256; ++i)
        v.push_back(CPoint(at(rng), at(rng)));
    return v;
}

void BM_HitTestIndexed(benchmark::State& state)
{
    CODModel& model = Crowd();
    std::vector<CPoint> points = Points();
    size_t i = 0;
    for (auto _ : state) {
        CODComponentSet out;
        CPoint p = points[i++ & 255];
        benchmark::DoNotOptimize(model.GetComponentsAtPoint(&out, p.x, p.y, 2));
    }
}

void BM_HitTestScan(benchmark::State& state)
{
    CODModel& model = Crowd();
    std::vector<CPoint> points = Points();
    size_t i = 0;
    for (auto _ : state) {
        CODComponentSet out;
        CPoint p = points[i++ & 255];
        for (int c = 0; c < model.GetChildCount(); ++c)
            if (model.GetChild(c)->GetHitRegion()->HitTest(p.x, p.y, 2))
                out.Add(model.GetChild(c));
        benchmark::DoNotOptimize(out.GetSize());
    }
}

void BM_RectQueryIndexed(benchmark::State& state)
{
    CODModel& model = Crowd();
    std::vector<CPoint> points = Points();
    size_t i = 0;
    for (auto _ : state) {
        CODComponentSet out;
        CPoint p = points[i++ & 255];
        benchmark::DoNotOptimize(model.GetComponentsOverlapping(&out, CRect(p, CSize(300, 300))));
    }
}

void BM_RectQueryScan(benchmark::State& state)
{
    CODModel& model = Crowd();
    std::vector<CPoint> points = Points();
    size_t i = 0;
    for (auto _ : state) {
        CODComponentSet out;
        CPoint p = points[i++ & 255];
        CRect r(p, CSize(300, 300));
        for (int c = 0; c < model.GetChildCount(); ++c)
            if (RectsOverlap(model.GetChild(c)->GetBounds(), r))
                out.Add(model.GetChild(c));
        CODComponent::SortChildren(&out);
        benchmark::DoNotOptimize(out.GetSize());
    }
}

// 2,000 components with lines, some shared, some of their own.
CODModel& Drawing()
{
    static CODModel* model = nullptr;
    if (!model) {
        model = new CODModel;
        for (int i = 0; i < 2000; ++i) {
            CTestShape* s = new CTestShape(CRect(i % 900, i / 3, i % 900 + 50, i / 3 + 40), TRUE);
            if (i % 10 == 0)
                s->SetValue(11, (DWORD)RGB(i & 255, 0, 0));
            s->Rotate(i % 360, 10.0f, 10.0f, 1, 1);
            model->AppendChild(s);
        }
    }
    return *model;
}

void BM_Store2000(benchmark::State& state)
{
    CODModel& model = Drawing();
    for (auto _ : state)
        benchmark::DoNotOptimize(StoreModel(model).size());
}

void BM_Load2000(benchmark::State& state)
{
    std::vector<BYTE> bytes = StoreModel(Drawing());
    for (auto _ : state) {
        CODModel model;
        Load(bytes, [&](CArchive& ar) { model.Serialize(ar); });
        benchmark::DoNotOptimize(model.GetChildCount());
    }
}

void BM_InternIntoThousand(benchmark::State& state)
{
    static CODPropertyCache* cache = nullptr;
    if (!cache) {
        cache = new CODPropertyCache;
        for (int i = 0; i < 1000; ++i)
            cache->Intern(CODIntProperty(210, i));
    }
    int i = 0;
    for (auto _ : state) {
        CODPropertyPtr p = cache->Intern(CODIntProperty(210, (i++ * 37) % 1000));
        benchmark::DoNotOptimize(p.Get());
    }
}

BENCHMARK(BM_HitTestIndexed)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_HitTestScan)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_RectQueryIndexed)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_RectQueryScan)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_Store2000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Load2000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_InternIntoThousand)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double hitIndexed = reporter.Time("BM_HitTestIndexed/real_time");
    const double hitScan = reporter.Time("BM_HitTestScan/real_time");
    const double rectIndexed = reporter.Time("BM_RectQueryIndexed/real_time");
    const double rectScan = reporter.Time("BM_RectQueryScan/real_time");
    if (hitIndexed > 0 && rectIndexed > 0)
        printf("10,000 components: hit test scan / index %.1f (%.1f us vs %.1f us); "
               "rectangle query scan / index %.1f (%.1f us vs %.1f us)\n",
               hitScan / hitIndexed, hitScan, hitIndexed, rectScan / rectIndexed, rectScan,
               rectIndexed);
    printf("2,000 components: store %.2f ms, load %.2f ms; intern into 1,000: %.2f us\n",
           reporter.Time("BM_Store2000/real_time"), reporter.Time("BM_Load2000/real_time"),
           reporter.Time("BM_InternIntoThousand/real_time"));
    return 0;
}

// Speed of finding the port under the mouse (as the Link tool does on every move) in a drawing
// of 1,000 symbols with four ports each: a point at the last symbol's port and a point on no
// port at all (every symbol is asked).
//   diagram_symbol_benchmark.exe [--benchmark_repetitions=N] [google benchmark flags]
#include "ODClosedShapes.h"
#include "ODSymbolComponent.h"
#include "ODViewport.h"
#pragma push_macro("_WIN32")
#pragma push_macro("WIN32")
#undef _WIN32
#undef WIN32
#include <benchmark/benchmark.h>
#pragma pop_macro("WIN32")
#pragma pop_macro("_WIN32")

namespace {

void FindPortAt(benchmark::State& state, CPoint at)
{
    CWnd wnd;
    wnd.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, CRect(0, 0, 608, 456), NULL, 0);
    CODModel model;
    model.SetSize(CSize(4000, 4000));
    CODViewport view;
    view.SetModel(&model);
    view.Create(&wnd, NULL);
    view.SetSize(608, 456);
    view.InitialUpdate();
    for (int i = 0; i < 1000; ++i) {
        int x = (i % 40) * 100, y = (i / 40) * 100;
        CODSymbolComponent* s = new CODSymbolComponent;
        s->Create();
        CODRectComponent* body = new CODRectComponent;
        body->Create(x, y, x + 60, y + 60);
        s->AppendChild(body);
        const CPoint ports[4] = {CPoint(x + 30, y), CPoint(x + 60, y + 30), CPoint(x + 30, y + 60),
                                 CPoint(x, y + 30)};
        for (CPoint p : ports) {
            CODCirclePort* port = new CODCirclePort;
            port->Create(p, 3);
            s->AddPort(port);
        }
        s->UpdateRegion(FALSE);
        model.AppendChild(s);
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(view.FindPortAt(at));
    wnd.DestroyWindow();
}

void BM_FindPortAtLastSymbol(benchmark::State& state)
{
    FindPortAt(state, CPoint(39 * 100 + 60, 24 * 100 + 30));
}

void BM_FindPortAtNoPort(benchmark::State& state)
{
    FindPortAt(state, CPoint(3990, 3990));
}

}  // namespace

BENCHMARK(BM_FindPortAtLastSymbol)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_FindPortAtNoPort)->Unit(benchmark::kMicrosecond)->UseRealTime();

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}

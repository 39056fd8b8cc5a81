// Speed of re-rendering a buffered 608 x 456 viewport over 500 components after one of them
// moved (the invalidation renders the changed area into the buffer at once).
//   diagram_buffer_benchmark.exe [--benchmark_repetitions=N] [google benchmark flags]
#include "MvcBufferedWrapper.h"
#include "ODClosedShapes.h"
#include "ODViewport.h"
#pragma push_macro("_WIN32")
#pragma push_macro("WIN32")
#undef _WIN32
#undef WIN32
#include <benchmark/benchmark.h>
#pragma pop_macro("WIN32")
#pragma pop_macro("_WIN32")

namespace {

void BM_RenderAfterOneChange(benchmark::State& state)
{
    CWnd wnd;
    wnd.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, CRect(0, 0, 608, 456), NULL, 0);
    CODModel model;
    model.SetSize(CSize(608, 456));
    MvcBufferedWrapper_T<CODViewport> view;
    view.SetModel(&model);
    view.Create(&wnd, NULL);
    view.SetSize(608, 456);
    view.InitialUpdate();
    std::vector<CODComponent*> shapes;
    for (int i = 0; i < 500; ++i) {
        CODRectComponent* r = new CODRectComponent;
        int x = (i * 37) % 560, y = (i * 53) % 420;
        r->Create(x, y, x + 40, y + 30);
        model.AppendChild(r);
        shapes.push_back(r);
    }
    int step = 1;
    for (auto _ : state) {
        CODComponent* c = shapes[250];
        c->Translate(step, 0);
        step = -step;
        CRect area = c->GetBounds(), before = c->GetPreviousBounds();
        area.UnionRect(&area, &before);
        view.InvalidateRect(&area, FALSE, FALSE);
        ::ValidateRect(wnd.GetSafeHwnd(), NULL);
    }
    wnd.DestroyWindow();
}

}  // namespace

BENCHMARK(BM_RenderAfterOneChange)->Unit(benchmark::kMicrosecond)->UseRealTime();

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}

// Speed of the editor's busiest steps: one step of a move drag of 200 selected components
// (the old outlines erased, the clones re-placed and drawn), and a paste of 500 components
// from the clipboard (read, placed, inserted as one command).
//   diagram_edit_benchmark.exe [--benchmark_repetitions=N] [google benchmark flags]
#include "MvcBufferedWrapper.h"
#include "ODClosedShapes.h"
#include "ODController.h"
#include "ODViewport.h"
#pragma push_macro("_WIN32")
#pragma push_macro("WIN32")
#undef _WIN32
#undef WIN32
#include <benchmark/benchmark.h>
#pragma pop_macro("WIN32")
#pragma pop_macro("_WIN32")

namespace {

struct Drawing {
    CWnd wnd;
    CODModel model;
    MvcBufferedWrapper_T<CODViewport> view;
    CODController* controller;
    explicit Drawing(int count)
    {
        wnd.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, CRect(0, 0, 608, 456), NULL, 0);
        model.SetSize(CSize(2000, 2000));
        view.SetModel(&model);
        view.Create(&wnd, NULL);
        view.SetSize(608, 456);
        view.InitialUpdate();
        view.SetSnapToGrid(FALSE);
        controller = static_cast<CODController*>(view.GetController());
        for (int i = 0; i < count; ++i) {
            CODRectComponent* r = new CODRectComponent;
            int x = (i * 37) % 560, y = (i * 53) % 420;
            r->Create(x, y, x + 40, y + 30);
            model.AppendChild(r);
            controller->GetSelection()->Add(r);
        }
    }
    ~Drawing() { wnd.DestroyWindow(); }
};

void BM_MoveDragStep200(benchmark::State& state)
{
    Drawing d(200);
    CODComponentSetTracker tracker;
    CODComponentSet copies;
    for (int i = 0; i < d.model.GetChildCount(); ++i) {
        CODComponent* c = d.model.GetChild(i)->Clone();
        c->SetParent(NULL);
        c->AddRef();
        copies.Add(c);
    }
    tracker.SetComponents(&copies);
    d.view.TrackMove(&tracker, 0, 0);
    int dx = 1;
    for (auto _ : state) {
        d.view.EraseTracker(&tracker);
        d.view.TrackMove(&tracker, dx, dx);
        dx = dx % 50 + 1;
    }
    tracker.Clear();
    for (int i = 0; i < copies.GetSize(); ++i)
        copies[i]->Release();
}

void BM_Paste500(benchmark::State& state)
{
    Drawing d(500);
    d.controller->CopyToClipboard(d.controller->GetSelection());
    for (auto _ : state) {
        d.view.SetPastePosition(100, 100);
        ::SendMessage(d.wnd.GetSafeHwnd(), WM_NULL, 0, 0);
        d.controller->OnCmdMsg(ID_EDIT_PASTE, CN_COMMAND, NULL, NULL);
        state.PauseTiming();
        d.model.Undo();
        d.model.GetHistory()->Clear();
        state.ResumeTiming();
    }
}

}  // namespace

BENCHMARK(BM_MoveDragStep200)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_Paste500)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}

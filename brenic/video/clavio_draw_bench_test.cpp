// CPU time of one drawing change over a stopped clip: the model changes, the overlay renders
// its off-screen bitmap, the control asks for the drawing (DrawOverlay copies it into the
// control's context) and keys it into the frame it shows again. The whole process's CPU,
// median of several runs. ctest runs it briefly; for figures:
//   cd build && QUORVEL_BENCH_CHANGES=200 QUORVEL_BENCH_RUNS=9 \
//     WINEPREFIX=$PWD/wine/test-prefix WINEDEBUG=-all wine tests/brenic_video_clavio_draw_bench_test.exe.so
#include "gtest_wine.h"
#include "video_test_support.h"
#include "ODCustomController.h"
#include "ODCustomViewport.h"
#include <algorithm>

CVideoTestApp theApp;

namespace {
int g_changes = 20, g_runs = 3;


class DrawingChange : public VideoManagerFixture
{
};
}  // namespace

TEST_F(DrawingChange, CpuPerChange)
{
    if (const char* v = getenv("QUORVEL_BENCH_CHANGES"))
        g_changes = std::max(2, atoi(v));
    if (const char* v = getenv("QUORVEL_BENCH_RUNS"))
        g_runs = std::max(1, atoi(v));
    m_host.ShowWindow(SW_SHOW);
    m_clavio->SendMessage(WM_PAINT);
    Pump(100);
    DvClip file(*m_folder, "swing.avi", 12);
    CClip* clip = NewClip(file, 12);
    ASSERT_TRUE(m_clavio->LoadClip(clip));
    m_clavio->SeekField(6);
    m_clavio->ShowGraphics(TRUE, -1, FALSE);
    Pump(300);
    COverlayWnd* o = m_clavio->GetOverlay(0);
    o->SendMessage(WM_COMMAND, ID_DRAW_ARROW, 0);
    auto send = [&](UINT msg, int x, int y, WPARAM keys) {
        o->SendMessage(msg, keys, MAKELPARAM(x, y));
    };
    send(WM_MOUSEMOVE, 100, 200, 0);
    send(WM_LBUTTONDOWN, 100, 200, MK_LBUTTON);
    send(WM_MOUSEMOVE, 200, 200, MK_LBUTTON);
    send(WM_MOUSEMOVE, 300, 200, MK_LBUTTON);
    send(WM_LBUTTONUP, 300, 200, 0);
    o->SendMessage(WM_COMMAND, ID_DRAW_RESET_TOOLS, 0);
    CODCustomModel* model = clip->GetDrawingModel();
    ASSERT_EQ(1, model->GetChildCount());
    auto* controller =
        static_cast<CODCustomController*>(m_clavio->GetCurrentViewport()->GetController());
    Pump(200);
    std::vector<double> perChange;
    for (int run = 0; run < g_runs; ++run) {
        double start = CpuSeconds();
        for (int i = 0; i < g_changes; ++i) {
            CODComponentSet set;
            set.Add(model->GetChild(0));
            controller->MoveComponents(&set, 0, (i & 1) ? -4 : 4);
            // The overlay's paint and the control's keyed redraw of the frame.
            o->UpdateWindow();
            Pump(10);
        }
        perChange.push_back((CpuSeconds() - start) / g_changes);
    }
    std::sort(perChange.begin(), perChange.end());
    printf("one drawing change over a stopped clip: median CPU %.3f ms (%d changes, %d runs)\n",
           perChange[perChange.size() / 2] * 1000.0, g_changes, g_runs);
}

// Time of painting one page of a report and scrolling to its end and painting again, for
// 1,000 and 100,000 rows with wrapped labels. Rows are measured lazily, so the cost should
// not grow with the count: the ratio of the medians is printed at the end.
//   docking_SECListPaint_benchmark.exe [--benchmark_repetitions=N] [google benchmark flags]
#include <windows.h>
#pragma push_macro("_WIN32")
#pragma push_macro("WIN32")
#undef _WIN32
#undef WIN32
#include <benchmark/benchmark.h>
#include "benchmark_ratio.h"
#pragma pop_macro("WIN32")
#pragma pop_macro("_WIN32")

#include "SECListCtrl.h"

#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

const int kWidth = 400, kHeight = 300;

// One report per row count, built once: its window, its rows and a DIB to paint into.
struct Report {
  CWnd parent;
  SECListCtrl list;
  HBITMAP hbm = NULL;
  CDC dc;

  explicit Report(int nRows)
  {
    parent.CreateEx(0, AfxRegisterWndClass(0), "bench", WS_POPUP, 0, 0, kWidth, kHeight, NULL,
                    NULL);
    RECT rc = {0, 0, kWidth, kHeight};
    list.CreateList(WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, rc, &parent, 1);
    list.AppendColumn(CString("Swing"), 0, 180, -1);
    list.AppendColumn(CString("Club"), 0, 120, -1);
    char text[96];
    for (int i = 0; i < nRows; i++) {
      snprintf(text, sizeof text, "swing %d of the lesson with a label long enough to wrap", i);
      list.InsertItem(i, text);
    }
    list.RecalcScrollBars();
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = kWidth;
    bmi.bmiHeader.biHeight = -kHeight;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* bits;
    hbm = ::CreateDIBSection(NULL, &bmi, DIB_RGB_COLORS, &bits, NULL, 0);
    dc.CreateCompatibleDC(NULL);
    ::SelectObject(dc.m_hDC, hbm);
  }
};

Report& ReportOf(int nRows)
{
  static std::map<int, std::unique_ptr<Report>> reports;
  std::unique_ptr<Report>& r = reports[nRows];
  if (!r)
    r.reset(new Report(nRows));
  return *r;
}

void BM_PaintAndScrollToEnd(benchmark::State& state)
{
  Report& r = ReportOf((int)state.range(0));
  for (auto _ : state) {
    r.list.SendMessage(WM_VSCROLL, SB_TOP, 0);
    r.list.Paint(&r.dc);
    r.list.SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
    r.list.Paint(&r.dc);
  }
  if (r.list.GetTopIndex() == 0)
    state.SkipWithError("the list did not scroll");
}

BENCHMARK(BM_PaintAndScrollToEnd)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double few = reporter.Time("BM_PaintAndScrollToEnd/1000/real_time");
  const double many = reporter.Time("BM_PaintAndScrollToEnd/100000/real_time");
  if (few > 0 && many > 0)
    printf("100,000 rows / 1,000 rows, page painted and scrolled to the end: %.2f "
           "(%.1f us vs %.1f us)\n",
           many / few, many, few);
  return 0;
}

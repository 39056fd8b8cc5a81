// Scale of the database browser: 100,000 clips of 5,000 people. Opening the sheet on the
// clips page, a role filter, a date filter, a find, the last record and a slider jump are
// timed; the medians are printed (no timed assertion).
#include "browser_test_support.h"
#include <algorithm>
#include <vector>
#include "ClipsPPage.h"
#include "DatabaseSheet.h"
#include "clip_db_fill.h"
#include "browser_res.h"

using namespace browser_test;

namespace {

CWinApp theApp("Quorvel Redovove");

double Now()
{
    LARGE_INTEGER t, f;
    QueryPerformanceCounter(&t);
    QueryPerformanceFrequency(&f);
    return (double)t.QuadPart / (double)f.QuadPart;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void Click(CWnd* page, UINT id)
{
    page->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)page->GetDlgItem(id)->GetSafeHwnd());
}

class BrowserBench : public BrowserTest
{
};

} // namespace

TEST_F(BrowserBench, LargeDatabase)
{
    const int people = 5000, clips = 100000;
    FillClipDatabase(m_db, people, clips);
    std::vector<double> open, students, dates, find, last, slider;
    // No answers helper: its message hooks would be timed too.
    for (int run = 0; run < 5; ++run) {
        const double t0 = Now();
        CDatabaseSheet sheet("Vido Database");
        InsideLoop inside([&] {
            open.push_back(Now() - t0);
            CClipsPPage* page = sheet.GetClipsPage();
            double t = Now();
            page->CheckRadioButton(IDC_DB_SHOW_ALL, IDC_CP_SHOW_LADY_PROS, IDC_CP_SHOW_STUDENTS);
            Click(page, IDC_CP_SHOW_STUDENTS);
            students.push_back(Now() - t);
            t = Now();
            page->CheckRadioButton(IDC_CP_DATES_3, IDC_CP_DATES_ALL, IDC_CP_DATES_7);
            Click(page, IDC_CP_DATES_7);
            dates.push_back(Now() - t);
            t = Now();
            CComboBox* list = (CComboBox*)page->GetDlgItem(IDC_DB_FIND);
            list->SetCurSel(list->GetCount() / 2);
            page->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_DB_FIND, CBN_SELCHANGE), (LPARAM)list->GetSafeHwnd());
            find.push_back(Now() - t);
            list->SetCurSel(0);
            page->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_DB_FIND, CBN_SELCHANGE), (LPARAM)list->GetSafeHwnd());
            t = Now();
            Click(page, IDC_DB_LAST);
            last.push_back(Now() - t);
            CSliderCtrl* bar = (CSliderCtrl*)page->GetDlgItem(IDC_CP_SLIDER);
            t = Now();
            bar->SetPos(bar->GetRangeMax() / 2);
            page->SendMessage(WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 0), (LPARAM)bar->GetSafeHwnd());
            slider.push_back(Now() - t);
            printf("run %d: %s\n", run, (LPCSTR)page->GetRecordCountText());
            sheet.PressButton(PSBTN_OK);
        });
        sheet.ShowModal(1);
    }
    printf("browser medians over %d clips, %d people (s): open %.3f, students filter %.3f, "
           "7-day filter %.3f, find %.3f, last record %.3f, slider jump %.3f\n",
           clips, people, Median(open), Median(students), Median(dates), Median(find),
           Median(last), Median(slider));
    EXPECT_EQ(5u, open.size());
}

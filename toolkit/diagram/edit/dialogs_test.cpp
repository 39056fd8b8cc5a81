// The custom zoom and grid dialogs opened by the controller's commands: what they show, values
// out of range refused with the dialog kept open, and what OK writes back to the viewport. A
// timer plays the user's steps inside the dialogs' modal loops.
#include "od_edit_fixture.h"
#include <deque>
#include <functional>
#include "ODDialogs.h"

namespace {

HWND Dialog(const char* caption);

// Steps played from a timer; a step returns false to be tried again at the next tick (a window
// it waits for is not up yet).
class Steps
{
public:
    explicit Steps(std::initializer_list<std::function<bool()>> steps) : m_steps(steps)
    {
        s_current = this;
        m_timer = ::SetTimer(NULL, 0, 20, Tick);
    }
    ~Steps()
    {
        ::KillTimer(NULL, m_timer);
        s_current = nullptr;
    }
    bool Done() const { return m_steps.empty(); }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        Steps* s = s_current;
        if (s == nullptr || s->m_steps.empty() || s->m_busy)
            return;
        s->m_busy = true;  // a step that opens a nested loop must not be re-entered
        auto step = s->m_steps.front();
        s->m_steps.pop_front();
        if (!step())
            s->m_steps.push_front(step);
        s->m_busy = false;
    }
    std::deque<std::function<bool()>> m_steps;
    UINT_PTR m_timer;
    bool m_busy = false;
    static Steps* s_current;
};
Steps* Steps::s_current = nullptr;

struct Find {
    const char* caption;  // NULL: a message box (whatever dialog is not ours)
    HWND found;
};

const char* const kOurs[] = {"Zoom", "Grid Properties"};

BOOL CALLBACK FindDialog(HWND wnd, LPARAM data)
{
    Find* f = (Find*)data;
    char name[32] = "", caption[128] = "";
    ::GetClassNameA(wnd, name, sizeof name);
    ::GetWindowTextA(wnd, caption, sizeof caption);
    if (strcmp(name, "#32770") != 0 || !::IsWindowVisible(wnd))
        return TRUE;
    bool ours = false;
    for (const char* name : kOurs)
        ours = ours || strcmp(caption, name) == 0;
    if (f->caption ? strcmp(caption, f->caption) == 0 : !ours) {
        f->found = wnd;
        return FALSE;
    }
    return TRUE;
}

HWND Dialog(const char* caption)
{
    Find f = {caption, NULL};
    ::EnumThreadWindows(::GetCurrentThreadId(), FindDialog, (LPARAM)&f);
    return f.found;
}

// Reads and closes a message box; false while none is up.
std::function<bool()> AnswerBox(CString* text)
{
    return [text] {
        HWND box = Dialog(NULL);
        if (!box)
            return false;
        char buffer[256] = "";
        ::GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer);
        *text = buffer;
        ::PostMessage(box, WM_COMMAND, IDOK, 0);
        return true;
    };
}

void Type(HWND dialog, int id, const char* text) { ::SetDlgItemTextA(dialog, id, text); }
void Press(HWND dialog, int id) { ::PostMessage(dialog, WM_COMMAND, id, 0); }

}  // namespace

TEST(ZoomDialog, TheItemsTheViewportsLimitsAndAZoomOutOfRangeRefused)
{
    EditFixture f;
    f.view.SetZoomLimits(20, 300);
    f.view.SetZoom(100, 100);
    int items = -1;
    CString shown, refused;
    Steps steps({[&] {
                     HWND d = Dialog("Zoom");
                     if (!d)
                         return false;
                     items = (int)::SendDlgItemMessage(d, 1109, CB_GETCOUNT, 0, 0);
                     char text[16] = "";
                     ::GetDlgItemTextA(d, 1109, text, sizeof text);
                     shown = text;
                     Type(d, 1109, "10");
                     Press(d, IDOK);
                     return true;
                 },
                 AnswerBox(&refused),
                 [&] {
                     HWND d = Dialog("Zoom");  // still open
                     if (!d)
                         return false;
                     Type(d, 1109, "150");
                     Press(d, IDOK);
                     return true;
                 }});
    f.Command(ID_OD_ZOOM_CUSTOM);
    EXPECT_TRUE(steps.Done());
    EXPECT_EQ(items, 4);
    EXPECT_STREQ(shown, "100");
    EXPECT_STREQ(refused, "Please enter an integer between 20 and 300.");
    EXPECT_NEAR(f.view.GetZoom().cx, 150, 1);  // the extents' ratio truncates
    EXPECT_EQ(f.view.GetZoom().cy, f.view.GetZoom().cx);
}

TEST(GridDialog, LimitsFollowTheUnit)
{
    CODGridDlg dialog;
    dialog.SetUnits(4);  // millimetres
    EXPECT_NEAR(dialog.GetMinSpacing().GetValue(), 0.254f, 1e-5);
    EXPECT_NEAR(dialog.GetMaxSpacing().GetValue(), 304.8f, 1e-3);
    dialog.SetMinSpacing(CODMeasure(0, 0.5f));  // half an inch, kept in millimetres
    EXPECT_EQ(dialog.GetMinSpacing().GetUnits(), 4);
    EXPECT_NEAR(dialog.GetMinSpacing().GetValue(), 12.7f, 1e-4);
}

TEST(GridDialog, ShowsTheViewportsGridAndWritesItBack)
{
    EditFixture f;
    f.view.GetCoordinateMapping()->SetUnits(4);
    f.view.SetHorizontalGridSpacing(5.0f);
    f.view.SetVerticalGridSpacing(5.0f);
    f.view.SetGridVisible(FALSE);
    f.view.SetSnapToGrid(FALSE);
    CString unit, horizontal, refused;
    Steps steps({[&] {
                     HWND d = Dialog("Grid Properties");
                     if (!d)
                         return false;
                     char text[32] = "";
                     ::GetDlgItemTextA(d, CODGridDlg::idUnit1, text, sizeof text);
                     unit = text;
                     ::GetDlgItemTextA(d, CODGridDlg::idHorizontal, text, sizeof text);
                     horizontal = text;
                     Type(d, CODGridDlg::idVertical, "1");  // below a sixteenth of an inch
                     Press(d, IDOK);
                     return true;
                 },
                 AnswerBox(&refused),
                 [&] {
                     HWND d = Dialog("Grid Properties");
                     if (!d)
                         return false;
                     Type(d, CODGridDlg::idVertical, "10");
                     Type(d, CODGridDlg::idHorizontal, "2.5");
                     ::CheckDlgButton(d, CODGridDlg::idVisible, BST_CHECKED);
                     ::CheckDlgButton(d, CODGridDlg::idSnap, BST_CHECKED);
                     Press(d, IDOK);
                     return true;
                 }});
    f.Command(ID_OD_GRID_PROPERTIES);
    EXPECT_TRUE(steps.Done());
    EXPECT_STREQ(unit, "Millimeters");
    EXPECT_STREQ(horizontal, "5");
    EXPECT_EQ(refused.Find("Please enter a number between"), 0) << (LPCTSTR)refused;
    EXPECT_TRUE(f.view.IsGridVisible());
    EXPECT_TRUE(f.view.IsSnapToGrid());
    EXPECT_NEAR(f.view.GetVerticalGridSpacing(), 10.0f, 1e-4);
    EXPECT_NEAR(f.view.GetHorizontalGridSpacing(), 2.5f, 1e-4);
}

// The custom zoom, grid and components dialogs opened by the controller's commands: what they show, values
// out of range refused with the dialog kept open, and what OK writes back to the viewport. A
// timer plays the user's steps inside the dialogs' modal loops.
#include "od_edit_fixture.h"
#include <deque>
#include <functional>
#include <afxdlgs.h>
#include "ODDialogs.h"
#include "ODMetafileComponent.h"
#include "ODTextComponent.h"

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

const char* const kOurs[] = {"Zoom", "Grid Properties", "Components", "Measurements and Size"};

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

namespace {

// The list with its icons in reach.
class IconList : public CODComponentListBox
{
public:
    // The bitmap id of the component's icon, 0 for none.
    UINT IconOf(CODComponent* c)
    {
        CBitmap* icon = NULL;
        CBitmap* mask = NULL;
        GetTypeBitmaps(c, icon, mask);
        return icon ? 22002 + (UINT)(icon - m_icons) : 0;
    }
};

void Click(HWND dialog, int id)
{
    ::PostMessage(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)::GetDlgItem(dialog, id));
}

BOOL Enabled(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)); }

}  // namespace

TEST(ComponentsDialog, AnIconPerKindTheFirstKindWinning)
{
    IconList list;
    CPoint points[3] = {CPoint(0, 0), CPoint(10, 10), CPoint(20, 0)};
    CODRectComponent rect;
    CODEllipseComponent ellipse;
    CODTextComponent text;
    CODPolygonComponent polygon;
    CODLineComponent line;
    CODClosedCurveComponent closed;
    CODCurveComponent curve;
    CODMetafileComponent picture;
    struct {
        CODComponent* c;
        UINT icon;
    } cases[] = {{&rect, 22010},   {&ellipse, 22004}, {&text, 22012}, {&polygon, 22008},
                 {&line, 22006},   {&closed, 22002},  {&curve, 22003}, {&picture, 0}};
    (void)points;
    for (const auto& c : cases)
        EXPECT_EQ(list.IconOf(c.c), c.icon) << (LPCTSTR)c.c->GetRuntimeClass()->m_lpszClassName;
}

TEST(ComponentsDialog, EmptyDrawingLeavesTheButtonsDisabled)
{
    EditFixture f;
    BOOL goTo = TRUE, properties = TRUE, erase = TRUE;
    Steps steps({[&] {
        HWND d = Dialog("Components");
        if (!d)
            return false;
        goTo = Enabled(d, CODComponentsDlg::idGoTo);
        properties = Enabled(d, CODComponentsDlg::idProperties);
        erase = Enabled(d, CODComponentsDlg::idDelete);
        Press(d, IDOK);
        return true;
    }});
    f.Command(ID_OD_COMPONENTS);
    EXPECT_TRUE(steps.Done());
    EXPECT_FALSE(goTo || properties || erase);
}

TEST(ComponentsDialog, DeleteIsOneUndoStepAndNothingSelectedDoesNothing)
{
    EditFixture f;
    CODRectComponent* a = f.AddRect(10, 10, 50, 50);
    CODRectComponent* b = f.AddRect(60, 10, 90, 50);
    a->SetName("a");
    b->SetName("b");
    const int undo = f.model.GetHistory()->GetUndoCount();
    int undoAfterEmpty = -1, listed = -1;
    BOOL enabledAtEnd = TRUE;
    CRect ok, sized(0, 0, 10, 10);
    int bx = LOWORD(::GetDialogBaseUnits()), by = HIWORD(::GetDialogBaseUnits());
    CRect client;
    Steps steps({[&] {
                     HWND d = Dialog("Components");
                     if (!d)
                         return false;
                     listed = (int)::SendDlgItemMessage(d, CODComponentsDlg::idList, LB_GETCOUNT, 0, 0);
                     ::GetWindowRect(::GetDlgItem(d, IDOK), &ok);
                     ::ScreenToClient(d, (POINT*)&ok.left);
                     ::GetClientRect(d, &client);
                     ::SendMessage(d, WM_SIZING, WMSZ_LEFT, (LPARAM)&sized);
                     // Nothing selected: Delete does nothing.
                     ::SendDlgItemMessage(d, CODComponentsDlg::idList, LB_SETSEL, FALSE, -1);
                     Click(d, CODComponentsDlg::idDelete);
                     return true;
                 },
                 [&] {
                     HWND d = Dialog("Components");
                     undoAfterEmpty = f.model.GetHistory()->GetUndoCount();
                     ::SendDlgItemMessage(d, CODComponentsDlg::idList, LB_SETSEL, TRUE, -1);
                     Click(d, CODComponentsDlg::idDelete);
                     return true;
                 },
                 [&] {
                     HWND d = Dialog("Components");
                     enabledAtEnd = Enabled(d, CODComponentsDlg::idGoTo) ||
                                    Enabled(d, CODComponentsDlg::idDelete) ||
                                    Enabled(d, CODComponentsDlg::idProperties);
                     Press(d, IDOK);
                     return true;
                 }});
    f.Command(ID_OD_COMPONENTS);
    EXPECT_TRUE(steps.Done());
    EXPECT_EQ(listed, 2);
    EXPECT_EQ(undoAfterEmpty, undo);
    EXPECT_FALSE(enabledAtEnd);  // the last listed component deleted
    EXPECT_EQ(f.Count(), 0);
    EXPECT_EQ(f.model.GetHistory()->GetUndoCount(), undo + 1);
    f.Command(ID_EDIT_UNDO);
    EXPECT_EQ(f.Count(), 2);
    // The layout and the minimum size in dialog base units.
    EXPECT_EQ(ok.left, client.Width() - bx / 3 - bx * 10);
    EXPECT_EQ(ok.top, by / 4);
    EXPECT_EQ(sized.Width(), bx * 30);
    EXPECT_EQ(sized.right, 10);  // the left edge moved
    EXPECT_EQ(sized.Height(), by * 10);
    EXPECT_EQ(sized.top, 0);
}

TEST(MeasurementsCommand, TheSheetsValuesAreWrittenBack)
{
    EditFixture f;
    f.view.GetCoordinateMapping()->SetUnits(0);
    const CSize size = f.model.GetSize();
    CString width;
    Steps steps({[&] {
        HWND sheet = Dialog("Measurements and Size");
        if (!sheet)
            return false;
        HWND page = (HWND)::SendMessage(sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
        ::SendDlgItemMessage(page, 1137, CB_SETCURSEL, 4, 0);  // millimetres
        ::SendMessage(page, WM_COMMAND, MAKEWPARAM(1137, CBN_SELCHANGE),
                      (LPARAM)::GetDlgItem(page, 1137));
        char text[32] = "";
        ::GetDlgItemTextA(page, 1134, text, sizeof text);
        width = text;
        ::PostMessage(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        return true;
    }});
    f.Command(ID_OD_MEASUREMENTS);
    EXPECT_TRUE(steps.Done());
    EXPECT_EQ(f.view.GetCoordinateMapping()->GetUnits(), 4);
    // The canvas keeps its size: shown in millimetres, read back in logical units.
    EXPECT_NEAR(atof(width), size.cx * 25.4 / ODScreenPixelsPerInch().cx, 0.01);
    EXPECT_NEAR(f.model.GetSize().cx, size.cx, 1);
    EXPECT_NEAR(f.model.GetSize().cy, size.cy, 1);
}

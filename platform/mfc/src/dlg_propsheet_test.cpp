// Property sheets with two pages, run headless: modal, and kept between showings.
#include "afxdlgs.h"
#include "afxpriv.h"
#include "dlg_propsheet_test.h"
#include "dlg_test_util.h"
#include "gtest_wine.h"

#include <deque>
#include <functional>

namespace {

// Steps played one by one from a timer while a sheet runs its modal loop. A step waits
// while a message box is up (the box has its own answerer).
class Script
{
public:
    explicit Script(std::initializer_list<std::function<void()>> steps) : m_steps(steps)
    {
        s_pCurrent = this;
        m_timer = ::SetTimer(NULL, 0, 15, Tick);
    }
    ~Script()
    {
        ::KillTimer(NULL, m_timer);
        s_pCurrent = nullptr;
    }
    bool Done() const { return m_steps.empty(); }

private:
    std::deque<std::function<void()>> m_steps;
    UINT_PTR m_timer;
    static Script* s_pCurrent;

    static BOOL CALLBACK FindBox(HWND hWnd, LPARAM lParam)
    {
        if (::GetDlgItem(hWnd, 0xFFFF) != NULL && ::IsWindowVisible(hWnd))
            *(bool*)lParam = true;
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        Script* s = s_pCurrent;
        bool box = false;
        ::EnumThreadWindows(::GetCurrentThreadId(), FindBox, (LPARAM)&box);
        if (s == nullptr || box || s->m_steps.empty())
            return;
        auto step = s->m_steps.front();
        s->m_steps.pop_front();
        step();
    }
};
Script* Script::s_pCurrent = nullptr;

class CPageOne : public CPropertyPage
{
public:
    CPageOne() : CPropertyPage(IDD_PAGE_ONE) {}
    int m_value = 5;
    int m_nApply = 0, m_nReset = 0, m_nSetActive = 0;
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_PAGE_EDIT, m_value);
        DDV_MinMaxInt(pDX, m_value, 0, 100);
    }
    BOOL OnApply() override
    {
        m_nApply++;
        return CPropertyPage::OnApply();
    }
    void OnReset() override { m_nReset++; }
    BOOL OnSetActive() override
    {
        m_nSetActive++;
        return CPropertyPage::OnSetActive();
    }
};

class CPageTwo : public CPropertyPage
{
public:
    CPageTwo() : CPropertyPage(IDD_PAGE_TWO) {}
    int m_check = 0;
    int m_nApply = 0, m_nReset = 0;
    void DoDataExchange(CDataExchange* pDX) override { DDX_Check(pDX, IDC_PAGE_CHECK, m_check); }
    BOOL OnApply() override
    {
        m_nApply++;
        return CPropertyPage::OnApply();
    }
    void OnReset() override { m_nReset++; }
};

// A sheet created by its first showing and afterwards only hidden and shown again, its
// pages kept: the caller waits in the sheet's own modal loop.
class CKeptSheet : public CPropertySheet
{
public:
    CPageOne m_one;
    CPageTwo m_two;
    bool m_bCreated = false;
    bool m_bInLoop = false;

    CKeptSheet() : CPropertySheet("Vido Database")
    {
        AddPage(&m_one);
        AddPage(&m_two);
    }

    BOOL OnInitDialog() override
    {
        BOOL bResult = CPropertySheet::OnInitDialog();
        m_bCreated = true;
        return bResult;
    }

    INT_PTR DoModal() override
    {
        BuildPropPageArray();
        m_nModalResult = 0;
        m_nFlags |= WF_CONTINUEMODAL;
        m_psh.dwFlags |= PSH_MODELESS;
        AfxHookWindowCreate(this);
        HWND hWnd = (HWND)::PropertySheetA(&m_psh);
        AfxUnhookWindowCreate();
        m_psh.dwFlags &= ~PSH_MODELESS;
        if (hWnd == NULL || hWnd == (HWND)-1)
            m_nFlags &= ~WF_CONTINUEMODAL;
        return Loop(m_nModalResult);
    }

    int ShowModal(int nPage)
    {
        if (m_bInLoop)
            return -1;
        SetActivePage(nPage);
        int nResult = m_nModalResult;
        m_nFlags |= WF_CONTINUEMODAL;
        // After OK or Cancel the sheet has no current page until one is selected.
        SetActivePage(nPage);
        ShowWindow(SW_SHOW);
        return Loop(nResult);
    }

private:
    int Loop(INT_PTR nResult)
    {
        if (ContinueModal()) {
            m_bInLoop = true;
            nResult = RunModalLoop(MLF_SHOWONIDLE);
        }
        if (nResult == IDOK || nResult == IDCANCEL) {
            ShowWindow(SW_HIDE);
            m_bInLoop = false;
        }
        return (int)nResult;
    }
};

HWND SheetButton(CPropertySheet& sheet, int nID) { return ::GetDlgItem(sheet.m_hWnd, nID); }

}  // namespace

TEST(PropSheet, ModalAppliesOnOkAndIsDestroyed)
{
    DialogWatchdog watchdog;
    CPageOne one;
    CPageTwo two;
    CPropertySheet sheet("Options");
    sheet.AddPage(&one);
    sheet.AddPage(&two);
    EXPECT_EQ(2, sheet.GetPageCount());
    sheet.SetActivePage(1);
    int nActive = -1;
    Script script({[&] {
                       nActive = sheet.GetActiveIndex();
                       two.CheckDlgButton(IDC_PAGE_CHECK, BST_CHECKED);
                   },
                   [&] { sheet.PressButton(PSBTN_OK); }});
    EXPECT_EQ(IDOK, sheet.DoModal());
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(1, nActive);
    EXPECT_EQ(NULL, sheet.m_hWnd);
    EXPECT_EQ(1, two.m_check);  // the active page's data was saved
    EXPECT_EQ(1, two.m_nApply);
    EXPECT_EQ(0, two.m_nReset);
    EXPECT_EQ(0, one.m_nSetActive);  // never shown: never created, never applied
}

TEST(PropSheet, KeptSheetAppliesCancelsHidesAndShowsAgain)
{
    DialogWatchdog watchdog;
    CKeptSheet sheet;
    MessageBoxCatcher catcher;

    // First showing: the user types 42 and presses OK. The sheet is hidden, not destroyed.
    {
        Script script({[&] { sheet.m_one.SetDlgItemText(IDC_PAGE_EDIT, "42"); },
                       [&] { sheet.PressButton(PSBTN_OK); }});
        EXPECT_EQ(IDOK, sheet.DoModal());
        EXPECT_TRUE(script.Done());
    }
    EXPECT_TRUE(sheet.m_bCreated);
    EXPECT_FALSE(sheet.m_bInLoop);
    ASSERT_TRUE(::IsWindow(sheet.m_hWnd));
    EXPECT_FALSE(sheet.IsWindowVisible());
    EXPECT_EQ(42, sheet.m_one.m_value);
    EXPECT_EQ(1, sheet.m_one.m_nApply);

    // Shown again on the second page: a change there is cancelled.
    int nActive = -1;
    {
        Script script({[&] {
                           nActive = sheet.GetActiveIndex();
                           sheet.m_two.CheckDlgButton(IDC_PAGE_CHECK, BST_CHECKED);
                       },
                       [&] { sheet.PressButton(PSBTN_CANCEL); }});
        EXPECT_EQ(IDCANCEL, sheet.ShowModal(1));
        EXPECT_TRUE(script.Done());
    }
    EXPECT_EQ(1, nActive);
    EXPECT_FALSE(sheet.IsWindowVisible());
    EXPECT_EQ(0, sheet.m_two.m_check);
    EXPECT_GE(sheet.m_two.m_nReset, 1);
    EXPECT_EQ(42, sheet.m_one.m_value);

    // Shown on the first page: Apply stores without closing; a nested showing is refused.
    BOOL bApplyEnabled = FALSE, bApplyAfter = TRUE, bVisibleAfterApply = FALSE;
    int nNested = 0, nSeen = 0;
    {
        Script script({[&] {
                           nSeen = sheet.m_one.GetDlgItemInt(IDC_PAGE_EDIT);
                           sheet.m_one.SetDlgItemText(IDC_PAGE_EDIT, "77");
                           sheet.m_one.SetModified(TRUE);
                           bApplyEnabled = ::IsWindowEnabled(SheetButton(sheet, ID_APPLY_NOW));
                           sheet.PressButton(PSBTN_APPLYNOW);
                       },
                       [&] {
                           bApplyAfter = ::IsWindowEnabled(SheetButton(sheet, ID_APPLY_NOW));
                           bVisibleAfterApply = sheet.IsWindowVisible();
                           nNested = sheet.ShowModal(0);
                           sheet.PressButton(PSBTN_CANCEL);
                       }});
        EXPECT_EQ(IDCANCEL, sheet.ShowModal(0));
        EXPECT_TRUE(script.Done());
    }
    EXPECT_EQ(42, nSeen);  // the page shows its member again
    EXPECT_TRUE(bApplyEnabled);
    EXPECT_FALSE(bApplyAfter);
    EXPECT_TRUE(bVisibleAfterApply);
    EXPECT_EQ(-1, nNested);
    EXPECT_EQ(77, sheet.m_one.m_value);  // applied, then cancelled: stays applied

    // A bad value on OK: the page says so, keeps the focus and the sheet stays open.
    BOOL bStillOpen = FALSE;
    HWND hFocus = NULL;
    FocusRecorder focus;
    {
        Script script({[&] {
                           sheet.m_one.SetDlgItemText(IDC_PAGE_EDIT, "500");
                           sheet.PressButton(PSBTN_OK);
                       },
                       [&] {
                           bStillOpen = sheet.IsWindowVisible();
                           hFocus = FocusRecorder::Last();
                           sheet.PressButton(PSBTN_CANCEL);
                       }});
        EXPECT_EQ(IDCANCEL, sheet.ShowModal(0));
    }
    EXPECT_TRUE(bStillOpen);
    EXPECT_EQ(::GetDlgItem(sheet.m_one.m_hWnd, IDC_PAGE_EDIT), hFocus);
    ASSERT_EQ(1u, MessageBoxCatcher::Texts().size());
    EXPECT_EQ("Please enter an integer between 0 and 100.", MessageBoxCatcher::Texts()[0]);
    sheet.DestroyWindow();
}

namespace {

// Letters typed (or pasted as typing) reach the program as ANSI characters: the edit must hold
// the Windows-1252 bytes of what was typed, also the letters Latin-1 lacks (Š 8A, Œ 8C, € 80).
const char kTyped[] = "O'\x8Auster, Ren\xE9" "e \x8Cuvre \x80";

// Each character as the program's message pump hands it on: the window's translation first
// (the sheet's or dialog's keyboard handling), else dispatched.
void TypeInto(CWnd& owner, HWND hEdit)
{
    ::SetFocus(hEdit);
    for (const char* p = kTyped; *p; p++) {
        MSG msg = {hEdit, WM_CHAR, (BYTE)*p, 1};
        if (!owner.PreTranslateMessage(&msg))
            ::DispatchMessageA(&msg);
    }
}

}  // namespace

TEST(PropSheet, TypedWindows1252LettersReachPagesAndDialogsAsTyped)
{
    DialogWatchdog watchdog;
    {
        // A sheet in the program's own loop (kept between showings, as the database sheet).
        CKeptSheet sheet;
        CString typed;
        Script script({[&] { TypeInto(sheet, ::GetDlgItem(sheet.m_one.m_hWnd, IDC_PAGE_EDIT)); },
                       [&] {
                           sheet.m_one.GetDlgItemText(IDC_PAGE_EDIT, typed);
                           sheet.PressButton(PSBTN_CANCEL);
                       }});
        EXPECT_EQ(IDCANCEL, sheet.DoModal());
        EXPECT_STREQ(kTyped, (LPCSTR)typed);
        sheet.DestroyWindow();
    }
    {
        CDialog dlg(IDD_PLAIN_TEXT);
        CString typed;
        Script script({[&] { TypeInto(dlg, ::GetDlgItem(dlg.m_hWnd, IDC_PAGE_EDIT)); },
                       [&] {
                           dlg.GetDlgItemText(IDC_PAGE_EDIT, typed);
                           dlg.EndDialog(IDCANCEL);
                       }});
        EXPECT_EQ(IDCANCEL, dlg.DoModal());
        EXPECT_STREQ(kTyped, (LPCSTR)typed);
    }
}

// Dialogs from a resource template with data exchange, run headless.
#include "afxwin.h"
#include "dlg_ddx_test.h"
#include "dlg_parse.h"
#include "dlg_test_util.h"
#include "gtest_wine.h"

namespace {

class CCountingButton : public CButton
{
public:
    int m_nDrawn = 0;
    UINT m_lastState = 0;
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override
    {
        m_nDrawn++;
        m_lastState = lpDIS->itemState;
    }
};

// An owner-drawn sorted list of numbers (item data, no strings).
class CNumberList : public CListBox
{
public:
    int m_nMeasured = 0, m_nCompared = 0;
    std::vector<DWORD_PTR> m_deleted;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override
    {
        m_nMeasured++;
        lpMIS->itemHeight = 12;
    }
    int CompareItem(LPCOMPAREITEMSTRUCT lpCIS) override
    {
        m_nCompared++;
        return (int)lpCIS->itemData1 < (int)lpCIS->itemData2 ? -1
               : lpCIS->itemData1 == lpCIS->itemData2        ? 0
                                                              : 1;
    }
    void DrawItem(LPDRAWITEMSTRUCT) override {}
    void DeleteItem(LPDELETEITEMSTRUCT lpDIS) override { m_deleted.push_back(lpDIS->itemData); }
};

class CExchangeDlg : public CDialog
{
public:
    explicit CExchangeDlg(CWnd* pParent = NULL) : CDialog(IDD_EXCHANGE, pParent) {}

    int m_int = -5;
    UINT m_uint = 4000000000u;
    long m_long = -2147483647L - 1;
    DWORD m_dword = 4294967295u;
    float m_float = 3.14159265f;
    double m_double = 2.718281828459045;
    CString m_text = "Schl\xE4ger";
    CString m_list = "Beta";
    CString m_combo = "typed";
    int m_dropIndex = 1;
    int m_check = 1;
    int m_radio = 2;
    int m_slider = 40;
    int m_scroll = 7;
    BOOL m_bValidate = FALSE;
    int m_nCheckChanges = 0;
    CCountingButton m_drawn;
    CCheckListBox m_checks;

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_OWNERDRAW, m_drawn);
        DDX_Control(pDX, IDC_CHECKLIST, m_checks);
        DDX_Text(pDX, IDC_INT, m_int);
        if (m_bValidate)
            DDV_MinMaxInt(pDX, m_int, -100, 100);
        DDX_Text(pDX, IDC_UINT, m_uint);
        DDX_Text(pDX, IDC_LONG, m_long);
        DDX_Text(pDX, IDC_DWORD, m_dword);
        DDX_Text(pDX, IDC_FLOAT, m_float);
        if (m_bValidate)
            DDV_MinMaxFloat(pDX, m_float, 0.5f, 1.5f);
        DDX_Text(pDX, IDC_DOUBLE, m_double);
        DDX_Text(pDX, IDC_TEXT, m_text);
        if (m_bValidate)
            DDV_MaxChars(pDX, m_text, 4);
        DDX_LBString(pDX, IDC_LIST, m_list);
        DDX_CBString(pDX, IDC_COMBO, m_combo);
        DDX_CBIndex(pDX, IDC_DROPLIST, m_dropIndex);
        DDX_Check(pDX, IDC_CHECK, m_check);
        DDX_Radio(pDX, IDC_RADIO_A, m_radio);
        DDX_Slider(pDX, IDC_SLIDER, m_slider);
        DDX_Scroll(pDX, IDC_SCROLL, m_scroll);
    }

    BOOL OnInitDialog() override
    {
        for (const char* s : {"Alpha", "Beta", "Gamma"}) {
            SendDlgItemMessage(IDC_LIST, LB_ADDSTRING, 0, (LPARAM)s);
            SendDlgItemMessage(IDC_COMBO, CB_ADDSTRING, 0, (LPARAM)s);
            SendDlgItemMessage(IDC_DROPLIST, CB_ADDSTRING, 0, (LPARAM)s);
        }
        SendDlgItemMessage(IDC_SLIDER, TBM_SETRANGE, FALSE, MAKELPARAM(0, 100));
        ::SetScrollRange(::GetDlgItem(m_hWnd, IDC_SCROLL), SB_CTL, 0, 20, FALSE);
        return CDialog::OnInitDialog();
    }

    void OnCheckChange() { m_nCheckChanges++; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CExchangeDlg, CDialog)
    ON_CONTROL(CLBN_CHKCHANGE, IDC_CHECKLIST, OnCheckChange)
END_MESSAGE_MAP()

// Ends itself from a timer with Cancel after the user typed into a field.
class CCancelledDlg : public CExchangeDlg
{
public:
    using CExchangeDlg::CExchangeDlg;
    BOOL OnInitDialog() override
    {
        CExchangeDlg::OnInitDialog();
        SetDlgItemText(IDC_INT, "88");
        SetTimer(1, 10, NULL);
        return TRUE;
    }
    void OnTimer(UINT_PTR) { EndDialog(IDCANCEL); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCancelledDlg, CExchangeDlg)
    ON_WM_TIMER()
END_MESSAGE_MAP()

std::string ItemText(CWnd* pDlg, int nID)
{
    CString s;
    pDlg->GetDlgItemText(nID, s);
    return (LPCTSTR)s;
}

}  // namespace

TEST(DataExchange, ParsesNumbersStrictly)
{
    struct {
        const char* text;
        BOOL bSigned;
        BOOL ok;
        long long value;
    } ints[] = {
        {"42", TRUE, TRUE, 42},         {"  -17\t", TRUE, TRUE, -17},
        {"+8", FALSE, TRUE, 8},         {"", TRUE, FALSE, 0},
        {"   ", TRUE, FALSE, 0},        {"12x", TRUE, FALSE, 0},
        {"1 2", TRUE, FALSE, 0},        {"-1", FALSE, FALSE, 0},
        {"2147483647", TRUE, TRUE, 2147483647LL},
        {"2147483648", TRUE, FALSE, 0},  // beyond 32 bits is refused, not wrapped
        {"-2147483648", TRUE, TRUE, -2147483648LL},
        {"99999999999999999999999", TRUE, FALSE, 0},
    };
    for (auto& t : ints) {
        long long v = -1;
        BOOL ok = DdxParseInteger(t.text, t.bSigned, t.bSigned ? INT_MIN : 0,
                                  t.bSigned ? INT_MAX : UINT_MAX, &v);
        EXPECT_EQ(t.ok, ok) << "'" << t.text << "'";
        if (t.ok && ok) {
            EXPECT_EQ(t.value, v) << t.text;
        }
    }
    struct {
        const char* text;
        BOOL ok;
        double value;
    } reals[] = {
        {"1.5", TRUE, 1.5}, {" -2e3 ", TRUE, -2000}, {".25", TRUE, 0.25},
        {"", FALSE, 0},     {"1,5", FALSE, 0},       {"inf", FALSE, 0},
        {"nan", FALSE, 0},  {"0x10", FALSE, 0},      {"1e999", FALSE, 0},
    };
    for (auto& t : reals) {
        double d = 0;
        BOOL ok = DdxParseReal(t.text, &d);
        EXPECT_EQ(t.ok, ok) << "'" << t.text << "'";
        if (t.ok && ok) {
            EXPECT_DOUBLE_EQ(t.value, d) << t.text;
        }
    }
    EXPECT_STREQ("3.14159", DdxFormatReal(3.14159265f, 6));
    EXPECT_STREQ("0.1", DdxFormatReal(0.1f, 6));  // six digits hide the float's binary tail
}

TEST(DataExchange, RoundTripsEveryType)
{
    CExchangeDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_EXCHANGE));
    // Loading happened in OnInitDialog.
    EXPECT_EQ("-5", ItemText(&dlg, IDC_INT));
    EXPECT_EQ("4000000000", ItemText(&dlg, IDC_UINT));
    EXPECT_EQ("-2147483648", ItemText(&dlg, IDC_LONG));
    EXPECT_EQ("4294967295", ItemText(&dlg, IDC_DWORD));
    EXPECT_EQ("3.14159", ItemText(&dlg, IDC_FLOAT));
    EXPECT_EQ("2.71828182845905", ItemText(&dlg, IDC_DOUBLE));
    EXPECT_EQ("Schl\xE4ger", ItemText(&dlg, IDC_TEXT));
    EXPECT_EQ(1, dlg.SendDlgItemMessage(IDC_LIST, LB_GETCURSEL));
    EXPECT_EQ("typed", ItemText(&dlg, IDC_COMBO));  // not in the list: shown as typed
    // The template's initial list data was added too.
    EXPECT_EQ(4, dlg.SendDlgItemMessage(IDC_COMBO, CB_GETCOUNT));
    EXPECT_LE(0, dlg.SendDlgItemMessage(IDC_COMBO, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM) "Wedge"));
    EXPECT_EQ(1, dlg.SendDlgItemMessage(IDC_DROPLIST, CB_GETCURSEL));
    EXPECT_EQ(BST_CHECKED, dlg.IsDlgButtonChecked(IDC_CHECK));
    EXPECT_EQ(BST_CHECKED, dlg.IsDlgButtonChecked(IDC_RADIO_C));
    EXPECT_EQ(BST_UNCHECKED, dlg.IsDlgButtonChecked(IDC_RADIO_A));
    EXPECT_EQ(40, dlg.SendDlgItemMessage(IDC_SLIDER, TBM_GETPOS));
    EXPECT_EQ(7, ::GetScrollPos(::GetDlgItem(dlg.m_hWnd, IDC_SCROLL), SB_CTL));

    // The user changes everything; saving brings it back into the members.
    dlg.SetDlgItemText(IDC_INT, " 12 ");
    dlg.SetDlgItemText(IDC_UINT, "7");
    dlg.SetDlgItemText(IDC_LONG, "-99");
    dlg.SetDlgItemText(IDC_DWORD, "65536");
    dlg.SetDlgItemText(IDC_FLOAT, "0.75");
    dlg.SetDlgItemText(IDC_DOUBLE, "-1e-3");
    dlg.SetDlgItemText(IDC_TEXT, "Eisen");
    dlg.SendDlgItemMessage(IDC_LIST, LB_SETCURSEL, 2);
    dlg.SendDlgItemMessage(IDC_COMBO, CB_SETCURSEL, 0);
    dlg.SendDlgItemMessage(IDC_DROPLIST, CB_SETCURSEL, 2);
    dlg.CheckDlgButton(IDC_CHECK, BST_UNCHECKED);
    dlg.CheckRadioButton(IDC_RADIO_A, IDC_RADIO_C, IDC_RADIO_A);
    dlg.SendDlgItemMessage(IDC_SLIDER, TBM_SETPOS, TRUE, 90);
    ::SetScrollPos(::GetDlgItem(dlg.m_hWnd, IDC_SCROLL), SB_CTL, 15, FALSE);
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(12, dlg.m_int);
    EXPECT_EQ(7u, dlg.m_uint);
    EXPECT_EQ(-99, dlg.m_long);
    EXPECT_EQ(65536u, dlg.m_dword);
    EXPECT_FLOAT_EQ(0.75f, dlg.m_float);
    EXPECT_DOUBLE_EQ(-0.001, dlg.m_double);
    EXPECT_STREQ("Eisen", dlg.m_text);
    EXPECT_STREQ("Gamma", dlg.m_list);
    EXPECT_STREQ("Alpha", dlg.m_combo);
    EXPECT_EQ(2, dlg.m_dropIndex);
    EXPECT_EQ(0, dlg.m_check);
    EXPECT_EQ(0, dlg.m_radio);
    EXPECT_EQ(90, dlg.m_slider);
    EXPECT_EQ(15, dlg.m_scroll);

    // No radio button checked reads as -1; a list without selection as an empty string.
    dlg.CheckDlgButton(IDC_RADIO_A, BST_UNCHECKED);
    dlg.SendDlgItemMessage(IDC_LIST, LB_SETCURSEL, (WPARAM)-1);
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(-1, dlg.m_radio);
    EXPECT_STREQ("", dlg.m_list);
    dlg.DestroyWindow();
}

TEST(DataExchange, BadInputShowsTheClassicMessageAndKeepsFocusOnTheField)
{
    CExchangeDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_EXCHANGE));
    dlg.ShowWindow(SW_SHOW);
    MessageBoxCatcher catcher;
    FocusRecorder focus;
    struct {
        int nID;
        const char* text;
        BOOL bValidate;
        const char* message;
    } cases[] = {
        {IDC_INT, "12x", FALSE, "Please enter an integer."},
        {IDC_INT, "", FALSE, "Please enter an integer."},
        {IDC_UINT, "-3", FALSE, "Please enter a positive integer."},
        {IDC_LONG, "2147483648", FALSE, "Please enter an integer."},
        {IDC_FLOAT, "1,5", FALSE, "Please enter a number."},
        {IDC_INT, "500", TRUE, "Please enter an integer between -100 and 100."},
        {IDC_FLOAT, "2", TRUE, "Please enter a number between 0.5 and 1.5."},
        {IDC_TEXT, "Driver", TRUE, "Please enter no more than 4 characters."},
    };
    for (auto& t : cases) {
        // Every field valid first, then the one under test spoiled.
        dlg.m_bValidate = t.bValidate;
        dlg.SetDlgItemText(IDC_INT, "1");
        dlg.SetDlgItemText(IDC_UINT, "1");
        dlg.SetDlgItemText(IDC_LONG, "1");
        dlg.SetDlgItemText(IDC_FLOAT, "1");
        dlg.SetDlgItemText(IDC_TEXT, "Wood");
        dlg.SetDlgItemText(t.nID, t.text);
        dlg.GetDlgItem(IDOK)->SetFocus();
        MessageBoxCatcher::Texts().clear();
        EXPECT_FALSE(dlg.UpdateData(TRUE)) << t.text;
        ASSERT_EQ(1u, MessageBoxCatcher::Texts().size()) << t.text;
        EXPECT_EQ(t.message, MessageBoxCatcher::Texts()[0]);
        EXPECT_EQ(::GetDlgItem(dlg.m_hWnd, t.nID), FocusRecorder::Last()) << t.text;
        DWORD sel = (DWORD)dlg.SendDlgItemMessage(t.nID, EM_GETSEL);
        EXPECT_EQ((DWORD)lstrlenA(t.text), (DWORD)HIWORD(sel)) << "text selected: " << t.text;
    }
    dlg.DestroyWindow();
}

TEST(DataExchange, ValidationRunsOnlyWhenSaving)
{
    CExchangeDlg dlg;
    dlg.m_int = 500;  // out of range, but loading shows it without complaint
    dlg.m_bValidate = TRUE;
    dlg.m_float = 1.0f;
    dlg.m_text = "Iron";
    MessageBoxCatcher catcher;
    ASSERT_TRUE(dlg.Create(IDD_EXCHANGE));
    EXPECT_TRUE(MessageBoxCatcher::Texts().empty());
    EXPECT_EQ("500", ItemText(&dlg, IDC_INT));
    // DDV_MaxChars limits the edit while loading.
    EXPECT_EQ(4, dlg.SendDlgItemMessage(IDC_TEXT, EM_GETLIMITTEXT));
    dlg.DestroyWindow();
}

TEST(Dialog, ModalDisablesTheOwnerAndReturnsTheResult)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, "STATIC", "Owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100,
                               NULL, NULL));
    struct CModal : CExchangeDlg {
        using CExchangeDlg::CExchangeDlg;
        BOOL m_bOwnerEnabled = TRUE;
        BOOL OnInitDialog() override
        {
            CExchangeDlg::OnInitDialog();
            m_bOwnerEnabled = m_pParentWnd->IsWindowEnabled();
            SetDlgItemText(IDC_INT, "77");
            PostMessage(WM_COMMAND, IDOK);  // the user presses OK
            return TRUE;
        }
    } dlg(&owner);
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_FALSE(dlg.m_bOwnerEnabled);
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_EQ(NULL, dlg.m_hWnd);
    EXPECT_EQ(77, dlg.m_int);  // OnOK saved the controls

    // Ended from outside the dialog, before any input: Cancel keeps the members.
    CCancelledDlg cancelled(&owner);
    EXPECT_EQ(IDCANCEL, cancelled.DoModal());
    EXPECT_EQ(-5, cancelled.m_int);
    owner.DestroyWindow();
}

TEST(Dialog, OwnerDrawAndCheckListBox)
{
    CExchangeDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_EXCHANGE));

    // The dialog's WM_DRAWITEM comes back to the button object.
    HDC hdc = CreateCompatibleDC(NULL);
    DRAWITEMSTRUCT dis = {ODT_BUTTON, IDC_OWNERDRAW, 0, ODA_DRAWENTIRE, ODS_SELECTED,
                          dlg.m_drawn.m_hWnd, hdc, {0, 0, 10, 10}, 0};
    dlg.SendMessage(WM_DRAWITEM, IDC_OWNERDRAW, (LPARAM)&dis);
    EXPECT_EQ(1, dlg.m_drawn.m_nDrawn);
    EXPECT_EQ((UINT)ODS_SELECTED, dlg.m_drawn.m_lastState);
    DeleteDC(hdc);

    // List boxes get their measuring, sorting and deleting back too.
    CNumberList numbers;
    ASSERT_TRUE(numbers.Create(WS_CHILD | LBS_OWNERDRAWFIXED | LBS_SORT, CRect(0, 0, 50, 50),
                               &dlg, 1050));
    EXPECT_EQ(1, numbers.m_nMeasured);
    for (DWORD_PTR n : {30, 10, 20})
        numbers.AddString((LPCTSTR)n);
    EXPECT_GT(numbers.m_nCompared, 0);
    EXPECT_EQ((DWORD_PTR)10, numbers.GetItemData(0));
    EXPECT_EQ((DWORD_PTR)20, numbers.GetItemData(1));
    EXPECT_EQ((DWORD_PTR)30, numbers.GetItemData(2));
    numbers.DeleteString(1);
    EXPECT_EQ(std::vector<DWORD_PTR>{20}, numbers.m_deleted);
    numbers.DestroyWindow();

    CCheckListBox& checks = dlg.m_checks;
    EXPECT_EQ(0, checks.AddString("Driver"));
    EXPECT_EQ(1, checks.AddString("Putter"));
    EXPECT_EQ(0, checks.InsertString(0, "Wedge"));
    checks.SetItemData(2, 0x1234);
    checks.SetCheck(2, 1);
    EXPECT_EQ(1, checks.GetCheck(2));
    EXPECT_EQ(0, checks.GetCheck(0));
    EXPECT_EQ((DWORD_PTR)0x1234, checks.GetItemData(2));
    EXPECT_EQ((DWORD_PTR)0, checks.GetItemData(1));
    CString text;
    checks.GetText(2, text);
    EXPECT_STREQ("Putter", text);

    // Space toggles the item with the caret and tells the parent.
    checks.SetCaretIndex(1);
    checks.SendMessage(WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(1, checks.GetCheck(1));
    EXPECT_EQ(1, dlg.m_nCheckChanges);
    checks.Enable(1, FALSE);
    checks.SendMessage(WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(1, checks.GetCheck(1));  // a disabled item keeps its check
    EXPECT_EQ(1, dlg.m_nCheckChanges);

    // Deleting an item keeps the others' states and data with them.
    checks.DeleteString(0);
    EXPECT_EQ(1, checks.GetCheck(1));
    EXPECT_EQ((DWORD_PTR)0x1234, checks.GetItemData(1));
    dlg.DestroyWindow();
}

TEST(Dialog, MovesFocusAndDefaultButton)
{
    CExchangeDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_EXCHANGE));
    dlg.ShowWindow(SW_SHOW);
    FocusRecorder focus;
    dlg.GotoDlgCtrl(dlg.GetDlgItem(IDC_TEXT));
    EXPECT_EQ(::GetDlgItem(dlg.m_hWnd, IDC_TEXT), FocusRecorder::Last());
    dlg.NextDlgCtrl();  // the next tab stop in template order
    EXPECT_EQ(::GetDlgItem(dlg.m_hWnd, IDC_LIST), FocusRecorder::Last());
    dlg.PrevDlgCtrl();
    EXPECT_EQ(::GetDlgItem(dlg.m_hWnd, IDC_TEXT), FocusRecorder::Last());

    EXPECT_EQ(IDOK, LOWORD(dlg.GetDefID()));
    dlg.SetDefID(IDCANCEL);
    EXPECT_EQ(IDCANCEL, LOWORD(dlg.GetDefID()));

    // Dialog units scale with the template's font: 4 horizontal units are one average
    // character, 8 vertical ones a character height, so a wider rectangle maps wider.
    CRect one(0, 0, 4, 8), ten(0, 0, 40, 80);
    dlg.MapDialogRect(&one);
    dlg.MapDialogRect(&ten);
    EXPECT_GT(one.Width(), 0);
    EXPECT_NEAR(ten.Width(), one.Width() * 10, 10);
    EXPECT_NEAR(ten.Height(), one.Height() * 10, 10);
    dlg.DestroyWindow();
}

// The record-form controls and the small record dialogs, headless.
#include "browser_test_support.h"
#include <functional>
#include <vector>
#include "BrowserLists.h"
#include "EditEx.h"
#include "GroupDialogs.h"
#include "MoreDlg.h"
#include "QuickRegisterDlg.h"
#include "browser_res.h"

using namespace browser_test;

namespace {

// A plain dialog-like parent for controls made at test time.
struct Host
{
    Host()
    {
        wnd.CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP, CRect(0, 0, 300, 200), NULL,
                     0);
    }
    ~Host() { wnd.DestroyWindow(); }
    CWnd wnd;
};

// The colour a control paints its text background with, asked as its parent would.
COLORREF BackColorOf(CWnd& parent, CWnd& control, UINT message)
{
    CDC dc;
    dc.CreateCompatibleDC(NULL);
    const HBRUSH brush = (HBRUSH)parent.SendMessage(message, (WPARAM)dc.GetSafeHdc(),
                                                    (LPARAM)control.GetSafeHwnd());
    EXPECT_TRUE(brush != NULL);
    LOGBRUSH info = {};
    GetObjectA(brush, sizeof info, &info);
    EXPECT_EQ(info.lbColor, dc.GetBkColor());
    return dc.GetBkColor();
}

// A dialog whose OK leaves it open (after a complaint) ends with IDCANCEL instead: the
// answers helper answers each window once.
template <class Dialog>
class OkOnce : public Dialog
{
public:
    using Dialog::Dialog;

protected:
    void OnOK() override
    {
        Dialog::OnOK();
        if (this->ContinueModal())
            this->EndDialog(IDCANCEL);
    }
};

} // namespace

TEST(RecordControls, EditColoursFollowTheReadOnlyStateAndTypingIsRefused)
{
    Host host;
    CEditEx edit;
    edit.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 20), &host.wnd, 1001);
    // A new control has the button-face look but takes typing.
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), BackColorOf(host.wnd, edit, WM_CTLCOLOREDIT));
    EXPECT_FALSE(edit.GetStyle() & ES_READONLY);
    edit.SetReadOnly(FALSE);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), BackColorOf(host.wnd, edit, WM_CTLCOLOREDIT));
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), edit.GetTextColor());
    edit.SetReadOnly(TRUE);
    EXPECT_TRUE(edit.GetStyle() & ES_READONLY);
    // Whatever the kind of colour request, the same colours.
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), BackColorOf(host.wnd, edit, WM_CTLCOLORSTATIC));
    edit.SetWindowText("kept");
    edit.SendMessage(WM_CHAR, 'x', 0);
    CString text;
    edit.GetWindowText(text);
    EXPECT_STREQ("kept", text);
}

TEST(RecordControls, ComboEditFieldNeverTakesTypingAndListOnlyCombosAreEnabledOnly)
{
    Host host;
    CComboEx combo;
    combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, CRect(0, 0, 100, 120), &host.wnd, 1002);
    combo.AddString("Driver");
    combo.AddString("Putter");
    EXPECT_TRUE(combo.IsReadOnly());
    combo.SetReadOnly(FALSE);
    EXPECT_TRUE(combo.IsWindowEnabled());
    // The edit field attaches at its first colour request.
    HWND editWnd = ::GetWindow(combo.GetSafeHwnd(), GW_CHILD);
    ASSERT_TRUE(editWnd != NULL);
    CDC dc;
    dc.CreateCompatibleDC(NULL);
    combo.SendMessage(WM_CTLCOLOREDIT, (WPARAM)dc.GetSafeHdc(), (LPARAM)editWnd);
    ASSERT_TRUE(combo.HasEditField());
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), dc.GetBkColor());
    EXPECT_TRUE(::GetWindowLongA(editWnd, GWL_STYLE) & ES_READONLY);
    ::SendMessageA(editWnd, WM_CHAR, 'x', 0);
    char text[32] = "";
    ::GetWindowTextA(editWnd, text, sizeof text);
    EXPECT_STREQ("", text);
    combo.SetCurSel(1);
    combo.GetWindowText(text, sizeof text);
    EXPECT_STREQ("Putter", text);
    combo.SetReadOnly(TRUE);
    EXPECT_FALSE(combo.IsWindowEnabled());
    combo.SendMessage(WM_CTLCOLOREDIT, (WPARAM)dc.GetSafeHdc(), (LPARAM)editWnd);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), dc.GetBkColor());
    // A combo that was never editable: its (disabled) edit field first asks as a static,
    // and gets the same look as one that was edited, text in the window-text colour.
    CComboEx never;
    never.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, CRect(0, 60, 100, 180), &host.wnd, 1004);
    never.SetReadOnly(TRUE);
    HWND neverEdit = ::GetWindow(never.GetSafeHwnd(), GW_CHILD);
    dc.SetBkColor(RGB(1, 2, 3));
    never.SendMessage(WM_CTLCOLORSTATIC, (WPARAM)dc.GetSafeHdc(), (LPARAM)neverEdit);
    EXPECT_TRUE(never.HasEditField());
    EXPECT_TRUE(::IsWindowEnabled(neverEdit));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), dc.GetBkColor());
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), dc.GetTextColor());
    EXPECT_FALSE(combo.SendMessage(CB_SHOWDROPDOWN, TRUE, 0) && combo.GetDroppedState() &&
                 combo.IsWindowEnabled());

    CComboEx listOnly;
    listOnly.Create(WS_CHILD | CBS_DROPDOWNLIST, CRect(0, 30, 100, 120), &host.wnd, 1003);
    listOnly.SetReadOnly(FALSE);
    EXPECT_TRUE(listOnly.IsWindowEnabled());
    EXPECT_FALSE(listOnly.HasEditField());
    listOnly.SetReadOnly(TRUE);
    EXPECT_FALSE(listOnly.IsWindowEnabled());
}

TEST(RecordDialogs, MoreDialogReturnsLineBreaksUnchangedAndCancelKeepsTheText)
{
    DialogAnswers answers;
    CMoreDlg more;
    more.m_strText = "First line\r\nSecond line\r\n\r\nLast";
    EXPECT_EQ(IDOK, more.DoModal());
    EXPECT_STREQ("First line\r\nSecond line\r\n\r\nLast", more.m_strText);
    answers.Queue(IDCANCEL);
    more.m_strText = "kept";
    EXPECT_EQ(IDCANCEL, more.DoModal());
    EXPECT_STREQ("kept", more.m_strText);
    EXPECT_TRUE(answers.Saw("More..."));
}

class QuickRegisterTest : public BrowserTest
{
};

TEST_F(QuickRegisterTest, NamesAreTrimmedCheckedAndComparedExactly)
{
    AddPerson("Ann", "O'Hara");
    AddPerson("J\xF6rg", "M\xFCller"); // Windows-1252 letters
    AddPerson("Ann%", "Sm_th");
    struct Case
    {
        const char* first;
        const char* last;
        BOOL check;
        const char* complaint; // NULL: accepted
        const char* storedFirst;
        const char* storedLast;
    } cases[] = {
        {"  ", "", TRUE, "You must enter a First Name.", "", ""},
        {"Ann", "   ", TRUE, "You must enter a Last Name.", "Ann", ""},
        {"  Ann ", " O'Hara  ", TRUE, "already exists", "Ann", "O'Hara"},
        {"ann", "o'hara", TRUE, "already exists", "ann", "o'hara"},
        {"J\xD6RG", "M\xDCLLER", TRUE, "already exists", "J\xD6RG", "M\xDCLLER"},
        {"Ann", "O'Hara", FALSE, NULL, "Ann", "O'Hara"},
        // Wildcards match only themselves.
        {"Ann*", "O'Hara", TRUE, NULL, "Ann*", "O'Hara"},
        {"Anne", "Smith", TRUE, NULL, "Anne", "Smith"},
        {"Ann[", "O#Hara?", TRUE, NULL, "Ann[", "O#Hara?"},
    };
    for (const Case& c : cases) {
        DialogAnswers answers;
        OkOnce<CQuickRegisterDlg> dialog(c.check);
        dialog.m_strFirstName = c.first;
        dialog.m_strLastName = c.last;
        const INT_PTR result = dialog.DoModal();
        EXPECT_EQ(c.complaint ? IDCANCEL : IDOK, result) << c.first << "/" << c.last;
        if (c.complaint) {
            EXPECT_TRUE(answers.Saw(c.complaint)) << c.first << "/" << c.last;
        }
        EXPECT_STREQ(c.storedFirst, dialog.m_strFirstName);
        EXPECT_STREQ(c.storedLast, dialog.m_strLastName);
    }
}

TEST_F(QuickRegisterTest, CaptionReplacesTheTemplatesOne)
{
    DialogAnswers answers;
    answers.Queue(IDCANCEL);
    CQuickRegisterDlg dialog(FALSE);
    dialog.SetCaption("Enter Subject Name to be used for Unsaved Clips");
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_TRUE(answers.Saw("Enter Subject Name to be used for Unsaved Clips|First Name:"));
}

// The second dialog, driven from inside its own loop.
class QuickRegister2 : public OkOnce<CQuickRegisterDlg2>
{
public:
    std::function<void(QuickRegister2&)> m_onShow;

protected:
    BOOL OnInitDialog() override
    {
        OkOnce<CQuickRegisterDlg2>::OnInitDialog();
        if (m_onShow)
            m_onShow(*this);
        return TRUE;
    }
};

TEST_F(QuickRegisterTest, SecondDialogRolesAndInstructors)
{
    const long hale = AddPerson("Ida", "Hale", "Instructor");
    AddPerson("Ida", "Hale", "Student", hale);
    const long twin = AddPerson("Ida", "Hale, Jr", "Instructor");
    DialogAnswers answers;
    QuickRegister2 dialog;
    std::vector<CString> instructors;
    CString role;
    int roleCount = 0;
    dialog.m_onShow = [&](QuickRegister2& d) {
        d.GetDlgItemText(IDC_QR_ROLE, role);
        roleCount = d.m_roleList.GetCount();
        for (int i = 0; i < d.m_instructorList.GetCount(); ++i) {
            CString text;
            d.m_instructorList.GetLBText(i, text);
            instructors.push_back(text);
        }
        EXPECT_TRUE(d.m_instructorList.IsWindowEnabled());
        // A same-named instructor is told apart by ID.
        SelectItemData(d.m_instructorList, twin);
        d.SetDlgItemText(IDC_QR_FIRST_NAME, " Kai ");
        d.SetDlgItemText(IDC_QR_LAST_NAME, "Lee");
    };
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_STREQ("Student", role);
    EXPECT_EQ(4, roleCount);
    ASSERT_EQ(3u, instructors.size());
    EXPECT_STREQ("", instructors[0]);
    EXPECT_EQ(twin, dialog.m_lInstructorID);
    EXPECT_STREQ("Kai", dialog.m_strFirstName);
    EXPECT_STREQ("Student", dialog.m_strRole);

    // The instructor role empties and disables the list: no instructor is returned.
    QuickRegister2 second;
    second.m_onShow = [&](QuickRegister2& d) {
        d.m_roleList.SetCurSel(0);
        d.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_QR_ROLE, CBN_SELCHANGE),
                      (LPARAM)d.m_roleList.GetSafeHwnd());
        EXPECT_EQ(0, d.m_instructorList.GetCount());
        EXPECT_FALSE(d.m_instructorList.IsWindowEnabled());
        d.SetDlgItemText(IDC_QR_FIRST_NAME, "Ida");
        d.SetDlgItemText(IDC_QR_LAST_NAME, "HALE");
    };
    // The name exists: the complaint, and the dialog stays open.
    EXPECT_EQ(IDCANCEL, second.DoModal());
    EXPECT_TRUE(answers.Saw("The name you entered already exists in the database."));
    EXPECT_EQ(-1, second.m_lInstructorID);
    EXPECT_STREQ("Instructor", second.m_strRole);
}

TEST(RecordDialogs, GroupNameRefusesBlankNamesAndKeepsOthersAsTyped)
{
    struct Case
    {
        const char* typed;
        bool accepted;
    } cases[] = {{"", false}, {" ", false}, {"   ", false}, {" O'Hara's [drills] ", true},
                 {"100% *", true}};
    for (const Case& c : cases) {
        DialogAnswers answers;
        OkOnce<CGroupName> dialog;
        dialog.m_strGroupName = c.typed;
        EXPECT_EQ(c.accepted ? IDOK : IDCANCEL, dialog.DoModal()) << "[" << c.typed << "]";
        EXPECT_EQ(!c.accepted, answers.Saw("You must enter a valid group name.")) << c.typed;
        EXPECT_STREQ(c.typed, dialog.m_strGroupName);
    }
    DialogAnswers answers;
    answers.Queue(IDCANCEL);
    CDeleteGroupDlg question;
    EXPECT_EQ(IDCANCEL, question.DoModal());
    EXPECT_TRUE(answers.Saw("Delete Group|Group contains clips, do you still wish to delete it?"));
}

namespace {

// Types `count` letters into each of `ids` when the dialog comes up, keeps what each edit
// took, and closes.
template <class Dialog>
class Typist : public Dialog
{
public:
    using Dialog::Dialog;
    std::vector<UINT> ids;
    std::vector<int> took;

protected:
    BOOL OnInitDialog() override
    {
        Dialog::OnInitDialog();
        for (UINT id : ids) {
            HWND edit = ::GetDlgItem(this->m_hWnd, id);
            for (int i = 0; i < 120; ++i)
                ::SendMessageA(edit, WM_CHAR, 'a' + i % 26, 0);
            took.push_back(::GetWindowTextLengthA(edit));
        }
        this->EndDialog(IDCANCEL);
        return TRUE;
    }
};

} // namespace

TEST_F(QuickRegisterTest, NameFieldsTakeNoMoreThanTheirColumnsHold)
{
    DialogAnswers answers;
    Typist<CQuickRegisterDlg> first(FALSE);
    first.ids = {IDC_QR_FIRST_NAME, IDC_QR_LAST_NAME};
    first.DoModal();
    EXPECT_EQ((std::vector<int>{50, 50}), first.took);
    Typist<CQuickRegisterDlg2> second;
    second.ids = {IDC_QR_FIRST_NAME, IDC_QR_LAST_NAME};
    second.DoModal();
    EXPECT_EQ((std::vector<int>{50, 50}), second.took);
    Typist<CGroupName> group;
    group.ids = {IDC_GROUP_NAME};
    group.DoModal();
    EXPECT_EQ((std::vector<int>{100}), group.took);
}

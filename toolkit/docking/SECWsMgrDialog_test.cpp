// The list box editor and the workspace manager dialog: keys, caption buttons, in-place
// edits, drags over several places (both name lists follow the shown order), a press or drag
// that loses the mouse capture, and the workspace rules answered through message boxes.
#include "gtest_wine.h"
#include "SECListBoxEditor.h"
#include "SECResource.h"
#include "SECWsMgrDialog.h"
#include "dialog_script.h"
#include <string>
#include <vector>

namespace {

class CTestApp : public CWinApp {
 public:
  CTestApp() : CWinApp("Editor Tester") {}
};
CTestApp theApp;

// Screenshots are taken of the display's own desktop.
const bool g_ownDesktop =
    getenv("QUORVEL_SCREENSHOT_DIR") == nullptr && RunOnOwnDesktop("QuorvelEditorTests");

// Answers the message boxes of this program (their caption is the program's name) with the
// queued buttons, and records their texts.
class BoxAnswers {
 public:
  BoxAnswers() : m_hook(SetWindowsHookExA(WH_CBT, Hook, NULL, GetCurrentThreadId())) { s_current = this; }
  ~BoxAnswers()
  {
    UnhookWindowsHookEx(m_hook);
    s_current = nullptr;
  }
  void Queue(int button) { m_answers.push_back(button); }
  std::vector<std::string> texts;

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
  {
    if (code == HCBT_ACTIVATE && s_current != nullptr) {
      HWND wnd = (HWND)wParam;
      char caption[128] = "", cls[32] = "";
      GetWindowTextA(wnd, caption, sizeof caption);
      GetClassNameA(wnd, cls, sizeof cls);
      if (!lstrcmpA(cls, "#32770") && !lstrcmpA(caption, "Editor Tester") &&
          (s_current->m_done.empty() || s_current->m_done.back() != wnd)) {
        s_current->m_done.push_back(wnd);
        char text[512] = "";
        GetDlgItemTextA(wnd, 0xFFFF, text, sizeof text);
        s_current->texts.push_back(text);
        int answer = IDOK;
        if (!s_current->m_answers.empty()) {
          answer = s_current->m_answers.front();
          s_current->m_answers.erase(s_current->m_answers.begin());
        }
        PostMessageA(wnd, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
      }
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
  }
  HHOOK m_hook;
  std::vector<int> m_answers;
  std::vector<HWND> m_done;
  static inline BoxAnswers* s_current = nullptr;
};

void Pump()
{
  MSG msg;
  while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

std::vector<std::string> Items(CListBox* pList)
{
  std::vector<std::string> v;
  for (int i = 0; i < pList->GetCount(); i++) {
    CString s;
    pList->GetText(i, s);
    v.push_back((LPCTSTR)s);
  }
  return v;
}

std::vector<std::string> Names(const CStringList& list)
{
  std::vector<std::string> v;
  for (POSITION pos = list.GetHeadPosition(); pos != NULL;)
    v.push_back((LPCTSTR)list.GetNext(pos));
  return v;
}

// A host dialog that records the editor's notifications.
class CHost : public CDialog {
 public:
  CHost() : CDialog(400) {}
  std::vector<UINT> codes;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
  {
    if (LOWORD(wParam) == 1000)
      codes.push_back(HIWORD(wParam));
    return CDialog::OnCommand(wParam, lParam);
  }
  void OnOK() override {}
  void OnCancel() override {}
};

// Types text into the running in-place edit and ends it with the key.
void Type(SECListBoxEditor& editor, const char* text, UINT key = VK_RETURN)
{
  ASSERT_NE(editor.GetEdit(), nullptr);
  editor.GetEdit()->SetWindowText(text);
  editor.GetEdit()->SendMessage(WM_KEYDOWN, key, 0);
  Pump();
}

LPARAM ItemPoint(CListBox* pList, int nIndex, int dy = 0)
{
  CRect r;
  pList->GetItemRect(nIndex, &r);
  return MAKELPARAM(r.left + 10, r.top + r.Height() / 2 + dy);
}

// Posts to the list box, from a timer after the given time, what the drag loop reads.
struct Later {
  static inline std::vector<MSG> queue;
  static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD)
  {
    KillTimer(NULL, id);
    for (const MSG& m : queue)
      PostMessageA(m.hwnd, m.message, m.wParam, m.lParam);
    queue.clear();
  }
  static void At(UINT ms) { SetTimer(NULL, 0, ms, Fire); }
};

// Takes the mouse capture away from whatever holds it.
HWND g_captureThief = NULL;
void CALLBACK StealCapture(HWND, UINT, UINT_PTR id, DWORD)
{
  KillTimer(NULL, id);
  SetCapture(g_captureThief);
}

class EditorTest : public testing::Test {
 protected:
  void SetUp() override
  {
    static char cmdLine[] = "";
    ASSERT_TRUE(AfxWinInit(::GetModuleHandleA(NULL), NULL, cmdLine, SW_SHOWNORMAL));
    ASSERT_TRUE(host.Create(400));
    list = (CListBox*)host.GetDlgItem(1000);
    for (const char* s : {"alpha", "beta", "gamma", "delta", "epsilon"})
      list->AddString(s);
    ASSERT_TRUE(editor.Initialize(&host, 1000, 0xF3F));
    editor.SetWindowText("Items");
    list = editor.GetListBox();
    Pump();
    host.codes.clear();
  }
  void TearDown() override { host.DestroyWindow(); }
  void Select(int i) { list->SetCurSel(i); }
  CHost host;
  SECListBoxEditor editor;
  CListBox* list = nullptr;
};

}  // namespace

TEST_F(EditorTest, KeysButtonsAndEdits)
{
  typedef std::vector<std::string> V;
  EXPECT_EQ(Items(list), (V{"alpha", "beta", "gamma", "delta", "epsilon", ""}));
  // The caption sits where the list box began; the list box below it.
  CRect caption, box;
  editor.GetWindowRect(&caption);
  list->GetWindowRect(&box);
  EXPECT_LT(caption.top, box.top);
  EXPECT_EQ(caption.Height(), editor.GetButtonAreaHeight());
  EXPECT_FALSE(editor.GetButtonRect(3).IsRectEmpty());
  EXPECT_LT(editor.GetButtonRect(0).right, editor.GetButtonRect(3).right);

  struct Case {
    int sel;
    UINT message, key;
    V after;
    const char* why;
  } cases[] = {
      {5, WM_KEYDOWN, VK_DELETE, {"alpha", "beta", "gamma", "delta", "epsilon", ""}, "trailing line stays"},
      {0, WM_SYSKEYDOWN, VK_UP, {"alpha", "beta", "gamma", "delta", "epsilon", ""}, "first cannot go up"},
      {4, WM_SYSKEYDOWN, VK_DOWN, {"alpha", "beta", "gamma", "delta", "epsilon", ""}, "last movable cannot go down"},
      {0, WM_SYSKEYDOWN, VK_DOWN, {"beta", "alpha", "gamma", "delta", "epsilon", ""}, "down one"},
      {1, WM_SYSKEYDOWN, VK_UP, {"alpha", "beta", "gamma", "delta", "epsilon", ""}, "up again"},
      {2, WM_KEYDOWN, VK_DELETE, {"alpha", "beta", "delta", "epsilon", ""}, "delete"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    Select(c.sel);
    list->SendMessage(c.message, c.key, 0);
    Pump();
    EXPECT_EQ(Items(list), c.after);
  }
  EXPECT_EQ(editor.GetLastDeleted(), 2);
  int from, to;
  editor.GetLastMoved(from, to);
  EXPECT_EQ(from, 1);
  EXPECT_EQ(to, 0);
  EXPECT_NE(std::find(host.codes.begin(), host.codes.end(), (UINT)LBE_MOVED), host.codes.end());
  EXPECT_NE(std::find(host.codes.begin(), host.codes.end(), (UINT)LBE_DELETED), host.codes.end());

  // Insert adds a line and edits it; Enter keeps it and a new empty line follows.
  list->SendMessage(WM_KEYDOWN, VK_INSERT, 0);
  Type(editor, "zeta");
  EXPECT_EQ(Items(list), (V{"alpha", "beta", "delta", "epsilon", "zeta", ""}));
  // Escape on a new line takes it away again.
  list->SendMessage(WM_KEYDOWN, VK_INSERT, 0);
  Type(editor, "never", VK_ESCAPE);
  EXPECT_EQ(Items(list), (V{"alpha", "beta", "delta", "epsilon", "zeta", ""}));
  // F2 edits with a browse button; a rename to blanks deletes the line.
  Select(1);
  list->SendMessage(WM_KEYDOWN, VK_F2, 0);
  ASSERT_NE(editor.GetEdit(), nullptr);
  EXPECT_NE(::GetDlgItem(list->m_hWnd, 101), (HWND)NULL);
  Type(editor, "   ");
  EXPECT_EQ(Items(list), (V{"alpha", "delta", "epsilon", "zeta", ""}));
  // Typing a character starts an edit with it.
  Select(0);
  list->SendMessage(WM_CHAR, 'q', 0);
  ASSERT_NE(editor.GetEdit(), nullptr);
  CString text;
  editor.GetEdit()->GetWindowText(text);
  EXPECT_EQ(text, "q");
  Type(editor, "omega");
  EXPECT_EQ(Items(list), (V{"omega", "delta", "epsilon", "zeta", ""}));
  // Typing into the empty last line adds an item.
  Select(4);
  list->SendMessage(WM_CHAR, 'x', 0);
  Type(editor, "xi");
  EXPECT_EQ(Items(list), (V{"omega", "delta", "epsilon", "zeta", "xi", ""}));

  // A caption button: pressed and released over it, it runs.
  Select(0);
  CRect down = editor.GetButtonRect(3);
  LPARAM at = MAKELPARAM(down.CenterPoint().x, down.CenterPoint().y);
  editor.PostMessage(WM_LBUTTONUP, 0, at);
  editor.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
  EXPECT_EQ(Items(list), (V{"delta", "omega", "epsilon", "zeta", "xi", ""}));
  // Released elsewhere: nothing.
  editor.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  editor.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
  EXPECT_EQ(Items(list), (V{"delta", "omega", "epsilon", "zeta", "xi", ""}));
  // The capture taken away ends the press, and the button does not run.
  CWnd* pOther = host.GetDlgItem(1002);
  g_captureThief = pOther->m_hWnd;
  SetTimer(NULL, 0, 50, StealCapture);
  editor.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);  // would hang without the fix
  ReleaseCapture();
  EXPECT_EQ(Items(list), (V{"delta", "omega", "epsilon", "zeta", "xi", ""}));
}

TEST_F(EditorTest, DragsMoveAcrossSeveralPlaces)
{
  typedef std::vector<std::string> V;
  // Held long enough and dropped in the upper half of "epsilon": "alpha" goes before it.
  Later::queue = {{list->m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, ItemPoint(list, 2)},
                  {list->m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, ItemPoint(list, 4, -3)},
                  {list->m_hWnd, WM_LBUTTONUP, 0, ItemPoint(list, 4, -3)}};
  Later::At(300);
  list->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, ItemPoint(list, 0));
  Pump();
  EXPECT_EQ(Items(list), (V{"beta", "gamma", "delta", "alpha", "epsilon", ""}));
  EXPECT_EQ(list->GetCurSel(), 3);
  int from, to;
  editor.GetLastMoved(from, to);
  EXPECT_EQ(from, 0);
  EXPECT_EQ(to, 3);

  // A quick click and release never moves.
  list->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, ItemPoint(list, 4));
  list->PostMessage(WM_LBUTTONUP, 0, ItemPoint(list, 4));
  list->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, ItemPoint(list, 0));
  Pump();
  EXPECT_EQ(Items(list), (V{"beta", "gamma", "delta", "alpha", "epsilon", ""}));

  // Escape cancels; so does losing the capture.
  Later::queue = {{list->m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, ItemPoint(list, 4)},
                  {list->m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0},
                  {list->m_hWnd, WM_LBUTTONUP, 0, ItemPoint(list, 4)}};
  Later::At(300);
  list->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, ItemPoint(list, 0));
  Pump();
  EXPECT_EQ(Items(list), (V{"beta", "gamma", "delta", "alpha", "epsilon", ""}));
  Later::queue = {{list->m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, ItemPoint(list, 4)},
                  {list->m_hWnd, WM_CANCELMODE, 0, 0}};
  Later::At(300);
  list->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, ItemPoint(list, 0));
  Pump();
  EXPECT_EQ(Items(list), (V{"beta", "gamma", "delta", "alpha", "epsilon", ""}));
}

TEST(WorkspaceDialog, RulesOfTheWorkspaceList)
{
  static char cmdLine[] = "";
  ASSERT_TRUE(AfxWinInit(::GetModuleHandleA(NULL), NULL, cmdLine, SW_SHOWNORMAL));
  typedef std::vector<std::string> V;
  CStringList asRead, edited, removed;
  for (const char* s : {"Swing", "Putting", "Driving", "Chipping"})
    asRead.AddTail(s);
  edited.AddTail(&asRead);
  SECWsMgrDialogEx dlg(asRead, edited, removed, "", FALSE, TRUE);
  ASSERT_TRUE(dlg.Create(IDD_SEC_WORKSPACEMGR));
  dlg.ShowWindow(SW_SHOW);
  Pump();
  CString title, active;
  dlg.GetWindowText(title);
  dlg.GetDlgItemText(IDC_SEC_WS_ACTIVE, active);
  EXPECT_EQ(title, "Save Workspace");
  EXPECT_EQ(active, "<None>");
  EXPECT_FALSE(dlg.GetDlgItem(IDC_SEC_WS_OPEN)->IsWindowEnabled());
  SECWSLBEditorEx& editor = *dlg.GetEditor();
  CListBox* list = editor.GetListBox();
  EXPECT_EQ(Items(list), (V{"Swing", "Putting", "Driving", "Chipping", ""}));

  BoxAnswers boxes;
  // A rename to nothing, then to another entry's name: refused, the old name back.
  list->SetCurSel(1);
  list->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, ItemPoint(list, 1));
  EXPECT_FALSE(dlg.GetDlgItem(IDC_SEC_WS_DONE)->IsWindowEnabled());
  Type(editor, "");
  list->SetCurSel(1);
  list->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, ItemPoint(list, 1));
  Type(editor, "Driving");
  ASSERT_EQ(boxes.texts.size(), 2u);
  EXPECT_EQ(boxes.texts[0], "Invalid workspace name.");
  EXPECT_EQ(boxes.texts[1],
            "Workspace 'Driving' already exists. Please enter a unique workspace name.");
  EXPECT_EQ(Items(list), (V{"Swing", "Putting", "Driving", "Chipping", ""}));
  EXPECT_EQ(Names(edited), (V{"Swing", "Putting", "Driving", "Chipping"}));
  EXPECT_TRUE(dlg.GetDlgItem(IDC_SEC_WS_DONE)->IsWindowEnabled());
  // A good rename changes the edited list only.
  list->SetCurSel(1);
  list->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, ItemPoint(list, 1));
  Type(editor, "Short game");
  EXPECT_EQ(Names(edited), (V{"Swing", "Short game", "Driving", "Chipping"}));
  EXPECT_EQ(Names(asRead), (V{"Swing", "Putting", "Driving", "Chipping"}));

  // A drag over three places: both lists in the shown order.
  Later::queue = {{list->m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, ItemPoint(list, 2)},
                  {list->m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, ItemPoint(list, 3, 3)},
                  {list->m_hWnd, WM_LBUTTONUP, 0, ItemPoint(list, 3, 3)}};
  Later::At(300);
  list->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, ItemPoint(list, 0));
  Pump();
  EXPECT_EQ(Items(list), (V{"Short game", "Driving", "Chipping", "Swing", ""}));
  EXPECT_EQ(Names(edited), (V{"Short game", "Driving", "Chipping", "Swing"}));
  EXPECT_EQ(Names(asRead), (V{"Putting", "Driving", "Chipping", "Swing"}));

  // Deleting puts the name on the removed list.
  list->SetCurSel(1);
  list->SendMessage(WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(Names(removed), (V{"Driving"}));

  // A new name in the empty last line: asked to save; No takes it away, Yes saves it.
  boxes.Queue(IDNO);
  list->SetCurSel(list->GetCount() - 1);
  list->SendMessage(WM_CHAR, 'P', 0);
  Type(editor, "Pitching");
  ASSERT_EQ(boxes.texts.size(), 3u);
  EXPECT_EQ(boxes.texts[2], "Save new workspace 'Pitching'?\n");
  EXPECT_EQ(Items(list), (V{"Short game", "Chipping", "Swing", ""}));
  boxes.Queue(IDYES);
  list->SetCurSel(list->GetCount() - 1);
  list->SendMessage(WM_CHAR, 'P', 0);
  Type(editor, "Pitching");
  Pump();
  EXPECT_EQ(dlg.m_strName, "Pitching");

  // Save with nothing selected.
  list->SetCurSel(-1);
  dlg.SendMessage(WM_COMMAND, IDC_SEC_WS_SAVE, 0);
  ASSERT_EQ(boxes.texts.size(), 5u);
  EXPECT_EQ(boxes.texts[4], "You must select an item for this operation");
  dlg.DestroyWindow();
}

// ---------------------------------------------------------------------------------------------
// Header buttons and the browse operations of directory and file lists

namespace {
void Press(HWND hDlg, int nID)
{
  ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), (LPARAM)::GetDlgItem(hDlg, nID));
}

// Starts an edit of the first item (F2), as the browse button needs one running.
SECListBoxEdit* EditFirst(SECListBoxEditor& editor)
{
  CListBox* pList = editor.GetListBox();
  pList->SetCurSel(0);
  pList->SendMessage(WM_KEYDOWN, VK_F2, 0);
  Pump();
  return editor.GetEdit();
}

// Clicks the edit's "..." button as the mouse would: the button takes the focus first.
void ClickBrowse(SECListBoxEditor& editor)
{
  CWnd* pButton = editor.GetListBox()->GetDlgItem(101);
  ASSERT_NE(pButton, nullptr);
  pButton->SetFocus();
  editor.GetListBox()->SendMessage(WM_COMMAND, MAKEWPARAM(101, BN_CLICKED),
                                   (LPARAM)pButton->m_hWnd);
}
}  // namespace

TEST_F(EditorTest, HeaderButtonsSitRightAlignedWithoutGaps)
{
  editor.SetButtons(LBE_DELBUTTON | LBE_DOWNBUTTON);
  editor.LayoutButtons();
  CRect client;
  editor.GetClientRect(&client);
  EXPECT_EQ(editor.GetButtonRect(3).right, client.right);
  EXPECT_EQ(editor.GetButtonRect(1).right, editor.GetButtonRect(3).left);
  EXPECT_TRUE(editor.GetButtonRect(0).IsRectEmpty());
  EXPECT_TRUE(editor.GetButtonRect(2).IsRectEmpty());
}

TEST(ListBrowse, DirectoryAndFileBrowseFillTheEdit)
{
  static char cmdLine[] = "";
  ASSERT_TRUE(AfxWinInit(::GetModuleHandleA(NULL), NULL, cmdLine, SW_SHOWNORMAL));
  CString dir;
  dir.Format("C:\\lbbrowse_%lu", (unsigned long)::GetCurrentProcessId());
  ::CreateDirectoryA(dir, NULL);
  const CString file = dir + "\\notes.txt";
  HANDLE h = ::CreateFileA(file, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  ::CloseHandle(h);

  CHost host;
  ASSERT_TRUE(host.Create(400));
  CListBox* pList = (CListBox*)host.GetDlgItem(1000);
  pList->AddString("alpha");
  SECDirListBoxEditor dirs;
  ASSERT_TRUE(dirs.Initialize(&host, 1000, 0xF3F));
  SECListBoxEdit* pEdit = EditFirst(dirs);
  ASSERT_NE(pEdit, nullptr);

  // Cancelled: the text stays and the edit has the focus.
  {
    DialogScript script([](HWND hDlg) { Press(hDlg, IDCANCEL); });
    ClickBrowse(dirs);
    EXPECT_EQ(script.Runs(), 1);
  }
  CString text;
  pEdit->GetWindowText(text);
  EXPECT_STREQ(text, "alpha");
  EXPECT_EQ(::GetFocus(), pEdit->m_hWnd);

  // Chosen: the folder replaces the text, all of it selected.
  pEdit->SetWindowText(dir);
  CString caption;
  {
    DialogScript script([&](HWND hDlg) {
      char buf[64] = "";
      ::GetWindowTextA(hDlg, buf, sizeof buf);
      caption = buf;
      Press(hDlg, IDOK);
    });
    ClickBrowse(dirs);
  }
  EXPECT_STREQ(caption, "Select Directory");
  pEdit->GetWindowText(text);
  EXPECT_EQ(lstrcmpiA(text, dir + "\\"), 0) << (LPCTSTR)text;
  DWORD nStart = 0, nEnd = 0;
  pEdit->SendMessage(EM_GETSEL, (WPARAM)&nStart, (LPARAM)&nEnd);
  EXPECT_EQ(nStart, 0u);
  EXPECT_EQ(nEnd, (DWORD)text.GetLength());
  EXPECT_EQ(::GetFocus(), pEdit->m_hWnd);
  dirs.EndEdit();
  dirs.DestroyWindow();
  host.DestroyWindow();

  // A file list: the open-file dialog with the editor's title and default name.
  CHost host2;
  ASSERT_TRUE(host2.Create(400));
  ((CListBox*)host2.GetDlgItem(1000))->AddString("beta");
  SECFileListBoxEditor files;
  ASSERT_TRUE(files.Initialize(&host2, 1000, 0xF3F));
  files.SetBrowseInfo("Pick a file", "Text files (*.txt)|*.txt||", file, "txt");
  pEdit = EditFirst(files);
  ASSERT_NE(pEdit, nullptr);
  {
    DialogScript script([&](HWND hDlg) {
      char buf[64] = "";
      ::GetWindowTextA(hDlg, buf, sizeof buf);
      caption = buf;
      Press(hDlg, IDOK);
    });
    ClickBrowse(files);
  }
  EXPECT_STREQ(caption, "Pick a file");
  pEdit->GetWindowText(text);
  EXPECT_EQ(lstrcmpiA(text, file), 0) << (LPCTSTR)text;
  EXPECT_EQ(::GetFocus(), pEdit->m_hWnd);
  files.EndEdit();
  files.DestroyWindow();
  host2.DestroyWindow();
  ::DeleteFileA(file);
  ::RemoveDirectoryA(dir);
}

// A picture for people: run under a display with QUORVEL_SCREENSHOT_DIR (a Unix folder); the
// screen is taken with xwd. The workspace manager dialog with its list editor, one name being
// edited. Skipped otherwise.
TEST(WorkspaceDialog, Screenshot)
{
  const char* dir = getenv("QUORVEL_SCREENSHOT_DIR");
  if (dir == nullptr)
    GTEST_SKIP() << "no screenshot folder";
  static char cmdLine[] = "";
  ASSERT_TRUE(AfxWinInit(::GetModuleHandleA(NULL), NULL, cmdLine, SW_SHOWNORMAL));
  CStringList asRead, edited, removed;
  for (const char* s : {"Swing", "Putting", "Driving", "Chipping"})
    asRead.AddTail(s);
  edited.AddTail(&asRead);
  SECWsMgrDialogEx dlg(asRead, edited, removed, "Putting", FALSE, FALSE);
  ASSERT_TRUE(dlg.Create(IDD_SEC_WORKSPACEMGR));
  dlg.SetWindowPos(NULL, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  dlg.ShowWindow(SW_SHOW);
  CListBox* list = dlg.GetEditor()->GetListBox();
  list->SetCurSel(2);
  list->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, ItemPoint(list, 2));
  dlg.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  DWORD end = ::GetTickCount() + 800;
  while (::GetTickCount() < end) {
    Pump();
    ::Sleep(20);
  }
  std::string command = std::string("xwd -root -silent -out '") + dir + "/workspace_dialog.xwd'";
  EXPECT_EQ(0, system(command.c_str()));
  dlg.GetEditor()->EndEdit();
  dlg.DestroyWindow();
}

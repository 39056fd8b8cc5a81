// The clip panel and its two lists over the real video manager: what a capture, an import
// or a reference clip becomes in the panel, removal and refresh by database ID, closing
// with unsaved clips, the panes' commands, dragging onto a channel, export and e-mail.
#include "clip_test_support.h"
#include "DatabaseMgr.h"
#include "browser_res.h"
#include "resource.h"

namespace {
CAnsweringApp theApp;

class ClipPanel : public ClipPanelFixture
{
protected:
    void SetUp() override
    {
        ClipPanelFixture::SetUp();
        theApp.m_boxes.clear();
        theApp.m_answers.clear();
    }
    void TearDown() override
    {
        m_clavio->SetClosing(FALSE);
        ClipPanelFixture::TearDown();
    }
    void WriteSized(const char* name, size_t size)
    {
        HANDLE file = CreateFileA(m_folder->path + "\\" + name, GENERIC_WRITE, 0, NULL,
                                  CREATE_ALWAYS, 0, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        std::string bytes(size, 'x');
        DWORD written = 0;
        ::WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL);
        CloseHandle(file);
    }
    BOOL Exists(const char* name)
    {
        return GetFileAttributesA(m_folder->path + "\\" + name) != INVALID_FILE_ATTRIBUTES;
    }
};

// Enabled state of a command as the panel's routing answers it; -1 when nobody handles it.
class ProbeCmdUI : public CCmdUI
{
public:
    explicit ProbeCmdUI(UINT id)
    {
        m_nID = id;
        m_nIndexMax = 1;
    }
    void Enable(BOOL on) override
    {
        enabled = on;
        m_bEnableChanged = TRUE;
    }
    int enabled = -1;
};

int Enabled(CCmdTarget& target, UINT id)
{
    ProbeCmdUI ui(id);
    if (!target.OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui, NULL))
        return -1;
    return ui.enabled;
}
} // namespace

TEST_F(ClipPanel, WindowsAndPanes)
{
    EXPECT_EQ(&Panel(), CClipBar::GetClipBar());
    char title[32] = "";
    ::GetWindowTextA(Panel().GetSafeHwnd(), title, sizeof title);
    EXPECT_STREQ("Clip Panel", title);
    EXPECT_EQ(151, Panel().GetShortcutBar().GetDlgCtrlID());
    ASSERT_EQ(2, Panel().GetShortcutBar().GetBarCount());
    EXPECT_STREQ("Students", Panel().GetShortcutBar().GetBar(0)->GetLabel());
    EXPECT_STREQ("Pros", Panel().GetShortcutBar().GetBar(1)->GetLabel());
    EXPECT_EQ(0, Panel().GetShortcutBar().GetActiveIndex());
    EXPECT_EQ(0, Students().GetPaneKind());
    EXPECT_EQ(1, Pros().GetPaneKind());
    EXPECT_STREQ("Deleting clips...", Students().GetProgressText());
    EXPECT_STREQ("Clearing clips...", Pros().GetProgressText());
    EXPECT_EQ(RGB(128, 128, 128), Students().GetBkColor());
    EXPECT_EQ(RGB(255, 255, 255), Students().GetTextColor());
    EXPECT_EQ((UINT)LVIS_OVERLAYMASK, Students().GetCallbackMask());
    EXPECT_EQ(CObserverSvr::CLIP_LOADED | CObserverSvr::UPDATE, m_clavio->GetMask(&Panel()));
}

TEST_F(ClipPanel, AdditionsToTheStudentsPane)
{
    struct Case
    {
        const char* first;
        const char* last;
        const char* label;
        bool loaded;
    } cases[] = {
        {"", "", "03:04:05", false},        // a fresh capture: its time, 12-hour clock
        {"John", "Smith", "J.Smith", true}, // with a subject: short name, and shown
        {"John", "", "03:04:05", false},    // a first name alone gives no short name
    };
    int n = 0;
    for (const Case& c : cases) {
        m_clavio->LoadClip(NULL);
        CString name;
        name.Format("add%d.avi", n);
        CClip* clip = Capture(name, c.first, c.last);
        EXPECT_TRUE(Panel().AddClip(clip, ""));
        ASSERT_EQ(n + 1, Students().GetItemCount());
        EXPECT_STREQ(c.label, Students().GetItemText(n, 0)) << n;
        EXPECT_EQ(c.loaded, m_clavio->GetCurrentClip() == clip) << n;
        ++n;
    }
    // A label given by the caller stands as it is.
    EXPECT_TRUE(Panel().AddClip(Capture("given.avi"), "J.Smith (Imported)"));
    EXPECT_STREQ("J.Smith (Imported)", Students().GetItemText(3, 0));

    // The same GlobalID again: refused with the message, and the offered clip is gone.
    CClip* twin = Capture("twin.avi");
    twin->m_strGlobalID = Students().GetClip(0)->m_strGlobalID;
    EXPECT_FALSE(Panel().AddClip(twin, ""));
    EXPECT_TRUE(theApp.Saw("Clip has already been added to the Clip Panel"));
    EXPECT_FALSE(CClavio::IsLiveClip(twin));
    EXPECT_EQ(4, Students().GetItemCount());
    EXPECT_TRUE(Students().ContainsGlobalID(Students().GetClip(0)->m_strGlobalID));
    EXPECT_FALSE(Students().ContainsGlobalID("{none}"));
}

TEST_F(ClipPanel, ReferenceClipsAndTheirMoveFromStudents)
{
    // Two unsaved clips share database ID 0; the one whose video the reference clip has is
    // the one that gives way.
    CClip* first = Capture("first.avi");
    CClip* second = Capture("second.avi");
    second->m_bNew = FALSE; // its file stays for the reference clip
    Panel().AddClip(first, "");
    Panel().AddClip(second, "");
    CClip* reference = Capture("ref.avi", "Ida", "Hale");
    reference->m_strVideoPath = second->m_strVideoPath;
    EXPECT_TRUE(Panel().AddReferenceClip(reference));
    EXPECT_FALSE(CClavio::IsLiveClip(second));
    ASSERT_EQ(1, Students().GetItemCount());
    EXPECT_EQ(first, Students().GetClip(0));
    ASSERT_EQ(1, Pros().GetItemCount());
    EXPECT_STREQ("I.Hale", Pros().GetItemText(0, 0));
    EXPECT_EQ(1, Panel().GetShortcutBar().GetActiveIndex());
    EXPECT_EQ(reference, m_clavio->GetCurrentClip());

    // One GlobalID may be in both panes; twice in Pros it may not.
    CClip* same = Capture("same.avi");
    same->m_strGlobalID = reference->m_strGlobalID;
    EXPECT_TRUE(Panel().AddClip(same, ""));
    CClip* again = Capture("again.avi");
    again->m_strGlobalID = reference->m_strGlobalID;
    EXPECT_FALSE(Panel().AddReferenceClip(again));
    EXPECT_FALSE(CClavio::IsLiveClip(again));
    EXPECT_EQ(1, Pros().GetItemCount());
    EXPECT_EQ(2, Students().GetItemCount());

    // A listed Students clip handed over as a reference clip moves, owned once.
    EXPECT_TRUE(Panel().AddReferenceClip(first));
    EXPECT_TRUE(CClavio::IsLiveClip(first));
    EXPECT_EQ(-1, Students().FindItem(first));
    EXPECT_EQ(1, Pros().FindItem(first));
}

TEST_F(ClipPanel, RemovalAndRefreshByDatabaseID)
{
    CClip* stored = Capture("stored.avi", "John", "Smith");
    stored->m_nPersonID = 2;
    AddRow(stored);
    Panel().AddClip(stored, "old label");
    CClip* partner = Capture("partner.avi", "John", "Smith");
    partner->m_nPersonID = 2;
    AddRow(partner);
    CClip* comparison = Capture("comparison.avi", "John", "Smith");
    comparison->m_nPersonID = 2;
    comparison->m_strClipType = "Comparison";
    comparison->m_nComparisonClipID = partner->m_nID;
    AddRow(comparison);
    delete partner;
    Panel().AddReferenceClip(comparison, "cmp");
    ASSERT_TRUE(comparison->GetComparisonClip());

    // Unknown IDs do nothing.
    EXPECT_FALSE(Panel().RemoveClipByID(9999));
    Panel().RefreshClipByID(9999);
    EXPECT_EQ(2, Panel().GetClipCount());
    EXPECT_STREQ("old label", Students().GetItemText(0, 0));

    // A refresh re-reads the clip and relabels it; a comparison's partner is re-read too.
    CString sql;
    sql.Format("UPDATE [VideoClip] SET [Comment] = 'changed' WHERE [ID] = %d", stored->m_nID);
    Execute(sql);
    sql.Format("UPDATE [VideoClip] SET [Comment] = 'partner changed' WHERE [ID] = %d",
               comparison->m_nComparisonClipID);
    Execute(sql);
    Panel().RefreshClipByID(stored->m_nID);
    EXPECT_STREQ("J.Smith", Students().GetItemText(0, 0));
    EXPECT_STREQ("changed", stored->m_strComment);
    Panel().RefreshClipByID(comparison->m_nComparisonClipID);
    EXPECT_STREQ("partner changed", comparison->GetComparisonClip()->m_strComment);

    // Removal takes the Pros pane first and unloads the clip.
    m_clavio->LoadClip(comparison);
    EXPECT_TRUE(Panel().RemoveClipByID(comparison->m_nID));
    EXPECT_EQ(0, Pros().GetItemCount());
    EXPECT_EQ(nullptr, m_clavio->GetCurrentClip());
    EXPECT_TRUE(Panel().RemoveClipByID(stored->m_nID));
    EXPECT_EQ(0, Panel().GetClipCount());
}

TEST_F(ClipPanel, ClosingAsksAboutChangesOnlyWithCaptureFiles)
{
    const size_t big = 102401, little = 100;
    auto reset = [&] {
        m_clavio->SetClosing(FALSE);
        CClip::s_bKeepTempFiles = FALSE;
        m_answers.Clear();
        WriteSized("CAP1.avi", big);
        WriteSized("CAP2.avi", little);
    };

    // Nothing changed: the capture files go, the clips stay for the windows, no question.
    reset();
    CClip* stored = Capture("stored.avi");
    AddRow(stored);
    Panel().AddClip(stored, "");
    EXPECT_TRUE(Panel().ClearClips());
    EXPECT_EQ(0u, m_answers.Count());
    EXPECT_FALSE(Exists("CAP1.avi"));
    EXPECT_FALSE(Exists("CAP2.avi"));
    EXPECT_EQ(1, Students().GetItemCount());

    // A changed stored clip with capture files: Cancel keeps everything.
    reset();
    stored->SetModified(TRUE);
    m_answers.Queue(IDCANCEL);
    EXPECT_FALSE(Panel().ClearClips());
    EXPECT_TRUE(m_answers.Saw("Unsaved Clips"));
    EXPECT_EQ(1, Students().GetItemCount());
    EXPECT_TRUE(Exists("CAP1.avi"));
    EXPECT_TRUE(Exists("CAP2.avi"));

    // Exit keeps the files of unsaved clips for the next start; only small ones go.
    reset();
    m_answers.Queue(IDC_UNSAVED_EXIT);
    CClip* capture = Capture("CAP3.avi");
    CString capturePath = capture->m_strVideoPath;
    Panel().AddClip(capture, "");
    EXPECT_TRUE(Panel().ClearClips());
    EXPECT_TRUE(CClip::s_bKeepTempFiles);
    EXPECT_EQ(0, Panel().GetClipCount());
    EXPECT_TRUE(Exists("CAP1.avi"));
    EXPECT_FALSE(Exists("CAP2.avi"));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(capturePath));

    // Delete and Exit: every capture file goes.
    reset();
    m_answers.Queue(IDC_UNSAVED_DELETE_EXIT);
    Panel().AddReferenceClip(Capture("pro.avi", "Ida", "Hale"));
    EXPECT_TRUE(Panel().ClearClips());
    EXPECT_FALSE(CClip::s_bKeepTempFiles);
    EXPECT_EQ(0, Panel().GetClipCount());
    EXPECT_FALSE(Exists("CAP1.avi"));
    EXPECT_FALSE(Exists("CAP3.avi"));

    // Changes and no capture file in the folder: nothing asked, both lists emptied, only
    // the small and empty video files removed.
    reset();
    DeleteFileA(m_folder->path + "\\CAP1.avi");
    DeleteFileA(m_folder->path + "\\CAP2.avi");
    WriteSized("IMPsmall.avi", little);
    WriteSized("IMPempty.avi", 0);
    WriteSized("IMPlarge.avi", big);
    Panel().AddClip(Capture("import.avi"), "");
    Panel().AddReferenceClip(Capture("pro2.avi", "Ida", "Hale"));
    EXPECT_TRUE(Panel().ClearClips());
    EXPECT_EQ(0u, m_answers.Count());
    EXPECT_FALSE(m_answers.Saw("Unsaved Clips"));
    EXPECT_EQ(0, Panel().GetClipCount());
    EXPECT_FALSE(CClip::s_bKeepTempFiles);
    EXPECT_FALSE(Exists("IMPsmall.avi"));
    EXPECT_FALSE(Exists("IMPempty.avi"));
    EXPECT_TRUE(Exists("IMPlarge.avi"));
}

TEST_F(ClipPanel, CommandsAndTheirRouting)
{
    const UINT withSelection[] = {ID_CLIPS_SAVE_SELECTED, ID_CLIPS_DELETE_SELECTED,
                                  ID_CLIPS_EXPORT,        ID_CLIPS_EMAIL,
                                  ID_CLIPS_INFO,          ID_PROS_SAVE_SELECTED,
                                  ID_PROS_CLEAR_SELECTED, ID_PROS_EXPORT,
                                  ID_PROS_EMAIL,          ID_PROS_INFO};
    const UINT always[] = {ID_CLIPS_DELETE_ALL, ID_CLIPS_LOAD_PANEL, ID_CLIPS_CLEAR_PANEL};
    for (UINT id : withSelection)
        EXPECT_EQ(FALSE, Enabled(Panel(), id)) << id;
    for (UINT id : always)
        EXPECT_EQ(TRUE, Enabled(Panel(), id)) << id;
    Panel().AddClip(Capture("a.avi"), "");
    Panel().AddReferenceClip(Capture("p.avi", "Ida", "Hale"));
    Select(Students(), {0});
    Select(Pros(), {0});
    for (UINT id : withSelection)
        EXPECT_EQ(TRUE, Enabled(Panel(), id)) << id;

    // The Students list leaves the reference commands to the Pros list.
    const UINT prosOnly[] = {32789, 32817, 32818, 32819, 32839, 32842};
    for (UINT id : prosOnly) {
        EXPECT_EQ(-1, Enabled(Students(), id)) << id;
        EXPECT_EQ(TRUE, Enabled(Pros(), id)) << id;
    }
    EXPECT_EQ(TRUE, Enabled(Students(), ID_CLIPS_LOAD_PANEL));

    // Context menus, in their order.
    CMenu menu;
    ASSERT_TRUE(Pros().BuildContextMenu(menu));
    const UINT proMenu[] = {32818, 32787, 32819, 32839, 32842, 32789, 32817};
    ASSERT_EQ(7, menu.GetMenuItemCount());
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(proMenu[i], menu.GetMenuItemID(i));
    CMenu students;
    ASSERT_TRUE(Students().BuildContextMenu(students));
    EXPECT_EQ(6, students.GetMenuItemCount());
    EXPECT_EQ(32792u, students.GetMenuItemID(0));
    CClipList other;
    other.SetReferencePane(2);
    CMenu none;
    EXPECT_FALSE(other.BuildContextMenu(none));

    // Clear Panel goes to the Pros list through the panel and asks nothing.
    Panel().OnCmdMsg(ID_CLIPS_CLEAR_PANEL, CN_COMMAND, NULL, NULL);
    EXPECT_EQ(0, Pros().GetItemCount());
    EXPECT_TRUE(theApp.m_boxes.empty());
    // Delete All Clips asks first; No keeps them.
    theApp.m_answers = {IDNO};
    Panel().OnCmdMsg(ID_CLIPS_DELETE_ALL, CN_COMMAND, NULL, NULL);
    EXPECT_TRUE(theApp.Saw("Are you sure you want to delete all clips in the Clip Panel?"));
    EXPECT_EQ(1, Students().GetItemCount());
    theApp.m_answers = {IDYES};
    Students().SendMessage(WM_COMMAND, ID_CLIPS_DELETE_ALL);
    EXPECT_EQ(0, Students().GetItemCount());
}

TEST_F(ClipPanel, DeletingUnloadsTheShownClips)
{
    CClip* shown = Capture("shown.avi");
    CClip* other = Capture("other.avi");
    CClip* kept = Capture("kept.avi");
    Panel().AddClip(shown, "");
    Panel().AddClip(other, "");
    Panel().AddClip(kept, "");
    m_clavio->SetComparisonView(FALSE);
    m_clavio->SelectChannel(0);
    ASSERT_TRUE(m_clavio->LoadClip(shown));
    ASSERT_TRUE(m_clavio->LoadClipInOtherChannel(other));
    Select(Students(), {0, 1});
    Students().DeleteSelectedClips();
    EXPECT_EQ(nullptr, m_clavio->GetChannelClip(0));
    EXPECT_EQ(nullptr, m_clavio->GetChannelClip(1));
    ASSERT_EQ(1, Students().GetItemCount());
    EXPECT_EQ(kept, Students().GetClip(0));
    // A double click on empty space loads nothing; on the item it loads the clip.
    Students().SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(290, 70));
    EXPECT_EQ(nullptr, m_clavio->GetCurrentClip());
    CRect item;
    Students().GetItemRect(0, &item, LVIR_ICON);
    Students().SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(item.CenterPoint().x, item.CenterPoint().y));
    EXPECT_EQ(kept, m_clavio->GetCurrentClip());
}

TEST_F(ClipPanel, DraggedClipsLoadAndForeignPointersAreRefused)
{
    CClip* clip = Capture("drag.avi");
    Panel().AddClip(clip, "");
    const CLIPFORMAT format = (CLIPFORMAT)g_pAppConfig->GetClipClipboardFormat();
    ASSERT_TRUE(Students().PrepareDrag(0));
    COleDataObject data;
    data.Attach(Students().GetDataSource().GetDataObject(), FALSE);
    HGLOBAL block = data.GetGlobalData(format);
    ASSERT_TRUE(block);
    EXPECT_EQ(sizeof(CClip*), ::GlobalSize(block));
    ::GlobalFree(block);
    const CPoint at = m_clavio->GetLeftRect().CenterPoint();
    EXPECT_EQ((DROPEFFECT)DROPEFFECT_COPY, m_clavio->OnDragOver(m_clavio, &data, 0, at));
    EXPECT_TRUE(m_clavio->OnDrop(m_clavio, &data, DROPEFFECT_COPY, at));
    EXPECT_EQ(clip, m_clavio->GetCurrentClip());
    EXPECT_EQ(1, Students().GetItemCount());
    EXPECT_FALSE(Students().PrepareDrag(1));

    // A live clip that the panel does not list, and an address that is no clip at all.
    m_clavio->LoadClip(NULL);
    CClip stranger;
    int notAClip[16] = {};
    for (CClip* pointer : {&stranger, (CClip*)notAClip}) {
        COleDataSource source;
        source.CacheGlobalData(format, CClavio::MakeClipDragBlock(pointer));
        COleDataObject foreign;
        foreign.Attach(source.GetDataObject(), FALSE);
        EXPECT_FALSE(m_clavio->OnDrop(m_clavio, &foreign, DROPEFFECT_COPY, at));
        EXPECT_EQ(nullptr, m_clavio->GetCurrentClip());
    }
}

namespace {
// Fills the subject-name dialog with a name and counts how often it came up.
int g_nameDialogs = 0;
LRESULT CALLBACK FillNameDialog(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        char caption[128] = "";
        GetWindowTextA((HWND)wParam, caption, sizeof caption);
        if (!strcmp(caption, "Enter Subject Name to be used for Unsaved Clips")) {
            ++g_nameDialogs;
            SetDlgItemTextA((HWND)wParam, IDC_QR_FIRST_NAME, "Ann");
            SetDlgItemTextA((HWND)wParam, IDC_QR_LAST_NAME, "Lee");
        }
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}
} // namespace

TEST_F(ClipPanel, ExportOfUnsavedCapturesAsksTheSubjectOnce)
{
    g_pAppConfig->SetExportFilterIndex(2);
    CClip::s_bAskExportTarget = TRUE;
    CClip::s_strLastExportFolder.Empty();
    CClip* a = Capture("CAPa.avi");
    CClip* b = Capture("CAPb.avi");
    b->m_captureTime = COleDateTime(2024, 3, 5, 16, 0, 0);
    Panel().AddClip(a, "");
    Panel().AddClip(b, "");
    Select(Students(), {0, 1});
    g_nameDialogs = 0;
    HHOOK hook = SetWindowsHookExA(WH_CBT, FillNameDialog, NULL, GetCurrentThreadId());
    Students().OnExport();
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(1, g_nameDialogs);
    const CString folder = g_pAppConfig->GetInstallDir() + "ExportedClips\\";
    EXPECT_EQ(2, CDatabaseMgr().CountFiles(folder + "Ann Lee Swing *.avi"));
    EXPECT_TRUE(a->m_subject.m_FirstName.IsEmpty() && a->m_subject.m_LastName.IsEmpty());
    EXPECT_TRUE(b->m_subject.m_FirstName.IsEmpty() && b->m_subject.m_LastName.IsEmpty());
    EXPECT_EQ(-1, a->m_nPersonID);

    // E-mail takes one clip at a time.
    theApp.m_boxes.clear();
    Students().OnEmail();
    EXPECT_TRUE(theApp.Saw("You cannot select multiple clips for Video Email."));
    EXPECT_EQ(1u, theApp.m_boxes.size());
}

TEST_F(ClipPanel, ExportOfOneChangedStoredClipOffersToSaveIt)
{
    g_pAppConfig->SetExportFilterIndex(2);
    CClip::s_bAskExportTarget = TRUE;
    CClip::s_strLastExportFolder.Empty();
    CClip* stored = Capture("stored.avi", "John", "Smith");
    stored->m_nPersonID = 2;
    AddRow(stored);
    stored->SetDrawingModified(1);
    CClip* fresh = Capture("fresh.avi", "John", "Smith");
    fresh->m_captureTime = COleDateTime(2024, 3, 5, 17, 0, 0);
    fresh->SetDrawingModified(1);
    Panel().AddClip(stored, "");
    Panel().AddClip(fresh, "");
    const char question[] = "Clip has been modified.  You must save the clip for the changes "
                            "to be included in the exported clip.";
    Select(Students(), {0});
    theApp.m_answers = {IDNO};
    Students().OnExport();
    EXPECT_TRUE(theApp.Saw(question));
    theApp.m_boxes.clear();
    Select(Students(), {1});
    Students().OnExport();
    EXPECT_FALSE(theApp.Saw(question));
    const CString folder = g_pAppConfig->GetInstallDir() + "ExportedClips\\";
    EXPECT_EQ(2, CDatabaseMgr().CountFiles(folder + "John Smith Swing *.avi"));
}

TEST_F(ClipPanel, MultiExportOfChangedClipsYesEndsTheCommandNoExportsAsStored)
{
    g_pAppConfig->SetExportFilterIndex(2);
    CClip::s_bAskExportTarget = TRUE;
    CClip::s_strLastExportFolder.Empty();
    CClip* changed = Capture("changed.avi", "John", "Smith");
    changed->m_nPersonID = 2;
    AddRow(changed);
    changed->SetDrawingModified(1);
    CClip* plain = Capture("plain.avi", "John", "Smith");
    plain->m_nPersonID = 2;
    plain->m_captureTime = COleDateTime(2024, 3, 5, 17, 0, 0);
    AddRow(plain);
    Panel().AddClip(changed, "");
    Panel().AddClip(plain, "");
    const char question[] = "Some of the clips have been modified.  You must save the modified "
                            "clips for the changes to be exported.";
    const CString folder = g_pAppConfig->GetInstallDir() + "ExportedClips\\";
    struct { const char* what; int answer; int files; } cases[] = {
        {"Yes: nothing saved or exported", IDYES, 0},
        {"No: both exported as they are", IDNO, 2},
    };
    for (const auto& c : cases) {
        Select(Students(), {0, 1});
        theApp.m_boxes.clear();
        theApp.m_answers = {c.answer};
        Students().OnExport();
        EXPECT_TRUE(theApp.Saw(question)) << c.what;
        EXPECT_TRUE(changed->IsDrawingModified()) << c.what;
        EXPECT_FALSE(CClip::s_bBatchExport) << c.what;
        EXPECT_EQ(c.files, CDatabaseMgr().CountFiles(folder + "John Smith Swing *.avi")) << c.what;
    }
}

namespace {
int g_dialogsMade = 0;
LRESULT CALLBACK CountDialogs(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        char cls[16] = "";
        GetClassNameA((HWND)wParam, cls, sizeof cls);
        if (!strcmp(cls, "#32770"))
            ++g_dialogsMade;
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}
} // namespace

TEST_F(ClipPanel, WindowsDestroyedAtExitDeleteTheirClips)
{
    m_host.ShowWindow(SW_SHOW);
    CClip* stored = Capture("kept.avi");
    AddRow(stored);
    Panel().AddClip(stored, "");
    Panel().AddReferenceClip(Capture("pro.avi", "Ida", "Hale"));
    ASSERT_TRUE(Panel().IsWindowVisible());
    // Nothing unsaved in Students... but the new reference clip is, and a capture file is
    // in the folder: the close question.
    WriteSized("CAP9.avi", 100);
    m_answers.Queue(IDC_UNSAVED_DELETE_EXIT);
    EXPECT_TRUE(Panel().ClearClips());
    EXPECT_EQ(0, Panel().GetClipCount());
    // Without changes the clips stay until the windows go, which then delete them.
    CClip* again = Capture("again.avi");
    AddRow(again);
    m_clavio->SetClosing(FALSE);
    Panel().AddClip(again, "");
    EXPECT_TRUE(Panel().ClearClips());
    EXPECT_EQ(1, Students().GetItemCount());
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(0), "main", WS_POPUP, 0, 0, 10, 10, NULL,
                              NULL));
    AfxGetApp()->m_pMainWnd = &main;
    g_dialogsMade = 0;
    HHOOK hook = SetWindowsHookExA(WH_CBT, CountDialogs, NULL, GetCurrentThreadId());
    Panel().DestroyWindow();
    UnhookWindowsHookEx(hook);
    AfxGetApp()->m_pMainWnd = NULL;
    main.DestroyWindow();
    EXPECT_FALSE(CClavio::IsLiveClip(again));
    // The progress window came up for the list that still had clips.
    EXPECT_EQ(1, g_dialogsMade);
}

namespace {
// Draws the window's client area into a 24-bit bitmap file, as the window paints itself.
bool PrintToBitmap(CWnd& window, const CString& path)
{
    CRect rect;
    window.GetClientRect(&rect);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = rect.Width();
    info.bmiHeader.biHeight = rect.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = NULL;
    HDC screen = ::GetDC(NULL);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    ::ReleaseDC(NULL, screen);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    window.SendMessage(WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT | PRF_ERASEBKGND);
    ::GdiFlush();
    const DWORD stride = ((rect.Width() * 3 + 3) / 4) * 4;
    const DWORD size = stride * rect.Height();
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + size;
    HANDLE out = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD written = 0;
    const bool ok = out != INVALID_HANDLE_VALUE &&
                    ::WriteFile(out, &file, sizeof file, &written, NULL) &&
                    ::WriteFile(out, &info.bmiHeader, sizeof info.bmiHeader, &written, NULL) &&
                    ::WriteFile(out, bits, size, &written, NULL);
    if (out != INVALID_HANDLE_VALUE)
        CloseHandle(out);
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    return ok;
}
} // namespace

// Pictures of both panes for a look at their icons and overlays; only when asked for with
// QUORVEL_PANEL_PICTURES (a folder).
TEST_F(ClipPanel, PicturesOfBothPanes)
{
    const char* folder = getenv("QUORVEL_PANEL_PICTURES");
    if (!folder)
        GTEST_SKIP() << "set QUORVEL_PANEL_PICTURES to a folder";
    m_host.ShowWindow(SW_SHOW);
    CClip* shown = Capture("CAPnew.avi");
    Panel().AddClip(shown, "");
    CClip* saved = Capture("saved.avi", "John", "Smith");
    saved->m_nPersonID = 2;
    saved->m_strView = "Face on";
    AddRow(saved);
    Panel().AddClip(saved, "");
    CClip* changed = Capture("changed.avi", "John", "Smith");
    changed->m_strView = "Down the line";
    AddRow(changed);
    changed->SetModified(TRUE);
    Panel().AddClip(changed, "");
    CClip* drill = Capture("drill.avi");
    drill->m_strClipType = "Drill";
    Panel().AddClip(drill, "Drill");
    m_clavio->LoadClip(shown);
    Panel().GetShortcutBar().ActivateBar(0);
    Students().EnsureVisible(0, FALSE);
    Pump(300);
    EXPECT_TRUE(PrintToBitmap(Students(), CString(folder) + "\\students.bmp"));

    CClip* pro = Capture("pro.avi", "Ida", "Hale");
    pro->m_subject.m_Role = "Instructor";
    Panel().AddReferenceClip(pro);
    CClip* proLine = Capture("proline.avi", "Ida", "Hale");
    proLine->m_subject.m_Role = "Instructor";
    proLine->m_strView = "Down the line";
    proLine->m_nPersonID = 1;
    AddRow(proLine);
    // The same reference clip as a clip file, to hand over to a running program.
    const CString copy = CString(folder) + "\\pro-copy.avi";
    CopyFileA(proLine->m_strVideoPath, copy, FALSE);
    EXPECT_TRUE(proLine->PackClipFile(CString(folder) + "\\pro.kpx", copy, NULL, FALSE, FALSE));
    Panel().AddReferenceClip(proLine);
    Pump(300);
    EXPECT_TRUE(PrintToBitmap(Pros(), CString(folder) + "\\pros.bmp"));
}

namespace {
// Counts the button releases that reach a window, passing every message on.
WNDPROC g_listProc = NULL;
int g_buttonUps = 0;
LRESULT CALLBACK CountButtonUps(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_LBUTTONUP)
        ++g_buttonUps;
    return CallWindowProcA(g_listProc, hwnd, msg, wParam, lParam);
}
} // namespace

TEST_F(ClipPanel, ADoubleClickLoadsTheClipAndLeavesTheMouseFree)
{
    CClip* first = Capture("first.avi");
    CClip* second = Capture("second.avi");
    Panel().AddClip(first, "");
    Panel().AddClip(second, "");
    m_clavio->SetComparisonView(FALSE);
    m_clavio->SelectChannel(0);
    const CLIPFORMAT format = (CLIPFORMAT)g_pAppConfig->GetClipClipboardFormat();
    HWND list = Students().GetSafeHwnd();
    g_buttonUps = 0;
    g_listProc = (WNDPROC)SetWindowLongPtrA(list, GWLP_WNDPROC, (LONG_PTR)CountButtonUps);
    for (int item : {0, 1}) {
        CRect rect;
        Students().GetItemRect(item, &rect, LVIR_ICON);
        const LPARAM at = MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y);
        // A click and a double click as the system delivers them, with the button never
        // held long enough to matter: no drag may start and every release reaches the list.
        ::PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageA(list, WM_LBUTTONUP, 0, at);
        ::PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        ::PostMessageA(list, WM_LBUTTONUP, 0, at);
        Pump(50);
        EXPECT_EQ(item == 0 ? first : second, m_clavio->GetCurrentClip());
        EXPECT_EQ(2 * (item + 1), g_buttonUps);
        EXPECT_EQ(NULL, ::GetCapture());
        COleDataObject offered;
        offered.Attach(Students().GetDataSource().GetDataObject(), FALSE);
        EXPECT_FALSE(offered.IsDataAvailable(format)) << "a click prepared a drag";
    }
    // A press that moves no further than the drag rectangle is still no drag either.
    CRect rect;
    Students().GetItemRect(0, &rect, LVIR_ICON);
    const CPoint at = rect.CenterPoint();
    ::PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    ::PostMessageA(list, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(at.x + 1, at.y + 1));
    ::PostMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(at.x + 1, at.y + 1));
    Pump(50);
    EXPECT_EQ(5, g_buttonUps);
    EXPECT_EQ(NULL, ::GetCapture());
    SetWindowLongPtrA(list, GWLP_WNDPROC, (LONG_PTR)g_listProc);
}

TEST_F(ClipPanel, ADragThatEndsLeavesTheMouseFreeAndNoClipOnOffer)
{
    CClip* clip = Capture("dragged.avi");
    Panel().AddClip(clip, "");
    m_clavio->SetComparisonView(FALSE);
    m_clavio->SelectChannel(0);
    CRect rect;
    Students().GetItemRect(0, &rect, LVIR_ICON);
    const CPoint at = rect.CenterPoint();
    HWND list = Students().GetSafeHwnd();
    // The button is not really held, so the drag that the move starts ends at once.
    ::PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    ::PostMessageA(list, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(at.x + 30, at.y - 30));
    Pump(300);
    EXPECT_EQ(NULL, ::GetCapture());
    const CLIPFORMAT format = (CLIPFORMAT)g_pAppConfig->GetClipClipboardFormat();
    COleDataObject offered;
    offered.Attach(Students().GetDataSource().GetDataObject(), FALSE);
    EXPECT_FALSE(offered.IsDataAvailable(format));
    ::PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    ::PostMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    Pump(50);
    EXPECT_EQ(clip, m_clavio->GetCurrentClip());
}

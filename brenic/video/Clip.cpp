#include "Clip.h"
#include <afxwin.h>
#include <afxdlgs.h>
#include <afxdao.h>
#include <climits>
#include "AppConfig.h"
#include "ClipBar.h"
#include "ClipInfoDlg.h"
#include "ImgList.h"
#include "MainFrm.h"
#include "Clavio.h"
#include "VideoWindow.h"
#include "DatabaseMgr.h"
#include "Globals.h"
#include "Lesson.h"
#include "KpxFormat.h"
#include "ProgressDlg.h"
#include "PromptDlgs.h"
#include "../browser/DatabaseSheet.h"
#include "../browser/ComparisonDlg.h"

CString CClip::s_strClipExt = ".kpx";
CString CClip::s_strBatchExportFolder;
CString CClip::s_strLastExportFolder;
BYTE CClip::s_bAskExportTarget = TRUE;
BYTE CClip::s_bImporting = FALSE;
BYTE CClip::s_bBatchExport = FALSE;
BYTE CClip::s_bBatchImport = FALSE;
BYTE CClip::s_bQueuedImport = FALSE;
BYTE CClip::s_bReplaceAll = FALSE;
BYTE CClip::s_bSkipAll = FALSE;
BYTE CClip::s_bKeepTempFiles = FALSE;

namespace {

CString CaptureFolder()
{
    return g_pAppConfig ? g_pAppConfig->GetCaptureDirectory() : CString(".");
}

CString MainDatabase()
{
    return g_pAppConfig ? g_pAppConfig->GetDatabasePath() : CString("Quorvel.mdb");
}

CString IdCriterion(int id)
{
    CString text;
    text.Format("ID = %d", id);
    return text;
}

BOOL FileExists(const CString& path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

BOOL StartsWithNoCase(const CString& text, const char* prefix)
{
    const int n = lstrlenA(prefix);
    return text.GetLength() >= n && text.Left(n).CompareNoCase(prefix) == 0;
}

void CopyPersonFields(const CPeopleRecord& s, CPeopleRecord& d)
{
    d.m_ID = s.m_ID;
    d.m_LastName = s.m_LastName;
    d.m_FirstName = s.m_FirstName;
    d.m_Address = s.m_Address;
    d.m_City = s.m_City;
    d.m_Zip = s.m_Zip;
    d.m_Phone = s.m_Phone;
    d.m_LastLessonNumber = s.m_LastLessonNumber;
    d.m_Comment = s.m_Comment;
    d.m_Address2 = s.m_Address2;
    d.m_AltPhone = s.m_AltPhone;
    d.m_InstructorID = s.m_InstructorID;
    d.m_Role = s.m_Role;
    d.m_LRHand = s.m_LRHand;
    d.m_State = s.m_State;
}

// A text of decimal digits as atoi reads it, held to the range of an int.
int BoundedNumber(const CString& text)
{
    const char* p = text;
    while (*p == ' ' || *p == '\t')
        ++p;
    bool negative = false;
    if (*p == '-' || *p == '+')
        negative = *p++ == '-';
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > (long long)INT_MAX + 1)
            value = (long long)INT_MAX + 1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        value = INT_MAX;
    return (int)value;
}

// The folder of a path with its trailing backslash.
CString FolderOf(const CString& path)
{
    return CExtString(path).GetPathFolder();
}

} // namespace

// ---------------------------------------------------------------------------------------
// Object

CClip::CClip()
    : m_bDrawingModified(FALSE), m_bShowGraphics(FALSE), m_nLockOffset(0),
      m_captureTime(COleDateTime::GetCurrentTime()), m_strClub("Driver"),
      m_strView("Face on"), m_nLastDisplayPos(0), m_nLockPosition(0), m_nSoundMarkField(0),
      m_nCuePosition(0), m_strClipType("Swing"), m_nLessonNbr(0), m_bNew(TRUE),
      m_bAutoCap(FALSE), m_pComparisonClip(NULL), m_nTabCount(0), m_bFirstDisplay(TRUE),
      m_bNeedVideoInfo(FALSE), m_nFrames(0), m_nID(0), m_nPersonID(-1),
      m_nComparisonClipID(-1), m_bImported(FALSE), m_strGlobalID(NewGuidString()),
      m_bMirror(FALSE), m_bModified(TRUE), m_nTrimIn(0), m_nTrimOut(0),
      m_bModifiedBeforeSave(TRUE), m_nImpactTab(5), m_bSaveAsComparison(FALSE)
{
    // Every tab reads as 0 until the creator places them, so that the impact field of a
    // clip with fewer tabs is never an unset value.
    for (int i = 0; i < 8; ++i)
        m_nTabs[i] = 0;
    ResetDrawing();
    CClavio::RegisterLiveClip(this);
}

CClip::~CClip()
{
    CClavio::UnregisterLiveClip(this);
    if (g_pClavio)
        g_pClavio->OnClipDeleted(this);
    // Only the unsaved recording's or import's own file goes: a saved clip's video (a CLP
    // file) stays even when its row has disappeared.
    if (m_bNew && !s_bKeepTempFiles && !m_strVideoPath.IsEmpty()) {
        const CString name = GetFileName(m_strVideoPath);
        if ((StartsWithNoCase(name, "CAP") || StartsWithNoCase(name, "IMP")) &&
            FileExists(m_strVideoPath) && !DeleteFileA(m_strVideoPath))
            ShowLastError();
    }
    delete m_pComparisonClip;
}

void CClip::ResetDrawing()
{
    m_model.Reinitialize();
    m_model.SetOwnerClip(this);
}

CClip* CClip::CreateFromRecord(CDaoRecordset* rs)
{
    CClip* clip = new CClip;
    clip->LoadFromRecord(static_cast<CClipRecord*>(rs));
    return clip;
}

CClip* CClip::LoadFromDatabase(int id)
{
    CClipRecord rs;
    rs.Open(dbOpenDynaset, "[VideoClip]");
    if (!rs.FindFirst(IdCriterion(id))) {
        rs.Close();
        AfxMessageBox("Database Error: Record not found");
        return NULL;
    }
    CClip* clip = new CClip;
    clip->LoadFromRecord(&rs);
    rs.Close();
    return clip;
}

BOOL CClip::LoadFromRecord(CClipRecord* rs)
{
    ExchangeRecord(TRUE, rs);
    LoadSubject();
    m_strVideoPath = CaptureFolder() + "\\" + m_strVideoPath;
    ParseTabString();
    LoadOverlayBlob();
    m_bNew = FALSE;
    m_nLastDisplayPos = 2 * m_nTrimIn;
    SetModified(FALSE);
    SetDrawingModified(FALSE);
    return TRUE;
}

BOOL CClip::LoadSubject()
{
    // Searched in a record of its own: a search that finds nothing leaves the subject as it
    // was instead of the first person of the table.
    CPeopleRecord people;
    people.Open();
    if (!people.IsEOF() && people.FindFirst(IdCriterion(m_nPersonID)))
        CopyPersonFields(people, m_subject);
    people.Close();
    return TRUE;
}

BOOL CClip::FindOwnRow(CClipRecord* rs)
{
    return rs->FindFirst(IdCriterion(m_nID));
}

void CClip::ExchangeRecord(BOOL load, CClipRecord* rs)
{
    if (load) {
        m_strVideoPath = rs->m_VideoClipFileName;
        m_nLastDisplayPos = rs->m_LastDisplayPos;
        m_strClipType = rs->m_ClipType;
        m_captureTime = rs->m_DateTimeStamp;
        m_nID = rs->m_ID;
        m_nLessonNbr = rs->m_LessonNbr;
        m_strTabString = rs->m_TabString;
        m_strComment = rs->m_Comment;
        m_strClub = rs->m_Club;
        m_strView = rs->m_View;
        m_nPersonID = rs->m_PersonID;
        m_overlay.Copy(rs->m_Overlay);
        m_nFrames = rs->m_Frames;
        m_nTrimIn = rs->m_TrimIn;
        m_nTrimOut = rs->m_TrimOut;
        m_nComparisonClipID = rs->m_ComparisonClipID;
        m_bAutoCap = rs->m_IsAutoCap;
        m_bImported = rs->m_IsImported;
        m_nSoundMarkField = rs->m_SoundmarkFieldNbr;
        m_strGlobalID = rs->m_GlobalID;
    } else {
        rs->m_VideoClipFileName = m_strVideoPath;
        rs->m_LastDisplayPos = m_nLastDisplayPos;
        rs->m_ClipType = m_strClipType;
        rs->m_DateTimeStamp = m_captureTime;
        rs->m_LessonNbr = m_nLessonNbr;
        rs->m_TabString = m_strTabString;
        rs->m_Comment = m_strComment;
        rs->m_Club = m_strClub;
        rs->m_View = m_strView;
        rs->m_PersonID = m_nPersonID;
        rs->m_Overlay.Copy(m_overlay);
        rs->m_Frames = m_nFrames;
        rs->m_TrimIn = m_nTrimIn;
        rs->m_TrimOut = m_nTrimOut;
        rs->m_ComparisonClipID = m_nComparisonClipID;
        rs->m_IsAutoCap = m_bAutoCap;
        rs->m_IsImported = m_bImported;
        rs->m_SoundmarkFieldNbr = m_nSoundMarkField;
        rs->m_GlobalID = m_strGlobalID;
    }
}

// ---------------------------------------------------------------------------------------
// Tabs, trim and flags

int CClip::GetTabPosition(int i) const
{
    return i >= 0 && i < m_nTabCount ? m_nTabs[i] : -1;
}

void CClip::SetTabPosition(int i, int pos)
{
    if (i < 0 || i >= m_nTabCount)
        return;
    if (m_nTabs[i] != pos) {
        m_nTabs[i] = pos;
        SetModified(TRUE);
    }
}

void CClip::MoveTab(int i, int pos)
{
    if (i < 0 || i >= m_nTabCount)
        return;
    if (g_pAppConfig && g_pAppConfig->GetImpactTabRelative() && i == m_nImpactTab) {
        const int delta = pos - m_nTabs[m_nImpactTab];
        for (int t = 0; t < m_nTabCount; ++t)
            m_nTabs[t] += delta;
        SetModified(TRUE);
    } else {
        SetTabPosition(i, pos);
    }
}

void CClip::SpreadTabsEvenly()
{
    m_nTabCount = 8;
    const float step = (float)(2 * m_nTrimOut - 2 * m_nTrimIn) / (float)(m_nTabCount - 1);
    for (int i = 0; i < m_nTabCount; ++i)
        m_nTabs[i] = (int)((float)i * step + (float)(2 * m_nTrimIn));
    SetModified(TRUE);
}

void CClip::PlaceTabsAroundImpact()
{
    SpreadTabsEvenly();
    static const int kOffsets[8] = {-65, -42, -17, -6, -2, 0, 3, 19};
    const int m = m_nSoundMarkField;
    const int k = m_nImpactTab;
    for (int i = 0; i < 8; ++i) {
        const int tab = k - 5 + i;
        if (tab < 0 || tab >= 8)
            continue;
        // A capture triggered early in its recording has no field before the first one.
        const long long pos = (long long)m + kOffsets[i];
        m_nTabs[tab] = pos < 0 ? 0 : pos > INT_MAX ? INT_MAX : (int)pos;
    }
    SetModified(TRUE);
}

void CClip::RebaseTabsToTrim(int in, int out)
{
    m_nTabCount = 8;
    for (int i = 0; i < m_nTabCount; ++i) {
        if (m_nTabs[i] < 2 * in)
            m_nTabs[i] = 0;
        else if (m_nTabs[i] > 2 * out)
            m_nTabs[i] = 2 * (out - in);
        else
            m_nTabs[i] -= 2 * in;
    }
    SetModified(TRUE);
}

void CClip::BuildTabString()
{
    m_strTabString.Empty();
    for (int i = 0; i < m_nTabCount; ++i) {
        CString piece;
        piece.Format("%d,", m_nTabs[i]);
        m_strTabString += piece;
    }
}

void CClip::ParseTabString()
{
    CStringArray pieces;
    int count = m_strTabString.Split(",", &pieces);
    if (count > 8)
        count = 8;
    for (int i = 0; i < 8; ++i)
        m_nTabs[i] = i < count ? BoundedNumber(m_strTabString.GetField(i, ",")) : 0;
    m_nTabCount = count;
}

void CClip::SetTrimIn(int frame)
{
    if (frame < 0)
        frame = 0;
    if (frame != m_nTrimIn) {
        m_nTrimIn = frame;
        SetModified(TRUE);
    }
}

void CClip::SetTrimOut(int frame)
{
    if (frame < 0)
        frame = 0;
    if (frame != m_nTrimOut) {
        m_nTrimOut = frame;
        SetModified(TRUE);
    }
}

void CClip::SetMirror(BOOL mirror)
{
    m_bMirror = mirror;
    SetModified(TRUE);
}

BOOL CClip::IsModified() const
{
    return m_bModified || (m_pComparisonClip && m_pComparisonClip->IsModified());
}

void CClip::SetModified(BOOL modified)
{
    if (modified != m_bModified && CClipBar::GetClipBar())
        CClipBar::GetClipBar()->Refresh();
    if (!m_bModified)
        m_model.SetModified(FALSE);
    m_bModified = modified;
}

void CClip::FitToVideoWindow(CVideoWindow* control)
{
    if (!control)
        return;
    if (m_bFirstDisplay && m_bNeedVideoInfo) {
        m_nTrimOut = control->GetTrimOut();
        m_nFrames = control->GetFrameCount();
        m_bNeedVideoInfo = FALSE;
        SpreadTabsEvenly();
    } else {
        int n = control->GetFrameCount();
        if (n > 0 && (m_nFrames > n || m_nTrimOut > n - 1)) {
            if (m_nFrames > n)
                m_nFrames = n;
            if (m_nTrimOut > n - 1)
                m_nTrimOut = n - 1;
            // A stored clip takes the corrected lengths into its row without asking.
            if (!m_bNew)
                UpdateDatabaseRecord(FALSE);
        }
    }
    if (m_bFirstDisplay) {
        m_model.SetSize(CSize(608, 456));
        m_model.SetModified(FALSE);
        control->SetOverlayChanged(TRUE);
        control->InvalidateRect(NULL, FALSE);
        if (g_pClavio)
            g_pClavio->RedrawVideo();
        m_bFirstDisplay = FALSE;
    }
}

BOOL CClip::IsComparison() const
{
    return m_strClipType == "Comparison" && m_nComparisonClipID != -1;
}

CClip* CClip::GetComparisonClip()
{
    if (m_pComparisonClip) {
        CFileStatus status;
        if (CFile::GetStatus(m_pComparisonClip->m_strVideoPath, status))
            return m_pComparisonClip;
        delete m_pComparisonClip;
        m_pComparisonClip = NULL;
    }
    m_pComparisonClip = LoadFromDatabase(m_nComparisonClipID);
    return m_pComparisonClip;
}

BOOL CClip::HasSubject() const
{
    return !(m_subject.m_FirstName.IsEmpty() && m_subject.m_LastName.IsEmpty());
}

CString CClip::GetSubjectShortName() const
{
    if (m_subject.m_LastName.IsEmpty())
        return CString();
    CString name;
    name.Format("%c.%s", m_subject.m_FirstName.IsEmpty() ? ' ' : m_subject.m_FirstName[0],
                (LPCSTR)m_subject.m_LastName);
    return name;
}

BOOL CClip::IsShown()
{
    if (!g_pClavio)
        return FALSE;
    return g_pClavio->IsClipShown(this) ||
           (IsComparison() && m_pComparisonClip && g_pClavio->IsClipShown(m_pComparisonClip));
}

int CClip::GetOverlayImageIndex(BOOL full)
{
    const BOOL shown = IsShown();
    if (full) {
        if (m_bNew)
            return shown ? 7 : 0;
        if (IsModified())
            return 0;
        return shown ? 2 : 1;
    }
    return !IsModified() && shown ? 7 : 0;
}

int CClip::GetImageIndex(BOOL students)
{
    if (!g_pImgList)
        return 0;
    const CImgList& images = *g_pImgList;
    const BOOL downTheLine = m_strView.CompareNoCase("Down the line") == 0;
    if (IsComparison())
        return images.m_nComparisonClip;
    if (m_strClipType.CompareNoCase("Drill") == 0)
        return images.m_nDrillClip;
    if (!students || (HasSubject() && m_subject.m_Role != "Student" && !m_subject.m_Role.IsEmpty()))
        return downTheLine ? images.m_nProDownLineClip : images.m_nProClip;
    if (downTheLine)
        return images.m_nDownLineClip;
    if (m_strView.CompareNoCase("Face on") == 0)
        return images.m_nFaceOnClip;
    return images.m_nDefaultClip;
}

void CClip::ShowInfo()
{
    CClipInfoDlg dialog(AfxGetMainWnd());
    dialog.SetClip(this);
    dialog.DoModal();
}

CString CClip::GetFileName(CString path)
{
    return CExtString(path).GetPathFileName();
}

// ---------------------------------------------------------------------------------------
// Drawing blob

// The drawing stays in memory: a write that fails afterwards, or a database sheet that is
// cancelled, must not leave the clip with an empty drawing that the next save would store.
BOOL CClip::StoreOverlayBlob()
{
    CMemFile file(1024);
    {
        CArchive ar(&file, CArchive::store, 4096);
        m_model.Serialize(ar);
        ar.Close();
    }
    const ULONGLONG length = file.GetLength();
    file.SeekToBegin();
    m_overlay.SetSize((INT_PTR)length);
    if (length)
        file.Read(m_overlay.GetData(), (UINT)length);
    return TRUE;
}

BOOL CClip::LoadOverlayBlob()
{
    if (m_overlay.GetSize() == 0)
        return TRUE;
    CMemFile file(1024);
    file.Write(m_overlay.GetData(), (UINT)m_overlay.GetSize());
    file.SeekToBegin();
    ResetDrawing();
    BOOL ok = TRUE;
    // The blob may come from a file made elsewhere: a drawing that cannot be read leaves
    // the clip with an empty one and its stored bytes untouched.
    try {
        CArchive ar(&file, CArchive::load, 4096);
        m_model.Serialize(ar);
        ar.Close();
    } catch (CException* e) {
        e->Delete();
        ok = FALSE;
    } catch (...) {
        ok = FALSE;
    }
    if (!ok) {
        ResetDrawing();
        AfxMessageBox("The clip's drawing could not be read.", MB_ICONEXCLAMATION);
    }
    m_model.SetModified(FALSE);
    return TRUE;
}

// ---------------------------------------------------------------------------------------
// Saving

namespace {

// The sheet's save-clip protocol: on its page 1, the new row selected. IDOK when the user
// confirmed the row there.
int ShowSaveSheet(const CString& preview, int id, BOOL* found)
{
    *found = FALSE;
    if (!g_pAppConfig || !g_pAppConfig->ConnectDatabase() || !g_pDatabaseSheet)
        return -1;
    g_pDatabaseSheet->SetSaveClipMode(TRUE);
    g_pDatabaseSheet->SetPreviewFile(preview);
    *found = g_pDatabaseSheet->SelectClip(id);
    const int answer = g_pDatabaseSheet->ShowModal(1);
    g_pDatabaseSheet->SetSaveClipMode(FALSE);
    g_pDatabaseSheet->SetPreviewFile("");
    return answer;
}

// Finds a person by exact names (given apart from the query) in an open Person recordset,
// adding a row with them when there is none. The row is left current.
void FindOrAddPerson(CPeopleRecord& people, const CString& last, const CString& first,
                     BOOL* added)
{
    *added = FALSE;
    if (!people.IsEOF() &&
        people.FindFirst(PersonNameCriterion(first), CDaoParams().Add(last).Add(first)))
        return;
    people.AddNew();
    people.m_LastName = last;
    people.m_FirstName = first;
    people.Update();
    people.SetBookmark(people.GetLastModifiedBookmark());
    *added = TRUE;
}

void DeleteClipRow(int id)
{
    CClipRecord rs;
    rs.Open(dbOpenDynaset, "[VideoClip]");
    if (rs.FindFirst(IdCriterion(id)))
        rs.Delete();
    rs.Close();
}

} // namespace

BOOL CClip::WriteRecord(CClipRecord* rs, BOOL add)
{
    const CString name = GetFileName(m_strVideoPath);
    m_strVideoPath = name;
    BuildTabString();
    StoreOverlayBlob();
    try {
        // A new row is written whole in one step: no row without its file name is ever
        // committed.
        if (add)
            rs->AddNew();
        else
            rs->Edit();
        ExchangeRecord(FALSE, rs);
        rs->SetFieldDirty(&rs->m_Overlay);
        rs->SetFieldNull(&rs->m_Overlay, FALSE);
        rs->Update();
        if (add) {
            rs->SetBookmark(rs->GetLastModifiedBookmark());
            m_nID = rs->m_ID;
        }
    } catch (CException*) {
        m_strVideoPath = CaptureFolder() + "\\" + name;
        throw;
    }
    m_strVideoPath = CaptureFolder() + "\\" + name;
    SetModified(FALSE);
    SetDrawingModified(FALSE);
    if (IsComparison() && m_pComparisonClip)
        m_pComparisonClip->UpdateDatabaseRecord(FALSE);
    return TRUE;
}

BOOL CClip::Reload()
{
    CClipRecord rs;
    rs.Open(dbOpenDynaset, "[VideoClip]");
    BOOL found = FindOwnRow(&rs);
    if (found)
        LoadFromRecord(&rs);
    rs.Close();
    return found;
}

void CClip::TakeSheetFields()
{
    CClipRecord rs;
    rs.Open(dbOpenDynaset, "[VideoClip]");
    if (FindOwnRow(&rs)) {
        m_nPersonID = rs.m_PersonID;
        m_strClipType = rs.m_ClipType;
        m_strClub = rs.m_Club;
        m_strView = rs.m_View;
        m_strComment = rs.m_Comment;
        m_captureTime = rs.m_DateTimeStamp;
        m_nComparisonClipID = rs.m_ComparisonClipID;
    }
    rs.Close();
    LoadSubject();
}

BOOL CClip::UpdateDatabaseRecord(BOOL ask)
{
    CClipRecord rs;
    rs.Open(dbOpenDynaset, "[VideoClip]");
    if (!FindOwnRow(&rs)) {
        rs.Close();
        AfxMessageBox("Database Error: Record not found");
        m_bNew = TRUE;
        return FALSE;
    }
    INT_PTR answer = CSaveExistingDlg::answerSave;
    if (ask) {
        CSaveExistingDlg question(AfxGetMainWnd());
        answer = question.DoModal();
    }
    BOOL result = FALSE;
    if (answer == CSaveExistingDlg::answerSave) {
        WriteRecord(&rs);
        LoadFromRecord(&rs);
        result = TRUE;
    } else if (answer == IDOK) {
        result = WriteRecord(&rs);
        rs.Close();
        if (!g_pAppConfig || !g_pAppConfig->ConnectDatabase() || !g_pDatabaseSheet)
            return FALSE;
        BOOL found = FALSE;
        ShowSaveSheet(CString(), m_nID, &found);
        TakeSheetFields();
        if (g_pClavio)
            g_pClavio->NotifyUpdate();
        return result;
    }
    rs.Close();
    return result;
}

BOOL CClip::ReplaceExistingByGlobalID()
{
    CDaoDatabase db;
    db.Open(MainDatabase());
    CClipRecord rs(&db);
    rs.m_strFilter = "[GlobalID] = ?";
    rs.m_nParams = 1;
    rs.SetParamValue(0, (LPCSTR)m_strGlobalID);
    rs.Open();
    rs.Requery();
    if (rs.IsEOF())
        return TRUE;
    if (AfxMessageBox("Clip already exists in the database.  Would you like to replace the "
                      "existing clip?",
                      MB_YESNO | MB_ICONQUESTION) != IDYES)
        return FALSE;
    const int id = rs.m_ID;
    const CString file = rs.m_VideoClipFileName;
    if (CClipBar::GetClipBar())
        CClipBar::GetClipBar()->RemoveClipByID(id);
    if (IsSafeVideoName(file) && !DeleteFileA(CaptureFolder() + "\\" + file)) {
        const DWORD error = GetLastError();
        ShowLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
            return FALSE;
    }
    rs.Delete();
    rs.Close();
    return TRUE;
}

BOOL CClip::SaveNewRecord()
{
    if (!m_subject.m_LastName.IsEmpty()) {
        if (!ReplaceExistingByGlobalID())
            return FALSE;
        CDaoDatabase db;
        db.Open(MainDatabase());
        CPeopleRecord people(&db);
        people.Open(dbOpenDynaset, "[Person]");
        // People are found by their exact names: an apostrophe or a wildcard character in a
        // name finds that person only.
        int instructorId = -1;
        BOOL added = FALSE;
        if (!m_instructor.m_LastName.IsEmpty()) {
            FindOrAddPerson(people, m_instructor.m_LastName, m_instructor.m_FirstName, &added);
            if (added) {
                people.Edit();
                people.m_LRHand =
                    m_instructor.m_LRHand.IsEmpty() ? CString("Right Hand") : m_instructor.m_LRHand;
                people.m_Role = "Instructor";
                people.m_InstructorID = -1;
                people.Update();
            }
            instructorId = people.m_ID;
        }
        FindOrAddPerson(people, m_subject.m_LastName, m_subject.m_FirstName, &added);
        if (added) {
            people.Edit();
            people.m_Role = m_subject.m_Role;
            people.m_LRHand =
                m_subject.m_LRHand.IsEmpty() ? CString("Right Hand") : m_subject.m_LRHand;
            people.m_InstructorID = instructorId;
            people.Update();
        }
        m_nPersonID = people.m_ID;
        people.Close();
        db.Close();
    }

    CClipRecord rs;
    rs.Open(dbOpenDynaset, "[VideoClip]");
    m_nID = 0;
    BOOL ok = WriteRecord(&rs, TRUE);
    rs.Close();
    if (ok) {
        const BOOL wasNew = m_bNew;
        BOOL found = FALSE;
        const int answer = ShowSaveSheet(m_strPrevPath, m_nID, &found);
        m_bNew = wasNew;
        if ((answer == IDOK && found) ||
            (!m_subject.m_FirstName.IsEmpty() && !m_subject.m_LastName.IsEmpty())) {
            TakeSheetFields();
            Sleep(300);
        } else {
            DeleteClipRow(m_nID);
            m_nID = 0;
            ok = FALSE;
        }
    }
    m_bSaveAsComparison = FALSE;
    return ok;
}

namespace {

// Gives the video a second name beside the recording's own (a second link to the same
// file, or a copy where the folder takes no links); `to` is the empty file that reserved the
// name. The recording's name stays until the row naming the new one is committed.
BOOL PlaceVideo(const CString& from, const CString& to)
{
    if (!DeleteFileA(to))
        return FALSE;
    if (CreateHardLinkA(to, from, NULL))
        return TRUE;
    if (CopyFileA(from, to, TRUE))
        return TRUE;
    const DWORD error = GetLastError();
    DeleteFileA(to);
    SetLastError(error);
    return FALSE;
}

} // namespace

// A new clip's save keeps to an order that a stop at any point (a killed process, a machine
// that went off, a full disk) survives: the video gets its CLP name first, complete, then the
// row naming it is committed, and only then does the recording's CAP name go. Stopped before
// the row, the recording is still there to be offered at the next start; stopped after it,
// the row names the whole video (and the start drops the CAP name the two share). A save
// that fails puts the clip back as it was, so that saving again stores the video.
BOOL CClip::SaveNew()
{
    m_strPrevPath = m_strVideoPath;
    const CString newPath = MakeUniqueVideoFileName("CLP");
    if (newPath.IsEmpty())
        return FALSE;
    if (!PlaceVideo(m_strPrevPath, newPath)) {
        ShowLastError();
        return FALSE;
    }
    const BOOL wasImported = m_bImported;
    const BYTE drawingModified = m_bDrawingModified;
    const int personId = m_nPersonID;
    const CString clipType = m_strClipType;
    const int comparisonId = m_nComparisonClipID;
    const BOOL comparison = m_bSaveAsComparison;
    if (comparison) {
        m_strClipType = "Comparison";
        m_nComparisonClipID = g_pClavio->GetSecondChannelClip()->m_nID;
    }
    // Back to the unsaved recording; the row goes first, and the CLP name only when no row
    // names it any more.
    auto restore = [&]() {
        BOOL rowGone = TRUE;
        if (m_nID) {
            try {
                DeleteClipRow(m_nID);
            } catch (CException* e) {
                e->Delete();
                rowGone = FALSE;
            }
        }
        if (rowGone)
            DeleteFileA(newPath);
        m_nID = 0;
        m_strVideoPath = m_strPrevPath;
        m_bImported = wasImported;
        m_bModified = m_bModifiedBeforeSave;
        m_bDrawingModified = drawingModified;
        m_nPersonID = personId;
        m_strClipType = clipType;
        m_nComparisonClipID = comparisonId;
        m_bNew = TRUE;
    };
    m_strVideoPath = newPath;
    m_bImported = FALSE;
    m_nID = 0;
    BOOL saved = FALSE;
    try {
        saved = SaveNewRecord();
    } catch (CException*) {
        restore();
        throw;
    }
    if (!saved) {
        restore();
        return FALSE;
    }
    CVideoWindow* active = g_pClavio ? g_pClavio->GetActiveVideoWindow() : NULL;
    if (active)
        active->LoadAVIFile("", -1);
    if (g_pClavio && g_pClavio->GetOtherClip() == this)
        g_pClavio->LoadClipInOtherChannel(NULL);
    // The recording's name is no longer needed; one that cannot go now is dropped by the
    // next start (it is a second name of a saved video).
    DeleteFileA(m_strPrevPath);
    if (g_pClavio)
        g_pClavio->LoadClip(this);
    m_bNew = FALSE;
    if (CClipBar::GetClipBar())
        CClipBar::GetClipBar()->Refresh();
    return TRUE;
}

BOOL CClip::Save()
{
    CWaitCursor wait;
    m_bSaveAsComparison = FALSE;
    CClip* right = g_pClavio ? g_pClavio->GetSecondChannelClip() : NULL;
    if (g_pClavio && g_pClavio->IsSplitView() && g_pClavio->GetCurrentClip() == this && right &&
        AfxMessageBox("Do you wish to save both clips as a comparison?",
                      MB_YESNO | MB_ICONQUESTION) == IDYES) {
        if (!g_pClavio->IsFirstChannelClip(this)) {
            AfxMessageBox("Comparison save must have left window as current highlighted window");
            return FALSE;
        }
        m_bSaveAsComparison = TRUE;
    }
    if (m_bSaveAsComparison && right->m_bNew) {
        AfxMessageBox("You must save the right window clip before saving a comparison");
        m_bSaveAsComparison = FALSE;
        return FALSE;
    }
    m_bModifiedBeforeSave = m_bModified;

    if (m_bNew)
        return SaveNew();

    BOOL toSwing = FALSE;
    if (IsComparison() && !m_bSaveAsComparison) {
        if (AfxMessageBox("The current clip is a comparison. You have selected to change this "
                          "clip as a normal swing. Do you wish to continue?",
                          MB_YESNO | MB_ICONQUESTION) != IDYES)
            return FALSE;
        m_strClipType = "Swing";
        m_nComparisonClipID = -1;
        toSwing = TRUE;
    }
    BOOL saved;
    INT_PTR choice = 101;
    if (!IsComparison() && m_bSaveAsComparison) {
        CComparisonDlg question(AfxGetMainWnd());
        choice = question.DoModal();
        if (choice == IDCANCEL)
            return FALSE;
        if (choice == 101) {
            m_strClipType = "Comparison";
            m_nComparisonClipID = right->m_nID;
        }
    }
    if (m_bSaveAsComparison && choice == 100) {
        CClip* copy = CreateCopy();
        if (!copy)
            return FALSE;
        copy->m_strClipType = "Comparison";
        copy->m_nComparisonClipID = right->m_nID;
        saved = copy->UpdateDatabaseRecord(TRUE);
        CClipBar* panel = CClipBar::GetClipBar();
        // The panel owns what it is handed, a refused copy too.
        if (saved && panel) {
            if (m_subject.m_Role == "Student")
                panel->AddClip(copy, CString());
            else
                panel->AddReferenceClip(copy);
        } else {
            delete copy;
        }
    } else {
        saved = UpdateDatabaseRecord(TRUE);
    }
    if (toSwing && saved && g_pClavio)
        g_pClavio->LoadClipInOtherChannel(NULL);
    return saved;
}

CClip* CClip::CreateCopy()
{
    if (!UpdateDatabaseRecord(FALSE))
        return NULL;
    CClip* copy = LoadFromDatabase(m_nID);
    if (!copy)
        return NULL;
    copy->m_strGlobalID = NewGuidString();
    copy->m_strVideoPath = MakeUniqueVideoFileName("CLP");
    if (copy->m_strVideoPath.IsEmpty() ||
        !CopyFileA(m_strVideoPath, copy->m_strVideoPath, FALSE)) {
        if (!copy->m_strVideoPath.IsEmpty()) {
            ShowLastError();
            DeleteFileA(copy->m_strVideoPath);
        }
        delete copy;
        return NULL;
    }
    // The copy's row is written whole once its video is complete: no row is ever left
    // without its video.
    copy->m_nID = 0;
    try {
        CClipRecord rs;
        rs.Open(dbOpenDynaset, "[VideoClip]");
        copy->WriteRecord(&rs, TRUE);
        rs.Close();
    } catch (CException*) {
        if (!copy->m_nID)
            DeleteFileA(copy->m_strVideoPath);
        delete copy;
        throw;
    }
    return copy;
}

CString CClip::MakeUniqueVideoFileName(CString prefix)
{
    const CString folder = CaptureFolder();
    char temp[MAX_PATH];
    CString name;
    for (int attempt = 0; attempt < 10 && name.IsEmpty(); ++attempt) {
        if (!GetTempFileNameA(folder, prefix, 0, temp)) {
            ShowLastError();
            return CString();
        }
        CString candidate = temp;
        candidate = candidate.Left(candidate.GetLength() - 4) + ".avi";
        if (MoveFileA(temp, candidate))
            name = candidate;
        else
            DeleteFileA(temp);
    }
    if (name.IsEmpty()) {
        // Numbered after the name that sorts last among the folder's files of this prefix.
        if (!GetTempFileNameA(folder, prefix, 0, temp)) {
            ShowLastError();
            return CString();
        }
        CString last;
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA(folder + "\\" + prefix + "*.avi", &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                if (last.IsEmpty() || last.Compare(found.cFileName) < 0)
                    last = found.cFileName;
            } while (FindNextFileA(find, &found));
            FindClose(find);
        }
        unsigned long n = 0;
        if (last.GetLength() > 7)
            n = strtoul(last.Mid(3, last.GetLength() - 7), NULL, 16) + 1;
        CString candidate;
        candidate.Format("%s\\%s%lx.avi", (LPCSTR)folder, (LPCSTR)prefix, n);
        if (MoveFileA(temp, candidate))
            name = candidate;
        else
            DeleteFileA(temp);
    }
    if (name.IsEmpty())
        ShowLastError();
    return name;
}

// ---------------------------------------------------------------------------------------
// Clip files

namespace {

class FileSource : public kpx::Source
{
public:
    explicit FileSource(HANDLE file) : m_file(file) {}
    long long Read(void* buffer, size_t size) override
    {
        DWORD got = 0;
        if (!ReadFile(m_file, buffer, (DWORD)size, &got, NULL))
            return -1;
        return got;
    }

private:
    HANDLE m_file;
};

// A file target made on demand; a failed write is remembered so that the caller can tell
// which target failed.
class FileSink : public kpx::Sink
{
public:
    explicit FileSink(const CString& path) : m_path(path), m_file(INVALID_HANDLE_VALUE) {}
    ~FileSink() { Close(); }
    bool Create() override
    {
        Close();
        m_file = CreateFileA(m_path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, NULL);
        return m_file != INVALID_HANDLE_VALUE;
    }
    bool Write(const void* data, size_t size) override
    {
        DWORD written = 0;
        if (!WriteFile(m_file, data, (DWORD)size, &written, NULL) || written != size) {
            failed = true;
            return false;
        }
        return true;
    }
    bool Close()
    {
        if (m_file == INVALID_HANDLE_VALUE)
            return true;
        const bool ok = CloseHandle(m_file) != FALSE;
        m_file = INVALID_HANDLE_VALUE;
        return ok;
    }
    bool IsCreated() const { return m_file != INVALID_HANDLE_VALUE; }
    bool failed = false;

private:
    CString m_path;
    HANDLE m_file;
};

HANDLE OpenForReading(const CString& path, ULONGLONG* size)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    LARGE_INTEGER length;
    if (file != INVALID_HANDLE_VALUE && !GetFileSizeEx(file, &length)) {
        CloseHandle(file);
        return INVALID_HANDLE_VALUE;
    }
    if (file != INVALID_HANDLE_VALUE)
        *size = (ULONGLONG)length.QuadPart;
    return file;
}

// Deletes a file, making it writable first when the plain delete fails. TRUE when it is
// gone.
BOOL RemoveFile(const CString& path)
{
    if (!FileExists(path) || DeleteFileA(path))
        return TRUE;
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    return DeleteFileA(path);
}

} // namespace

CString CClip::GetTempFolder()
{
    return (g_pAppConfig ? g_pAppConfig->GetTempDir() : CString(".")) + "\\";
}

BYTE CClip::UnpackClipFile(CString clipFilePath, BYTE comparison)
{
    const CString t = GetTempFolder();
    const CString dbPath = t + (comparison ? "kpxcomp.mdb" : "kpx.mdb");
    const CString videoPath = t + (comparison ? "comp.avi" : "clip.avi");
    ULONGLONG size = 0;
    HANDLE file = OpenForReading(clipFilePath, &size);
    if (file == INVALID_HANDLE_VALUE) {
        AfxMessageBox("Could not open .kpx file");
        return FALSE;
    }
    FileSource in(file);
    FileSink db(dbPath), video(videoPath);
    const kpx::Status status = kpx::Unpack(in, size, db, video);
    CloseHandle(file);
    const bool dbCreated = db.IsCreated();
    const bool videoCreated = video.IsCreated();
    const bool closed = db.Close() & video.Close();
    if (status == kpx::kOk && closed)
        return TRUE;
    // Nothing half-extracted is left for an import to pick up.
    if (dbCreated)
        DeleteFileA(dbPath);
    if (videoCreated)
        DeleteFileA(videoPath);
    switch (status) {
    case kpx::kUnsupported:
    case kpx::kCorrupt:
        AfxMessageBox(".kpx file is corrupt.  Unsupported format");
        break;
    case kpx::kVoiceOver:
        AfxMessageBox("Is there a voice over file?!");
        break;
    case kpx::kCannotRead:
        AfxMessageBox("Could not open .kpx file");
        break;
    case kpx::kCannotCreateDb:
        AfxMessageBox("Problem opening db file");
        break;
    default:
        AfxMessageBox(videoCreated || !dbCreated || !db.failed ? "Problem extracting avi file"
                                                              : "Problem opening db file");
        break;
    }
    return FALSE;
}

BYTE CClip::PackClipFile(CString clipFilePath, CString aviPath, CProgressDlg* progress,
                         BYTE partner, BYTE newGlobalId)
{
    const CString t = GetTempFolder();
    const CString dbPath = t + "kpx.mdb";
    const CString videoPath = t + "clip.avi";
    BYTE result = FALSE;
    // A database left from an earlier run must not be packed in place of this clip's.
    if (!RemoveFile(dbPath) || !RemoveFile(videoPath)) {
        AfxMessageBox("Could not clean up temp directory.");
    } else if (ExportToDirectory(videoPath, progress, "kpx.mdb", partner, newGlobalId)) {
        ULONGLONG dbSize = 0, aviSize = 0;
        HANDLE db = OpenForReading(dbPath, &dbSize);
        HANDLE avi = INVALID_HANDLE_VALUE;
        if (db == INVALID_HANDLE_VALUE) {
            AfxMessageBox("Could not open mdb file");
        } else if ((avi = OpenForReading(aviPath, &aviSize)) == INVALID_HANDLE_VALUE) {
            AfxMessageBox("Could not open avi file");
        } else {
            FileSink out(clipFilePath);
            if (!out.Create()) {
                AfxMessageBox("Could not create kpx file");
            } else {
                FileSource dbIn(db), aviIn(avi);
                const kpx::Status status = kpx::Pack(out, dbIn, dbSize, aviIn, aviSize);
                const bool closed = out.Close();
                if (status == kpx::kOk && closed) {
                    result = TRUE;
                } else {
                    // A clip file that is not whole is not left behind.
                    if (status == kpx::kCannotWrite || !closed)
                        ShowLastError();
                    else
                        AfxMessageBox(status == kpx::kTooLarge ? "Could not open mdb file"
                                                               : "Could not open avi file");
                    DeleteFileA(clipFilePath);
                }
            }
        }
        if (db != INVALID_HANDLE_VALUE)
            CloseHandle(db);
        if (avi != INVALID_HANDLE_VALUE)
            CloseHandle(avi);
    }
    DeleteFileA(dbPath);
    DeleteFileA(videoPath);
    DeleteFileA(aviPath);
    return result;
}

// ---------------------------------------------------------------------------------------
// Export

BOOL CClip::IsSafeVideoName(const CString& name)
{
    return CDatabaseMgr::IsBareFileName(name) && name.GetLength() > 4 &&
           name.Right(4).CompareNoCase(".avi") == 0 && name.Find("..") < 0;
}

CString CClip::GetExportFileName(CString ext) const
{
    CString name = m_subject.m_FirstName + " " + m_subject.m_LastName + " " + m_strClipType +
                   " " + m_captureTime.Format("%m_%d_%Y %I_%M_%S%p");
    // People's names and clip types become a file name: characters that a file name
    // cannot hold are replaced.
    for (int i = 0; i < name.GetLength(); ++i) {
        const char c = name[i];
        if ((unsigned char)c < 32 || strchr("\\/:*?\"<>|", c))
            name.SetAt(i, '_');
    }
    return name + ext;
}

int CClip::GetFirstInstructorID()
{
    int id = -1;
    try {
        CPeopleRecord rs;
        rs.Open(dbOpenDynaset,
                "SELECT * FROM Person WHERE Person.[Role] = 'Instructor' ORDER BY "
                "Person.[LastName],Person.[FirstName]",
                dbReadOnly);
        if (!rs.IsEOF())
            id = rs.m_ID;
        rs.Close();
    } catch (CDaoException* e) {
        AfxMessageBox(DaoErrorText(e), MB_ICONEXCLAMATION);
        e->Delete();
    }
    return id;
}

BOOL CClip::ExportVideoOnly(CString targetPath)
{
    if (!CopyFileA(m_strVideoPath, targetPath, FALSE)) {
        ShowLastError();
        return FALSE;
    }
    return TRUE;
}

BOOL CClip::ExportUnsavedClipRecord(CString fileName, CString exportDatabase, BYTE newGlobalId)
{
    CDatabaseMgr mgr;
    // The clip's own identity in the main database stays as it is: the export only borrows
    // its fields.
    const int ownPerson = m_nPersonID;
    const CString ownPath = m_strVideoPath;
    BOOL ok = FALSE;
    try {
        int personId = -1;
        {
            CPeopleRecord people;
            people.Open();
            if (!people.IsEOF() &&
                people.FindFirst(PersonNameCriterion(m_subject.m_FirstName),
                                 CDaoParams()
                                     .Add(m_subject.m_LastName)
                                     .Add(m_subject.m_FirstName)))
                personId = mgr.CopyPersonRecord(people.m_ID, "", exportDatabase);
            people.Close();
        }
        CDaoDatabase db;
        db.Open(exportDatabase, FALSE, FALSE, "", dbOutsideFile);
        if (personId == -1) {
            const int first = GetFirstInstructorID();
            const int instructor =
                first == -1 ? -1 : mgr.CopyPersonRecord(first, "", exportDatabase);
            CPeopleRecord people(&db);
            people.Open(dbOpenDynaset, "SELECT * FROM [Person]");
            if (people.IsEOF() ||
                !people.FindFirst(PersonNameCriterion(m_subject.m_FirstName),
                                  CDaoParams()
                                      .Add(m_subject.m_LastName)
                                      .Add(m_subject.m_FirstName))) {
                people.AddNew();
                people.m_LastName = m_subject.m_LastName;
                people.m_FirstName = m_subject.m_FirstName;
                people.Update();
                people.SetBookmark(people.GetLastModifiedBookmark());
            }
            personId = people.m_ID;
            people.Edit();
            people.m_LastName = m_subject.m_LastName;
            people.m_FirstName = m_subject.m_FirstName;
            people.m_LRHand = "Right Hand";
            people.m_Role = "Student";
            people.m_InstructorID = instructor;
            people.Update();
            people.Close();
        }

        CClipRecord rs(&db);
        rs.m_strFilter = "[GlobalID] = ?";
        rs.m_nParams = 1;
        rs.SetParamValue(0, (LPCSTR)m_strGlobalID);
        rs.Open(dbOpenDynaset, "SELECT * FROM [VideoClip]");
        if (rs.IsEOF()) {
            rs.AddNew();
            rs.Update();
            rs.SetBookmark(rs.GetLastModifiedBookmark());
        }
        m_nPersonID = personId;
        m_strVideoPath = fileName;
        BuildTabString();
        StoreOverlayBlob();
        rs.Edit();
        ExchangeRecord(FALSE, &rs);
        rs.m_VideoClipName = GetExportFileName(".avi");
        if (newGlobalId)
            rs.m_GlobalID = NewGuidString();
        rs.SetFieldDirty(&rs.m_Overlay);
        rs.SetFieldNull(&rs.m_Overlay, FALSE);
        rs.Update();
        rs.Close();
        db.Close();
        ok = TRUE;
    } catch (CDaoException* e) {
        AfxMessageBox(DaoErrorText(e), MB_ICONEXCLAMATION);
        e->Delete();
    }
    m_nPersonID = ownPerson;
    m_strVideoPath = ownPath;
    return ok;
}

namespace {

// The answer to "replace?" in a batch (with its all-answers) or alone. TRUE: go on.
BOOL AskReplace(const char* text)
{
    if (CClip::s_bBatchExport || CClip::s_bBatchImport) {
        if (CClip::s_bSkipAll)
            return FALSE;
        if (CClip::s_bReplaceAll)
            return TRUE;
        CReplaceOptions question(text, AfxGetMainWnd());
        switch (question.DoModal()) {
        case IDC_REPLACE_NOTOALL:
            CClip::s_bSkipAll = TRUE;
            return FALSE;
        case IDC_REPLACE_YESTOALL:
            CClip::s_bReplaceAll = TRUE;
            return TRUE;
        case IDC_REPLACE_YES:
            return TRUE;
        default:
            return FALSE;
        }
    }
    return AfxMessageBox(text, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

BOOL IsReadOnlyFolder(CString folder)
{
    if (folder.GetLength() > 1 && folder[folder.GetLength() - 1] == '\\')
        folder = folder.Left(folder.GetLength() - 1);
    const DWORD attributes = GetFileAttributesA(folder);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

// A progress dialog for the length of one operation when the caller gave none.
class OwnProgress
{
public:
    explicit OwnProgress(CProgressDlg* given) : m_pOwn(NULL), m_pDlg(given)
    {
        if (!given) {
            m_pOwn = new CProgressDlg(FALSE);
            m_pOwn->SetMessage("Searching export directory...");
            m_pOwn->SetRange(3);
            m_pOwn->Show(AfxGetMainWnd());
            m_pDlg = m_pOwn;
        }
    }
    ~OwnProgress()
    {
        if (m_pOwn) {
            m_pOwn->Complete();
            delete m_pOwn;
        }
    }
    CProgressDlg* operator->() { return m_pDlg; }

private:
    CProgressDlg* m_pOwn;
    CProgressDlg* m_pDlg;
};

} // namespace

BOOL CClip::ExportToDirectory(CString targetPath, CProgressDlg* progress, CString databaseName,
                              BYTE partner, BYTE newGlobalId)
{
    CWaitCursor wait;
    OwnProgress bar(progress);
    const CString folder = FolderOf(targetPath);
    const CString fileName = GetFileName(targetPath);
    const BOOL targetExists = FileExists(targetPath);
    const BOOL intoClipFile = fileName.CompareNoCase("clip.avi") == 0;
    if (IsReadOnlyFolder(folder)) {
        AfxMessageBox("The media you are exporting to is readonly. If this media is CD-R "
                      "please open a new session.");
        return FALSE;
    }
    CDatabaseMgr mgr;
    const CString exportDb = mgr.OpenExportDatabase(folder, databaseName);
    if (exportDb.IsEmpty())
        return FALSE;
    CString workDb = exportDb;
    if (!intoClipFile) {
        // The rows are added to a copy that replaces the folder's "Export.mdb" at the end; a
        // copy that fails stops the export before anything of the folder is touched.
        workDb = GetTempFolder() + "Export.mdb";
        if (!CDatabaseMgr::ReplaceWithCopy(exportDb, workDb)) {
            AfxMessageBox("Error copying file");
            return FALSE;
        }
    }

    const CString main = MainDatabase();
    const BOOL savedRow = !m_bNew && mgr.CheckImportClip(m_strVideoPath, main);
    BOOL exported = targetExists || mgr.CheckImportClip(targetPath, workDb);
    if (!exported)
        exported = savedRow ? mgr.IsClipInDatabase(m_strVideoPath, main, workDb)
                            : mgr.GlobalIdExists(m_strGlobalID, workDb);
    CString replacedFile, replacedPartnerFile;
    if (exported) {
        if (!AskReplace("Clip has already been exported to this directory. Do you want to "
                        "replace the clip?")) {
            if (!intoClipFile)
                DeleteFileA(workDb);
            return FALSE;
        }
        long id = 0;
        replacedFile = savedRow ? mgr.GetExistingClipFile(m_strVideoPath, main, workDb, &id)
                                : mgr.GetClipFileByGlobalId(m_strGlobalID, workDb);
        if (savedRow)
            replacedPartnerFile = mgr.GetComparisonClipFile(m_strVideoPath, main, workDb, &id);
    }

    bar->SetMessage("Copying clip file...");
    bar->StepIt();
    BOOL ok = CopyFileA(m_strVideoPath, targetPath, FALSE);
    if (!ok)
        ShowLastError();
    CString partnerName;
    CClip* partnerClip = NULL;
    if (ok && IsComparison() && !partner) {
        bar->SetMessage("Copying comparison clip file...");
        bar->StepIt();
        partnerClip = GetComparisonClip();
        if (partnerClip) {
            partnerName = partnerClip->GetExportFileName(".avi");
            if (!intoClipFile && !CopyFileA(partnerClip->m_strVideoPath, folder + partnerName,
                                            FALSE)) {
                ShowLastError();
                ok = FALSE;
            }
        }
    }
    if (ok) {
        bar->SetMessage("Copying database records...");
        bar->StepIt();
        if (partner)
            ok = mgr.ExportClipRecord(m_nComparisonClipID, workDb, fileName, "", newGlobalId) > 0;
        else if (savedRow)
            ok = mgr.ExportClipRecord(m_nID, workDb, fileName, partnerName, newGlobalId) > 0;
        else
            ok = ExportUnsavedClipRecord(fileName, workDb, newGlobalId);
    }
    if (ok) {
        // Names read from the folder's database are only ever files of that folder.
        if (!replacedFile.IsEmpty() && replacedFile.CompareNoCase(fileName) != 0 &&
            IsSafeVideoName(replacedFile))
            DeleteFileA(folder + replacedFile);
        if (!replacedPartnerFile.IsEmpty() && replacedPartnerFile.CompareNoCase(partnerName) != 0 &&
            IsSafeVideoName(replacedPartnerFile))
            DeleteFileA(folder + replacedPartnerFile);
    }
    if (!intoClipFile) {
        if (ok && !CDatabaseMgr::ReplaceWithCopy(workDb, folder + "Export.mdb")) {
            ShowLastError();
            ok = FALSE;
        }
        DeleteFileA(workDb);
    }
    return ok;
}

// ---------------------------------------------------------------------------------------
// Export command and e-mail

CExportFileDlg::CExportFileDlg(BOOL open, LPCTSTR defaultExtension, LPCTSTR fileName,
                               DWORD flags, LPCTSTR filter, CWnd* parent, int filterIndex)
    : CFileDialog(open, defaultExtension, fileName, flags, filter, parent),
      m_nLastFilterIndex(filterIndex)
{
    m_ofn.nFilterIndex = filterIndex;
}

void CExportFileDlg::OnTypeChange()
{
    if ((int)m_ofn.nFilterIndex != m_nLastFilterIndex) {
        m_nLastFilterIndex = (int)m_ofn.nFilterIndex;
        const char* ext = m_nLastFilterIndex == 1 ? ".kpx" : ".avi";
        SetControlText(1152, GetFileTitle() + ext);
    }
    CFileDialog::OnTypeChange();
}

void CClip::BeginBatchExport()
{
    s_bBatchExport = TRUE;
    s_bReplaceAll = s_bSkipAll = FALSE;
}

void CClip::EndBatchExport()
{
    s_bAskExportTarget = TRUE;
    s_strClipExt = ".kpx";
    s_bBatchExport = FALSE;
    s_bReplaceAll = s_bSkipAll = FALSE;
}

BOOL CClip::ExportToStudentLibrary(CString folder)
{
    const CString install = g_pAppConfig ? g_pAppConfig->GetInstallDir() : CString();
    const CString library = install.Left(2) + "\\_Quorvel Library\\_Student\\";
    if (folder != library)
        return FALSE;
    static const char* const kPatterns[] = {"*.kpx", "*.avi", "*.mdb"};
    CDatabaseMgr mgr;
    int count = 0;
    for (const char* pattern : kPatterns)
        count += mgr.CountFiles(folder + pattern);
    if (count && AfxMessageBox("The destination directory you are exporting to is not empty, do "
                               "you wish to remove these previously exported clips?",
                               MB_YESNO | MB_ICONQUESTION) == IDYES) {
        for (const char* pattern : kPatterns) {
            WIN32_FIND_DATAA found;
            HANDLE find = FindFirstFileA(folder + pattern, &found);
            if (find == INVALID_HANDLE_VALUE)
                continue;
            do {
                if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    DeleteFileA(folder + found.cFileName);
            } while (FindNextFileA(find, &found));
            FindClose(find);
        }
    }
    return TRUE;
}

namespace {

// The temporary copy of a video that a clip file is packed from: named after the clip
// file's name up to its first ".".
CString TemporaryCopyName(const CString& clipFileName)
{
    const int dot = clipFileName.Find('.');
    return CClip::GetTempFolder() + (dot < 0 ? clipFileName : clipFileName.Left(dot)) + "tmp.avi";
}

} // namespace

int CClip::ExportClips(CProgressDlg* progress)
{
    if (g_pClavio && g_pClavio->IsCaptureArmed())
        g_pClavio->Stop();
    int type = g_pAppConfig ? g_pAppConfig->GetExportFilterIndex() : 1;
    BOOL withoutDatabase = type == 3;
    CString target;
    if (s_bAskExportTarget) {
        CString folder = s_strLastExportFolder;
        if (folder.IsEmpty())
            folder = (g_pAppConfig ? g_pAppConfig->GetInstallDir() : CString()) + "ExportedClips";
        CreateDirectoryA(folder, NULL);
        const CString proposed = folder + "\\" + GetExportFileName(type == 1 ? ".kpx" : ".avi");
        const DWORD flags = OFN_EXPLORER | OFN_HIDEREADONLY |
                            (s_bBatchExport ? 0 : OFN_OVERWRITEPROMPT);
        CExportFileDlg dialog(FALSE, "kpx", proposed, flags,
                              "Quorvel files (*.kpx)|*.kpx|Video files (*.avi)|*.avi|Video files "
                              "(w/o database) (*.avi)|*.avi||",
                              NULL, type);
        dialog.m_ofn.lpstrTitle = s_bBatchExport
                                      ? "Confirm target directory and file type of exported clips."
                                      : "Confirm filename and location of exported clip.";
        if (dialog.DoModal() != IDOK)
            return 2;
        target = dialog.GetPathName();
        ExportToStudentLibrary(FolderOf(target));
        type = (int)dialog.m_ofn.nFilterIndex;
        if (g_pAppConfig)
            g_pAppConfig->SetExportFilterIndex(type);
        withoutDatabase = type == 3;
        const CString folderOfTarget = target.Left(target.ReverseFind('\\'));
        if (s_bBatchExport) {
            s_bAskExportTarget = FALSE;
            s_strClipExt = CExtString(target).GetPathExtension();
            s_strBatchExportFolder = folderOfTarget;
        }
        s_strLastExportFolder = folderOfTarget;
    } else {
        target = s_strBatchExportFolder + "\\" + GetExportFileName(s_strClipExt);
    }
    if (IsReadOnlyFolder(FolderOf(target))) {
        AfxMessageBox("The media you are exporting to is readonly. If this media is CD-R "
                      "please open a new session.");
        return 1;
    }
    if (target.IsEmpty())
        return 0;
    CString ext = CExtString(target).GetPathExtension();
    ext.MakeLower();
    if (ext == ".kpx") {
        if (s_bBatchExport && FileExists(target) &&
            !AskReplace("Clip has already been exported to this directory. Do you want to "
                        "replace the clip?"))
            return 1;
        const CString copy = TemporaryCopyName(GetFileName(target));
        if (!CopyFileA(m_strVideoPath, copy, FALSE)) {
            ShowLastError();
            return 1;
        }
        BOOL ok = PackClipFile(target, copy, progress, FALSE, FALSE);
        if (ok && IsComparison()) {
            CClip* partner = GetComparisonClip();
            ok = partner != NULL;
            if (ok) {
                const CString partnerFile = partner->GetExportFileName(".kpx");
                const CString partnerCopy = TemporaryCopyName(partnerFile);
                ok = CopyFileA(partner->m_strVideoPath, partnerCopy, FALSE);
                if (!ok)
                    ShowLastError();
                else
                    ok = PackClipFile(FolderOf(target) + partnerFile, partnerCopy, progress,
                                      TRUE, FALSE);
            }
        }
        return ok ? 0 : 1;
    }
    const BOOL ok = withoutDatabase ? ExportVideoOnly(target)
                                    : ExportToDirectory(target, progress, "", FALSE, FALSE);
    return ok ? 0 : 1;
}

void CClip::SendVideoEmail(BOOL partnerCall)
{
    if (g_pClavio && g_pClavio->IsCaptureArmed())
        g_pClavio->Stop();
    const CString name = GetExportFileName(".kpx");
    CString person = g_pLesson ? g_pLesson->GetStudentName() : CString();
    if (person.IsEmpty())
        person = m_subject.m_FirstName + " " + m_subject.m_LastName;
    CString proposed = name;
    if (!partnerCall && g_pClavio)
        proposed = g_pClavio->GetEmailFolder(person) + "\\" + name;
    CString target, ext;
    for (;;) {
        CExportFileDlg dialog(FALSE, "kpx", proposed, OFN_EXPLORER | OFN_HIDEREADONLY,
                              "Quorvel Email files (*.kpx)|*.kpx|Video Email files (*.avi)|*.avi||",
                              NULL, 1);
        dialog.m_ofn.lpstrTitle =
            partnerCall ? "Confirm filename and location of comparison video email clip"
                        : "Confirm filename and location of video email clip";
        if (dialog.DoModal() != IDOK)
            return;
        target = dialog.GetPathName();
        ext = dialog.GetFileExt();
        ext.MakeLower();
        if (!FileExists(target))
            break;
        CTransOptDlg question(AfxGetMainWnd());
        const INT_PTR answer = question.DoModal();
        if (answer == IDC_TRANS_RETRANSCODE) {
            DeleteFileA(target);
            break;
        }
        if (answer == IDC_TRANS_CONTINUE) {
            if (AfxMessageBox(partnerCall
                                  ? "Would you like to send selected comparison clip via email now?"
                                  : "Would you like to send selected clip via email now?",
                              MB_YESNO | MB_ICONQUESTION) == IDYES &&
                g_pClavio)
                g_pClavio->EmailClip(target);
            // A partner's own call does not come back to this clip: two clips that are each
            // other's partner are sent once each.
            if (!partnerCall && IsComparison()) {
                CClip* partner = GetComparisonClip();
                if (partner)
                    partner->SendVideoEmail(TRUE);
            }
            return;
        }
        if (answer == IDC_TRANS_CANCEL)
            return;
    }
    const CString transcodeTarget = ext == "kpx" ? GetTempFolder() + "temp.avi" : target;
    BOOL ok = FALSE;
    CVideoWindow* control = g_pClavio ? g_pClavio->GetActiveVideoWindow() : NULL;
    if (control) {
        const BOOL restore = !control->GetLiveVideoMode() && g_pClavio->GetCurrentClip();
        const LONG oldIn = control->GetTrimIn(), oldOut = control->GetTrimOut();
        control->SetTrimIn(m_nTrimIn);
        control->SetTrimOut(m_nTrimOut);
        ok = g_pClavio->TranscodeClip(m_strVideoPath, transcodeTarget);
        if (restore) {
            control->SetTrimIn(oldIn);
            control->SetTrimOut(oldOut);
        }
    }
    if (ok) {
        if (ext == "kpx")
            ok = PackClipFile(target, transcodeTarget, NULL, FALSE, TRUE);
        if (ok && AfxMessageBox("Transcode complete.  Do you want to send e-mail now?",
                                MB_YESNO | MB_ICONQUESTION) == IDYES)
            g_pClavio->EmailClip(target);
    }
    if (!partnerCall && IsComparison()) {
        CClip* partner = GetComparisonClip();
        if (partner)
            partner->SendVideoEmail(TRUE);
    }
}

// ---------------------------------------------------------------------------------------
// Import

namespace {

// Clears the import-running flag on every way out of the import command.
struct ImportingFlag
{
    ImportingFlag() { CClip::s_bImporting = TRUE; }
    ~ImportingFlag() { CClip::s_bImporting = FALSE; }
};

void ClearReadOnly(const CString& path)
{
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesA(path, attributes & ~FILE_ATTRIBUTE_READONLY);
}

void Step(CProgressDlg* progress, const char* message)
{
    if (!progress)
        return;
    if (message)
        progress->SetMessage(message);
    progress->StepIt();
}

} // namespace

void CClip::EndBatchImport()
{
    s_bQueuedImport = s_bBatchImport = s_bReplaceAll = s_bSkipAll = FALSE;
}

void CClip::SetQueuedImport()
{
    s_bQueuedImport = TRUE;
}

BOOL CClip::ImportClipFiles(CString path, int fromRemoteDatabase)
{
    ImportingFlag importing;
    CStringArray files;
    if (path.IsEmpty()) {
        CFileDialog dialog(TRUE, "kpx", NULL,
                           OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_ALLOWMULTISELECT |
                               OFN_HIDEREADONLY,
                           "Quorvel / AVI files (*.kpx;*.avi)|*.kpx;*.avi|Quorvel files "
                           "(*.kpx)|*.kpx|AVI files (*.avi)|*.avi||");
        const DWORD size = 1024000;
        CString names;
        dialog.m_ofn.lpstrFile = names.GetBuffer(size);
        dialog.m_ofn.lpstrFile[0] = 0;
        dialog.m_ofn.nMaxFile = size;
        dialog.m_ofn.lpstrTitle = "Select a video file to load";
        dialog.m_ofn.nFilterIndex = g_pAppConfig ? g_pAppConfig->GetImportFilterIndex() : 1;
        const INT_PTR answer = dialog.DoModal();
        if (answer == IDOK) {
            if (g_pAppConfig)
                g_pAppConfig->SetImportFilterIndex((int)dialog.m_ofn.nFilterIndex);
            POSITION pos = dialog.GetStartPosition();
            while (pos)
                files.Add(dialog.GetNextPathName(pos));
        }
        names.ReleaseBuffer(0);
        if (answer != IDOK || files.GetSize() == 0)
            return FALSE;
    } else {
        files.Add(path);
    }

    CProgressDlg progress(TRUE);
    if (files.GetSize() > 1 || (s_bQueuedImport && !s_bBatchImport)) {
        progress.SetMessage("Importing multiple clips...");
        progress.SetRange((int)files.GetSize() * 7);
        s_bBatchImport = TRUE;
        s_bReplaceAll = s_bSkipAll = FALSE;
    } else {
        progress.SetMessage("Importing...");
        progress.SetRange(6);
    }
    progress.Show(AfxGetMainWnd());

    BOOL result = TRUE;
    const CString temp = GetTempFolder();
    for (INT_PTR i = 0; i < files.GetSize(); ++i) {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (progress.IsCancelled()) {
            CMainFrame* frame = DYNAMIC_DOWNCAST(CMainFrame, AfxGetMainWnd());
            if (frame)
                frame->ClearImportQueue();
            AfxMessageBox("Import process has been cancelled.");
            break;
        }
        const CExtString file = files[i];
        const CString name = file.GetPathTitle();
        CString ext = file.GetPathExtension();
        ext.MakeLower();
        const CString sourceFolder = file.GetPathFolder();
        if (ext != ".kpx" && ext != ".avi") {
            AfxMessageBox("Invalid file format, cannot import file " + file);
            continue;
        }
        CString video = file, database;
        if (ext == ".kpx") {
            progress.SetMessage("Unpacking .kpx file");
            if (!UnpackClipFile(file, FALSE))
                continue;
            video = temp + "clip.avi";
            database = temp + "kpx.mdb";
        }
        progress.StepIt();
        progress.SetMessage("Importing " + file.GetPathFileName() + " ...");
        progress.StepIt();
        Sleep(200);

        CClip* clip = ImportClipFile(video, &progress, database, sourceFolder);
        if (clip) {
            const BOOL student = clip->m_subject.m_Role == "Student";
            CClipBar* panel = CClipBar::GetClipBar();
            BOOL kept = FALSE, handed = FALSE;
            // Without a clip panel to own it the clip stays in the database (or, for a bare
            // video, in its source file) and is not shown.
            if (panel && !fromRemoteDatabase) {
                if (clip->HasSubject() && !student) {
                    handed = TRUE;
                    kept = panel->AddReferenceClip(clip);
                } else {
                    handed = TRUE;
                    kept = panel->AddClip(clip, student ? CString() : name);
                    if (kept && g_pClavio)
                        g_pClavio->LoadClip(clip);
                }
            } else if (fromRemoteDatabase && !clip->HasSubject()) {
                // A remote clip's video: it only becomes the current clip here; the sender
                // gives it the remote row's fields and hands it to the clip panel itself
                // (listed now, it would be listed twice under two GlobalIDs).
                handed = g_pClavio && g_pClavio->LoadClip(clip);
                kept = handed;
            }
            // The panel owns what it was handed, a refused clip too.
            if (!handed)
                delete clip;
        }
        if (ext == ".kpx") {
            DeleteFileA(temp + "clip.avi");
            DeleteFileA(temp + "kpx.mdb");
        }
        if (!clip && !s_bBatchImport) {
            result = FALSE;
            break;
        }
    }
    if (!s_bQueuedImport)
        s_bBatchImport = s_bReplaceAll = s_bSkipAll = FALSE;
    progress.Complete();
    return result;
}

CClip* CClip::ImportClipFile(CString videoPath, CProgressDlg* progress, CString importDatabase,
                             CString sourceFolder)
{
    CWaitCursor wait;
    if (progress)
        progress->SetMessage("Searching for import database...");
    CDatabaseMgr mgr;
    const CString db = importDatabase.IsEmpty() ? mgr.FindImportDatabase(videoPath)
                                                : importDatabase;
    const CString videoFolder = FolderOf(videoPath);
    const CString capture = CaptureFolder() + "\\";

    if (db.IsEmpty()) {
        CClip* clip = new CClip;
        clip->m_strVideoPath = MakeUniqueVideoFileName("IMP");
        if (clip->m_strVideoPath.IsEmpty()) {
            delete clip;
            return NULL;
        }
        Step(progress, "Copying clip file...");
        if (!CopyFileA(videoPath, clip->m_strVideoPath, FALSE)) {
            ShowLastError();
            delete clip;
            return NULL;
        }
        ClearReadOnly(clip->m_strVideoPath);
        clip->m_nSoundMarkField = 0;
        clip->m_bAutoCap = FALSE;
        clip->m_nCuePosition = 0;
        clip->m_nLastDisplayPos = 0;
        clip->m_nLockPosition = 0;
        clip->m_bImported = TRUE;
        clip->m_bNeedVideoInfo = TRUE;
        clip->m_nTabCount = 8;
        clip->m_bFirstDisplay = TRUE;
        return clip;
    }

    const CString main = MainDatabase();
    CString oldFile, oldPartnerFile;
    long oldId = -1, oldPartnerId = -1;
    if (mgr.IsClipInDatabase(videoPath, db, main)) {
        if (!AskReplace("Clip has already been imported to the database. Do you want to "
                        "replace the clip?"))
            return NULL;
        Step(progress, "Making clip backups...");
        long id = -1;
        const CString existing = mgr.GetExistingClipFile(videoPath, db, main, &id);
        if (!existing.IsEmpty()) {
            oldFile = capture + existing;
            oldId = id;
        }
    }
    {
        long id = -1;
        const CString partner = mgr.GetComparisonClipFile(videoPath, db, main, &id);
        if (!partner.IsEmpty()) {
            oldPartnerFile = capture + partner;
            oldPartnerId = id;
        }
    }

    Step(progress, "Copying clip file...");
    const CString newFile = MakeUniqueVideoFileName("CLP");
    if (newFile.IsEmpty())
        return NULL;
    if (!CopyFileA(videoPath, newFile, FALSE)) {
        ShowLastError();
        DeleteFileA(newFile);
        return NULL;
    }
    ClearReadOnly(newFile);

    // The partner's name comes from the imported file: only a video beside it is used.
    CString partnerSource = mgr.GetComparisonClipFile(videoPath, db, db, NULL);
    if (!IsSafeVideoName(partnerSource))
        partnerSource.Empty();
    CString newPartnerFile;
    if (!partnerSource.IsEmpty()) {
        newPartnerFile = MakeUniqueVideoFileName("CLP");
        Step(progress, "Copying comparison clip file...");
        const CString partnerVideo = videoFolder + partnerSource;
        BOOL copyPartner = !newPartnerFile.IsEmpty();
        BOOL removeExtracted = FALSE;
        BOOL failed = newPartnerFile.IsEmpty();
        if (!failed && GetFileName(videoPath).CompareNoCase("clip.avi") == 0) {
            CString folder = sourceFolder;
            if (!folder.IsEmpty() && folder[folder.GetLength() - 1] != '\\')
                folder += '\\';
            const int dot = partnerSource.Find('.');
            const CString sibling =
                folder + (dot < 0 ? partnerSource : partnerSource.Left(dot)) + ".kpx";
            if (!FileExists(sibling)) {
                copyPartner = FALSE;
                if (!oldPartnerFile.IsEmpty() && FileExists(oldPartnerFile)) {
                    if (!CopyFileA(oldPartnerFile, newPartnerFile, FALSE)) {
                        ShowLastError();
                        failed = TRUE;
                    }
                } else {
                    AfxMessageBox("Could not find comp kpx file.  Importing file as a swing "
                                  "clip.");
                    DeleteFileA(newPartnerFile);
                    newPartnerFile.Empty();
                }
            } else if (UnpackClipFile(sibling, TRUE)) {
                removeExtracted = !FileExists(partnerVideo);
                if (!CopyFileA(GetTempFolder() + "comp.avi", partnerVideo, FALSE)) {
                    ShowLastError();
                    failed = TRUE;
                }
                DeleteFileA(GetTempFolder() + "comp.avi");
                DeleteFileA(GetTempFolder() + "kpxcomp.mdb");
            }
        }
        if (!failed && copyPartner) {
            if (!CopyFileA(partnerVideo, newPartnerFile, FALSE)) {
                ShowLastError();
                failed = TRUE;
            } else {
                ClearReadOnly(newPartnerFile);
            }
        }
        if (removeExtracted)
            DeleteFileA(partnerVideo);
        if (failed) {
            DeleteFileA(newFile);
            if (!newPartnerFile.IsEmpty())
                DeleteFileA(newPartnerFile);
            return NULL;
        }
    }

    Step(progress, "Copying database records...");
    const long id = mgr.ImportClipRecord(videoPath, db, GetFileName(newFile),
                                         newPartnerFile.IsEmpty() ? CString()
                                                                  : GetFileName(newPartnerFile));
    if (id <= 0) {
        DeleteFileA(newFile);
        if (!newPartnerFile.IsEmpty())
            DeleteFileA(newPartnerFile);
        return NULL;
    }
    // The replaced clips leave the clip panel only now that their replacement is in: a
    // failed import keeps them with any unsaved edits.
    if (CClipBar::GetClipBar()) {
        if (oldId != -1)
            CClipBar::GetClipBar()->RemoveClipByID(oldId);
        if (oldPartnerId != -1)
            CClipBar::GetClipBar()->RemoveClipByID(oldPartnerId);
    }
    if (!oldFile.IsEmpty() && oldFile.CompareNoCase(newFile) != 0)
        DeleteFileA(oldFile);
    if (!oldPartnerFile.IsEmpty() && oldPartnerFile.CompareNoCase(newPartnerFile) != 0 &&
        oldPartnerFile.CompareNoCase(newFile) != 0)
        DeleteFileA(oldPartnerFile);
    CClip* clip = LoadFromDatabase(id);
    if (clip && clip->m_strTabString.IsEmpty()) {
        clip->m_bNeedVideoInfo = TRUE;
        clip->m_nTabCount = 8;
    }
    return clip;
}

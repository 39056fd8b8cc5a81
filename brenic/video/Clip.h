// One clip in memory: its database row, video file, trim range, tab marks and drawing;
// with its clip file (".kpx"), saving, export, e-mail and import.
#pragma once
#include <afx.h>
#include <afxcoll.h>
#include <afxdisp.h>
#include <afxdlgs.h>
#include "ODCustomModel.h"
#include "Recordsets.h"
#include "Utility.h"

class CDaoRecordset;
class CProgressDlg;
class CVideoWindow;

// The export file dialog: the file name's extension follows the chosen file type.
class CExportFileDlg : public CFileDialog
{
public:
    CExportFileDlg(BOOL open, LPCTSTR defaultExtension, LPCTSTR fileName, DWORD flags,
                   LPCTSTR filter, CWnd* parent, int filterIndex);

protected:
    virtual void OnTypeChange();
    int m_nLastFilterIndex;
};

class CClip
{
public:
    CClip();
    virtual ~CClip();

    // Creation and loading.
    static CClip* CreateFromRecord(CDaoRecordset* rs);
    static CClip* LoadFromDatabase(int id);
    BOOL LoadFromRecord(CClipRecord* rs);
    BOOL LoadSubject();
    BOOL FindOwnRow(CClipRecord* rs);
    void ExchangeRecord(BOOL load, CClipRecord* rs);

    // Saving.
    BOOL Save();
    BOOL SaveNewRecord();
    BOOL SaveNew();
    BOOL ReplaceExistingByGlobalID();
    CClip* CreateCopy();
    BOOL WriteRecord(CClipRecord* rs, BOOL add = FALSE);
    BOOL Reload();
    // Takes back from its row what the save sheet let the user fill in (subject, type, club,
    // view, comment, time), so that the next save does not write over it.
    void TakeSheetFields();
    BOOL UpdateDatabaseRecord(BOOL ask);
    static CString MakeUniqueVideoFileName(CString prefix);

    // Tabs, trim, flags.
    int GetTabCount() const { return m_nTabCount; }
    int GetTabPosition(int i) const;
    int GetImpactField() const { return m_nTabs[m_nImpactTab]; }
    void SetTabPosition(int i, int pos);
    void MoveTab(int i, int pos);
    void SpreadTabsEvenly();
    void PlaceTabsAroundImpact();
    void RebaseTabsToTrim(int in, int out);
    // Takes frame count and trim out from the channel's control at the first display (or
    // when the stored ones lie beyond the file) and fits the drawing to the picture.
    void FitToVideoWindow(CVideoWindow* control);
    void BuildTabString();
    void ParseTabString();
    int GetTrimIn() const { return m_nTrimIn; }
    int GetTrimOut() const { return m_nTrimOut; }
    void SetTrimIn(int frame);
    void SetTrimOut(int frame);
    void SetMirror(BOOL mirror);
    BOOL GetMirror() const { return m_bMirror; }
    BOOL IsModified() const;
    void SetModified(BOOL modified);
    void SetDrawingModified(BYTE modified) { m_bDrawingModified = modified; }
    BYTE IsDrawingModified() const { return m_bDrawingModified; }
    CODCustomModel* GetDrawingModel() { return &m_model; }
    BOOL IsComparison() const;
    // The comparison partner (owned by this clip), loaded from the database when needed.
    CClip* GetComparisonClip();
    BOOL GetShowGraphics() const { return m_bShowGraphics; }
    void SetShowGraphics(BOOL show) { m_bShowGraphics = show; }
    BOOL HasSubject() const;
    CString GetSubjectShortName() const;
    static CString GetFileName(CString path);
    BOOL IsShown();
    // The clip panel's state overlay number (0 none) for the full or the short list view.
    int GetOverlayImageIndex(BOOL full);
    // The clip panel's icon (an index of its image lists) for the Students or the Pros pane.
    int GetImageIndex(BOOL students);
    // The clip information dialog for this clip, modal.
    void ShowInfo();
    BOOL StoreOverlayBlob();
    BOOL LoadOverlayBlob();

    // Clip files.
    BYTE PackClipFile(CString clipFilePath, CString aviPath, CProgressDlg* progress,
                      BYTE partner, BYTE newGlobalId);
    static BYTE UnpackClipFile(CString clipFilePath, BYTE comparison);
    static CString GetTempFolder();

    // Export.
    CString GetExportFileName(CString ext) const;
    BOOL ExportToDirectory(CString targetPath, CProgressDlg* progress, CString databaseName,
                           BYTE partner, BYTE newGlobalId);
    BOOL ExportUnsavedClipRecord(CString fileName, CString exportDatabase, BYTE newGlobalId);
    static int GetFirstInstructorID();
    BOOL ExportVideoOnly(CString targetPath);
    int ExportClips(CProgressDlg* progress);
    static void BeginBatchExport();
    static void EndBatchExport();
    static BOOL ExportToStudentLibrary(CString folder);
    void SendVideoEmail(BOOL partnerCall);

    // Import.
    static BOOL ImportClipFiles(CString path, int fromRemoteDatabase);
    static CClip* ImportClipFile(CString videoPath, CProgressDlg* progress,
                                 CString importDatabase, CString sourceFolder);
    static void EndBatchImport();
    static void SetQueuedImport();

    // A name that a file from elsewhere gives for a video beside it: a bare file name
    // ending in ".avi", without a drive, a separator or "..".
    static BOOL IsSafeVideoName(const CString& name);

    BYTE m_bDrawingModified;
    BOOL m_bShowGraphics;
    int m_nLockOffset;
    CPeopleRecord m_subject;
    CPeopleRecord m_instructor;
    COleDateTime m_captureTime;
    CString m_strVideoPath;
    CString m_strClub;
    CString m_strView;
    CString m_strComment;
    int m_nLastDisplayPos;
    int m_nLockPosition;
    int m_nSoundMarkField;
    int m_nCuePosition;
    CString m_strClipType;
    int m_nLessonNbr;
    BOOL m_bNew;
    BOOL m_bAutoCap;
    CClip* m_pComparisonClip;
    int m_nTabs[8];
    int m_nTabCount;
    CExtString m_strTabString;
    BOOL m_bFirstDisplay;
    BOOL m_bNeedVideoInfo;
    int m_nFrames;
    int m_nID;
    int m_nPersonID;
    int m_nComparisonClipID;
    CByteArray m_overlay;
    BOOL m_bImported;
    CString m_strGlobalID;
    BOOL m_bMirror;
    BOOL m_bModified;
    CODCustomModel m_model;
    int m_nTrimIn;
    int m_nTrimOut;
    BOOL m_bModifiedBeforeSave;
    CString m_strPrevPath;
    int m_nImpactTab;
    BOOL m_bSaveAsComparison;

    static CString s_strClipExt;
    static CString s_strBatchExportFolder;
    static CString s_strLastExportFolder;
    static BYTE s_bAskExportTarget;
    static BYTE s_bImporting;
    static BYTE s_bBatchExport;
    static BYTE s_bBatchImport;
    static BYTE s_bQueuedImport;
    static BYTE s_bReplaceAll;
    static BYTE s_bSkipAll;
    // The program's one keep-temporary-files flag: set at shutdown when the user keeps the
    // unsaved clips' files for the next start.
    static BYTE s_bKeepTempFiles;

private:
    void ResetDrawing();
};

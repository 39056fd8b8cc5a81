// One clip in memory: its database row, video file, trim range, tab marks and drawing.
#pragma once
#include <afx.h>
#include <afxcoll.h>
#include <afxdisp.h>
#include "ODCustomModel.h"

class CVideoWindow;

class CClip
{
public:
    CClip();
    virtual ~CClip();

    // Takes a clip file or an AVI video over as a new clip of the clip panel. Files handed
    // over before the clip panel exists wait in a queue that the panel works off.
    static BOOL ImportClipFiles(CString path, int flag);
    static const CStringArray& GetPendingImports() { return s_pendingImports; }
    static void ClearPendingImports() { s_pendingImports.RemoveAll(); }

    // Tabs: positions in fields; the impact tab is tab 5.
    int GetTabCount() const { return m_nTabCount; }
    // -1 for an index outside 0 .. count - 1.
    int GetTabPosition(int i) const;
    void SetTabPosition(int i, int pos);
    int GetImpactField() const { return m_nTabs[m_nImpactTab]; }
    // The impact tab with "bImpactTabRelative" on moves every tab by the same distance.
    void MoveTab(int i, int pos);
    void SpreadTabsEvenly();
    void PlaceTabsAroundImpact();
    // Takes frame count and trim out from the channel's control at the first display (or
    // when the stored ones lie beyond the file) and fits the drawing to the picture.
    void FitToVideoWindow(CVideoWindow* control);

    // Trim range in frames; a negative value becomes 0.
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
    // The loaded comparison partner (owned by this clip), NULL when none is loaded.
    CClip* GetComparisonClip() { return m_pComparisonClip; }
    BOOL GetShowGraphics() const { return m_bShowGraphics; }
    void SetShowGraphics(BOOL show) { m_bShowGraphics = show; }

    BYTE m_bDrawingModified;
    BOOL m_bShowGraphics;
    int m_nLockOffset;
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

    // The temporary video files of unsaved clips survive their clips (set at shutdown).
    static BYTE s_bKeepTempFiles;

private:
    static CStringArray s_pendingImports;
};

// The program's top-level window: its import queue of clip files handed over or found at
// start, worked off on timer 2.
#pragma once
#include <afxwin.h>
#include <afxtempl.h>

// One queued clip file of the import queue.
class CImportWorkItem : public CObject
{
public:
    explicit CImportWorkItem(CString path) : m_strPath(path) {}
    CString m_strPath;
};

class CMainFrame : public CFrameWnd
{
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame();
    virtual ~CMainFrame();

    // The import queue of clip files handed over or found at start.
    void QueueImport(CString path);
    void ProcessImportQueue();
    void ClearImportQueue();
    int GetImportQueueCount() const { return (int)m_importQueue.GetCount(); }
    CString GetQueuedImport(int i) const
    {
        POSITION pos = m_importQueue.FindIndex(i);
        return pos ? m_importQueue.GetAt(pos)->m_strPath : CString();
    }

protected:
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()

    CTypedPtrList<CPtrList, CImportWorkItem*> m_importQueue;
    BYTE m_bImportRunning;
};

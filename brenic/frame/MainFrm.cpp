#include "MainFrm.h"
#include "Clip.h"

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    ON_WM_TIMER()
END_MESSAGE_MAP()

CMainFrame::CMainFrame() : m_importQueue(10), m_bImportRunning(FALSE)
{
}

CMainFrame::~CMainFrame()
{
    ClearImportQueue();
}

void CMainFrame::QueueImport(CString path)
{
    m_importQueue.AddTail(new CImportWorkItem(path));
}

void CMainFrame::ClearImportQueue()
{
    while (!m_importQueue.IsEmpty())
        delete m_importQueue.RemoveHead();
}

void CMainFrame::ProcessImportQueue()
{
    CClip::s_bBatchImport = TRUE;
    while (!m_importQueue.IsEmpty()) {
        m_bImportRunning = TRUE;
        if (CClip::s_bImporting) {
            Sleep(300);
            continue;
        }
        CImportWorkItem* item = m_importQueue.RemoveHead();
        CClip::SetQueuedImport();
        CClip::ImportClipFiles(item->m_strPath, 0);
        delete item;
    }
    m_bImportRunning = FALSE;
    CClip::EndBatchImport();
    if (m_hWnd)
        KillTimer(2);
}

void CMainFrame::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == 2 && !m_bImportRunning)
        ProcessImportQueue();
    else
        CFrameWnd::OnTimer(nIDEvent);
}

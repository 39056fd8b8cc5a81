#include "BrenicDoc.h"
#include "BrenicView.h"

IMPLEMENT_DYNCREATE(CBrenicDoc, CDocument)

BEGIN_MESSAGE_MAP(CBrenicDoc, CDocument)
END_MESSAGE_MAP()

CBrenicDoc::CBrenicDoc()
{
}

CBrenicDoc::~CBrenicDoc()
{
}

void CBrenicDoc::Serialize(CArchive&)
{
}

BOOL CBrenicDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return FALSE;
    SetModifiedFlag(FALSE);
    SetTitle("Quorvel");
    return TRUE;
}

BOOL CBrenicDoc::OnSaveDocument(LPCTSTR lpszPathName)
{
    return CDocument::OnSaveDocument(lpszPathName);
}

BOOL CBrenicDoc::DoFileSave()
{
    return TRUE;
}

void CBrenicDoc::SetDefaultTitle()
{
    SetTitle("Quorvel");
}

CBrenicView* CBrenicDoc::GetBrenicView() const
{
    POSITION pos = GetFirstViewPosition();
    while (pos) {
        CView* view = GetNextView(pos);
        if (view && view->IsKindOf(RUNTIME_CLASS(CBrenicView)))
            return (CBrenicView*)view;
    }
    return NULL;
}

// The frame's active view may be any window the framework made active; the document's
// own view is the one that holds the panel.
BOOL CBrenicDoc::CanCloseFrame(CFrameWnd*)
{
    CBrenicView* view = GetBrenicView();
    if (view)
        view->StopPlayback();
    Sleep(500);
    return view ? view->ClearClips() : TRUE;
}

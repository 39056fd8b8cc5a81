// Drag and drop of components: the drop target of a controller's window reads the dragged
// components, shows their outline following the mouse and turns the drop into one command;
// the drop source shows the move and copy cursors.
#pragma once
#include <afxole.h>
#include "MvcCollections.h"
#include "ODTracker.h"

class CODViewport;
class CODModel;
class CODController;
class CODComponent;

class CODDropTarget : public COleDropTarget
{
public:
    CODDropTarget();
    ~CODDropTarget() override;

    DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point) override;
    DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point) override;
    BOOL OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT effect, CPoint point) override;
    void OnDragLeave(CWnd* wnd) override;
    DROPEFFECT OnDragScroll(CWnd* wnd, DWORD keyState, CPoint point) override;

    virtual BOOL IsDragSource();
    virtual void FindOriginals(CODComponentSet* out);
    virtual BOOL RegisterViewport(CODViewport* viewport);
    virtual void SerializeComponents(CArchive& ar, CODComponentSet* set);

    CODModel* GetModel();
    CODController* GetController();
    UINT GetClipboardFormat();
    void ReleaseDragData();
    CODComponentSet* GetDraggedComponents() { return &m_dragged; }
    CSize GetLastOffset() const { return CSize(m_nLastDx, m_nLastDy); }

protected:
    CODViewport* m_pViewport;
    CODComponentSet m_dragged;
    CODComponentSet m_linked;
    CODComponentSetTracker m_tracker;
    CPoint m_ptOrigin;
    CPoint m_ptLast;
    CRect m_rcDragged;
    DWORD m_dwLastKeyState;
    BOOL m_bFeedback;
    int m_nLastDx;
    int m_nLastDy;
};

class CODDropSource : public COleDropSource
{
public:
    SCODE GiveFeedback(DROPEFFECT effect) override;
};

// Drag and drop through an owned object: a window implements CDropTargetWnd and registers a
// CDropTarget that forwards the OLE callbacks to it.
#pragma once
#include <afxwin.h>
#include <afxole.h>

class CDropTargetWnd
{
public:
    virtual ~CDropTargetWnd() {}
    virtual DROPEFFECT OnDragEnter(CWnd*, COleDataObject*, DWORD, CPoint)
    {
        return DROPEFFECT_NONE;
    }
    virtual DROPEFFECT OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint)
    {
        return DROPEFFECT_NONE;
    }
    virtual BOOL OnDrop(CWnd*, COleDataObject*, DROPEFFECT, CPoint) { return FALSE; }
    virtual void OnDragLeave(CWnd*) {}
};

class CDropTarget : public COleDropTarget
{
public:
    CDropTarget() : m_pTarget(NULL) {}
    void SetTargetWnd(CDropTargetWnd* target) { m_pTarget = target; }
    CDropTargetWnd* GetTargetWnd() const { return m_pTarget; }

    DROPEFFECT OnDragEnter(CWnd* window, COleDataObject* data, DWORD keyState,
                           CPoint point) override
    {
        return m_pTarget ? m_pTarget->OnDragEnter(window, data, keyState, point)
                         : DROPEFFECT_NONE;
    }
    DROPEFFECT OnDragOver(CWnd* window, COleDataObject* data, DWORD keyState,
                          CPoint point) override
    {
        return m_pTarget ? m_pTarget->OnDragOver(window, data, keyState, point)
                         : DROPEFFECT_NONE;
    }
    BOOL OnDrop(CWnd* window, COleDataObject* data, DROPEFFECT effect, CPoint point) override
    {
        return m_pTarget ? m_pTarget->OnDrop(window, data, effect, point) : FALSE;
    }
    void OnDragLeave(CWnd* window) override
    {
        if (m_pTarget)
            m_pTarget->OnDragLeave(window);
    }

private:
    CDropTargetWnd* m_pTarget;
};

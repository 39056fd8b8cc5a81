// The drawing layer over one video channel: a transparent child window laid over the
// channel's control that holds the channel's drawing model. In playback the control keys the
// drawing into its picture: the control raises DrawOverlay and the overlay draws into the
// control's device context.
#pragma once
#include <afxwin.h>
#include "DropTarget.h"
#include "ODCustomViewport.h"

class CODModel;
class CVideoWindow;

class COverlayWnd : public CWnd, public CDropTargetWnd
{
public:
    COverlayWnd();
    virtual ~COverlayWnd();

    void SetClipSize(int width, int height)
    {
        m_cxClip = width;
        m_cyClip = height;
    }
    // Attaches a model (not owned).
    BOOL SetModel(CODModel* model);
    CODModel* GetModel() const { return m_pModel; }
    void SetVideoWindow(CVideoWindow* video) { m_pVideo = video; }
    CVideoWindow* GetVideoWindow() const { return m_pVideo; }
    CSize GetClipSize() const { return CSize(m_cxClip, m_cyClip); }
    // Scrolls the drawing so that its origin is the crop's corner in picture units.
    void SetCropRect(float x, float y, float w, float h);
    void StoreCropRect(float x, float y, float w, float h);
    void GetCropSize(float* w, float* h) const
    {
        *w = m_crop[2];
        *h = m_crop[3];
    }
    CPoint GetScrollOrigin() { return m_viewport.GetLogicalOrigin(); }
    // Draws this channel's drawing into the control's overlay device context (the key colour
    // is left where nothing is drawn).
    void OnDrawOverlay(CDC* dc);
    CODCustomViewport* GetViewport() { return &m_viewport; }
    void ClearSelection() {}

    // Where the drop target of the video manager lies: clip drops go there.
    void SetClipDropTarget(CDropTargetWnd* target) { m_pClipDropTarget = target; }
    DROPEFFECT OnDragEnter(CWnd* window, COleDataObject* data, DWORD keyState,
                           CPoint point) override;
    DROPEFFECT OnDragOver(CWnd* window, COleDataObject* data, DWORD keyState,
                          CPoint point) override;
    BOOL OnDrop(CWnd* window, COleDataObject* data, DROPEFFECT effect, CPoint point) override;
    void OnDragLeave(CWnd* window) override;

    // Messages go to the drawing (its controller) before the window; commands after the
    // window's own, once the window has been shown.
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) override;
    virtual BOOL RouteMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
    {
        return OnWndMsg(message, wParam, lParam, result);
    }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnDestroy();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnShowWindow(BOOL show, UINT status);
    DECLARE_MESSAGE_MAP()

private:
    BOOL OffersClip(COleDataObject* data) const;
    void AttachModel(CODModel* model);
    // The controller's own drop target (drawing components), NULL without one.
    COleDropTarget* DrawingDropTarget();
    CODCustomViewport m_viewport;
    CODModel* m_pModel;
    BOOL m_bNotShown;
    CDropTarget m_dropTarget;
    CVideoWindow* m_pVideo;
    float m_crop[4];
    BOOL m_bDropToManager;
    int m_cyClip;
    int m_cxClip;
    CDropTargetWnd* m_pClipDropTarget;
};

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
    // Scrolls the drawing so that its origin is the crop's corner in picture units.
    void SetCropRect(float x, float y, float w, float h);
    void StoreCropRect(float x, float y, float w, float h);
    CPoint GetScrollOrigin() const { return m_origin; }
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

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    BOOL OffersClip(COleDataObject* data) const;
    CODCustomViewport m_viewport;
    CODModel* m_pModel;
    BOOL m_bNotShown;
    CDropTarget m_dropTarget;
    CVideoWindow* m_pVideo;
    float m_crop[4];
    BOOL m_bDropToManager;
    int m_cyClip;
    int m_cxClip;
    CPoint m_origin;
    CDropTargetWnd* m_pClipDropTarget;
};

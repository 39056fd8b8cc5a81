// The model-viewport-controller core of the drawing toolkit: subjects and observers, visual
// parts with their logical coordinate systems, the viewport that shows a model in a window and
// the controller plugged into that window's message stream.
#pragma once
#include <afxwin.h>
#include "MvcCollections.h"
#include "SECWndPlugIn.h"

class MvcModel;
class MvcViewport;
class MvcController;
class MvcVisualPart;
class MvcCommandBase;
class IMvcSubject;

class IMvcObserver
{
public:
    virtual void OnUpdate(IMvcSubject* subject, void* message) = 0;

protected:
    ~IMvcObserver() {}
};

class IMvcSubject
{
public:
    virtual int AddObserver(IMvcObserver* observer) = 0;
    virtual void RemoveObserver(IMvcObserver* observer) = 0;
    virtual void UpdateAllObservers(IMvcObserver* sender, void* message) = 0;

protected:
    ~IMvcSubject() {}
};

class IMvcMsgHandler
{
public:
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) = 0;
    virtual BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) = 0;

protected:
    ~IMvcMsgHandler() {}
};

class IMvcUndoRedo
{
public:
    virtual BOOL Do(MvcCommandBase* command) = 0;
    virtual MvcCommandBase* Undo() = 0;
    virtual MvcCommandBase* Redo() = 0;
    virtual MvcCommandBase* PeekUndo() = 0;
    virtual MvcCommandBase* PeekRedo() = 0;

protected:
    ~IMvcUndoRedo() {}
};

class IMvcVirtualPart
{
public:
    virtual void AddVisualPart(MvcVisualPart* part) = 0;
    virtual void RemoveVisualPart(MvcVisualPart* part) = 0;

protected:
    ~IMvcVirtualPart() {}
};

// A subject with an ordered list of observers (duplicates allowed, none owned).
class MvcModel : public IMvcSubject
{
public:
    MvcModel() {}
    int AddObserver(IMvcObserver* observer) override;
    void RemoveObserver(IMvcObserver* observer) override;
    // Tells every observer but sender; observers must not register or leave meanwhile.
    void UpdateAllObservers(IMvcObserver* sender, void* message) override;
    virtual ~MvcModel() {}
    virtual BOOL IsModified() { return FALSE; }
    virtual void Reset() {}

    int GetObserverCount() const { return m_observers.GetSize(); }

protected:
    CCArray_T<IMvcObserver*, IMvcObserver*> m_observers;
};

// A rectangle in its container's coordinates; its top-left corner is its origin.
class MvcVisualComponent
{
public:
    MvcVisualComponent() : m_rcBounds(0, 0, 0, 0) {}
    virtual ~MvcVisualComponent() {}
    virtual CPoint SetOrigin(int x, int y);
    virtual CPoint MoveOrigin(int dx, int dy);
    virtual CPoint OffsetBounds(int dx, int dy);
    virtual CSize GetSize();
    virtual CSize SetSize(int cx, int cy);
    virtual CSize ScaleSize(int xNum, int xDenom, int yNum, int yDenom, int keepCentre);
    virtual void ReservedHook(void*) {}
    virtual void Draw(CDC*) {}
    virtual void InitialUpdate() {}
    virtual void PrepareDC(CDC*) {}

    CPoint GetOrigin() const { return m_rcBounds.TopLeft(); }
    CPoint SetOrigin(const POINT& pt) { return SetOrigin(pt.x, pt.y); }
    CSize SetSize(const SIZE& sz) { return SetSize(sz.cx, sz.cy); }
    CRect GetBounds() const { return m_rcBounds; }
    BOOL ContainsPoint(const POINT* pt) const { return ::PtInRect(&m_rcBounds, *pt); }
    BOOL IntersectsRect(const RECT* rc) const
    {
        RECT out;
        return ::IntersectRect(&out, &m_rcBounds, rc);
    }

protected:
    CRect m_rcBounds;
};

class MvcVisualPart : public MvcVisualComponent
{
public:
    explicit MvcVisualPart(MvcVisualPart* container = NULL) : m_pContainer(container) {}
    virtual BOOL Create(MvcVisualPart* container);
    virtual void SetContainer(MvcVisualPart* container) { m_pContainer = container; }
    virtual void Invalidate(BOOL erase, BOOL update);
    virtual void InvalidateComponent(MvcVisualComponent* component, BOOL erase, BOOL update);
    virtual void InvalidateRect(const RECT* rect, BOOL erase, BOOL update);
    virtual BOOL OnCreate() { return TRUE; }
    MvcVisualPart* GetContainer() const { return m_pContainer; }

protected:
    MvcVisualPart* m_pContainer;
};

// A visual part with its own logical coordinate system.
class MvcLogicalPart : public MvcVisualPart
{
public:
    explicit MvcLogicalPart(MvcVisualPart* container = NULL);
    void PrepareDC(CDC* dc) override;
    void InvalidateComponent(MvcVisualComponent* component, BOOL erase, BOOL update) override;
    void InvalidateRect(const RECT* rect, BOOL erase, BOOL update) override;

    virtual void ScaleExtents(SIZE* logicalExtent, SIZE* deviceExtent);
    virtual int GetMapMode() { return m_nMapMode; }
    virtual int SetMapMode(int mode);
    virtual void SetExtents(int axis, int logical, int device);
    virtual void GetExtents(int axis, int* logical, int* device);
    virtual CSize SetDeviceExtents(int cx, int cy);
    virtual CSize GetDeviceExtents() { return m_szDeviceExtent; }
    virtual CSize GetLogicalExtents() { return m_szLogicalExtent; }
    virtual CSize SetLogicalExtents(int cx, int cy);
    virtual BOOL IsFixedMapMode();
    virtual CPoint GetLogicalOrigin() { return m_ptLogicalOrigin; }
    virtual CPoint SetLogicalOrigin(int x, int y);
    virtual CPoint OffsetLogicalOrigin(int dx, int dy);
    virtual void CenterOn(int x, int y);
    virtual CSize GetLogicalSize();
    virtual CSize SetLogicalSize(int cx, int cy);
    virtual CRect ScrollBy(int dx, int dy);
    virtual void LineBack(int axis);
    virtual void LineForward(int axis);
    virtual void PageBack(int axis);
    virtual void PageForward(int axis);
    virtual CSize GetZoom();
    virtual CSize SetZoom(int xPercent, int yPercent);
    virtual CSize IncreaseZoom(int dx, int dy);
    virtual CSize DecreaseZoom(int dx, int dy);
    virtual CSize SetScale(float x, float y);
    virtual CSize MultiplyScale(float fx, float fy);
    virtual void SetVirtualSize(int, int) {}
    virtual void SetVirtualOrigin(int, int) {}
    virtual CSize GetVirtualSize() { return GetLogicalSize(); }
    virtual CPoint GetVirtualOrigin() { return CPoint(0, 0); }

    void CenterOn(const POINT& pt) { CenterOn(pt.x, pt.y); }
    CRect GetLogicalRect() { return CRect(GetLogicalOrigin(), GetLogicalSize()); }
    CPoint GetLogicalCenter() { return GetLogicalRect().CenterPoint(); }
    void GetScale(float* x, float* y) const
    {
        *x = m_fScaleX;
        *y = m_fScaleY;
    }
    // Conversions by the extents' ratio, without a device context.
    void LogicalToDevice(POINT* points, int count);
    void LogicalToDevice(RECT* rect);
    void LogicalToDevice(SIZE* size);
    void DeviceToLogical(POINT* points, int count);
    void DeviceToLogical(RECT* rect);
    void DeviceToLogical(SIZE* size);
    BOOL ConvertSize(int fromMode, int* cx, int* cy);
    void ApplyPrinterExtents(CDC* dc);
    CRect GetVisibleVirtualRect();

protected:
    void GetRatio(float* rx, float* ry);
    // The screen-to-target resolution correction of the device extent.
    BOOL CorrectResolution(CDC* dc, CSize* deviceExtent);

    int m_nMapMode;
    CPoint m_ptLogicalOrigin;
    CSize m_szLogicalExtent;
    CSize m_szDeviceExtent;
    float m_fScaleX;
    float m_fScaleY;
};

class MvcViewport : public MvcLogicalPart, public IMvcObserver, public IMvcMsgHandler
{
public:
    explicit MvcViewport(MvcVisualPart* container = NULL);
    virtual ~MvcViewport();

    void InvalidateRect(const RECT* rect, BOOL erase, BOOL update) override;
    BOOL OnCreate() override;
    CSize GetLogicalSize() override;

    virtual BOOL Create(CWnd* window, MvcVisualPart* container);
    using MvcVisualPart::Create;
    virtual CWnd* GetWnd() { return m_pWnd; }
    virtual MvcModel* GetModel() { return m_pModel; }
    virtual void SetModel(MvcModel* model);
    virtual void SetController(MvcController* controller) { m_pController = controller; }
    virtual MvcController* GetController() { return m_pController; }
    virtual BOOL IsPointInView(const POINT* pt);
    virtual BOOL GetUpdateRect(RECT* rect, BOOL erase);
    virtual void LPtoDP(SIZE* size);
    virtual void LPtoDP(RECT* rect);
    virtual void LPtoDP(POINT* points, int count);
    virtual void DPtoLP(SIZE* size);
    virtual void DPtoLP(RECT* rect);
    virtual void DPtoLP(POINT* points, int count);
    virtual BOOL CreateController() { return TRUE; }

    void OnUpdate(IMvcSubject* subject, void* message) override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;

protected:
    MvcController* m_pController;
    MvcModel* m_pModel;
    CWnd* m_pWnd;
    BOOL m_bOwnsController;
};

// A device context of the viewport's window (the screen's without a window).
class MvcClientDC : public CDC
{
public:
    MvcClientDC(MvcViewport* viewport, int prepare = 1);
    virtual ~MvcClientDC();

private:
    HWND m_hWndDC;
};

class MvcController : public SECWndPlugIn, public IMvcMsgHandler
{
    DECLARE_DYNAMIC(MvcController)

public:
    MvcController();
    virtual ~MvcController();

    // The window-message dispatch: only input messages reach the message map.
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;

    virtual BOOL Create(CWnd* window, MvcViewport* viewport);
    virtual BOOL Initialize(CWnd* window, MvcViewport* viewport);
    virtual void SetModel(MvcModel* model) { m_pModel = model; }
    virtual void SetViewport(MvcViewport* viewport) { m_pViewport = viewport; }

    CWnd* GetWnd() const { return m_pWnd; }
    MvcModel* GetModel() const { return m_pModel; }
    MvcViewport* GetViewport() const { return m_pViewport; }

    static MvcController* GetCaptureController() { return s_pCaptureController; }
    static void SetCaptureController(MvcController* controller);

    static BOOL IsControllerMessage(UINT message);

protected:
    CWnd* m_pWnd;
    MvcModel* m_pModel;
    MvcViewport* m_pViewport;

    static MvcController* s_pCaptureController;
};

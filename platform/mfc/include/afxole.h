// OLE data transfer (data sources and data objects for the clipboard and drag and drop),
// drop targets and drop sources.
#pragma once
#include "afxwin.h"
#include "afxdisp.h"
#include <ole2.h>
#include <vector>

class COleDropSource;
class COleDataSource;
class CFile;

typedef DWORD DROPEFFECT;

// Data offered to another window or program: cached data (copied by the receiver) and
// formats rendered on request.
class COleDataSource : public CCmdTarget {
    DECLARE_DYNAMIC(COleDataSource)
public:
    COleDataSource();
    virtual ~COleDataSource();

    // Takes ownership of hGlobal.
    void CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC lpFormatEtc = NULL);
    // Takes ownership of the medium.
    void CacheData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc = NULL);
    // The format is rendered by OnRenderGlobalData / OnRenderFileData / OnRenderData when
    // the receiver asks for it.
    void DelayRenderData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = NULL);
    void DelayRenderFileData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = NULL);
    void Empty();

    // Runs a modal drag. lpRectStartDrag (screen coordinates): the drag starts once the mouse
    // leaves it with the button held, and not at all when the button is released first;
    // NULL starts the drag at once. Returns the effect of the drop, DROPEFFECT_NONE when
    // the drag was cancelled or never started.
    DROPEFFECT DoDragDrop(DWORD dwEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                          LPCRECT lpRectStartDrag = NULL, COleDropSource* pDropSource = NULL);
    // Hands this data source to the clipboard, which owns it from then on (the object must
    // have been made with new).
    void SetClipboard();
    static void PASCAL FlushClipboard();
    static COleDataSource* PASCAL GetClipboardOwner();

    virtual BOOL OnRenderGlobalData(LPFORMATETC lpFormatEtc, HGLOBAL* phGlobal);
    virtual BOOL OnRenderFileData(LPFORMATETC lpFormatEtc, CFile* pFile);
    virtual BOOL OnRenderData(LPFORMATETC lpFormatEtc, LPSTGMEDIUM lpStgMedium);
    virtual BOOL OnSetData(LPFORMATETC lpFormatEtc, LPSTGMEDIUM lpStgMedium, BOOL bRelease);

    // The IDataObject of this source (no reference added).
    LPDATAOBJECT GetDataObject();

    struct Item {
        FORMATETC fmt;
        STGMEDIUM medium; // tymed TYMED_NULL for delayed formats
        BOOL bFile; // delayed through OnRenderFileData
    };
    std::vector<Item> m_items;
    class XDataObject;
    XDataObject* m_pDataObject;
    LONG m_nRefs; // references held through the data object, plus the owner's one
};

// Data received: from a drop or from the clipboard.
class COleDataObject {
public:
    COleDataObject();
    ~COleDataObject();

    void Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease = TRUE);
    LPDATAOBJECT Detach();
    void Release();
    BOOL AttachClipboard();

    void BeginEnumFormats();
    BOOL GetNextFormat(LPFORMATETC lpFormatEtc);

    BOOL IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = NULL);
    BOOL GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc = NULL);
    // A global memory block the caller owns (a copy when the data came another way).
    HGLOBAL GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = NULL);
    // The data as a file the caller deletes; NULL when the format is not offered.
    CFile* GetFileData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = NULL);

    LPDATAOBJECT m_lpDataObject;
    LPENUMFORMATETC m_lpEnumerator;
    BOOL m_bAutoRelease;
    BOOL m_bClipboard;
};

// A window that accepts drops. Register it for a window; the window's own drag members can
// also answer (CView-style windows forward there).
class COleDropTarget : public CCmdTarget {
    DECLARE_DYNAMIC(COleDropTarget)
public:
    COleDropTarget();
    virtual ~COleDropTarget();

    BOOL Register(CWnd* pWnd);
    virtual void Revoke();

    virtual DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                                   CPoint point);
    virtual DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                                  CPoint point);
    virtual BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect,
                        CPoint point);
    virtual DROPEFFECT OnDropEx(CWnd* pWnd, COleDataObject* pDataObject,
                                DROPEFFECT dropDefault, DROPEFFECT dropList, CPoint point);
    virtual void OnDragLeave(CWnd* pWnd);
    virtual DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point);

    HWND m_hWnd;
    class XDropTarget;
    XDropTarget* m_pDropTarget;
    LPDATAOBJECT m_lpDataObject; // while a drag is over the window
    DROPEFFECT m_dropEffectCurrent;
    UINT m_nTimerID;
    DWORD m_dwLastTick;
    UINT m_nScrollDelay;
    static int nScrollInset;
    static UINT nScrollDelay;
    static UINT nScrollInterval;
};

// Drives a drag: when to go on and what cursor to show.
class COleDropSource : public CCmdTarget {
    DECLARE_DYNAMIC(COleDropSource)
public:
    COleDropSource();
    virtual ~COleDropSource();

    virtual SCODE QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState);
    virtual SCODE GiveFeedback(DROPEFFECT dropEffect);
    // Waits until the mouse leaves m_rectStartDrag (TRUE) or the button comes up or Escape
    // is pressed first (FALSE).
    virtual BOOL OnBeginDrag(CWnd* pWnd);

    CRect m_rectStartDrag;
    BOOL m_bDragStarted;
    DWORD m_dwButtonCancel;
    DWORD m_dwButtonDrop;
    class XDropSource;
    XDropSource* m_pDropSource;
    static UINT nDragMinDist;
    static UINT nDragDelay;
};

//////////////////////////////////////////////////////////////////////////////////////////
// Controls in dialog templates: an item whose window class is a class id ("{...}") is an
// OLE control. Once the container is enabled, the control is made when the dialog manager
// creates the item, so it exists when the dialog initialises; a dialog made before that
// gets its controls from CWnd::ExecuteDlgInit.

// The class ids named by the items of a dialog template (DLGTEMPLATE or DLGTEMPLATEEX) of
// the given size; FALSE when the template is malformed (what was read before stays).
BOOL AFXAPI AfxOleDialogControlClasses(const BYTE* pTemplate, size_t nSize,
                                       std::vector<CString>& classes);
// Makes the dialog manager accept the control items of a module's dialog resources.
void AFXAPI AfxOleRegisterDialogControls(HMODULE hModule);
// Creates the controls of a dialog that are still waiting for their creation.
BOOL AFXAPI AfxOleCreateDialogControls(HWND hDlg);

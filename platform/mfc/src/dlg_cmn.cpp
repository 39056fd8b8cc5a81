// Common-control wrappers and image lists.
#include "afxcmn.h"
#include "gdi_maps.h"

#include <objidl.h>

IMPLEMENT_DYNCREATE(CImageList, CObject)
IMPLEMENT_DYNAMIC(CSliderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)
IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)
IMPLEMENT_DYNAMIC(CHeaderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

static BOOL CreateCommonControl(CWnd* pWnd, LPCTSTR lpszClass, DWORD dwStyle, const RECT& rect,
                                CWnd* pParentWnd, UINT nID)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    return pWnd->CWnd::Create(lpszClass, NULL, dwStyle, rect, pParentWnd, nID);
}

// ---------------------------------------------------------------------------------------------
// Image lists

static CImageList* MakeTempImageList(HIMAGELIST h)
{
    CImageList* p = new CImageList;
    p->m_hImageList = h;
    return p;
}

static void DetachTempImageList(CImageList* p) { p->m_hImageList = NULL; }

static CGdiHandleMapT<HIMAGELIST, CImageList>& ImageListMap()
{
    static CGdiHandleMapT<HIMAGELIST, CImageList> map(MakeTempImageList, DetachTempImageList);
    return map;
}

// Temporary image-list wrappers go at idle time with the GDI ones.
static const bool s_bTempMapRegistered =
    (AfxRegisterTempMapCleanup([] { CImageList::DeleteTempMap(); }), true);

CImageList::~CImageList() { DeleteImageList(); }

CImageList* PASCAL CImageList::FromHandle(HIMAGELIST h) { return ImageListMap().FromHandle(h); }
CImageList* PASCAL CImageList::FromHandlePermanent(HIMAGELIST h)
{
    return ImageListMap().LookupPermanent(h);
}
void PASCAL CImageList::DeleteTempMap() { ImageListMap().DeleteTemp(); }

BOOL CImageList::Attach(HIMAGELIST hImageList)
{
    ASSERT(m_hImageList == NULL);
    if (hImageList == NULL)
        return FALSE;
    m_hImageList = hImageList;
    ImageListMap().SetPermanent(hImageList, this);
    return TRUE;
}

HIMAGELIST CImageList::Detach()
{
    HIMAGELIST h = m_hImageList;
    if (h != NULL)
        ImageListMap().RemovePermanent(h, this);
    m_hImageList = NULL;
    return h;
}

BOOL CImageList::DeleteImageList()
{
    if (m_hImageList == NULL)
        return FALSE;
    ImageListMap().ForgetTemp(m_hImageList, this);
    return ImageList_Destroy(Detach());
}

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow)
{
    return Attach(ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
}

BOOL CImageList::Create(LPCTSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask)
{
    HINSTANCE hInst = AfxFindResourceHandle(lpszBitmapID, RT_BITMAP);
    if (::FindResourceA(hInst, lpszBitmapID, (LPCSTR)RT_BITMAP) == NULL)
        hInst = ::GetModuleHandleA(NULL);
    return Attach(ImageList_LoadImageA(hInst, lpszBitmapID, cx, nGrow, crMask, IMAGE_BITMAP,
                                       LR_CREATEDIBSECTION));
}

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask)
{
    return Create(MAKEINTRESOURCE(nBitmapID), cx, nGrow, crMask);
}

BOOL CImageList::Create(CImageList& imagelist1, int nImage1, CImageList& imagelist2, int nImage2,
                        int dx, int dy)
{
    return Attach(ImageList_Merge(imagelist1.m_hImageList, nImage1, imagelist2.m_hImageList,
                                  nImage2, dx, dy));
}

BOOL CImageList::Create(CImageList* pImageList)
{
    return Attach(ImageList_Duplicate(pImageList->GetSafeHandle()));
}

int CImageList::Add(CBitmap* pbmImage, CBitmap* pbmMask)
{
    return ImageList_Add(m_hImageList, (HBITMAP)pbmImage->GetSafeHandle(),
                         (HBITMAP)pbmMask->GetSafeHandle());
}

int CImageList::Add(CBitmap* pbmImage, COLORREF crMask)
{
    return ImageList_AddMasked(m_hImageList, (HBITMAP)pbmImage->GetSafeHandle(), crMask);
}

BOOL CImageList::Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask)
{
    return ImageList_Replace(m_hImageList, nImage, (HBITMAP)pbmImage->GetSafeHandle(),
                             (HBITMAP)pbmMask->GetSafeHandle());
}

BOOL CImageList::Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle)
{
    return ImageList_Draw(m_hImageList, nImage, pDC->GetSafeHdc(), pt.x, pt.y, nStyle);
}

BOOL CImageList::DrawIndirect(IMAGELISTDRAWPARAMS* pimldp)
{
    pimldp->cbSize = sizeof(IMAGELISTDRAWPARAMS);
    pimldp->himl = m_hImageList;
    return ImageList_DrawIndirect(pimldp);
}

CImageList* PASCAL CImageList::GetDragImage(LPPOINT lpPoint, LPPOINT lpPointHotSpot)
{
    return FromHandle(ImageList_GetDragImage(lpPoint, lpPointHotSpot));
}

BOOL PASCAL CImageList::DragEnter(CWnd* pWndLock, CPoint point)
{
    return ImageList_DragEnter(pWndLock->GetSafeHwnd(), point.x, point.y);
}

BOOL PASCAL CImageList::DragLeave(CWnd* pWndLock) { return ImageList_DragLeave(pWndLock->GetSafeHwnd()); }

// A stream over an archive, for the common controls' image-list reader and writer.
namespace {
class CArchiveStream : public IStream
{
public:
    explicit CArchiveStream(CArchive* pArchive) : m_pArchive(pArchive) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IStream) ||
            IsEqualIID(riid, IID_ISequentialStream)) {
            *ppv = static_cast<IStream*>(this);
            return S_OK;
        }
        *ppv = NULL;
        return E_NOINTERFACE;
    }
    // Lives on the caller's stack for the one call.
    STDMETHODIMP_(ULONG) AddRef() override { return 1; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }

    STDMETHODIMP Read(void* pv, ULONG cb, ULONG* pcbRead) override
    {
        try {
            UINT n = m_pArchive->Read(pv, cb);
            if (pcbRead != NULL)
                *pcbRead = n;
            return n == cb ? S_OK : S_FALSE;
        } catch (CException* e) {
            e->Delete();
            return STG_E_READFAULT;
        }
    }
    STDMETHODIMP Write(const void* pv, ULONG cb, ULONG* pcbWritten) override
    {
        try {
            m_pArchive->Write(pv, cb);
            if (pcbWritten != NULL)
                *pcbWritten = cb;
            return S_OK;
        } catch (CException* e) {
            e->Delete();
            return STG_E_WRITEFAULT;
        }
    }
    STDMETHODIMP Seek(LARGE_INTEGER, DWORD, ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP SetSize(ULARGE_INTEGER) override { return E_NOTIMPL; }
    STDMETHODIMP CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override
    {
        return E_NOTIMPL;
    }
    STDMETHODIMP Commit(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP Revert() override { return E_NOTIMPL; }
    STDMETHODIMP LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP Stat(STATSTG*, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP Clone(IStream**) override { return E_NOTIMPL; }

private:
    CArchive* m_pArchive;
};
}  // namespace

BOOL CImageList::Read(CArchive* pArchive)
{
    DeleteImageList();
    CArchiveStream stream(pArchive);
    return Attach(ImageList_Read(&stream));
}

BOOL CImageList::Write(CArchive* pArchive)
{
    CArchiveStream stream(pArchive);
    return ImageList_Write(m_hImageList, &stream);
}

// ---------------------------------------------------------------------------------------------
// Controls

BOOL CSliderCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateCommonControl(this, TRACKBAR_CLASSA, dwStyle, rect, pParentWnd, nID);
}

BOOL CProgressCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateCommonControl(this, PROGRESS_CLASSA, dwStyle, rect, pParentWnd, nID);
}

BOOL CSpinButtonCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateCommonControl(this, UPDOWN_CLASSA, dwStyle, rect, pParentWnd, nID);
}

BOOL CTabCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateCommonControl(this, WC_TABCONTROLA, dwStyle, rect, pParentWnd, nID);
}

BOOL CListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateCommonControl(this, WC_LISTVIEWA, dwStyle, rect, pParentWnd, nID);
}

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    return CWnd::CreateEx(0, TOOLTIPS_CLASSA, NULL, WS_POPUP | dwStyle, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                          pParentWnd->GetSafeHwnd(), NULL);
}

void CToolTipCtrl::FillInToolInfo(TOOLINFOA& ti, CWnd* pWnd, UINT_PTR nIDTool) const
{
    memset(&ti, 0, sizeof(ti));
    ti.cbSize = sizeof(ti);
    HWND hWnd = pWnd->GetSafeHwnd();
    if (nIDTool == 0) {
        // The whole window is the tool, identified by its handle.
        ti.hwnd = ::GetParent(hWnd);
        ti.uFlags = TTF_IDISHWND;
        ti.uId = (UINT_PTR)hWnd;
    } else {
        ti.hwnd = hWnd;
        ti.uFlags = 0;
        ti.uId = nIDTool;
    }
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    TOOLINFOA ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    if (lpRectTool != NULL)
        ti.rect = *lpRectTool;
    else if (!(ti.uFlags & TTF_IDISHWND))
        ::GetClientRect(pWnd->GetSafeHwnd(), &ti.rect);
    ti.hinst = AfxGetResourceHandle();
    ti.lpszText = (LPSTR)lpszText;
    return (BOOL)SendMessage(TTM_ADDTOOLA, 0, (LPARAM)&ti);
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    CString text;
    text.LoadString(nIDText);
    return AddTool(pWnd, text, lpRectTool, nIDTool);
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFOA ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    SendMessage(TTM_DELTOOLA, 0, (LPARAM)&ti);
}

void CToolTipCtrl::GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool) const
{
    TOOLINFOA ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    char buf[1024] = "";
    ti.lpszText = buf;
    ::SendMessageA(m_hWnd, TTM_GETTEXTA, sizeof(buf), (LPARAM)&ti);
    str = buf;
}

BOOL CToolTipCtrl::GetToolInfo(TOOLINFOA& ToolInfo, CWnd* pWnd, UINT_PTR nIDTool) const
{
    FillInToolInfo(ToolInfo, pWnd, nIDTool);
    return (BOOL)::SendMessageA(m_hWnd, TTM_GETTOOLINFOA, 0, (LPARAM)&ToolInfo);
}

void CToolTipCtrl::SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect)
{
    TOOLINFOA ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ti.rect = *lpRect;
    SendMessage(TTM_NEWTOOLRECTA, 0, (LPARAM)&ti);
}

void CToolTipCtrl::UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFOA ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ti.hinst = AfxGetResourceHandle();
    ti.lpszText = (LPSTR)lpszText;
    SendMessage(TTM_UPDATETIPTEXTA, 0, (LPARAM)&ti);
}

void CToolTipCtrl::UpdateTipText(UINT nIDText, CWnd* pWnd, UINT_PTR nIDTool)
{
    CString text;
    text.LoadString(nIDText);
    UpdateTipText(text, pWnd, nIDTool);
}

CImageList* CTabCtrl::GetImageList() const
{
    return CImageList::FromHandle((HIMAGELIST)::SendMessageA(m_hWnd, TCM_GETIMAGELIST, 0, 0));
}

CImageList* CTabCtrl::SetImageList(CImageList* pImageList)
{
    return CImageList::FromHandle(
        (HIMAGELIST)SendMessage(TCM_SETIMAGELIST, 0, (LPARAM)pImageList->GetSafeHandle()));
}

CToolTipCtrl* CTabCtrl::GetToolTips() const
{
    return (CToolTipCtrl*)CWnd::FromHandle((HWND)::SendMessageA(m_hWnd, TCM_GETTOOLTIPS, 0, 0));
}

BOOL CTabCtrl::InsertItem(int nItem, LPCTSTR lpszItem)
{
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = (LPSTR)lpszItem;
    return InsertItem(nItem, &item);
}

BOOL CTabCtrl::InsertItem(int nItem, LPCTSTR lpszItem, int nImage)
{
    TCITEMA item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = (LPSTR)lpszItem;
    item.iImage = nImage;
    return InsertItem(nItem, &item);
}

void CTabCtrl::DrawItem(LPDRAWITEMSTRUCT) { ASSERT(FALSE); }

BOOL CTabCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_DRAWITEM)
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem((LPDRAWITEMSTRUCT)lParam);
    if (pResult != NULL)
        *pResult = TRUE;
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// List control

CImageList* CListCtrl::GetImageList(int nImageList) const
{
    return CImageList::FromHandle((HIMAGELIST)::SendMessageA(m_hWnd, LVM_GETIMAGELIST, nImageList, 0));
}

CImageList* CListCtrl::SetImageList(CImageList* pImageList, int nImageListType)
{
    return CImageList::FromHandle((HIMAGELIST)SendMessage(LVM_SETIMAGELIST, nImageListType,
                                                          (LPARAM)pImageList->GetSafeHandle()));
}

BOOL CListCtrl::SetItem(int nItem, int nSubItem, UINT nMask, LPCTSTR lpszItem, int nImage,
                        UINT nState, UINT nStateMask, LPARAM lParam)
{
    LVITEMA item = {};
    item.mask = nMask;
    item.iItem = nItem;
    item.iSubItem = nSubItem;
    item.stateMask = nStateMask;
    item.state = nState;
    item.pszText = (LPSTR)lpszItem;
    item.iImage = nImage;
    item.lParam = lParam;
    return SetItem(&item);
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask)
{
    LVITEMA item = {};
    item.stateMask = nMask;
    item.state = nState;
    return SetItemState(nItem, &item);
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const
{
    // The control gives no length: grow the buffer until the text fits.
    CString str;
    int nLen = 128;
    for (;;) {
        LVITEMA item = {};
        item.iSubItem = nSubItem;
        item.cchTextMax = nLen;
        item.pszText = str.GetBufferSetLength(nLen);
        int nRes = (int)::SendMessageA(m_hWnd, LVM_GETITEMTEXTA, nItem, (LPARAM)&item);
        if (nRes < nLen - 1) {
            str.ReleaseBuffer(nRes);
            return str;
        }
        nLen *= 2;
    }
}

int CListCtrl::GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const
{
    LVITEMA item = {};
    item.iSubItem = nSubItem;
    item.cchTextMax = nLen;
    item.pszText = lpszText;
    return (int)::SendMessageA(m_hWnd, LVM_GETITEMTEXTA, nItem, (LPARAM)&item);
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCTSTR lpszText)
{
    LVITEMA item = {};
    item.iSubItem = nSubItem;
    item.pszText = (LPSTR)lpszText;
    return (BOOL)SendMessage(LVM_SETITEMTEXTA, nItem, (LPARAM)&item);
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData)
{
    return SetItem(nItem, 0, LVIF_PARAM, NULL, 0, 0, 0, (LPARAM)dwData);
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const
{
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    GetItem(&item);
    return (DWORD_PTR)item.lParam;
}

BOOL CListCtrl::GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref) const
{
    RECT rect;
    rect.top = iSubItem;
    rect.left = nArea;
    BOOL bRet = (BOOL)::SendMessageA(m_hWnd, LVM_GETSUBITEMRECT, iItem, (LPARAM)&rect);
    if (bRet)
        ref = rect;
    return bRet;
}

int CListCtrl::InsertItem(int nItem, LPCTSTR lpszItem)
{
    return InsertItem(LVIF_TEXT, nItem, lpszItem, 0, 0, 0, 0);
}

int CListCtrl::InsertItem(int nItem, LPCTSTR lpszItem, int nImage)
{
    return InsertItem(LVIF_TEXT | LVIF_IMAGE, nItem, lpszItem, 0, 0, nImage, 0);
}

int CListCtrl::InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, UINT nState, UINT nStateMask,
                          int nImage, LPARAM lParam)
{
    LVITEMA item = {};
    item.mask = nMask;
    item.iItem = nItem;
    item.state = nState;
    item.stateMask = nStateMask;
    item.pszText = (LPSTR)lpszItem;
    item.iImage = nImage;
    item.lParam = lParam;
    return InsertItem(&item);
}

int CListCtrl::HitTest(CPoint pt, UINT* pFlags) const
{
    LVHITTESTINFO hti = {};
    hti.pt = pt;
    int nRes = (int)::SendMessageA(m_hWnd, LVM_HITTEST, 0, (LPARAM)&hti);
    if (pFlags != NULL)
        *pFlags = hti.flags;
    return nRes;
}

int CListCtrl::InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat, int nWidth,
                            int nSubItem)
{
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_FMT;
    column.pszText = (LPSTR)lpszColumnHeading;
    column.fmt = nFormat;
    if (nWidth != -1) {
        column.mask |= LVCF_WIDTH;
        column.cx = nWidth;
    }
    if (nSubItem != -1) {
        column.mask |= LVCF_SUBITEM;
        column.iSubItem = nSubItem;
    }
    return InsertColumn(nCol, &column);
}

CImageList* CListCtrl::CreateDragImage(int nItem, LPPOINT lpPoint)
{
    HIMAGELIST h = (HIMAGELIST)SendMessage(LVM_CREATEDRAGIMAGE, nItem, (LPARAM)lpPoint);
    if (h == NULL)
        return NULL;
    CImageList* pList = new CImageList;
    pList->Attach(h);
    return pList;
}

void CListCtrl::DrawItem(LPDRAWITEMSTRUCT) { ASSERT(FALSE); }

BOOL CListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_DRAWITEM)
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem((LPDRAWITEMSTRUCT)lParam);
    if (pResult != NULL)
        *pResult = TRUE;
    return TRUE;
}

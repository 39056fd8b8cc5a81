// OLE data transfer: data sources, data objects, drop targets and drop sources.
#include "afxole.h"
#include <shlobj.h>

namespace {

HGLOBAL CopyGlobal(HGLOBAL src)
{
    if (!src)
        return nullptr;
    SIZE_T size = GlobalSize(src);
    HGLOBAL dst = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size ? size : 1);
    if (!dst)
        return nullptr;
    void* from = GlobalLock(src);
    void* to = GlobalLock(dst);
    if (from && to && size)
        memcpy(to, from, size);
    if (from)
        GlobalUnlock(src);
    if (to)
        GlobalUnlock(dst);
    return dst;
}

FORMATETC MakeFormat(CLIPFORMAT cf, LPFORMATETC given, DWORD tymed)
{
    if (given) {
        FORMATETC f = *given;
        f.cfFormat = cf;
        return f;
    }
    FORMATETC f = {cf, nullptr, DVASPECT_CONTENT, -1, tymed};
    return f;
}

bool FormatMatches(const FORMATETC& have, const FORMATETC* want)
{
    return have.cfFormat == want->cfFormat && (have.tymed & want->tymed) &&
           (have.dwAspect == want->dwAspect || want->dwAspect == 0) &&
           (want->lindex == -1 || have.lindex == want->lindex);
}

// Copies a cached medium for a receiver (global memory is copied; streams and other
// media are shared by reference).
HRESULT CopyMedium(STGMEDIUM* dst, const STGMEDIUM* src)
{
    *dst = *src;
    switch (src->tymed) {
    case TYMED_HGLOBAL:
        dst->hGlobal = CopyGlobal(src->hGlobal);
        dst->pUnkForRelease = nullptr;
        return dst->hGlobal ? S_OK : E_OUTOFMEMORY;
    case TYMED_ISTREAM:
        if (src->pstm)
            src->pstm->AddRef();
        break;
    case TYMED_ISTORAGE:
        if (src->pstg)
            src->pstg->AddRef();
        break;
    default:
        return DV_E_TYMED;
    }
    if (dst->pUnkForRelease)
        dst->pUnkForRelease->AddRef();
    return S_OK;
}

} // namespace

//////////////////////////////////////////////////////////////////////////////////////////
// COleDataSource

class COleDataSource::XDataObject : public IDataObject {
public:
    explicit XDataObject(COleDataSource* owner) : m_owner(owner) {}
    virtual ~XDataObject() {}
    COleDataSource* m_owner;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
            *ppv = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&m_owner->m_nRefs); }
    STDMETHODIMP_(ULONG) Release() override
    {
        LONG n = InterlockedDecrement(&m_owner->m_nRefs);
        if (n == 0)
            delete m_owner;
        return n;
    }
    const COleDataSource::Item* Find(const FORMATETC* f)
    {
        for (auto& item : m_owner->m_items)
            if (FormatMatches(item.fmt, f))
                return &item;
        return nullptr;
    }
    STDMETHODIMP GetData(FORMATETC* f, STGMEDIUM* m) override
    {
        if (!f || !m)
            return E_INVALIDARG;
        memset(m, 0, sizeof *m);
        const Item* item = Find(f);
        if (!item)
            return DV_E_FORMATETC;
        if (item->medium.tymed != TYMED_NULL)
            return CopyMedium(m, &item->medium);
        // Delayed rendering.
        FORMATETC want = *f;
        BOOL ok = FALSE;
        try {
            if (item->bFile) {
                CSharedFile file;
                if (m_owner->OnRenderFileData(&want, &file)) {
                    m->tymed = TYMED_HGLOBAL;
                    m->hGlobal = file.Detach();
                    ok = m->hGlobal != nullptr;
                }
            } else if ((want.tymed & TYMED_HGLOBAL)) {
                HGLOBAL h = nullptr;
                if (m_owner->OnRenderGlobalData(&want, &h) && h) {
                    m->tymed = TYMED_HGLOBAL;
                    m->hGlobal = h;
                    ok = TRUE;
                }
            }
            if (!ok)
                ok = m_owner->OnRenderData(&want, m);
        } catch (CException* e) {
            e->Delete();
            ok = FALSE;
        }
        return ok ? S_OK : DV_E_FORMATETC;
    }
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC* f) override
    {
        if (!f)
            return E_INVALIDARG;
        return Find(f) ? S_OK : DV_E_FORMATETC;
    }
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        if (out)
            out->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    }
    STDMETHODIMP SetData(FORMATETC* f, STGMEDIUM* m, BOOL release) override
    {
        if (!f || !m)
            return E_INVALIDARG;
        return m_owner->OnSetData(f, m, release) ? S_OK : E_NOTIMPL;
    }
    STDMETHODIMP EnumFormatEtc(DWORD dir, IEnumFORMATETC** ppEnum) override
    {
        if (!ppEnum)
            return E_POINTER;
        if (dir != DATADIR_GET)
            return E_NOTIMPL;
        std::vector<FORMATETC> formats;
        for (auto& item : m_owner->m_items)
            formats.push_back(item.fmt);
        return SHCreateStdEnumFmtEtc((UINT)formats.size(), formats.data(), ppEnum);
    }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    STDMETHODIMP DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }
};

IMPLEMENT_DYNAMIC(COleDataSource, CCmdTarget)

COleDataSource::COleDataSource() : m_pDataObject(new XDataObject(this)), m_nRefs(1) {}

static COleDataSource* g_pClipboardOwner;

COleDataSource::~COleDataSource()
{
    if (g_pClipboardOwner == this)
        g_pClipboardOwner = nullptr;
    // A source destroyed while it still serves the clipboard takes itself off first.
    if (m_pDataObject && OleIsCurrentClipboard(m_pDataObject) == S_OK) {
        m_nRefs = 1000; // the clipboard's release must not delete again
        OleSetClipboard(nullptr);
    }
    Empty();
    delete m_pDataObject;
}

LPDATAOBJECT COleDataSource::GetDataObject() { return m_pDataObject; }

void COleDataSource::Empty()
{
    for (auto& item : m_items)
        if (item.medium.tymed != TYMED_NULL)
            ReleaseStgMedium(&item.medium);
    m_items.clear();
}

void COleDataSource::CacheData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium,
                               LPFORMATETC lpFormatEtc)
{
    FORMATETC f = MakeFormat(cfFormat, lpFormatEtc, lpStgMedium->tymed);
    f.tymed = lpStgMedium->tymed;
    // A format cached again replaces the earlier data.
    for (auto& item : m_items)
        if (item.fmt.cfFormat == cfFormat && item.fmt.tymed == f.tymed) {
            if (item.medium.tymed != TYMED_NULL)
                ReleaseStgMedium(&item.medium);
            item.medium = *lpStgMedium;
            item.bFile = FALSE;
            return;
        }
    m_items.push_back(Item{f, *lpStgMedium, FALSE});
}

void COleDataSource::CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal,
                                     LPFORMATETC lpFormatEtc)
{
    STGMEDIUM m = {};
    m.tymed = TYMED_HGLOBAL;
    m.hGlobal = hGlobal;
    CacheData(cfFormat, &m, lpFormatEtc);
}

void COleDataSource::DelayRenderData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc)
{
    STGMEDIUM none = {};
    none.tymed = TYMED_NULL;
    FORMATETC f = MakeFormat(cfFormat, lpFormatEtc, TYMED_HGLOBAL);
    m_items.push_back(Item{f, none, FALSE});
}

void COleDataSource::DelayRenderFileData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc)
{
    STGMEDIUM none = {};
    none.tymed = TYMED_NULL;
    FORMATETC f = MakeFormat(cfFormat, lpFormatEtc, TYMED_HGLOBAL);
    m_items.push_back(Item{f, none, TRUE});
}

BOOL COleDataSource::OnRenderGlobalData(LPFORMATETC, HGLOBAL*) { return FALSE; }
BOOL COleDataSource::OnRenderFileData(LPFORMATETC, CFile*) { return FALSE; }
BOOL COleDataSource::OnRenderData(LPFORMATETC, LPSTGMEDIUM) { return FALSE; }
BOOL COleDataSource::OnSetData(LPFORMATETC, LPSTGMEDIUM, BOOL) { return FALSE; }

DROPEFFECT COleDataSource::DoDragDrop(DWORD dwEffects, LPCRECT lpRectStartDrag,
                                      COleDropSource* pDropSource)
{
    COleDropSource defaultSource;
    if (!pDropSource)
        pDropSource = &defaultSource;
    if (lpRectStartDrag) {
        pDropSource->m_rectStartDrag = *lpRectStartDrag;
        HWND capture = GetFocus() ? GetFocus() : GetActiveWindow();
        if (!pDropSource->OnBeginDrag(capture ? CWnd::FromHandle(capture) : NULL))
            return DROPEFFECT_NONE;
    }
    pDropSource->m_bDragStarted = TRUE;
    DWORD effect = DROPEFFECT_NONE;
    HRESULT hr = ::DoDragDrop(m_pDataObject,
                              reinterpret_cast<IDropSource*>(pDropSource->m_pDropSource), dwEffects,
                              &effect);
    pDropSource->m_bDragStarted = FALSE;
    return hr == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
}

void COleDataSource::SetClipboard()
{
    if (SUCCEEDED(OleSetClipboard(m_pDataObject))) {
        g_pClipboardOwner = this;
        // The clipboard holds its own reference now; the caller's goes away.
        m_pDataObject->Release();
    }
}

void PASCAL COleDataSource::FlushClipboard()
{
    if (g_pClipboardOwner && OleIsCurrentClipboard(g_pClipboardOwner->m_pDataObject) == S_OK) {
        g_pClipboardOwner = nullptr;
        OleFlushClipboard();
    }
}

COleDataSource* PASCAL COleDataSource::GetClipboardOwner()
{
    if (g_pClipboardOwner && OleIsCurrentClipboard(g_pClipboardOwner->m_pDataObject) == S_OK)
        return g_pClipboardOwner;
    g_pClipboardOwner = nullptr;
    return nullptr;
}

//////////////////////////////////////////////////////////////////////////////////////////
// COleDataObject

COleDataObject::COleDataObject()
    : m_lpDataObject(nullptr), m_lpEnumerator(nullptr), m_bAutoRelease(TRUE),
      m_bClipboard(FALSE)
{
}

COleDataObject::~COleDataObject() { Release(); }

void COleDataObject::Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease)
{
    Release();
    m_lpDataObject = lpDataObject;
    m_bAutoRelease = bAutoRelease;
    m_bClipboard = FALSE;
}

LPDATAOBJECT COleDataObject::Detach()
{
    if (m_lpEnumerator) {
        m_lpEnumerator->Release();
        m_lpEnumerator = nullptr;
    }
    LPDATAOBJECT p = m_lpDataObject;
    m_lpDataObject = nullptr;
    m_bClipboard = FALSE;
    return p;
}

void COleDataObject::Release()
{
    if (m_lpEnumerator) {
        m_lpEnumerator->Release();
        m_lpEnumerator = nullptr;
    }
    if (m_lpDataObject && m_bAutoRelease)
        m_lpDataObject->Release();
    m_lpDataObject = nullptr;
    m_bClipboard = FALSE;
}

BOOL COleDataObject::AttachClipboard()
{
    LPDATAOBJECT p = nullptr;
    if (FAILED(OleGetClipboard(&p)) || !p)
        return FALSE;
    Attach(p, TRUE);
    m_bClipboard = TRUE;
    return TRUE;
}

void COleDataObject::BeginEnumFormats()
{
    if (m_lpEnumerator) {
        m_lpEnumerator->Release();
        m_lpEnumerator = nullptr;
    }
    if (m_lpDataObject)
        m_lpDataObject->EnumFormatEtc(DATADIR_GET, &m_lpEnumerator);
}

BOOL COleDataObject::GetNextFormat(LPFORMATETC lpFormatEtc)
{
    if (!m_lpEnumerator)
        return FALSE;
    ULONG got = 0;
    if (m_lpEnumerator->Next(1, lpFormatEtc, &got) != S_OK || got != 1)
        return FALSE;
    if (lpFormatEtc->ptd) {
        CoTaskMemFree(lpFormatEtc->ptd);
        lpFormatEtc->ptd = nullptr;
    }
    return TRUE;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc)
{
    if (!m_lpDataObject)
        return FALSE;
    FORMATETC f = MakeFormat(cfFormat, lpFormatEtc, TYMED_HGLOBAL | TYMED_ISTREAM |
                                                        TYMED_ISTORAGE | TYMED_GDI |
                                                        TYMED_MFPICT | TYMED_ENHMF);
    return m_lpDataObject->QueryGetData(&f) == S_OK;
}

BOOL COleDataObject::GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium,
                             LPFORMATETC lpFormatEtc)
{
    if (!m_lpDataObject || !lpStgMedium)
        return FALSE;
    FORMATETC f = MakeFormat(cfFormat, lpFormatEtc, TYMED_HGLOBAL | TYMED_ISTREAM |
                                                        TYMED_ISTORAGE | TYMED_GDI |
                                                        TYMED_MFPICT | TYMED_ENHMF);
    memset(lpStgMedium, 0, sizeof *lpStgMedium);
    return SUCCEEDED(m_lpDataObject->GetData(&f, lpStgMedium));
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc)
{
    if (!m_lpDataObject)
        return nullptr;
    FORMATETC f = MakeFormat(cfFormat, lpFormatEtc, TYMED_HGLOBAL | TYMED_ISTREAM);
    STGMEDIUM m = {};
    if (FAILED(m_lpDataObject->GetData(&f, &m)))
        return nullptr;
    HGLOBAL result = nullptr;
    if (m.tymed == TYMED_HGLOBAL) {
        // Ours when nobody else must release it; otherwise a copy.
        if (!m.pUnkForRelease) {
            result = m.hGlobal;
            m.hGlobal = nullptr;
            m.tymed = TYMED_NULL;
        } else {
            result = CopyGlobal(m.hGlobal);
        }
    } else if (m.tymed == TYMED_ISTREAM && m.pstm) {
        STATSTG st = {};
        LARGE_INTEGER zero = {};
        m.pstm->Seek(zero, STREAM_SEEK_SET, nullptr);
        if (SUCCEEDED(m.pstm->Stat(&st, STATFLAG_NONAME)) && st.cbSize.QuadPart < 0x7fffffff) {
            ULONG size = (ULONG)st.cbSize.QuadPart;
            result = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size ? size : 1);
            if (result) {
                void* p = GlobalLock(result);
                ULONG read = 0;
                m.pstm->Read(p, size, &read);
                GlobalUnlock(result);
                if (read != size) {
                    GlobalFree(result);
                    result = nullptr;
                }
            }
        }
    }
    if (m.tymed != TYMED_NULL)
        ReleaseStgMedium(&m);
    return result;
}

CFile* COleDataObject::GetFileData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc)
{
    HGLOBAL h = GetGlobalData(cfFormat, lpFormatEtc);
    if (!h)
        return nullptr;
    CSharedFile* file = new CSharedFile;
    file->SetHandle(h, FALSE);
    return file;
}

//////////////////////////////////////////////////////////////////////////////////////////
// COleDropTarget

int COleDropTarget::nScrollInset = 11;
UINT COleDropTarget::nScrollDelay = 50;
UINT COleDropTarget::nScrollInterval = 50;

class COleDropTarget::XDropTarget : public IDropTarget {
public:
    explicit XDropTarget(COleDropTarget* owner) : m_owner(owner), m_refs(1) {}
    virtual ~XDropTarget() {}
    COleDropTarget* m_owner;
    LONG m_refs;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
            *ppv = static_cast<IDropTarget*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&m_refs); }
    STDMETHODIMP_(ULONG) Release() override
    {
        LONG n = InterlockedDecrement(&m_refs);
        if (n == 0)
            delete this;
        return n;
    }

    CWnd* Window(POINTL ptl, CPoint& client)
    {
        client = CPoint(ptl.x, ptl.y);
        ::ScreenToClient(m_owner->m_hWnd, &client);
        return CWnd::FromHandle(m_owner->m_hWnd);
    }

    // Scrolling comes first: a window that scrolls answers with the scroll effect.
    DROPEFFECT Over(CWnd* wnd, COleDataObject& data, DWORD keys, CPoint pt)
    {
        DROPEFFECT scroll = m_owner->OnDragScroll(wnd, keys, pt);
        if (scroll & DROPEFFECT_SCROLL)
            return scroll;
        return m_owner->OnDragOver(wnd, &data, keys, pt);
    }

    STDMETHODIMP DragEnter(IDataObject* obj, DWORD keys, POINTL ptl, DWORD* effect) override
    {
        if (!effect)
            return E_INVALIDARG;
        if (!m_owner) {
            *effect = DROPEFFECT_NONE;
            return S_OK;
        }
        if (m_owner->m_lpDataObject)
            m_owner->m_lpDataObject->Release();
        m_owner->m_lpDataObject = obj;
        if (obj)
            obj->AddRef();
        CPoint pt;
        CWnd* wnd = Window(ptl, pt);
        COleDataObject data;
        data.Attach(obj, FALSE);
        DROPEFFECT result = DROPEFFECT_NONE;
        try {
            result = m_owner->OnDragEnter(wnd, &data, keys, pt);
        } catch (CException* e) {
            e->Delete();
        }
        // What the window answers is limited by what the source allows.
        m_owner->m_dropEffectCurrent = result;
        *effect = result & (*effect | DROPEFFECT_SCROLL);
        return S_OK;
    }
    STDMETHODIMP DragOver(DWORD keys, POINTL ptl, DWORD* effect) override
    {
        if (!effect)
            return E_INVALIDARG;
        if (!m_owner || !m_owner->m_lpDataObject) {
            *effect = DROPEFFECT_NONE;
            return S_OK;
        }
        CPoint pt;
        CWnd* wnd = Window(ptl, pt);
        COleDataObject data;
        data.Attach(m_owner->m_lpDataObject, FALSE);
        DROPEFFECT result = DROPEFFECT_NONE;
        try {
            result = Over(wnd, data, keys, pt);
        } catch (CException* e) {
            e->Delete();
        }
        m_owner->m_dropEffectCurrent = result;
        *effect = result & (*effect | DROPEFFECT_SCROLL);
        return S_OK;
    }
    STDMETHODIMP DragLeave() override
    {
        if (!m_owner)
            return S_OK;
        CWnd* wnd = CWnd::FromHandle(m_owner->m_hWnd);
        try {
            m_owner->OnDragLeave(wnd);
        } catch (CException* e) {
            e->Delete();
        }
        if (m_owner->m_lpDataObject) {
            m_owner->m_lpDataObject->Release();
            m_owner->m_lpDataObject = nullptr;
        }
        return S_OK;
    }
    STDMETHODIMP Drop(IDataObject* obj, DWORD keys, POINTL ptl, DWORD* effect) override
    {
        if (!effect)
            return E_INVALIDARG;
        if (!m_owner) {
            *effect = DROPEFFECT_NONE;
            return S_OK;
        }
        CPoint pt;
        CWnd* wnd = Window(ptl, pt);
        COleDataObject data;
        data.Attach(obj, FALSE);
        DROPEFFECT allowed = *effect;
        DROPEFFECT result = DROPEFFECT_NONE;
        try {
            // The last answer of the drag is the effect offered to the drop.
            DROPEFFECT dropDefault = Over(wnd, data, keys, pt) & allowed;
            if (dropDefault != DROPEFFECT_NONE) {
                result = m_owner->OnDropEx(wnd, &data, dropDefault, allowed, pt);
                if (result == (DROPEFFECT)-1)
                    result = m_owner->OnDrop(wnd, &data, dropDefault, pt) ? dropDefault
                                                                         : DROPEFFECT_NONE;
            }
        } catch (CException* e) {
            e->Delete();
            result = DROPEFFECT_NONE;
        }
        if (m_owner->m_lpDataObject) {
            m_owner->m_lpDataObject->Release();
            m_owner->m_lpDataObject = nullptr;
        }
        *effect = result & allowed;
        return S_OK;
    }
};

IMPLEMENT_DYNAMIC(COleDropTarget, CCmdTarget)

COleDropTarget::COleDropTarget()
    : m_hWnd(nullptr), m_pDropTarget(nullptr), m_lpDataObject(nullptr),
      m_dropEffectCurrent(DROPEFFECT_NONE), m_nTimerID(0xffff), m_dwLastTick(0),
      m_nScrollDelay(nScrollDelay)
{
}

COleDropTarget::~COleDropTarget() { Revoke(); }

BOOL COleDropTarget::Register(CWnd* pWnd)
{
    if (!pWnd || !pWnd->GetSafeHwnd())
        return FALSE;
    Revoke();
    m_pDropTarget = new XDropTarget(this);
    HRESULT hr = CoLockObjectExternal(m_pDropTarget, TRUE, FALSE);
    if (SUCCEEDED(hr))
        hr = RegisterDragDrop(pWnd->GetSafeHwnd(), m_pDropTarget);
    if (FAILED(hr)) {
        CoLockObjectExternal(m_pDropTarget, FALSE, TRUE);
        m_pDropTarget->m_owner = nullptr;
        m_pDropTarget->Release();
        m_pDropTarget = nullptr;
        return FALSE;
    }
    m_hWnd = pWnd->GetSafeHwnd();
    return TRUE;
}

void COleDropTarget::Revoke()
{
    if (!m_pDropTarget)
        return;
    if (m_hWnd)
        RevokeDragDrop(m_hWnd);
    if (m_lpDataObject) {
        m_lpDataObject->Release();
        m_lpDataObject = nullptr;
    }
    // The COM object may outlive us in a running drag: it must no longer call back.
    XDropTarget* p = m_pDropTarget;
    m_pDropTarget = nullptr;
    p->m_owner = nullptr;
    CoLockObjectExternal(p, FALSE, TRUE);
    p->Release();
    m_hWnd = nullptr;
}

// The default answers come from the window itself when it is a view that knows drags;
// here the plain window answers "none", as a window that takes no drops.
DROPEFFECT COleDropTarget::OnDragEnter(CWnd*, COleDataObject*, DWORD, CPoint)
{
    return DROPEFFECT_NONE;
}
DROPEFFECT COleDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint)
{
    return DROPEFFECT_NONE;
}
BOOL COleDropTarget::OnDrop(CWnd*, COleDataObject*, DROPEFFECT, CPoint) { return FALSE; }
DROPEFFECT COleDropTarget::OnDropEx(CWnd*, COleDataObject*, DROPEFFECT, DROPEFFECT, CPoint)
{
    return (DROPEFFECT)-1; // not handled here: OnDrop decides
}
void COleDropTarget::OnDragLeave(CWnd*) {}

DROPEFFECT COleDropTarget::OnDragScroll(CWnd*, DWORD, CPoint) { return DROPEFFECT_NONE; }

//////////////////////////////////////////////////////////////////////////////////////////
// COleDropSource

UINT COleDropSource::nDragMinDist = 2;
UINT COleDropSource::nDragDelay = 200;

class COleDropSource::XDropSource : public IDropSource {
public:
    explicit XDropSource(COleDropSource* owner) : m_owner(owner) {}
    virtual ~XDropSource() {}
    COleDropSource* m_owner;
    // Lives inside its owner for the owner's lifetime; DoDragDrop's references are
    // balanced before it returns.
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropSource)) {
            *ppv = static_cast<IDropSource*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP QueryContinueDrag(BOOL esc, DWORD keys) override
    {
        try {
            return m_owner->QueryContinueDrag(esc, keys);
        } catch (CException* e) {
            e->Delete();
            return DRAGDROP_S_CANCEL;
        }
    }
    STDMETHODIMP GiveFeedback(DWORD effect) override
    {
        try {
            return m_owner->GiveFeedback(effect);
        } catch (CException* e) {
            e->Delete();
            return DRAGDROP_S_USEDEFAULTCURSORS;
        }
    }
};

IMPLEMENT_DYNAMIC(COleDropSource, CCmdTarget)

COleDropSource::COleDropSource()
    : m_bDragStarted(FALSE), m_dwButtonCancel(0), m_dwButtonDrop(0),
      m_pDropSource(new XDropSource(this))
{
    m_rectStartDrag.SetRectEmpty();
}

COleDropSource::~COleDropSource() { delete m_pDropSource; }

SCODE COleDropSource::QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState)
{
    // The button that started the drag drops; the other one, or Escape, cancels.
    if (!m_dwButtonDrop)
        m_dwButtonDrop = (dwKeyState & MK_RBUTTON) && !(dwKeyState & MK_LBUTTON) ? MK_RBUTTON
                                                                                 : MK_LBUTTON;
    if (!m_dwButtonCancel)
        m_dwButtonCancel = m_dwButtonDrop == MK_LBUTTON ? MK_RBUTTON : MK_LBUTTON;
    if (bEscapePressed || (dwKeyState & m_dwButtonCancel))
        return DRAGDROP_S_CANCEL;
    if (!(dwKeyState & m_dwButtonDrop))
        return DRAGDROP_S_DROP;
    return S_OK;
}

SCODE COleDropSource::GiveFeedback(DROPEFFECT) { return DRAGDROP_S_USEDEFAULTCURSORS; }

BOOL COleDropSource::OnBeginDrag(CWnd* pWnd)
{
    m_bDragStarted = FALSE;
    HWND hwnd = pWnd ? pWnd->GetSafeHwnd() : nullptr;
    if (hwnd)
        ::SetCapture(hwnd);
    DWORD start = GetTickCount();
    BOOL result = FALSE;
    for (;;) {
        if (hwnd && ::GetCapture() != hwnd)
            break;
        MSG msg;
        if (PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE) ||
            PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
            if (msg.message == WM_LBUTTONUP || msg.message == WM_RBUTTONUP ||
                msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN)
                break;
            if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
                break;
            if (msg.message == WM_MOUSEMOVE) {
                POINT pt;
                GetCursorPos(&pt);
                if (!m_rectStartDrag.PtInRect(pt)) {
                    result = TRUE;
                    break;
                }
            }
            continue;
        }
        // The button must still be held; a long enough hold starts the drag as well.
        if (!(GetKeyState(VK_LBUTTON) & 0x8000) && !(GetKeyState(VK_RBUTTON) & 0x8000))
            break;
        if (GetTickCount() - start > nDragDelay) {
            result = TRUE;
            break;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_INPUT);
    }
    if (hwnd && ::GetCapture() == hwnd)
        ::ReleaseCapture();
    m_bDragStarted = result;
    return result;
}

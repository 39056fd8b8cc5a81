// COlePropertyPage: IPropertyPage over a child dialog.
#include "afxctl.h"
#include "ole_impl.h"

class COlePropertyPage::XPropertyPage : public IPropertyPage {
public:
    explicit XPropertyPage(COlePropertyPage* p) : m_p(p) {}
    virtual ~XPropertyPage() {}
    COlePropertyPage* m_p;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        return (HRESULT)m_p->ExternalQueryInterface(&riid, ppv);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return m_p->ExternalAddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return m_p->ExternalRelease(); }

    STDMETHODIMP SetPageSite(IPropertyPageSite* pSite) override
    {
        if (m_p->m_pPageSite)
            m_p->m_pPageSite->Release();
        m_p->m_pPageSite = pSite;
        if (pSite)
            pSite->AddRef();
        m_p->OnSetPageSite();
        return S_OK;
    }
    STDMETHODIMP Activate(HWND hWndParent, LPCRECT pRect, BOOL) override
    {
        if (m_p->m_hWnd)
            return E_UNEXPECTED;
        if (!m_p->Create(m_p->m_idDlg, CWnd::FromHandle(hWndParent)))
            return E_FAIL;
        if (pRect)
            m_p->MoveWindow(pRect->left, pRect->top, pRect->right - pRect->left,
                            pRect->bottom - pRect->top);
        return S_OK;
    }
    STDMETHODIMP Deactivate() override
    {
        if (m_p->m_hWnd)
            m_p->DestroyWindow();
        return S_OK;
    }
    STDMETHODIMP GetPageInfo(PROPPAGEINFO* pInfo) override
    {
        if (!pInfo)
            return E_POINTER;
        pInfo->cb = sizeof *pInfo;
        BSTR title = AfxDisp::AnsiToBstr(m_p->m_strPageName);
        UINT bytes = (SysStringLen(title) + 1) * sizeof(OLECHAR);
        pInfo->pszTitle = (LPOLESTR)CoTaskMemAlloc(bytes);
        if (pInfo->pszTitle)
            memcpy(pInfo->pszTitle, title, bytes);
        SysFreeString(title);
        pInfo->size = PageSize();
        pInfo->pszDocString = nullptr;
        pInfo->pszHelpFile = nullptr;
        pInfo->dwHelpContext = 0;
        return S_OK;
    }
    // The template's size in pixels.
    SIZE PageSize()
    {
        SIZE size = {0, 0};
        if (m_p->m_hWnd) {
            CRect rc;
            m_p->GetWindowRect(&rc);
            size.cx = rc.Width();
            size.cy = rc.Height();
            return size;
        }
        HINSTANCE inst = AfxGetResourceHandle();
        HRSRC res = FindResourceA(inst, MAKEINTRESOURCEA(m_p->m_idDlg), (LPCSTR)RT_DIALOG);
        HGLOBAL mem = res ? LoadResource(inst, res) : nullptr;
        const BYTE* t = mem ? (const BYTE*)LockResource(mem) : nullptr;
        if (!t || SizeofResource(inst, res) < 26)
            return size;
        bool ex = t[0] == 1 && t[1] == 0 && t[2] == 0xFF && t[3] == 0xFF;
        const short* xywh = (const short*)(t + (ex ? 18 : 10));
        LONG units = GetDialogBaseUnits();
        size.cx = MulDiv(xywh[2], LOWORD(units), 4);
        size.cy = MulDiv(xywh[3], HIWORD(units), 8);
        return size;
    }
    STDMETHODIMP SetObjects(ULONG cObjects, IUnknown** ppUnk) override
    {
        for (LPDISPATCH d : m_p->m_objects)
            d->Release();
        m_p->m_objects.clear();
        for (ULONG i = 0; ppUnk && i < cObjects; ++i) {
            LPDISPATCH d = nullptr;
            if (ppUnk[i] && SUCCEEDED(ppUnk[i]->QueryInterface(IID_IDispatch, (void**)&d)))
                m_p->m_objects.push_back(d);
        }
        m_p->OnObjectsChanged();
        return S_OK;
    }
    STDMETHODIMP Show(UINT nCmdShow) override
    {
        if (m_p->m_hWnd)
            m_p->ShowWindow(nCmdShow);
        return S_OK;
    }
    STDMETHODIMP Move(LPCRECT pRect) override
    {
        if (!pRect)
            return E_POINTER;
        if (m_p->m_hWnd)
            m_p->MoveWindow(pRect->left, pRect->top, pRect->right - pRect->left,
                            pRect->bottom - pRect->top);
        return S_OK;
    }
    STDMETHODIMP IsPageDirty() override { return m_p->m_bModified ? S_OK : S_FALSE; }
    STDMETHODIMP Apply() override
    {
        if (m_p->m_hWnd && !m_p->UpdateData(TRUE))
            return E_FAIL;
        m_p->m_bModified = FALSE;
        return S_OK;
    }
    STDMETHODIMP Help(LPCOLESTR) override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(MSG* pMsg) override
    {
        return (m_p->m_hWnd && pMsg && ::IsDialogMessageA(m_p->m_hWnd, pMsg)) ? S_OK : S_FALSE;
    }
};

IMPLEMENT_DYNAMIC(COlePropertyPage, CDialog)

COlePropertyPage::COlePropertyPage(UINT idDlg, UINT idCaption)
    : CDialog(idDlg), m_idDlg(idDlg), m_idCaption(idCaption), m_bModified(FALSE),
      m_pPageSite(nullptr), m_pxPropertyPage(new XPropertyPage(this))
{
    if (idCaption)
        m_strPageName.LoadString(idCaption);
    AfxOleLockApp();
}

COlePropertyPage::~COlePropertyPage()
{
    for (LPDISPATCH d : m_objects)
        d->Release();
    if (m_pPageSite)
        m_pPageSite->Release();
    delete m_pxPropertyPage;
    AfxOleUnlockApp();
}

LPUNKNOWN COlePropertyPage::GetInterfaceHook(const void* piid)
{
    const IID& iid = *static_cast<const IID*>(piid);
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPropertyPage))
        return m_pxPropertyPage;
    return nullptr;
}

void COlePropertyPage::OnFinalRelease()
{
    if (m_hWnd)
        DestroyWindow();
    delete this;
}

// The page object lives as long as its COM references.
void COlePropertyPage::PostNcDestroy() {}

LPDISPATCH* COlePropertyPage::GetObjectArray(ULONG* pnObjects)
{
    if (pnObjects)
        *pnObjects = (ULONG)m_objects.size();
    return m_objects.empty() ? nullptr : m_objects.data();
}

void COlePropertyPage::SetModifiedFlag(BOOL bModified)
{
    m_bModified = bModified;
    if (m_pPageSite)
        m_pPageSite->OnStatusChange(PROPPAGESTATUS_DIRTY);
}

BOOL COlePropertyPage::IsModified() { return m_bModified; }
void COlePropertyPage::SetPageName(LPCTSTR lpszPageName) { m_strPageName = lpszPageName; }
BOOL COlePropertyPage::OnInitDialog() { return CDialog::OnInitDialog(); }
void COlePropertyPage::OnObjectsChanged() {}
void COlePropertyPage::OnSetPageSite() {}

void AFXAPI DDP_PostProcessing(CDataExchange*) {}

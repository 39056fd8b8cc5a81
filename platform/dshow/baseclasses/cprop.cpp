#include "streams.h"
#include <cstring>

CBasePropertyPage::CBasePropertyPage(LPCTSTR pName, LPUNKNOWN pUnk, int DialogId, int TitleId)
    : CUnknown(pName, pUnk), m_hwnd(nullptr), m_Dlg(nullptr), m_pPageSite(nullptr), m_bDirty(FALSE),
      m_TitleId(TitleId), m_DialogId(DialogId), m_bObjectSet(FALSE)
{
}

CBasePropertyPage::~CBasePropertyPage()
{
    if (m_pPageSite)
        m_pPageSite->Release();
}

STDMETHODIMP CBasePropertyPage::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IPropertyPage))
        return GetInterface(static_cast<IPropertyPage*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP_(ULONG) CBasePropertyPage::NonDelegatingRelease()
{
    LONG n = InterlockedDecrement(&m_cRef);
    if (n == 0) {
        m_cRef = 1;
        SetPageSite(nullptr);
        SetObjects(0, nullptr);
        delete this;
        return 0;
    }
    return n;
}

void CBasePropertyPage::SetDirty()
{
    m_bDirty = TRUE;
    if (m_pPageSite)
        m_pPageSite->OnStatusChange(PROPPAGESTATUS_DIRTY);
}

INT_PTR CBasePropertyPage::OnReceiveMessage(HWND, UINT, WPARAM, LPARAM) { return 0; }

INT_PTR CALLBACK CBasePropertyPage::DialogProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CBasePropertyPage* page;
    if (uMsg == WM_INITDIALOG) {
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        page = reinterpret_cast<CBasePropertyPage*>(lParam);
        if (!page)
            return FALSE;
        page->m_Dlg = hwnd;
    } else {
        page = reinterpret_cast<CBasePropertyPage*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (!page)
        return FALSE;
    return page->OnReceiveMessage(hwnd, uMsg, wParam, lParam);
}

STDMETHODIMP CBasePropertyPage::SetPageSite(LPPROPERTYPAGESITE pPageSite)
{
    if (pPageSite) {
        if (m_pPageSite)
            return E_UNEXPECTED;
        m_pPageSite = pPageSite;
        m_pPageSite->AddRef();
    } else if (m_pPageSite) {
        m_pPageSite->Release();
        m_pPageSite = nullptr;
    }
    return S_OK;
}

STDMETHODIMP CBasePropertyPage::SetObjects(ULONG cObjects, LPUNKNOWN* ppUnk)
{
    if (cObjects == 1) {
        if (!ppUnk || !*ppUnk)
            return E_POINTER;
        m_bObjectSet = TRUE;
        return OnConnect(*ppUnk);
    }
    if (cObjects == 0) {
        if (!m_bObjectSet)
            return S_OK;
        m_bObjectSet = FALSE;
        return OnDisconnect();
    }
    return E_UNEXPECTED;
}

STDMETHODIMP CBasePropertyPage::Activate(HWND hwndParent, LPCRECT prect, BOOL)
{
    if (!prect)
        return E_POINTER;
    if (!m_bObjectSet || m_hwnd)
        return E_UNEXPECTED;
    m_hwnd = CreateDialogParamA(BaseClassesModule(), MAKEINTRESOURCEA(m_DialogId), hwndParent, DialogProc,
                                reinterpret_cast<LPARAM>(this));
    if (!m_hwnd)
        return E_OUTOFMEMORY;
    OnActivate();
    Move(prect);
    return Show(SW_SHOWNORMAL);
}

STDMETHODIMP CBasePropertyPage::Deactivate()
{
    if (!m_hwnd)
        return E_UNEXPECTED;
    // Remove the control-parent style, so the page site's own dialog navigation is not confused.
    LONG_PTR ex = GetWindowLongPtrA(m_hwnd, GWL_EXSTYLE);
    SetWindowLongPtrA(m_hwnd, GWL_EXSTYLE, ex & ~WS_EX_CONTROLPARENT);
    OnDeactivate();
    DestroyWindow(m_hwnd);
    m_hwnd = nullptr;
    m_Dlg = nullptr;
    return S_OK;
}

static INT_PTR CALLBACK ProbeProc(HWND, UINT, WPARAM, LPARAM) { return 0; }

STDMETHODIMP CBasePropertyPage::GetPageInfo(LPPROPPAGEINFO pPageInfo)
{
    if (!pPageInfo)
        return E_POINTER;
    char title[256] = {};
    LoadStringA(BaseClassesModule(), m_TitleId, title, sizeof title);
    int n = MultiByteToWideChar(CP_ACP, 0, title, -1, nullptr, 0);
    LPOLESTR wide = static_cast<LPOLESTR>(CoTaskMemAlloc(n * sizeof(WCHAR)));
    if (!wide)
        return E_OUTOFMEMORY;
    MultiByteToWideChar(CP_ACP, 0, title, -1, wide, n);
    pPageInfo->cb = sizeof(PROPPAGEINFO);
    pPageInfo->pszTitle = wide;
    pPageInfo->pszDocString = nullptr;
    pPageInfo->pszHelpFile = nullptr;
    pPageInfo->dwHelpContext = 0;
    pPageInfo->size.cx = 340;
    pPageInfo->size.cy = 150;
    // The page's size is its dialog's, in pixels.
    HWND probe = CreateDialogParamA(BaseClassesModule(), MAKEINTRESOURCEA(m_DialogId), GetDesktopWindow(),
                                    ProbeProc, 0);
    if (probe) {
        RECT r;
        GetWindowRect(probe, &r);
        pPageInfo->size.cx = r.right - r.left;
        pPageInfo->size.cy = r.bottom - r.top;
        DestroyWindow(probe);
    }
    return S_OK;
}

STDMETHODIMP CBasePropertyPage::Show(UINT nCmdShow)
{
    if (!m_hwnd)
        return E_UNEXPECTED;
    if (nCmdShow != SW_SHOW && nCmdShow != SW_SHOWNORMAL && nCmdShow != SW_HIDE)
        return E_INVALIDARG;
    ShowWindow(m_hwnd, nCmdShow);
    InvalidateRect(m_hwnd, nullptr, TRUE);
    return S_OK;
}

STDMETHODIMP CBasePropertyPage::Move(LPCRECT prect)
{
    if (!prect)
        return E_POINTER;
    if (!m_hwnd)
        return E_UNEXPECTED;
    MoveWindow(m_hwnd, prect->left, prect->top, prect->right - prect->left, prect->bottom - prect->top, TRUE);
    return S_OK;
}

STDMETHODIMP CBasePropertyPage::Apply()
{
    if (!m_bObjectSet || !m_pPageSite)
        return E_UNEXPECTED;
    if (!m_bDirty)
        return S_OK;
    HRESULT hr = OnApplyChanges();
    if (SUCCEEDED(hr))
        m_bDirty = FALSE;
    return hr;
}

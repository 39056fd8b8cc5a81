#include "videorenderer.h"
#include "classes.h"
#include "renderer_base.h"
#include "video_formats.h"
#include <cstring>
#include <new>
#include <vector>

namespace {

const char kWindowClass[] = "VideoRendererWindow";
const UINT WM_RENDERER_QUIT = WM_APP + 1;

class CVideoRenderer : public CRendererBase, public IVideoWindow, public IBasicVideo, public ISpecifyPropertyPages {
public:
    CVideoRenderer(LPUNKNOWN pUnk, HRESULT* phr);
    ~CVideoRenderer() override;

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IVideoWindow))
            return GetInterface(static_cast<IVideoWindow*>(this), ppv);
        if (IsEqualIID(riid, IID_IBasicVideo))
            return GetInterface(static_cast<IBasicVideo*>(this), ppv);
        if (IsEqualIID(riid, IID_ISpecifyPropertyPages))
            return GetInterface(static_cast<ISpecifyPropertyPages*>(this), ppv);
        return CRendererBase::NonDelegatingQueryInterface(riid, ppv);
    }

    // ISpecifyPropertyPages: one page, the size of the video.
    STDMETHODIMP GetPages(CAUUID* pages) override
    {
        if (!pages)
            return E_POINTER;
        pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
        pages->cElems = pages->pElems ? 1 : 0;
        if (!pages->pElems)
            return E_OUTOFMEMORY;
        pages->pElems[0] = CLSID_QualityProperties;
        return S_OK;
    }

    // IDispatch of both automation interfaces: no type information.
    STDMETHODIMP GetTypeInfoCount(UINT* n) override
    {
        if (!n)
            return E_POINTER;
        *n = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    // IVideoWindow
    STDMETHODIMP put_Caption(BSTR s) override { return SetWindowTextW(m_hwnd, s) ? S_OK : E_FAIL; }
    STDMETHODIMP get_Caption(BSTR* s) override
    {
        if (!s)
            return E_POINTER;
        WCHAR buf[256] = {};
        GetWindowTextW(m_hwnd, buf, 256);
        *s = SysAllocString(buf);
        return *s ? S_OK : E_OUTOFMEMORY;
    }
    STDMETHODIMP put_WindowStyle(LONG style) override
    {
        if (style & (WS_DISABLED | WS_HSCROLL | WS_VSCROLL | WS_MAXIMIZE | WS_MINIMIZE))
            return E_INVALIDARG;
        SetWindowLongW(m_hwnd, GWL_STYLE, style);
        SetWindowPos(m_hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOACTIVATE);
        return S_OK;
    }
    STDMETHODIMP get_WindowStyle(LONG* style) override { return Get(style, GetWindowLongW(m_hwnd, GWL_STYLE)); }
    STDMETHODIMP put_WindowStyleEx(LONG style) override
    {
        SetWindowLongW(m_hwnd, GWL_EXSTYLE, style);
        return S_OK;
    }
    STDMETHODIMP get_WindowStyleEx(LONG* style) override { return Get(style, GetWindowLongW(m_hwnd, GWL_EXSTYLE)); }
    STDMETHODIMP put_AutoShow(LONG v) override
    {
        m_autoShow = v != OAFALSE;
        return S_OK;
    }
    STDMETHODIMP get_AutoShow(LONG* v) override { return Get(v, m_autoShow ? OATRUE : OAFALSE); }
    STDMETHODIMP put_WindowState(LONG state) override
    {
        ShowWindow(m_hwnd, state);
        return S_OK;
    }
    STDMETHODIMP get_WindowState(LONG* state) override
    {
        LONG s = SW_HIDE;
        if (IsWindowVisible(m_hwnd))
            s = IsIconic(m_hwnd) ? SW_MINIMIZE : IsZoomed(m_hwnd) ? SW_MAXIMIZE : SW_SHOW;
        return Get(state, s);
    }
    STDMETHODIMP put_BackgroundPalette(LONG) override { return S_OK; }
    STDMETHODIMP get_BackgroundPalette(LONG* v) override { return Get(v, OAFALSE); }
    STDMETHODIMP put_Visible(LONG visible) override
    {
        if (visible != OATRUE && visible != OAFALSE)
            return E_INVALIDARG;
        ShowWindow(m_hwnd, visible == OATRUE ? SW_SHOWNOACTIVATE : SW_HIDE);
        return S_OK;
    }
    STDMETHODIMP get_Visible(LONG* v) override
    {
        return Get(v, (GetWindowLongW(m_hwnd, GWL_STYLE) & WS_VISIBLE) ? OATRUE : OAFALSE);
    }
    STDMETHODIMP put_Left(LONG v) override
    {
        RECT r = Placement();
        return SetWindowPosition(v, r.top, r.right - r.left, r.bottom - r.top);
    }
    STDMETHODIMP get_Left(LONG* v) override { return Get(v, Placement().left); }
    STDMETHODIMP put_Width(LONG v) override
    {
        RECT r = Placement();
        return SetWindowPosition(r.left, r.top, v, r.bottom - r.top);
    }
    STDMETHODIMP get_Width(LONG* v) override
    {
        RECT r = Placement();
        return Get(v, r.right - r.left);
    }
    STDMETHODIMP put_Top(LONG v) override
    {
        RECT r = Placement();
        return SetWindowPosition(r.left, v, r.right - r.left, r.bottom - r.top);
    }
    STDMETHODIMP get_Top(LONG* v) override { return Get(v, Placement().top); }
    STDMETHODIMP put_Height(LONG v) override
    {
        RECT r = Placement();
        return SetWindowPosition(r.left, r.top, r.right - r.left, v);
    }
    STDMETHODIMP get_Height(LONG* v) override
    {
        RECT r = Placement();
        return Get(v, r.bottom - r.top);
    }
    // Owned, the window becomes a child of the owner; without an owner, a window of its own.
    STDMETHODIMP put_Owner(OAHWND owner) override
    {
        HWND parent = (HWND)owner;
        LONG style = GetWindowLongW(m_hwnd, GWL_STYLE);
        if (parent)
            style = (style & ~(WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) |
                    WS_CHILD | WS_CLIPSIBLINGS;
        else
            style = (style & ~WS_CHILD) | WS_OVERLAPPEDWINDOW;
        SetWindowLongW(m_hwnd, GWL_STYLE, style);
        SetParent(m_hwnd, parent);
        m_owner = parent;
        SetWindowPos(m_hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOACTIVATE);
        return S_OK;
    }
    STDMETHODIMP get_Owner(OAHWND* owner) override
    {
        if (!owner)
            return E_POINTER;
        *owner = (OAHWND)m_owner;
        return S_OK;
    }
    STDMETHODIMP put_MessageDrain(OAHWND drain) override
    {
        m_drain = (HWND)drain;
        return S_OK;
    }
    STDMETHODIMP get_MessageDrain(OAHWND* drain) override
    {
        if (!drain)
            return E_POINTER;
        *drain = (OAHWND)m_drain;
        return S_OK;
    }
    STDMETHODIMP get_BorderColor(LONG* c) override { return Get(c, m_border); }
    STDMETHODIMP put_BorderColor(LONG c) override
    {
        m_border = c;
        return S_OK;
    }
    STDMETHODIMP get_FullScreenMode(LONG* v) override { return Get(v, OAFALSE); }
    STDMETHODIMP put_FullScreenMode(LONG v) override { return v == OAFALSE ? S_OK : E_NOTIMPL; }
    STDMETHODIMP SetWindowForeground(LONG focus) override
    {
        if (focus != OATRUE && focus != OAFALSE)
            return E_INVALIDARG;
        SetWindowPos(m_hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | (focus == OATRUE ? 0 : SWP_NOACTIVATE));
        return S_OK;
    }
    STDMETHODIMP NotifyOwnerMessage(OAHWND, LONG msg, LONG_PTR wParam, LONG_PTR lParam) override
    {
        if (msg == WM_SYSCOLORCHANGE || msg == WM_DISPLAYCHANGE || msg == WM_PALETTECHANGED)
            PostMessageW(m_hwnd, msg, wParam, lParam);
        return S_OK;
    }
    // Any place and size: negative offsets and sizes beyond the owner are kept as given.
    STDMETHODIMP SetWindowPosition(LONG left, LONG top, LONG width, LONG height) override
    {
        if (width < 0 || height < 0)
            return E_INVALIDARG;
        SetWindowPos(m_hwnd, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        return S_OK;
    }
    STDMETHODIMP GetWindowPosition(LONG* l, LONG* t, LONG* w, LONG* h) override
    {
        if (!l || !t || !w || !h)
            return E_POINTER;
        RECT r = Placement();
        *l = r.left;
        *t = r.top;
        *w = r.right - r.left;
        *h = r.bottom - r.top;
        return S_OK;
    }
    STDMETHODIMP GetMinIdealImageSize(LONG* w, LONG* h) override { return GetVideoSize(w, h); }
    STDMETHODIMP GetMaxIdealImageSize(LONG* w, LONG* h) override { return GetVideoSize(w, h); }
    STDMETHODIMP GetRestorePosition(LONG* l, LONG* t, LONG* w, LONG* h) override
    {
        return GetWindowPosition(l, t, w, h);
    }
    STDMETHODIMP HideCursor(LONG hide) override
    {
        m_hideCursor = hide != OAFALSE;
        return S_OK;
    }
    STDMETHODIMP IsCursorHidden(LONG* hidden) override { return Get(hidden, m_hideCursor ? OATRUE : OAFALSE); }

    // IBasicVideo
    STDMETHODIMP get_AvgTimePerFrame(REFTIME* t) override
    {
        if (!t)
            return E_POINTER;
        CAutoLock l(&m_imageLock);
        *t = double(AvgTimePerFrame(&m_type)) / 1e7;
        return S_OK;
    }
    STDMETHODIMP get_BitRate(LONG* v) override
    {
        CAutoLock l(&m_imageLock);
        const VIDEOINFOHEADER* vih = VideoInfo(&m_type);
        return Get(v, vih ? LONG(vih->dwBitRate) : 0);
    }
    STDMETHODIMP get_BitErrorRate(LONG* v) override { return Get(v, 0); }
    STDMETHODIMP get_VideoWidth(LONG* v) override
    {
        LONG w, h;
        HRESULT hr = GetVideoSize(&w, &h);
        return FAILED(hr) ? hr : Get(v, w);
    }
    STDMETHODIMP get_VideoHeight(LONG* v) override
    {
        LONG w, h;
        HRESULT hr = GetVideoSize(&w, &h);
        return FAILED(hr) ? hr : Get(v, h);
    }
    STDMETHODIMP put_SourceLeft(LONG v) override { return SetRectPart(m_source, 0, v); }
    STDMETHODIMP get_SourceLeft(LONG* v) override { return Get(v, m_source.left); }
    STDMETHODIMP put_SourceWidth(LONG v) override { return SetRectPart(m_source, 2, v); }
    STDMETHODIMP get_SourceWidth(LONG* v) override { return Get(v, m_source.right - m_source.left); }
    STDMETHODIMP put_SourceTop(LONG v) override { return SetRectPart(m_source, 1, v); }
    STDMETHODIMP get_SourceTop(LONG* v) override { return Get(v, m_source.top); }
    STDMETHODIMP put_SourceHeight(LONG v) override { return SetRectPart(m_source, 3, v); }
    STDMETHODIMP get_SourceHeight(LONG* v) override { return Get(v, m_source.bottom - m_source.top); }
    STDMETHODIMP put_DestinationLeft(LONG v) override { return SetRectPart(m_dest, 0, v); }
    STDMETHODIMP get_DestinationLeft(LONG* v) override { return Get(v, DestRect().left); }
    STDMETHODIMP put_DestinationWidth(LONG v) override { return SetRectPart(m_dest, 2, v); }
    STDMETHODIMP get_DestinationWidth(LONG* v) override
    {
        RECT r = DestRect();
        return Get(v, r.right - r.left);
    }
    STDMETHODIMP put_DestinationTop(LONG v) override { return SetRectPart(m_dest, 1, v); }
    STDMETHODIMP get_DestinationTop(LONG* v) override { return Get(v, DestRect().top); }
    STDMETHODIMP put_DestinationHeight(LONG v) override { return SetRectPart(m_dest, 3, v); }
    STDMETHODIMP get_DestinationHeight(LONG* v) override
    {
        RECT r = DestRect();
        return Get(v, r.bottom - r.top);
    }
    STDMETHODIMP SetSourcePosition(LONG l, LONG t, LONG w, LONG h) override
    {
        if (w <= 0 || h <= 0)
            return E_INVALIDARG;
        SetRect(&m_source, l, t, l + w, t + h);
        return S_OK;
    }
    STDMETHODIMP GetSourcePosition(LONG* l, LONG* t, LONG* w, LONG* h) override
    {
        if (!l || !t || !w || !h)
            return E_POINTER;
        *l = m_source.left;
        *t = m_source.top;
        *w = m_source.right - m_source.left;
        *h = m_source.bottom - m_source.top;
        return S_OK;
    }
    STDMETHODIMP SetDefaultSourcePosition() override
    {
        LONG w = 0, h = 0;
        GetVideoSize(&w, &h);
        SetRect(&m_source, 0, 0, w, h);
        return S_OK;
    }
    STDMETHODIMP SetDestinationPosition(LONG l, LONG t, LONG w, LONG h) override
    {
        if (w <= 0 || h <= 0)
            return E_INVALIDARG;
        SetRect(&m_dest, l, t, l + w, t + h);
        m_defaultDest = false;
        return S_OK;
    }
    STDMETHODIMP GetDestinationPosition(LONG* l, LONG* t, LONG* w, LONG* h) override
    {
        if (!l || !t || !w || !h)
            return E_POINTER;
        RECT r = DestRect();
        *l = r.left;
        *t = r.top;
        *w = r.right - r.left;
        *h = r.bottom - r.top;
        return S_OK;
    }
    STDMETHODIMP SetDefaultDestinationPosition() override
    {
        m_defaultDest = true;
        return S_OK;
    }
    STDMETHODIMP GetVideoSize(LONG* w, LONG* h) override
    {
        if (!w || !h)
            return E_POINTER;
        CAutoLock l(&m_imageLock);
        const BITMAPINFOHEADER* b = BitmapHeader(&m_type);
        if (!b)
            return VFW_E_NOT_CONNECTED;
        *w = b->biWidth;
        *h = abs(b->biHeight);
        return S_OK;
    }
    STDMETHODIMP GetVideoPaletteEntries(LONG, LONG, LONG*, LONG*) override { return VFW_E_NO_PALETTE_AVAILABLE; }
    // The last picture as a packed bitmap: header, then the rows as received.
    STDMETHODIMP GetCurrentImage(LONG* pBufferSize, LONG* pDIBImage) override
    {
        if (!pBufferSize)
            return E_POINTER;
        CAutoLock l(&m_imageLock);
        const BITMAPINFOHEADER* b = BitmapHeader(&m_type);
        if (!b)
            return VFW_E_NOT_CONNECTED;
        size_t bytes = 0;
        const BYTE* bits = Image(&bytes);
        if (!bits)
            return E_UNEXPECTED;
        LONG need = LONG(sizeof(BITMAPINFOHEADER) + bytes);
        if (!pDIBImage) {
            *pBufferSize = need;
            return S_OK;
        }
        if (*pBufferSize < need)
            return E_OUTOFMEMORY;
        BITMAPINFOHEADER h = *b;
        h.biSizeImage = DWORD(bytes);
        memcpy(pDIBImage, &h, sizeof h);
        memcpy(reinterpret_cast<BYTE*>(pDIBImage) + sizeof h, bits, bytes);
        *pBufferSize = need;
        return S_OK;
    }
    STDMETHODIMP IsUsingDefaultSource() override
    {
        LONG w = 0, h = 0;
        GetVideoSize(&w, &h);
        return m_source.left == 0 && m_source.top == 0 && m_source.right == w && m_source.bottom == h ? S_OK : S_FALSE;
    }
    STDMETHODIMP IsUsingDefaultDestination() override { return m_defaultDest ? S_OK : S_FALSE; }

protected:
    HRESULT CheckMediaType(const CMediaType* pmt) override
    {
        PixelLayout l = LayoutOf(pmt);
        if ((l != PixelLayout::RGB32 && l != PixelLayout::RGB24 && l != PixelLayout::RGB565 &&
             l != PixelLayout::RGB555) ||
            !VideoInfo(pmt))
            return VFW_E_TYPE_NOT_ACCEPTED;
        return S_OK;
    }
    HRESULT SetMediaType(const CMediaType* pmt) override
    {
        CAutoLock l(&m_imageLock);
        m_type = *pmt;
        m_image.clear();
        ReleaseKept(false);
        const BITMAPINFOHEADER* b = BitmapHeader(pmt);
        SetRect(&m_source, 0, 0, b->biWidth, abs(b->biHeight));
        return S_OK;
    }
    void BreakConnect() override
    {
        CAutoLock l(&m_imageLock);
        m_type = CMediaType();
        m_image.clear();
        ReleaseKept(false);
    }
    HRESULT DoRenderSample(IMediaSample* pSample) override
    {
        BYTE* p = nullptr;
        pSample->GetPointer(&p);
        LONG n = pSample->GetActualDataLength();
        {
            CAutoLock l(&m_imageLock);
            const BITMAPINFOHEADER* b = BitmapHeader(&m_type);
            if (!b)
                return E_UNEXPECTED;
            LONG want = ImageBytes(LayoutOf(&m_type), b->biWidth, b->biHeight);
            if (n < want)
                return E_INVALIDARG;
            ReleaseKept(false);
            // The picture is kept by holding its sample rather than by a copy when the
            // sample's allocator has another buffer for the next picture.
            ISampleAllocatorSize* size = nullptr;
            if (m_mayKeep && SUCCEEDED(pSample->QueryInterface(IID_ISampleAllocatorSize, (void**)&size)) &&
                size->AllocatorBuffers() >= 2) {
                m_kept = pSample;
                m_kept->AddRef();
                m_keptBits = p;
                m_keptBytes = size_t(want);
            } else {
                m_image.assign(p, p + want);
            }
            if (size)
                size->Release();
        }
        HDC dc = GetDC(m_hwnd);
        if (dc) {
            Draw(dc);
            ReleaseDC(m_hwnd, dc);
        }
        return S_OK;
    }
    // Shown automatically when the graph leaves the stopped state; a window the
    // application hid while paused or running stays hidden.
    void OnStateChange(FILTER_STATE s) override
    {
        {
            // A stopped graph may reconnect or remove its filters: their buffers are given
            // back, the picture stays as a copy.
            CAutoLock l(&m_imageLock);
            m_mayKeep = s != State_Stopped;
            if (!m_mayKeep)
                ReleaseKept(true);
        }
        if (s != State_Stopped && m_shownState == State_Stopped && m_autoShow && m_pin.IsConnected() &&
            !IsWindowVisible(m_hwnd))
            ShowWindow(m_hwnd, SW_SHOWNOACTIVATE);
        m_shownState = s;
    }

private:
    template <typename T>
    static HRESULT Get(T* out, T value)
    {
        if (!out)
            return E_POINTER;
        *out = value;
        return S_OK;
    }
    static HRESULT Get(LONG* out, LONG_PTR value) { return Get<LONG>(out, LONG(value)); }
    HRESULT SetRectPart(RECT& r, int part, LONG v)
    {
        LONG w = r.right - r.left, h = r.bottom - r.top;
        switch (part) {
        case 0: r.left = v; r.right = v + w; break;
        case 1: r.top = v; r.bottom = v + h; break;
        case 2: if (v <= 0) return E_INVALIDARG; r.right = r.left + v; break;
        default: if (v <= 0) return E_INVALIDARG; r.bottom = r.top + v; break;
        }
        if (&r == &m_dest)
            m_defaultDest = false;
        return S_OK;
    }
    RECT Placement()
    {
        RECT r;
        GetWindowRect(m_hwnd, &r);
        HWND parent = GetParent(m_hwnd);
        if (parent && (GetWindowLongW(m_hwnd, GWL_STYLE) & WS_CHILD))
            MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    RECT DestRect()
    {
        if (!m_defaultDest)
            return m_dest;
        RECT r;
        GetClientRect(m_hwnd, &r);
        return r;
    }
    // The picture shown: the kept sample's, or the copy. Called under the image lock.
    const BYTE* Image(size_t* bytes) const
    {
        *bytes = m_kept ? m_keptBytes : m_image.size();
        return m_kept ? m_keptBits : m_image.empty() ? nullptr : m_image.data();
    }
    // Gives the kept sample back, copying its picture first when asked to. Called under the
    // image lock.
    void ReleaseKept(bool copy)
    {
        if (!m_kept)
            return;
        if (copy)
            m_image.assign(m_keptBits, m_keptBits + m_keptBytes);
        m_kept->Release();
        m_kept = nullptr;
        m_keptBits = nullptr;
        m_keptBytes = 0;
    }
    void Draw(HDC dc)
    {
        CAutoLock l(&m_imageLock);
        const BITMAPINFOHEADER* b = BitmapHeader(&m_type);
        size_t bytes = 0;
        const BYTE* bits = Image(&bytes);
        if (!b || !bits)
            return;
        struct {
            BITMAPINFOHEADER h;
            DWORD masks[3];
        } info = {};
        info.h = *b;
        if (b->biCompression == BI_BITFIELDS) {
            info.masks[0] = 0xF800;
            info.masks[1] = 0x07E0;
            info.masks[2] = 0x001F;
        }
        RECT d = DestRect();
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchDIBits(dc, d.left, d.top, d.right - d.left, d.bottom - d.top, m_source.left, m_source.top,
                      m_source.right - m_source.left, m_source.bottom - m_source.top, bits,
                      reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY);
    }

    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static DWORD WINAPI WindowThread(LPVOID self);

    CCritSec m_imageLock;
    CMediaType m_type;
    std::vector<BYTE> m_image;
    IMediaSample* m_kept = nullptr;   // the sample whose picture is shown, when held
    const BYTE* m_keptBits = nullptr;
    size_t m_keptBytes = 0;
    bool m_mayKeep = false;           // not while stopped
    RECT m_source = {0, 0, 0, 0};
    RECT m_dest = {0, 0, 0, 0};
    bool m_defaultDest = true;
    HWND m_hwnd = nullptr;
    HWND m_owner = nullptr;
    HWND m_drain = nullptr;
    LONG m_border = 0;
    bool m_autoShow = true;
    FILTER_STATE m_shownState = State_Stopped;
    bool m_hideCursor = false;
    HANDLE m_thread = nullptr;
    DWORD m_threadId = 0;
};

CVideoRenderer::CVideoRenderer(LPUNKNOWN pUnk, HRESULT* phr)
    : CRendererBase(NAME("Video renderer"), pUnk, CLSID_VideoRenderer, L"Input", true, phr)
{
    HANDLE created = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    // The window lives on the creator's desktop: a window of another desktop could not be
    // given an owner there (and would show as a window of its own).
    struct Start {
        CVideoRenderer* self;
        HANDLE created;
        HDESK desktop;
    } start = {this, created, GetThreadDesktop(GetCurrentThreadId())};
    m_thread = CreateThread(nullptr, 0, WindowThread, &start, 0, &m_threadId);
    if (m_thread)
        WaitForSingleObject(created, INFINITE);
    CloseHandle(created);
    if (!m_hwnd && phr)
        *phr = E_FAIL;
}

CVideoRenderer::~CVideoRenderer()
{
    {
        CAutoLock l(&m_imageLock);
        ReleaseKept(false);
    }
    if (!m_thread)
        return;
    // Leave the owner first, and keep answering messages sent to this thread (the owner's,
    // often) while the window thread ends: either could otherwise wait for the other.
    if (m_owner && IsWindow(m_hwnd))
        SetParent(m_hwnd, nullptr);
    PostThreadMessageW(m_threadId, WM_RENDERER_QUIT, 0, 0);
    while (MsgWaitForMultipleObjects(1, &m_thread, FALSE, INFINITE, QS_SENDMESSAGE) != WAIT_OBJECT_0) {
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    CloseHandle(m_thread);
}

DWORD WINAPI CVideoRenderer::WindowThread(LPVOID param)
{
    struct Start {
        CVideoRenderer* self;
        HANDLE created;
        HDESK desktop;
    };
    Start* start = static_cast<Start*>(param);
    CVideoRenderer* self = start->self;
    if (start->desktop)
        SetThreadDesktop(start->desktop);
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = BaseClassesModule();
    wc.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    wc.lpszClassName = kWindowClass;
    wc.cbWndExtra = sizeof(LONG_PTR);
    RegisterClassA(&wc); // a second registration by another renderer fails harmlessly
    self->m_hwnd = CreateWindowExA(WS_EX_NOPARENTNOTIFY, kWindowClass, "Video Renderer", WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS, CW_USEDEFAULT,
                                   CW_USEDEFAULT, 320, 240, nullptr, nullptr, BaseClassesModule(), self);
    HWND hwnd = self->m_hwnd;
    // Make sure the thread has a message queue before the creator goes on.
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
    SetEvent(start->created);
    if (!hwnd)
        return 1;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_RENDERER_QUIT && !msg.hwnd)
            break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    DestroyWindow(hwnd);
    return 0;
}

LRESULT CALLBACK CVideoRenderer::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        CREATESTRUCTA* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
        SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    CVideoRenderer* self = reinterpret_cast<CVideoRenderer*>(GetWindowLongPtrA(hwnd, 0));
    if (!self)
        return DefWindowProcW(hwnd, msg, wp, lp);
    // Input goes to the application's drain window when it has named one.
    if (self->m_drain && ((msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || (msg >= WM_KEYFIRST && msg <= WM_KEYLAST))) {
        PostMessageW(self->m_drain, msg, wp, lp);
        return 0;
    }
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        self->Draw(dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_SETCURSOR:
        if (self->m_hideCursor && LOWORD(lp) == HTCLIENT) {
            SetCursor(nullptr);
            return TRUE;
        }
        break;
    case WM_CLOSE:
        // Closing the window is the user asking to stop.
        ShowWindow(hwnd, SW_HIDE);
        self->NotifyEvent(EC_USERABORT, 0, 0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

const AMOVIESETUP_MEDIATYPE kTypes[] = {{&MEDIATYPE_Video, &GUID_NULL}};
const AMOVIESETUP_PIN kPins[] = {{L"Input", TRUE, FALSE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, kTypes}};
const AMOVIESETUP_FILTER kSetup = {&CLSID_VideoRenderer, L"Video Renderer", MERIT_PREFERRED + 1, 1, kPins};

} // namespace

DSHOW_SERVED_CLASS(L"Video Renderer", &CLSID_VideoRenderer, CreateServed<CVideoRenderer>, &kSetup);

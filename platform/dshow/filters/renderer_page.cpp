// The video renderer's property page: the size of the video it draws.
#include "classes.h"
#include "renderer_page.h"
#include <cstdio>

namespace {

class CRendererPage : public CBasePropertyPage {
public:
    CRendererPage(LPUNKNOWN pUnk, HRESULT*)
        : CBasePropertyPage(TEXT("Quality"), pUnk, IDD_RENDERER_PAGE, IDS_RENDERER_PAGE)
    {
    }
    HRESULT OnConnect(IUnknown* pUnknown) override
    {
        if (!pUnknown)
            return E_POINTER;
        return pUnknown->QueryInterface(IID_IBasicVideo, (void**)&m_video);
    }
    HRESULT OnDisconnect() override
    {
        if (m_video) {
            m_video->Release();
            m_video = nullptr;
        }
        return S_OK;
    }
    HRESULT OnActivate() override
    {
        LONG w = 0, h = 0;
        char text[64] = "-";
        if (m_video && SUCCEEDED(m_video->GetVideoSize(&w, &h)))
            snprintf(text, sizeof text, "%ld x %ld", long(w), long(h));
        SetDlgItemTextA(m_Dlg, IDC_RENDERER_SIZE, text);
        return S_OK;
    }

private:
    IBasicVideo* m_video = nullptr;
};

} // namespace

DSHOW_SERVED_CLASS(L"Quality Property Page", &CLSID_QualityProperties, CreateServed<CRendererPage>);

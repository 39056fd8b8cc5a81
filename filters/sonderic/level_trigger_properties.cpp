#include "level_trigger_properties.h"
#include "resource.h"
#include "filter_common.h"
#include <cstdio>
#include <cstdlib>
#include <new>

CUnknown* WINAPI CLevelTriggerProperties::CreateInstance(LPUNKNOWN pUnk, HRESULT* phr)
{
    return FactoryObject(new (std::nothrow) CLevelTriggerProperties(pUnk), phr);
}

CLevelTriggerProperties::CLevelTriggerProperties(LPUNKNOWN pUnk)
    : CBasePropertyPage(TEXT("Sonderic Properties"), pUnk, IDD_LEVEL_PROPERTIES, IDS_TITLE)
{
}

HRESULT CLevelTriggerProperties::OnConnect(IUnknown* pUnknown)
{
    if (!pUnknown)
        return E_POINTER;
    HRESULT hr = pUnknown->QueryInterface(IID_ILevelTrigger, (void**)&m_pTrigger);
    if (FAILED(hr) || !m_pTrigger)
        return E_NOINTERFACE;
    return S_OK;
}

HRESULT CLevelTriggerProperties::OnDisconnect()
{
    if (m_pTrigger) {
        m_pTrigger->Release();
        m_pTrigger = nullptr;
    }
    return S_OK;
}

LONG CLevelTriggerProperties::ReadEdit() const
{
    char text[32] = {};
    GetDlgItemTextA(m_Dlg, IDC_THRESHOLD, text, sizeof text);
    return LONG(atol(text));
}

HRESULT CLevelTriggerProperties::OnActivate()
{
    char text[32];
    snprintf(text, sizeof text, "%ld", long(m_percent));
    SetDlgItemTextA(m_Dlg, IDC_THRESHOLD, text);
    m_bActive = true;
    return S_OK;
}

HRESULT CLevelTriggerProperties::OnDeactivate()
{
    m_bActive = false;
    m_percent = ReadEdit();
    return S_OK;
}

HRESULT CLevelTriggerProperties::OnApplyChanges()
{
    if (m_Dlg)
        m_percent = ReadEdit();
    if (!m_pTrigger)
        return E_UNEXPECTED;
    return m_pTrigger->SetThreshold(int(m_percent));
}

INT_PTR CLevelTriggerProperties::OnReceiveMessage(HWND hwnd, UINT uMsg, WPARAM wParam,
                                                  LPARAM lParam)
{
    if (uMsg == WM_COMMAND && m_bActive) {
        SetDirty();
        return TRUE;
    }
    return CBasePropertyPage::OnReceiveMessage(hwnd, uMsg, wParam, lParam);
}

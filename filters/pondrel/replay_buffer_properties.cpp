#include "replay_buffer_properties.h"
#include "resource.h"
#include "filter_common.h"
#include <cstdio>
#include <new>

CUnknown* WINAPI CReplayBufferProperties::CreateInstance(LPUNKNOWN pUnk, HRESULT* phr)
{
    return FactoryObject(new (std::nothrow) CReplayBufferProperties(pUnk), phr);
}

CReplayBufferProperties::CReplayBufferProperties(LPUNKNOWN pUnk)
    : CBasePropertyPage(TEXT("Pondrel Properties"), pUnk, IDD_REPLAY_PROPERTIES, IDS_TITLE)
{
}

HRESULT CReplayBufferProperties::OnConnect(IUnknown* pUnknown)
{
    if (!pUnknown)
        return E_POINTER;
    HRESULT hr = pUnknown->QueryInterface(IID_IReplayBuffer, (void**)&m_pBuffer);
    if (FAILED(hr) || !m_pBuffer)
        return E_NOINTERFACE;
    m_pBuffer->GetEffect(&m_effect, &m_start, &m_length);
    m_pBuffer->GetBufferInfo(&m_count, &m_bytes);
    return S_OK;
}

HRESULT CReplayBufferProperties::OnDisconnect()
{
    if (m_pBuffer) {
        m_pBuffer->Release();
        m_pBuffer = nullptr;
    }
    return S_OK;
}

HRESULT CReplayBufferProperties::OnActivate()
{
    char text[32];
    snprintf(text, sizeof text, "%d", m_count);
    SetDlgItemTextA(m_Dlg, IDC_BUFFERS, text);
    snprintf(text, sizeof text, "%d", m_bytes);
    SetDlgItemTextA(m_Dlg, IDC_BUFFER_LEN, text);
    // The product in 64 bits: a large ring must not show a wrapped figure.
    snprintf(text, sizeof text, "%d MB", int(double(LONGLONG(m_count) * m_bytes) * 1e-6));
    SetDlgItemTextA(m_Dlg, IDC_TOTAL_MEM, text);
    m_bActive = true;
    return S_OK;
}

HRESULT CReplayBufferProperties::OnDeactivate()
{
    m_bActive = false;
    m_bTriggerNow = IsDlgButtonChecked(m_Dlg, IDC_TRIGGER_NOW) == BST_CHECKED;
    return S_OK;
}

HRESULT CReplayBufferProperties::OnApplyChanges()
{
    if (m_Dlg)
        m_bTriggerNow = IsDlgButtonChecked(m_Dlg, IDC_TRIGGER_NOW) == BST_CHECKED;
    if (!m_pBuffer)
        return E_UNEXPECTED;
    m_pBuffer->SetEffect(m_effect, m_start, m_length);
    if (m_bTriggerNow)
        m_pBuffer->TriggerNow();
    return S_OK;
}

INT_PTR CReplayBufferProperties::OnReceiveMessage(HWND hwnd, UINT uMsg, WPARAM wParam,
                                                  LPARAM lParam)
{
    if (uMsg == WM_COMMAND && m_bActive) {
        SetDirty();
        return TRUE;
    }
    return CBasePropertyPage::OnReceiveMessage(hwnd, uMsg, wParam, lParam);
}

// Property page of the replay buffer: ring statistics and a trigger button.
#pragma once
#include "streams.h"
#include "ireplaybuffer.h"

class CReplayBufferProperties : public CBasePropertyPage {
public:
    static CUnknown* WINAPI CreateInstance(LPUNKNOWN pUnk, HRESULT* phr);

    HRESULT OnConnect(IUnknown* pUnknown) override;
    HRESULT OnDisconnect() override;
    HRESULT OnActivate() override;
    HRESULT OnDeactivate() override;
    HRESULT OnApplyChanges() override;
    INT_PTR OnReceiveMessage(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;

private:
    explicit CReplayBufferProperties(LPUNKNOWN pUnk);

    IReplayBuffer* m_pBuffer = nullptr;
    int m_effect = 0;
    double m_start = 0, m_length = 0;
    int m_count = 0, m_bytes = 0;
    bool m_bActive = false;
    bool m_bTriggerNow = false;
};

// Property page of the sound-level trigger: the threshold in percent.
#pragma once
#include "streams.h"
#include "ileveltrigger.h"

class CLevelTriggerProperties : public CBasePropertyPage {
public:
    static CUnknown* WINAPI CreateInstance(LPUNKNOWN pUnk, HRESULT* phr);

    HRESULT OnConnect(IUnknown* pUnknown) override;
    HRESULT OnDisconnect() override;
    HRESULT OnActivate() override;
    HRESULT OnDeactivate() override;
    HRESULT OnApplyChanges() override;
    INT_PTR OnReceiveMessage(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;

private:
    explicit CLevelTriggerProperties(LPUNKNOWN pUnk);
    LONG ReadEdit() const;

    ILevelTrigger* m_pTrigger = nullptr;
    LONG m_percent = 50;   // what the page shows before anything was applied
    bool m_bActive = false;
};

// The sound trigger options page (dialog template 260). Its mixer functions set and read
// the line-in volume of mixer device 0; the settings store keeps that volume between runs.
#pragma once
#include <afxwin.h>
#include <afxdlgs.h>
#include <mmsystem.h>

class CToolsSoundPropPage : public CPropertyPage
{
public:
    CToolsSoundPropPage();
    virtual ~CToolsSoundPropPage();

    BOOL IsMixerPresent();
    BOOL OpenMixer();
    void SetLineVolume(int volume);
    int GetLineVolume();

private:
    BOOL FindControl(DWORD componentType, DWORD controlType, MIXERCONTROLA& control);

    HMIXER m_hMixer;
    MIXERCONTROLA m_lineVolume;
    MIXERCONTROLA m_micBoost;
    BOOL m_bHasLineVolume;
    BOOL m_bHasMicBoost;
};

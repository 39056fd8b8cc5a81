#include "ToolsSoundPropPage.h"

CToolsSoundPropPage::CToolsSoundPropPage()
    : CPropertyPage(260), m_hMixer(NULL), m_bHasLineVolume(FALSE), m_bHasMicBoost(FALSE)
{
    ZeroMemory(&m_lineVolume, sizeof m_lineVolume);
    ZeroMemory(&m_micBoost, sizeof m_micBoost);
}

CToolsSoundPropPage::~CToolsSoundPropPage()
{
    if (m_hMixer)
        mixerClose(m_hMixer);
}

BOOL CToolsSoundPropPage::IsMixerPresent()
{
    MIXERCAPSA caps;
    return mixerGetDevCapsA(0, &caps, sizeof caps) == MMSYSERR_NOERROR;
}

BOOL CToolsSoundPropPage::FindControl(DWORD componentType, DWORD controlType,
                                       MIXERCONTROLA& control)
{
    MIXERLINEA line;
    ZeroMemory(&line, sizeof line);
    line.cbStruct = sizeof line;
    line.dwComponentType = componentType;
    if (mixerGetLineInfoA((HMIXEROBJ)m_hMixer, &line, MIXER_GETLINEINFOF_COMPONENTTYPE) !=
        MMSYSERR_NOERROR)
        return FALSE;
    MIXERLINECONTROLSA controls;
    ZeroMemory(&controls, sizeof controls);
    controls.cbStruct = sizeof controls;
    controls.dwLineID = line.dwLineID;
    controls.dwControlType = controlType;
    controls.cControls = 1;
    controls.cbmxctrl = sizeof control;
    controls.pamxctrl = &control;
    return mixerGetLineControlsA((HMIXEROBJ)m_hMixer, &controls,
                                 MIXER_GETLINECONTROLSF_ONEBYTYPE) == MMSYSERR_NOERROR;
}

BOOL CToolsSoundPropPage::OpenMixer()
{
    // Mixer changes are reported to the page window once it exists.
    HWND page = GetSafeHwnd();
    DWORD flags = MIXER_OBJECTF_MIXER | (page ? CALLBACK_WINDOW : 0);
    if (!m_hMixer && mixerOpen(&m_hMixer, 0, (DWORD_PTR)page, 0, flags) != MMSYSERR_NOERROR) {
        m_hMixer = NULL;
        return FALSE;
    }
    m_bHasLineVolume = FindControl(MIXERLINE_COMPONENTTYPE_SRC_LINE,
                                   MIXERCONTROL_CONTROLTYPE_VOLUME, m_lineVolume);
    m_bHasMicBoost = FindControl(MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE,
                                 MIXERCONTROL_CONTROLTYPE_ONOFF, m_micBoost);
    return TRUE;
}

void CToolsSoundPropPage::SetLineVolume(int volume)
{
    if (!m_hMixer || !m_bHasLineVolume)
        return;
    MIXERCONTROLDETAILS_UNSIGNED value;
    value.dwValue = (DWORD)volume;
    MIXERCONTROLDETAILS details;
    ZeroMemory(&details, sizeof details);
    details.cbStruct = sizeof details;
    details.dwControlID = m_lineVolume.dwControlID;
    details.cChannels = 1;
    details.cbDetails = sizeof value;
    details.paDetails = &value;
    mixerSetControlDetails((HMIXEROBJ)m_hMixer, &details, MIXER_SETCONTROLDETAILSF_VALUE);
}

int CToolsSoundPropPage::GetLineVolume()
{
    if (!m_hMixer || !m_bHasLineVolume)
        return 0;
    MIXERCONTROLDETAILS_UNSIGNED value;
    value.dwValue = 0;
    MIXERCONTROLDETAILS details;
    ZeroMemory(&details, sizeof details);
    details.cbStruct = sizeof details;
    details.dwControlID = m_lineVolume.dwControlID;
    details.cChannels = 1;
    details.cbDetails = sizeof value;
    details.paDetails = &value;
    if (mixerGetControlDetailsA((HMIXEROBJ)m_hMixer, &details, MIXER_GETCONTROLDETAILSF_VALUE) !=
        MMSYSERR_NOERROR)
        return 0;
    return (int)value.dwValue;
}

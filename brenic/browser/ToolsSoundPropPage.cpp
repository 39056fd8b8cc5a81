#include "ToolsSoundPropPage.h"
#include <vector>
#include "AppConfig.h"
#include "Globals.h"
#include "OptionFigures.h"
#include "options_res.h"

namespace {

const DWORD kWaveBufferBytes = 5000; // about 0.23 s at 11025 16-bit samples a second
const int kMaxChannels = 32;         // a sane bound on what a mixer line may report

MMRESULT WINAPI GetDevCaps(UINT_PTR id, MIXERCAPSA* caps, UINT size)
{
    return mixerGetDevCapsA(id, caps, size);
}
MMRESULT WINAPI Open(HMIXER* mixer, UINT id, DWORD_PTR callback, DWORD_PTR instance,
                     DWORD flags)
{
    return mixerOpen(mixer, id, callback, instance, flags);
}
MMRESULT WINAPI GetLineInfo(HMIXEROBJ mixer, MIXERLINEA* line, DWORD flags)
{
    return mixerGetLineInfoA(mixer, line, flags);
}
MMRESULT WINAPI GetLineControls(HMIXEROBJ mixer, MIXERLINECONTROLSA* controls, DWORD flags)
{
    return mixerGetLineControlsA(mixer, controls, flags);
}
MMRESULT WINAPI GetControlDetails(HMIXEROBJ mixer, MIXERCONTROLDETAILS* details, DWORD flags)
{
    return mixerGetControlDetailsA(mixer, details, flags);
}

} // namespace

MixerApi CToolsSoundPropPage::s_mixer = {
    mixerGetNumDevs, GetDevCaps, Open, mixerClose, GetLineInfo, GetLineControls,
    GetControlDetails, mixerSetControlDetails};

IMPLEMENT_DYNCREATE(CToolsSoundPropPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CToolsSoundPropPage, CPropertyPage)
    ON_WM_HSCROLL()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_MESSAGE(MM_WIM_DATA, OnWimData)
    ON_BN_CLICKED(1124, OnMicBoost)
    ON_NOTIFY(UDN_DELTAPOS, 1227, OnDeltaPosSpin)
END_MESSAGE_MAP()

CToolsSoundPropPage::CToolsSoundPropPage()
    : CPropertyPage(IDD_TOOLS_SOUND), m_nChannels(1), m_dwVolumeControl(0), m_dwBoostControl(0),
      m_dwMuteControl(0), m_hMixer(NULL), m_nPeak(0), m_bTriggered(0), m_nThresholdLevel(0),
      m_hWaveIn(NULL), m_nFieldAdjust(0), m_nDevice(0)
{
    ZeroMemory(&m_waveHeader, sizeof m_waveHeader);
}

CToolsSoundPropPage::~CToolsSoundPropPage()
{
    StopLevelMeter();
    CloseMixer();
}

// ---------------------------------------------------------------------------------------
// Mixer

BOOL CToolsSoundPropPage::IsMixerPresent()
{
    MIXERCAPSA caps;
    ZeroMemory(&caps, sizeof caps);
    return s_mixer.getDevCaps(0, &caps, sizeof caps) == MMSYSERR_NOERROR;
}

BOOL CToolsSoundPropPage::OpenMixer()
{
    if (m_hMixer)
        return TRUE;
    // The microphone may sit on any of the mixers (one per direction under Wine): the
    // first one that has it is taken.
    const UINT count = s_mixer.getNumDevs();
    for (UINT device = 0; device < count; ++device) {
        MIXERCAPSA caps;
        ZeroMemory(&caps, sizeof caps);
        if (s_mixer.getDevCaps(device, &caps, sizeof caps) != MMSYSERR_NOERROR)
            continue;
        HWND page = GetSafeHwnd();
        HMIXER mixer = NULL;
        if (s_mixer.open(&mixer, device, (DWORD_PTR)page, 0,
                         MIXER_OBJECTF_MIXER | (page ? CALLBACK_WINDOW : 0)) !=
                MMSYSERR_NOERROR ||
            !mixer)
            continue;
        m_hMixer = mixer;
        m_nDevice = device;
        DWORD line = 0;
        if (!LocateMixerLine(MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE,
                             MIXERLINE_COMPONENTTYPE_DST_WAVEIN, line)) {
            CloseMixer();
            continue;
        }
        m_dwVolumeControl = FindLineControl(line, MIXERCONTROL_CONTROLTYPE_VOLUME);
        m_dwBoostControl = FindLineControl(line, MIXERCONTROL_CONTROLTYPE_ONOFF);
        m_dwMuteControl = FindLineControl(line, MIXERCONTROL_CONTROLTYPE_MUTE);
        m_nChannels = GetLineChannels(line);
        if (m_dwMuteControl)
            SetControlBoolean(m_dwMuteControl, m_nChannels, FALSE);
        return TRUE;
    }
    return FALSE;
}

void CToolsSoundPropPage::CloseMixer()
{
    if (m_hMixer)
        s_mixer.close(m_hMixer);
    m_hMixer = NULL;
    m_dwVolumeControl = m_dwBoostControl = m_dwMuteControl = 0;
    m_nChannels = 1;
}

DWORD CToolsSoundPropPage::FindMixerLine(DWORD sourceType, DWORD destinationType)
{
    DWORD line = 0;
    return LocateMixerLine(sourceType, destinationType, line) ? line : 0;
}

// Wine numbers a destination's first source line 0: whether a line was found is told
// apart from its identifier.
BOOL CToolsSoundPropPage::LocateMixerLine(DWORD sourceType, DWORD destinationType,
                                          DWORD& lineId)
{
    if (!m_hMixer)
        return FALSE;
    MIXERCAPSA caps;
    ZeroMemory(&caps, sizeof caps);
    if (s_mixer.getDevCaps(m_nDevice, &caps, sizeof caps) != MMSYSERR_NOERROR)
        return FALSE;
    const HMIXEROBJ mixer = (HMIXEROBJ)m_hMixer;
    MIXERLINEA destination;
    DWORD d = 0;
    for (; d < caps.cDestinations; ++d) {
        ZeroMemory(&destination, sizeof destination);
        destination.cbStruct = sizeof destination;
        destination.dwDestination = d;
        if (s_mixer.getLineInfo(mixer, &destination,
                                MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_DESTINATION) ==
                MMSYSERR_NOERROR &&
            destination.dwComponentType == destinationType)
            break;
    }
    if (d == caps.cDestinations)
        return FALSE;
    if (sourceType == (DWORD)-1) {
        lineId = destination.dwLineID;
        return TRUE;
    }
    for (DWORD s = 0; s < destination.cConnections; ++s) {
        MIXERLINEA source;
        ZeroMemory(&source, sizeof source);
        source.cbStruct = sizeof source;
        source.dwDestination = d;
        source.dwSource = s;
        if (s_mixer.getLineInfo(mixer, &source,
                                MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_SOURCE) ==
                MMSYSERR_NOERROR &&
            source.dwComponentType == sourceType) {
            lineId = source.dwLineID;
            return TRUE;
        }
    }
    return FALSE;
}

DWORD CToolsSoundPropPage::FindLineControl(DWORD lineId, DWORD controlType)
{
    if (!m_hMixer)
        return 0;
    MIXERLINEA line;
    ZeroMemory(&line, sizeof line);
    line.cbStruct = sizeof line;
    line.dwLineID = lineId;
    if (s_mixer.getLineInfo((HMIXEROBJ)m_hMixer, &line,
                            MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_LINEID) !=
            MMSYSERR_NOERROR ||
        line.cControls == 0 || line.cControls > 256)
        return 0;
    std::vector<MIXERCONTROLA> controls(line.cControls);
    ZeroMemory(controls.data(), controls.size() * sizeof(MIXERCONTROLA));
    MIXERLINECONTROLSA request;
    ZeroMemory(&request, sizeof request);
    request.cbStruct = sizeof request;
    request.dwLineID = lineId;
    request.cControls = line.cControls;
    request.cbmxctrl = sizeof(MIXERCONTROLA);
    request.pamxctrl = controls.data();
    if (s_mixer.getLineControls((HMIXEROBJ)m_hMixer, &request,
                                MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ALL) !=
        MMSYSERR_NOERROR)
        return 0;
    for (const MIXERCONTROLA& control : controls)
        if (control.dwControlType == controlType)
            return control.dwControlID;
    return 0;
}

int CToolsSoundPropPage::GetLineChannels(DWORD lineId)
{
    MIXERLINEA line;
    ZeroMemory(&line, sizeof line);
    line.cbStruct = sizeof line;
    line.dwLineID = lineId;
    if (!m_hMixer ||
        s_mixer.getLineInfo((HMIXEROBJ)m_hMixer, &line,
                            MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_LINEID) !=
            MMSYSERR_NOERROR)
        return 1;
    if (line.cChannels < 1)
        return 1;
    return line.cChannels > (DWORD)kMaxChannels ? kMaxChannels : (int)line.cChannels;
}

// One 32-bit value per channel. A read starts from zeros: some mixers report success
// without writing anything.
MMRESULT CToolsSoundPropPage::ControlDetails(DWORD controlId, int channels, DWORD* values,
                                             BOOL write)
{
    MIXERCONTROLDETAILS details;
    ZeroMemory(&details, sizeof details);
    details.cbStruct = sizeof details;
    details.dwControlID = controlId;
    details.cChannels = channels;
    details.cMultipleItems = 0;
    details.cbDetails = sizeof(DWORD);
    details.paDetails = values;
    const DWORD flags = MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE;
    if (write)
        return s_mixer.setControlDetails((HMIXEROBJ)m_hMixer, &details, flags);
    ZeroMemory(values, channels * sizeof(DWORD));
    return s_mixer.getControlDetails((HMIXEROBJ)m_hMixer, &details, flags);
}

MMRESULT CToolsSoundPropPage::SetControlUnsigned(DWORD controlId, int channels, DWORD value)
{
    if (!m_hMixer || !controlId)
        return MMSYSERR_INVALHANDLE;
    if (channels < 1 || channels > kMaxChannels)
        channels = 1;
    std::vector<DWORD> values(channels, 0);
    const MMRESULT read = ControlDetails(controlId, channels, values.data(), FALSE);
    if (read != MMSYSERR_NOERROR)
        return read;
    for (DWORD& v : values)
        v = value;
    return ControlDetails(controlId, channels, values.data(), TRUE);
}

DWORD CToolsSoundPropPage::GetControlUnsigned(DWORD controlId, int channels)
{
    if (!m_hMixer || !controlId)
        return 0;
    if (channels < 1 || channels > kMaxChannels)
        channels = 1;
    std::vector<DWORD> values(channels, 0);
    if (ControlDetails(controlId, channels, values.data(), FALSE) != MMSYSERR_NOERROR)
        return 0;
    return values[0];
}

MMRESULT CToolsSoundPropPage::SetControlBoolean(DWORD controlId, int channels, BOOL value)
{
    return SetControlUnsigned(controlId, channels, value ? 1 : 0);
}

BOOL CToolsSoundPropPage::GetControlBoolean(DWORD controlId, int channels)
{
    return GetControlUnsigned(controlId, channels) & 1;
}

void CToolsSoundPropPage::SetLineVolume(int volume)
{
    SetControlUnsigned(m_dwVolumeControl, m_nChannels, (DWORD)volume);
}

int CToolsSoundPropPage::GetLineVolume()
{
    return (int)GetControlUnsigned(m_dwVolumeControl, m_nChannels);
}

// ---------------------------------------------------------------------------------------
// Level meter

void CToolsSoundPropPage::SetThresholdFromSlider(int threshold)
{
    m_nThresholdLevel = options::ThresholdLevel(threshold);
}

void CToolsSoundPropPage::StartLevelMeter()
{
    if (m_hWaveIn || !GetSafeHwnd())
        return;
    WAVEFORMATEX format;
    ZeroMemory(&format, sizeof format);
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 1;
    format.nSamplesPerSec = 11025;
    format.nAvgBytesPerSec = 22050;
    format.nBlockAlign = 2;
    format.wBitsPerSample = 16;
    if (waveInOpen(&m_hWaveIn, WAVE_MAPPER, &format, (DWORD_PTR)m_hWnd, 0, CALLBACK_WINDOW) !=
        MMSYSERR_NOERROR) {
        m_hWaveIn = NULL;
        return;
    }
    ZeroMemory(&m_waveHeader, sizeof m_waveHeader);
    m_waveHeader.lpData = new char[kWaveBufferBytes];
    m_waveHeader.dwBufferLength = kWaveBufferBytes;
    waveInPrepareHeader(m_hWaveIn, &m_waveHeader, sizeof m_waveHeader);
    waveInAddBuffer(m_hWaveIn, &m_waveHeader, sizeof m_waveHeader);
    waveInStart(m_hWaveIn);
}

void CToolsSoundPropPage::StopLevelMeter()
{
    if (m_hWaveIn) {
        HWAVEIN wave = m_hWaveIn;
        m_hWaveIn = NULL; // a buffer returned from here on is not queued again
        waveInStop(wave);
        waveInReset(wave);
        waveInUnprepareHeader(wave, &m_waveHeader, sizeof m_waveHeader);
        waveInClose(wave);
    }
    delete[] m_waveHeader.lpData;
    ZeroMemory(&m_waveHeader, sizeof m_waveHeader);
}

int CToolsSoundPropPage::GetPeakLevel(const WAVEHDR* header) const
{
    if (!header || !header->lpData)
        return 0;
    DWORD bytes = header->dwBytesRecorded;
    if (bytes > header->dwBufferLength)
        bytes = header->dwBufferLength;
    return options::PeakLevel(header->lpData, bytes);
}

LRESULT CToolsSoundPropPage::OnWimData(WPARAM wParam, LPARAM lParam)
{
    WAVEHDR* header = (WAVEHDR*)lParam;
    if (!m_hWaveIn || (HWAVEIN)wParam != m_hWaveIn || header != &m_waveHeader)
        return 0;
    m_nPeak = GetPeakLevel(header);
    // Each change of state stays on screen for at least a quarter second.
    if (m_nPeak >= m_nThresholdLevel) {
        SetDlgItemText(1118, "Triggered");
        RedrawMeter();
        if (!m_bTriggered)
            Sleep(250);
        m_bTriggered = 1;
    } else {
        SetDlgItemText(1118, "NOT Triggered");
        RedrawMeter();
        if (m_bTriggered)
            Sleep(250);
        m_bTriggered = 0;
    }
    if (m_hWaveIn) {
        header->dwBytesRecorded = 0;
        if (!(header->dwFlags & WHDR_PREPARED))
            waveInPrepareHeader(m_hWaveIn, header, sizeof *header);
        waveInAddBuffer(m_hWaveIn, header, sizeof *header);
    }
    return 0;
}

CRect CToolsSoundPropPage::ItemRect(int id)
{
    CRect rect(0, 0, 0, 0);
    if (CWnd* item = GetDlgItem(id)) {
        item->GetWindowRect(&rect);
        ScreenToClient(&rect);
    }
    return rect;
}

void CToolsSoundPropPage::RedrawMeter()
{
    InvalidateRect(ItemRect(1122), FALSE);
    InvalidateRect(ItemRect(1118), FALSE);
    UpdateWindow();
}

void CToolsSoundPropPage::OnPaint()
{
    CPaintDC dc(this);
    // Silence shows an empty bar; the kept peak itself is left as measured, so that the
    // indicator compares the real level with the threshold.
    const int peak = m_nPeak < 1 ? 1 : m_nPeak;
    options::DrawGauge(&dc, ItemRect(1122), options::MeterFraction(peak));
    CRect indicator = ItemRect(1118);
    dc.DrawEdge(&indicator, EDGE_SUNKEN, BF_RECT);
    indicator.DeflateRect(2, 2);
    dc.FillSolidRect(&indicator,
                     m_nPeak >= m_nThresholdLevel ? RGB(0, 255, 0) : RGB(0, 81, 0));
}

// ---------------------------------------------------------------------------------------
// Page

void CToolsSoundPropPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, 1227, m_spin);
    DDX_Control(pDX, 1123, m_volume);
    DDX_Control(pDX, 1118, m_levelText);
    DDX_Control(pDX, 1056, m_threshold);
    DDX_Text(pDX, 1229, m_nFieldAdjust);
    DDV_MinMaxInt(pDX, m_nFieldAdjust, -9, 9);
}

BOOL CToolsSoundPropPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    CAppConfig* config = g_pAppConfig;
    m_spin.SetBuddy(GetDlgItem(1229));
    m_spin.SetRange(-9, 9);
    m_nFieldAdjust = config->GetSoundTrigAdjust();
    m_spin.SetPos(m_nFieldAdjust);
    UpdateData(FALSE);

    // The slider grows to the right with sensitivity.
    m_threshold.SetRange(0, 100);
    m_threshold.SetPos(100 - config->GetSoundThreshold());
    CString text;
    text.Format("%d", m_threshold.GetPos());
    SetDlgItemText(1030, text);
    SetThresholdFromSlider(config->GetSoundThreshold());

    StartLevelMeter();
    OpenMixer();
    if (!m_dwBoostControl)
        GetDlgItem(1124)->EnableWindow(FALSE);
    else
        CheckDlgButton(1124, GetControlBoolean(m_dwBoostControl, m_nChannels) ? 1 : 0);
    m_volume.SetRange(0, 65535);
    m_volume.SetLineSize(655);
    const int volume = GetLineVolume();
    m_volume.SetPos(volume);
    text.Format("%d", (int)(volume / 655.35));
    SetDlgItemText(1031, text);
    return TRUE;
}

void CToolsSoundPropPage::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    const HWND slider = pScrollBar ? pScrollBar->GetSafeHwnd() : NULL;
    CString text;
    if (slider == m_threshold.GetSafeHwnd()) {
        text.Format("%d", m_threshold.GetPos());
        SetDlgItemText(1030, text);
        const int threshold = 100 - m_threshold.GetPos();
        if (threshold != g_pAppConfig->GetSoundThreshold())
            SetModified(TRUE);
        SetThresholdFromSlider(threshold);
    } else if (slider == m_volume.GetSafeHwnd()) {
        SetLineVolume(m_volume.GetPos());
        SetModified(TRUE);
        text.Format("%d", (int)(GetLineVolume() / 655.35));
        SetDlgItemText(1031, text);
    }
    CPropertyPage::OnHScroll(nSBCode, nPos, pScrollBar);
}

void CToolsSoundPropPage::OnMicBoost()
{
    SetControlBoolean(m_dwBoostControl, m_nChannels, IsDlgButtonChecked(1124) ? TRUE : FALSE);
}

void CToolsSoundPropPage::OnDeltaPosSpin(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMUPDOWN* change = (NMUPDOWN*)pNMHDR;
    int value = change->iPos + change->iDelta;
    m_nFieldAdjust = value < -9 ? -9 : value > 9 ? 9 : value;
    UpdateData(FALSE);
    SetModified(TRUE);
    *pResult = 0;
}

void CToolsSoundPropPage::OnOK()
{
    g_pAppConfig->SetSoundThreshold(100 - m_threshold.GetPos());
    g_pAppConfig->SetSoundTrigAdjust(m_nFieldAdjust);
    CPropertyPage::OnOK();
}

void CToolsSoundPropPage::OnCancel()
{
    SetThresholdFromSlider(g_pAppConfig->GetSoundThreshold());
    CPropertyPage::OnCancel();
}

void CToolsSoundPropPage::OnDestroy()
{
    CPropertyPage::OnDestroy();
    StopLevelMeter();
}

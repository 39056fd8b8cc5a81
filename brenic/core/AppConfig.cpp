#include "AppConfig.h"
#include <afxwin.h>
#include <shlobj.h>
#include <stdlib.h>
#include "DatabaseMgr.h"
#include "FileTask.h"
#include "Globals.h"
#include "Utility.h"
#include "../browser/DatabaseSheet.h"
#include "../browser/ToolsSoundPropPage.h"
#include "../frame/Lesson.h"
#include "../video/Clavio.h"
#include "ODCustomViewport.h"

// The settings live under the maker's key, in a key named with the product title.
const char* const CAppConfig::RegistryKey = "Software\\Quorvel\\Quorvel Redovove LE";
const char* const CAppConfig::AssociationKey = "kpx.File\\shell\\open\\command";

static const char* const kDatabaseFileName = "Quorvel.mdb";
static const UINT kUpdateFrameCount = 32806;

namespace {
struct KeyDefault
{
    const char* name;
    UINT command;
    int key;
};

const KeyDefault kKeyDefaults[KEY_COMMANDS_USED] = {
    {"STARTAUTORECKEY", 32802, 1},  {"STARTMANRECKEY", 32804, 2},
    {"TRIGGERAUTORECKEY", 32803, 3}, {"ATTENSLIDER", 32805, 12},
    {"TOGGLEWINDOW", 32807, 11},    {"SPLITWINDOWKEY", 32812, 10},
    {"TAB16TOGGLEKEY", 32815, 9},   {"LOCKIMPACTKEY", 32813, 8},
    {"LOCKVIEWKEY", 32814, 7},      {"TOGGLEMIRRORKEY", 32820, 4},
    {"PLAYKEY", 32821, 5},          {"REALPLAYKEY", 32822, 6},
};

CString KeyValueName(int entry)
{
    CString name;
    name.Format("KeyCommandList[%s].Key", kKeyDefaults[entry].name);
    return name;
}

void SetFontDefaults(CString& face, int& points, COLORREF& color, int& weight, int& italic,
                     int& underline)
{
    face = "Arial";
    points = 10;
    color = 16777215;
    weight = 400;
    italic = 0;
    underline = 0;
}
} // namespace

CAppConfig::CAppConfig()
{
    m_strRecordView = "Face on";
    m_strRecordClub = "Driver";
    m_strCaptureDriverName = "Microsoft DV Camera and VCR";
    m_nSoundThreshold = 50;
    m_nSoundTrigAdjust = 0;
    m_nCueHoldDelay = 5;
    m_nAutoRepeatReplay = 2;
    m_nPreTrigFrames = 39;
    m_nCaptureBufferLimit = 120;
    m_nPostTrigFrames = 30;
    m_nAutoRewind = 1;
    m_crLineColor = 0;
    m_nLastKnownGoodCamera = 0;
    m_nLaunchHelp = 1;
    m_bImportVideoFiles = 1;
    m_nShadowMix = 10;
    m_nSkipFields = 0;
    m_nExportFilterIndex = 1;
    m_nImportFilterIndex = 1;
    m_nLineWidth = 2;
    m_nLineStyle = 0;
    SetFontDefaults(m_strFontFaceName, m_nFontPointSize, m_crFontColor, m_nFontWeight,
                    m_nFontItalic, m_nFontUnderline);
    m_bVideoFrameCount = 0;
    m_nLessonDuration = 30;
    m_nLessonExtend = 5;
    m_bNagEnable = 1;
    m_bImpactTabRelative = 1;
    m_fPlaySpeed = 1.0f;
    m_crBkgColor = 10072511;
    m_bUseDefaultColors = 1;
    m_bTelestratorMode = 0;
    m_nSoundVolume = 20000;
    m_bFileAssociated = FALSE;

    m_strDatabasePath = kDatabaseFileName;
    m_strExeName = "pelvane_LE.exe";
    m_nRecordMode = 1;
    m_nReplayMode = 0;
    m_bAutoReplay = FALSE;
    m_nDrawingTool = -1;
    m_nClipFormat = RegisterClipboardFormatA("ZuroVaraRir");
    m_bNetworkMode = 0;
    m_strNetworkDatabasePath = kDatabaseFileName;
    m_bMixerPresent = 1;
    m_bLoaded = FALSE;

    for (int i = 0; i < KEY_COMMAND_COUNT; ++i) {
        m_keyCommands[i].enabled = FALSE;
        m_keyCommands[i].command = 0;
        m_keyCommands[i].key = 0;
    }
    for (int i = 0; i < KEY_COMMANDS_USED; ++i) {
        m_keyCommands[i].enabled = TRUE;
        m_keyCommands[i].command = kKeyDefaults[i].command;
        m_keyCommands[i].key = kKeyDefaults[i].key;
    }
}

CAppConfig::~CAppConfig()
{
}

void CAppConfig::ReadText(CRegKey& key, LPCTSTR name, CString& value)
{
    key.ReadString(name, value);
}

void CAppConfig::ReadInt(CRegKey& key, LPCTSTR name, int& value)
{
    CString text;
    text.Format("%d", value);
    key.ReadString(name, text);
    value = atoi(text);
}

void CAppConfig::WriteInt(CRegKey& key, LPCTSTR name, int value)
{
    CString text;
    text.Format("%d", value);
    key.WriteString(name, text);
}

void CAppConfig::SetInstallDir(CString folder)
{
    if (!folder.IsEmpty() && folder[folder.GetLength() - 1] != '\\')
        folder += '\\';
    m_strInstallDir = folder;
    m_strDatabasePath = m_strInstallDir + kDatabaseFileName;
}

BOOL CAppConfig::LoadSettings()
{
    CRegKey key(HKEY_LOCAL_MACHINE, RegistryKey);
    m_strExeName = "pelvane_LE.exe";

    CString captureDir;
    ReadText(key, "CaptureDirectory", captureDir);

    char modulePath[MAX_PATH] = "";
    GetModuleFileNameA(NULL, modulePath, MAX_PATH);
    CExtString program(modulePath);
    SetInstallDir(program.GetPathFolder());

    DWORD attributes = captureDir.IsEmpty() ? INVALID_FILE_ATTRIBUTES
                                            : GetFileAttributesA(captureDir);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        captureDir = m_strInstallDir + "Capture";
        CreateDirectoryA(captureDir, NULL);
    }
    m_strCaptureDirectory = captureDir;
    key.WriteString("InstallDir", m_strInstallDir);

    {
        CDatabaseMgr database;
        if (!database.OpenDatabase(CString())) {
            AfxMessageBox("A valid database connection could not be established.  Exiting "
                          "application.");
            return FALSE;
        }
    }

    ReadText(key, "RecordView", m_strRecordView);
    ReadText(key, "RecordClub", m_strRecordClub);
    ReadText(key, "CaptureDriverName", m_strCaptureDriverName);
    ReadText(key, "VideoHelp", m_strVideoHelp);
    ReadText(key, "DefaultHelpLoc", m_strDefaultHelpLoc);
    ReadText(key, "VideoFilesDir", m_strVideoFilesDir);
    ReadInt(key, "SoundThreshold", m_nSoundThreshold);
    ReadInt(key, "SoundTrigAdjust", m_nSoundTrigAdjust);
    ReadInt(key, "CueHoldDelay", m_nCueHoldDelay);
    ReadInt(key, "AutoRepeatReplay", m_nAutoRepeatReplay);
    ReadInt(key, "PreTrigFrames", m_nPreTrigFrames);
    ReadInt(key, "PostTrigFrames", m_nPostTrigFrames);
    ReadInt(key, "AutoRewind", m_nAutoRewind);
    int color = (int)m_crLineColor;
    ReadInt(key, "LineColor", color);
    m_crLineColor = (COLORREF)color;
    ReadInt(key, "LastKnownGoodCamera", m_nLastKnownGoodCamera);
    ReadInt(key, "LaunchHelp", m_nLaunchHelp);
    ReadInt(key, "ImportVideoFiles", m_bImportVideoFiles);
    ReadInt(key, "ShadowMix", m_nShadowMix);
    ReadInt(key, "SkipFields", m_nSkipFields);
    ReadInt(key, "ExportFilterIndex", m_nExportFilterIndex);
    ReadInt(key, "ImportFilterIndex", m_nImportFilterIndex);

    {
        CRegKey assoc(HKEY_CLASSES_ROOT, AssociationKey);
        CheckFileAssociation(assoc);
    }

    ReadInt(key, "LineWidth", m_nLineWidth);
    ReadInt(key, "LineStyle", m_nLineStyle);
    SetFontDefaults(m_strFontFaceName, m_nFontPointSize, m_crFontColor, m_nFontWeight,
                    m_nFontItalic, m_nFontUnderline);
    ReadText(key, "FontFaceName", m_strFontFaceName);
    ReadInt(key, "FontPointSize", m_nFontPointSize);
    color = (int)m_crFontColor;
    ReadInt(key, "FontColor", color);
    m_crFontColor = (COLORREF)color;
    ReadInt(key, "FontWeight", m_nFontWeight);
    ReadInt(key, "FontItalic", m_nFontItalic);
    ReadInt(key, "FontUnderline", m_nFontUnderline);
    for (int i = 0; i < KEY_COMMANDS_USED; ++i)
        ReadInt(key, KeyValueName(i), m_keyCommands[i].key);
    ReadInt(key, "bVideoFrameCount", m_bVideoFrameCount);
    ReadInt(key, "LessonDuration", m_nLessonDuration);
    ReadInt(key, "LessonExtend", m_nLessonExtend);
    ReadInt(key, "bNagEnable", m_bNagEnable);
    ReadInt(key, "bImpactTabRelative", m_bImpactTabRelative);
    CString speed;
    speed.Format("%f", m_fPlaySpeed);
    key.ReadString("PlaySpeed", speed);
    m_fPlaySpeed = (float)atof(speed);
    color = (int)m_crBkgColor;
    ReadInt(key, "BkgColor", color);
    m_crBkgColor = (COLORREF)color;
    ReadInt(key, "bUseDefaultColors", m_bUseDefaultColors);
    ReadInt(key, "bTelestratorMode", m_bTelestratorMode);
    m_bLoaded = TRUE;

    if (g_pLesson)
        g_pLesson->ApplySettings();

    if (!CheckFieldDefsFile())
        return FALSE;
    m_xmlParser.SetFileName(GetFieldDefsPath());
    if (m_xmlParser.Open() != 0)
        return FALSE;
    return TRUE;
}

BOOL CAppConfig::SaveSettings()
{
    if (!m_bLoaded)
        return TRUE;
    CRegKey key(HKEY_LOCAL_MACHINE, RegistryKey);
    key.WriteString("RecordView", m_strRecordView);
    key.WriteString("RecordClub", m_strRecordClub);
    key.WriteString("CaptureDriverName", m_strCaptureDriverName);
    key.WriteString("VideoHelp", m_strVideoHelp);
    key.WriteString("VideoFilesDir", m_strVideoFilesDir);
    WriteInt(key, "SoundThreshold", m_nSoundThreshold);
    WriteInt(key, "SoundTrigAdjust", m_nSoundTrigAdjust);
    WriteInt(key, "CueHoldDelay", m_nCueHoldDelay);
    WriteInt(key, "AutoRepeatReplay", m_nAutoRepeatReplay);
    WriteInt(key, "PreTrigFrames", m_nPreTrigFrames);
    WriteInt(key, "PostTrigFrames", m_nPostTrigFrames);
    WriteInt(key, "AutoRewind", m_nAutoRewind);
    WriteInt(key, "LineColor", (int)m_crLineColor);
    WriteInt(key, "LastKnownGoodCamera", m_nLastKnownGoodCamera);
    WriteInt(key, "LaunchHelp", m_nLaunchHelp);
    WriteInt(key, "ImportVideoFiles", m_bImportVideoFiles);
    WriteInt(key, "ShadowMix", m_nShadowMix);
    WriteInt(key, "SkipFields", m_nSkipFields);
    WriteInt(key, "FileAssoc", m_bFileAssociated);
    WriteInt(key, "ExportFilterIndex", m_nExportFilterIndex);
    WriteInt(key, "ImportFilterIndex", m_nImportFilterIndex);
    WriteInt(key, "LineWidth", m_nLineWidth);
    WriteInt(key, "LineStyle", m_nLineStyle);
    key.WriteString("FontFaceName", m_strFontFaceName);
    WriteInt(key, "FontPointSize", m_nFontPointSize);
    WriteInt(key, "FontColor", (int)m_crFontColor);
    WriteInt(key, "FontWeight", m_nFontWeight);
    WriteInt(key, "FontItalic", m_nFontItalic);
    WriteInt(key, "FontUnderline", m_nFontUnderline);
    for (int i = 0; i < KEY_COMMANDS_USED; ++i)
        WriteInt(key, KeyValueName(i), m_keyCommands[i].key);
    WriteInt(key, "bVideoFrameCount", m_bVideoFrameCount);
    WriteInt(key, "LessonDuration", m_nLessonDuration);
    WriteInt(key, "LessonExtend", m_nLessonExtend);
    WriteInt(key, "bNagEnable", m_bNagEnable);
    WriteInt(key, "bImpactTabRelative", m_bImpactTabRelative);

    if (m_bMixerPresent) {
        CToolsSoundPropPage mixer;
        if (mixer.OpenMixer())
            m_nSoundVolume = mixer.GetLineVolume();
        WriteInt(key, "SoundVolume", m_nSoundVolume);
    }

    CString speed;
    speed.Format("%f", m_fPlaySpeed);
    key.WriteString("PlaySpeed", speed);
    WriteInt(key, "BkgColor", (int)m_crBkgColor);
    WriteInt(key, "bUseDefaultColors", m_bUseDefaultColors);
    WriteInt(key, "bTelestratorMode", m_bTelestratorMode);

    DeleteFileA(m_strInstallDir + "Export.mdb");
    RemoveDirectoryA(m_strInstallDir + "Temp");
    return TRUE;
}

void CAppConfig::SetVideoFrameCount(BOOL value)
{
    BOOL changed = value != m_bVideoFrameCount;
    m_bVideoFrameCount = value;
    CWnd* main = AfxGetMainWnd();
    if (changed && main && main->GetSafeHwnd())
        main->SendMessage(WM_COMMAND, kUpdateFrameCount, 0);
}

void CAppConfig::SetLessonDuration(int minutes)
{
    BOOL changed = minutes != m_nLessonDuration;
    m_nLessonDuration = minutes;
    if (changed && g_pLesson)
        g_pLesson->ApplySettings();
}

void CAppConfig::SetLessonExtend(int minutes)
{
    BOOL changed = minutes != m_nLessonExtend;
    m_nLessonExtend = minutes;
    if (changed && g_pLesson)
        g_pLesson->ApplySettings();
}

void CAppConfig::StoreDrawingDefaults(CODCustomViewport* viewport)
{
    if (!viewport)
        return;
    m_crLineColor = viewport->GetLineColor();
    m_nLineWidth = viewport->GetLineWidth();
    m_nLineStyle = viewport->GetLineStyle();
    CODFontProperties* font = viewport->FindFontProperties();
    if (font) {
        m_strFontFaceName = font->GetFaceName();
        m_nFontPointSize = font->GetPointSize();
        m_crFontColor = font->GetColor();
        m_nFontWeight = font->GetWeight();
        m_nFontItalic = font->GetItalic();
        m_nFontUnderline = font->GetUnderline();
    }
}

void CAppConfig::ApplyDrawingDefaults(CODCustomViewport* viewport)
{
    if (!viewport)
        return;
    viewport->SetLineColor(m_crLineColor);
    viewport->SetLineWidth(m_nLineWidth);
    viewport->SetLineStyle(m_nLineStyle);
    CODFontProperties* font = viewport->FindFontProperties();
    if (font) {
        font->SetFaceName(m_strFontFaceName);
        font->SetPointSize(m_nFontPointSize);
        font->SetColor(m_crFontColor);
        font->SetWeight(m_nFontWeight);
        font->SetItalic(m_nFontItalic);
        font->SetUnderline(m_nFontUnderline);
    }
}

// ---------------------------------------------------------------------------------------
// Function keys

const char* CAppConfig::GetKeyCommandName(int entry)
{
    return entry >= 0 && entry < KEY_COMMANDS_USED ? kKeyDefaults[entry].name : "";
}

BOOL CAppConfig::DispatchHotKey(UINT virtualKey)
{
    for (int i = 0; i < KEY_COMMAND_COUNT; ++i) {
        const KeyCommand& entry = m_keyCommands[i];
        if (entry.enabled && (UINT)(entry.key + 111) == virtualKey) {
            // While files are being moved or compacted the key is taken but starts nothing.
            if (CFileTask::IsRunning())
                return TRUE;
            CWnd* main = AfxGetMainWnd();
            if (main && main->GetSafeHwnd())
                main->SendMessage(WM_COMMAND, entry.command, 0);
            return TRUE;
        }
    }
    return FALSE;
}

int CAppConfig::GetHotKey(int entry) const
{
    if (entry < 0 || entry >= KEY_COMMAND_COUNT)
        return 0;
    return m_keyCommands[entry].key;
}

void CAppConfig::SetHotKey(int entry, int key)
{
    if (entry < 0 || entry >= KEY_COMMAND_COUNT)
        return;
    m_keyCommands[entry].key = key;
    // No key makes the entry inert; a key again (F1 to F12) brings a used entry back.
    if (key == 0)
        m_keyCommands[entry].enabled = FALSE;
    else if (key >= 1 && key <= 12 && entry < KEY_COMMANDS_USED)
        m_keyCommands[entry].enabled = TRUE;
}

// ---------------------------------------------------------------------------------------
// Paths, network mode, database sheet

CString CAppConfig::GetCaptureDirectory() const
{
    return m_bNetworkMode ? m_strNetworkCaptureDirectory : m_strCaptureDirectory;
}

CString CAppConfig::GetDatabasePath() const
{
    return m_bNetworkMode ? GetNetworkDatabasePath() : m_strDatabasePath;
}

CString CAppConfig::GetTempDir() const
{
    CString dir = m_strInstallDir + "Temp";
    CreateDirectoryA(dir, NULL);
    return dir;
}

BOOL CAppConfig::ConnectDatabase()
{
    // The local sheet is made on the local database.
    m_bNetworkMode = 0;
    if (!g_pDatabaseSheet)
        g_pDatabaseSheet = new CDatabaseSheet("Vido Database", NULL, 0);
    // A sheet whose database could not be opened is dropped, so that the next request
    // tries again.
    if (!g_pDatabaseSheet->IsConnected()) {
        if (!g_pDatabaseSheet->IsInModalLoop()) {
            delete g_pDatabaseSheet;
            g_pDatabaseSheet = NULL;
        }
        AfxMessageBox("Cannot connect to database");
        return FALSE;
    }
    if (g_pClavio)
        g_pClavio->Stop();
    return TRUE;
}

// ---------------------------------------------------------------------------------------
// File association

CString CAppConfig::GetAssociationCommand() const
{
    return "\"" + m_strInstallDir + m_strExeName + "\" \"%1\"";
}

void CAppConfig::CheckFileAssociation(CRegKey& key)
{
    CString current;
    key.ReadString("", current);
    CString expected = GetAssociationCommand();
    current.MakeLower();
    expected.MakeLower();
    m_bFileAssociated = current == expected;
}

void CAppConfig::SetFileAssociation(BOOL on)
{
    CRegKey key(HKEY_CLASSES_ROOT, AssociationKey);
    if (on) {
        key.WriteString("", GetAssociationCommand());
        key.DeleteValue("command");
        SHChangeNotify(SHCNE_ASSOCCHANGED, 0, NULL, NULL);
        m_bFileAssociated = TRUE;
    } else {
        if (m_bFileAssociated)
            key.WriteString("", "\"\"");
        SHChangeNotify(SHCNE_ASSOCCHANGED, 0, NULL, NULL);
        m_bFileAssociated = FALSE;
    }
}

// ---------------------------------------------------------------------------------------
// Mixer and field definitions

BOOL CAppConfig::DetectMixer()
{
    CToolsSoundPropPage mixer;
    m_bMixerPresent = mixer.IsMixerPresent() ? 1 : 0;
    return m_bMixerPresent;
}

BOOL CAppConfig::LoadSoundVolume()
{
    CRegKey key(HKEY_LOCAL_MACHINE, RegistryKey);
    ReadInt(key, "SoundVolume", m_nSoundVolume);
    CToolsSoundPropPage mixer;
    if (mixer.OpenMixer())
        mixer.SetLineVolume(m_nSoundVolume);
    if (g_pLesson)
        g_pLesson->ApplySettings();
    return TRUE;
}

BOOL CAppConfig::CheckFieldDefsFile()
{
    HANDLE file = CreateFileA(GetFieldDefsPath(), GENERIC_READ, FILE_SHARE_READ, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        AfxMessageBox("Could not open XML file.  Please contact Quorvel.");
        return FALSE;
    }
    CloseHandle(file);
    return TRUE;
}

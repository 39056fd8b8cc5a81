// The program's settings store: the values kept in the registry, the paths computed at
// start-up, the function-key table, the field-definition reader and the run-time modes.
#pragma once
#include <afx.h>
#include "XMLParser.h"

class CODCustomViewport;

// One function-key assignment: the command sent to the main window for a key.
struct KeyCommand
{
    BOOL enabled;
    UINT command;
    int key; // 1 to 12 for F1 to F12; 0 none
};

enum KeyCommandIndex
{
    STARTAUTORECKEY,
    STARTMANRECKEY,
    TRIGGERAUTORECKEY,
    ATTENSLIDER,
    TOGGLEWINDOW,
    SPLITWINDOWKEY,
    TAB16TOGGLEKEY,
    LOCKIMPACTKEY,
    LOCKVIEWKEY,
    TOGGLEMIRRORKEY,
    PLAYKEY,
    REALPLAYKEY,
    KEY_COMMAND_COUNT = 15,
    KEY_COMMANDS_USED = 12
};

#define SETTINGS_INT(Name, member)                  \
    int Get##Name() const { return member; }        \
    void Set##Name(int value) { member = value; }

class CAppConfig
{
public:
    CAppConfig();
    virtual ~CAppConfig();

    BOOL LoadSettings();
    BOOL SaveSettings();

    // Stored values.
    CString GetRecordView() const { return m_strRecordView; }
    void SetRecordView(CString v) { m_strRecordView = v; }
    CString GetRecordClub() const { return m_strRecordClub; }
    void SetRecordClub(CString v) { m_strRecordClub = v; }
    CString GetCaptureDriverName() const { return m_strCaptureDriverName; }
    void SetCaptureDriverName(CString v) { m_strCaptureDriverName = v; }
    CString GetVideoHelp() const { return m_strVideoHelp; }
    void SetVideoHelp(CString v) { m_strVideoHelp = v; }
    CString GetDefaultHelpLoc() const { return m_strDefaultHelpLoc; }
    CString GetVideoFilesDir() const { return m_strVideoFilesDir; }
    void SetVideoFilesDir(CString v) { m_strVideoFilesDir = v; }
    SETTINGS_INT(SoundThreshold, m_nSoundThreshold)
    SETTINGS_INT(SoundTrigAdjust, m_nSoundTrigAdjust)
    SETTINGS_INT(CueHoldDelay, m_nCueHoldDelay)
    SETTINGS_INT(AutoRepeatReplay, m_nAutoRepeatReplay)
    SETTINGS_INT(PreTrigFrames, m_nPreTrigFrames)
    SETTINGS_INT(PostTrigFrames, m_nPostTrigFrames)
    // The most frames the capture buffer holds on either side of the trigger (fixed, not
    // stored).
    int GetCaptureBufferLimit() const { return m_nCaptureBufferLimit; }
    SETTINGS_INT(AutoRewind, m_nAutoRewind)
    COLORREF GetLineColor() const { return m_crLineColor; }
    void SetLineColor(COLORREF v) { m_crLineColor = v; }
    SETTINGS_INT(LastKnownGoodCamera, m_nLastKnownGoodCamera)
    SETTINGS_INT(LaunchHelp, m_nLaunchHelp)
    BOOL GetImportVideoFiles() const { return m_bImportVideoFiles; }
    void SetImportVideoFiles(BOOL v) { m_bImportVideoFiles = v; }
    SETTINGS_INT(ShadowMix, m_nShadowMix)
    SETTINGS_INT(SkipFields, m_nSkipFields)
    SETTINGS_INT(ExportFilterIndex, m_nExportFilterIndex)
    SETTINGS_INT(ImportFilterIndex, m_nImportFilterIndex)
    SETTINGS_INT(LineWidth, m_nLineWidth)
    SETTINGS_INT(LineStyle, m_nLineStyle)
    CString GetFontFaceName() const { return m_strFontFaceName; }
    void SetFontFaceName(CString v) { m_strFontFaceName = v; }
    SETTINGS_INT(FontPointSize, m_nFontPointSize)
    COLORREF GetFontColor() const { return m_crFontColor; }
    void SetFontColor(COLORREF v) { m_crFontColor = v; }
    SETTINGS_INT(FontWeight, m_nFontWeight)
    SETTINGS_INT(FontItalic, m_nFontItalic)
    SETTINGS_INT(FontUnderline, m_nFontUnderline)
    BOOL GetVideoFrameCount() const { return m_bVideoFrameCount; }
    void SetVideoFrameCount(BOOL v);
    int GetLessonDuration() const { return m_nLessonDuration; }
    void SetLessonDuration(int minutes);
    int GetLessonExtend() const { return m_nLessonExtend; }
    void SetLessonExtend(int minutes);
    BOOL GetNagEnable() const { return m_bNagEnable; }
    void SetNagEnable(BOOL v) { m_bNagEnable = v; }
    BOOL GetImpactTabRelative() const { return m_bImpactTabRelative; }
    void SetImpactTabRelative(BOOL v) { m_bImpactTabRelative = v; }
    float GetPlaySpeed() const { return m_fPlaySpeed; }
    void SetPlaySpeed(float v) { m_fPlaySpeed = v; }
    COLORREF GetBkgColor() const { return m_crBkgColor; }
    void SetBkgColor(COLORREF v) { m_crBkgColor = v; }
    BOOL GetUseDefaultColors() const { return m_bUseDefaultColors; }
    void SetUseDefaultColors(BOOL v) { m_bUseDefaultColors = v; }
    BOOL IsTelestratorMode() const { return FALSE; }
    int GetSoundVolume() const { return m_nSoundVolume; }

    void StoreDrawingDefaults(CODCustomViewport* viewport);
    void ApplyDrawingDefaults(CODCustomViewport* viewport);

    // Run-time modes (never stored).
    BOOL IsRecordAuto() const { return m_nRecordMode == 1; }
    void SetRecordAuto(BOOL automatic) { m_nRecordMode = automatic ? 1 : 0; }
    int GetReplayMode() const { return m_nReplayMode; }
    void SetReplayMode(int mode) { m_nReplayMode = mode; }
    BOOL GetAutoReplay() const { return m_bAutoReplay; }
    void SetAutoReplay(BOOL v) { m_bAutoReplay = v; }
    int GetDrawingTool() const { return m_nDrawingTool; }
    void SetDrawingTool(int tool) { m_nDrawingTool = tool; }

    // Function keys.
    BOOL DispatchHotKey(UINT virtualKey);
    int GetHotKey(int entry) const;
    void SetHotKey(int entry, int key);
    const KeyCommand& GetKeyCommand(int entry) const { return m_keyCommands[entry]; }
    static const char* GetKeyCommandName(int entry);

    // Paths.
    CString GetInstallDir() const { return m_strInstallDir; }
    // The program folder (with trailing backslash); start-up takes it from the executable.
    void SetInstallDir(CString folder);
    CString GetCaptureDirectory() const;
    CString GetLocalCaptureDirectory() const { return m_strCaptureDirectory; }
    void SetCaptureDirectory(CString folder) { m_strCaptureDirectory = folder; }
    CString GetDatabasePath() const;
    CString GetTempDir() const;
    CString GetFieldDefsPath() const { return m_strInstallDir + "razeFieldDefs.xml"; }
    CString GetHelpFilePath() const { return m_strInstallDir + "Pravotel.chm"; }
    CString GetVideoHelpPath() const { return m_strVideoHelp + "VideoHelpDovuriva.chm"; }

    // Network mode: the database and capture folder of another machine.
    void SetNetworkDatabase(BOOL on) { m_bNetworkMode = on ? 1 : 0; }
    BYTE IsNetworkDatabase() const { return m_bNetworkMode; }
    void SetNetworkDatabasePath(CString path) { m_strNetworkDatabasePath = path; }
    CString GetNetworkDatabasePath() const { return m_strNetworkDatabasePath; }
    void SetNetworkCaptureDirectory(CString path) { m_strNetworkCaptureDirectory = path; }
    void SetRemoteMachineName(CString name) { m_strRemoteMachineName = name; }
    CString GetRemoteMachineName() const { return m_strRemoteMachineName; }

    BOOL ConnectDatabase();

    // File association of clip files.
    BOOL IsFileAssociated() const { return m_bFileAssociated; }
    void SetFileAssociation(BOOL on);
    CString GetAssociationCommand() const;

    // Mixer.
    BOOL DetectMixer();
    BOOL HasMixer() const { return m_bMixerPresent; }
    BOOL LoadSoundVolume();

    BOOL CheckFieldDefsFile();
    UINT GetClipClipboardFormat() const { return m_nClipFormat; }

    BOOL IsLoaded() const { return m_bLoaded; }

    static const char* const RegistryKey;
    static const char* const AssociationKey;

    CXMLParser m_xmlParser;

private:
    void CheckFileAssociation(class CRegKey& key);
    static void ReadInt(class CRegKey& key, LPCTSTR name, int& value);
    static void WriteInt(class CRegKey& key, LPCTSTR name, int value);
    static void ReadText(class CRegKey& key, LPCTSTR name, CString& value);

    CString m_strRecordView;
    CString m_strRecordClub;
    CString m_strCaptureDriverName;
    CString m_strVideoHelp;
    CString m_strDefaultHelpLoc;
    CString m_strVideoFilesDir;
    int m_nSoundThreshold;
    int m_nSoundTrigAdjust;
    int m_nCueHoldDelay;
    int m_nAutoRepeatReplay;
    int m_nPreTrigFrames;
    int m_nPostTrigFrames;
    int m_nCaptureBufferLimit;
    int m_nAutoRewind;
    COLORREF m_crLineColor;
    int m_nLastKnownGoodCamera;
    int m_nLaunchHelp;
    BOOL m_bImportVideoFiles;
    int m_nShadowMix;
    int m_nSkipFields;
    int m_nExportFilterIndex;
    int m_nImportFilterIndex;
    int m_nLineWidth;
    int m_nLineStyle;
    CString m_strFontFaceName;
    int m_nFontPointSize;
    COLORREF m_crFontColor;
    int m_nFontWeight;
    int m_nFontItalic;
    int m_nFontUnderline;
    BOOL m_bVideoFrameCount;
    int m_nLessonDuration;
    int m_nLessonExtend;
    BOOL m_bNagEnable;
    BOOL m_bImpactTabRelative;
    float m_fPlaySpeed;
    COLORREF m_crBkgColor;
    BOOL m_bUseDefaultColors;
    BOOL m_bTelestratorMode;
    int m_nSoundVolume;
    BOOL m_bFileAssociated;

    KeyCommand m_keyCommands[KEY_COMMAND_COUNT];

    CString m_strCaptureDirectory;
    CString m_strInstallDir;
    CString m_strDatabasePath;
    CString m_strExeName;
    int m_nRecordMode;
    int m_nReplayMode;
    BOOL m_bAutoReplay;
    int m_nDrawingTool;
    UINT m_nClipFormat;
    BYTE m_bNetworkMode;
    CString m_strNetworkDatabasePath;
    CString m_strNetworkCaptureDirectory;
    CString m_strRemoteMachineName;
    BYTE m_bMixerPresent;
    // Set once LoadSettings has read the stored values: shutdown writes back only then,
    // so a start-up that failed early never overwrites the user's settings with defaults.
    BOOL m_bLoaded;
};

#undef SETTINGS_INT

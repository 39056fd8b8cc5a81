// The Video for Windows engine's camera: a window around a capture window of the system's
// capture library, for live preview, recording to a file, and triggered capture into a ring
// of frames in memory with a sound-level or manual trigger.
#pragma once
#include <afxwin.h>
#include <afxmt.h>
#include <vfw.h>
#include <vector>

// Status codes of the capture library at the start and end of a capture.
#ifndef IDS_CAP_BEGIN
#define IDS_CAP_BEGIN 300
#define IDS_CAP_END 301
#endif

class COleControl;

class CCaptureWnd : public CWnd
{
public:
    CCaptureWnd();
    ~CCaptureWnd() override;

    // The child window "Cap Wnd" (608 x 456) in the parent, the capture window inside it,
    // and the first driver that connects.
    BOOL Create(CWnd* parent);
    // The control whose MouseDown event a press fires, and the window told the capture's
    // codes (WM_VIDEO_NOTIFY: 200-204).
    void SetOwner(COleControl* owner, HWND notify)
    {
        m_pOwner = owner;
        m_hNotify = notify;
    }

    BOOL FindDriver();
    BOOL Connect();
    void Disconnect();
    BOOL IsConnected() const { return m_bConnected; }
    BOOL SetLive(BOOL live);
    void ShowDisplayDlg();
    void ShowFormatDlg();
    void ShowSourceDlg();
    BOOL SetCaptureFile(const CString& path);
    // 0 records to the file, 1 captures into the ring around a trigger.
    void SetCaptureMode(int mode);
    BOOL StartRecord();
    void StopRecord();
    BOOL TriggerNow();
    BOOL CanTrigger();
    // The sound level that triggers, from a percentage (as the level trigger filter's).
    void SetSoundThreshold(int percent);
    void SetPreTrigFrames(int frames);
    void SetPostTrigFrames(int frames);
    int GetPreTrigFrames() const { return m_nPre; }
    int GetPostTrigFrames() const { return m_nPost; }
    int GetTriggerParity();
    long GetCapturedFrames() const { return m_lCaptured; }
    long GetDroppedFrames() const { return m_lDropped; }
    CString GetDriverName();
    CString GetDriverVersion();
    // The video format the driver captures in (none without a driver).
    void SetVideoFormat(const BITMAPINFO* format, size_t bytes);
    const BITMAPINFOHEADER* GetVideoFormat() const;
    // Places the capture window so that the crop rectangle of the live picture fills the view.
    void PositionForCrop(float x, float y, float width, float height);
    // Saves the entry at the write index alone.
    BOOL SaveEntry(const CString& path);
    DWORD GetKeyColor() const { return m_dwKey; }

    // The capture library's callbacks, also fed by tests.
    LRESULT OnVideoFrame(const VIDEOHDR* header);
    LRESULT OnWaveBuffer(const WAVEHDR* header);
    LRESULT OnStatus(int id, LPCSTR text);
    LRESULT OnError(int id, LPCSTR text);
    LRESULT OnYield();

protected:
    // Milliseconds of the system clock (tests put their own).
    virtual DWORD Now() { return timeGetTime(); }
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    struct Entry {
        std::vector<BYTE> data;
        DWORD used = 0;
        DWORD time = 0;
        BOOL key = FALSE;
    };
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void SetupSequence();
    void ResizeRing();
    void Trigger(long age);   // the trigger state for a sound (or press) age ms after the newest frame
    BOOL SaveRing(const CString& path, int count);
    void Notify(WPARAM code);
    CString Description(BOOL version);

    CCriticalSection m_lock;   // the ring and the trigger state, shared with the capture thread
    HWND m_hWndCap;
    COleControl* m_pOwner;
    HWND m_hNotify;
    CString m_strFile;
    std::vector<Entry> m_ring;
    DWORD m_dwBufferSize;
    int m_nWrite;
    BOOL m_bWrapped;
    int m_nMode;
    float m_fFrameRate;
    int m_nPre, m_nPost;
    BOOL m_bTriggered, m_bTold, m_bStop, m_bSaved, m_bHaveTimeBase, m_bLockFailed;
    int m_nPostCount, m_nParity;
    DWORD m_dwTimeBase;
    int m_nLevel;
    DWORD m_dwKey;
    BOOL m_bKeyTaken;
    int m_nDriver;
    BOOL m_bConnected;
    BOOL m_bRecording;
    std::vector<BYTE> m_format;
    long m_lCaptured, m_lDropped;
};

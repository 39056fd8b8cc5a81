// The Video for Windows engine's clip player: steps the first video stream of an AVI file
// field by field on its own thread at a multimedia-timer rate, alone or in lock-step with
// other players, and draws the current field (CAviVideoStream).
#pragma once
#include "AviFile.h"
#include "BitmapDIB.h"
#include <afxmt.h>
#include <vector>

class CAviStream
{
public:
    CAviStream();
    virtual ~CAviStream();

    // Opens the file and takes its first video stream; FALSE when there is none or its
    // format is larger than the player keeps.
    virtual BOOL Open(LPCTSTR path);
    virtual void Close();
    BOOL IsOpen() const { return m_pStream != NULL; }

    void Play() { StartPlay(1, FALSE); }
    void PlayBackwards() { StartPlay(-1, FALSE); }
    void RealPlay() { StartPlay(1, TRUE); }
    void RealPlayBackwards() { StartPlay(-1, TRUE); }
    void Pause();
    void Stop();
    BOOL IsPlaying() const { return m_nState == StatePlaying; }
    BOOL IsRealPlay() const { return m_bRealPlay; }

    void SeekFrame(long frame);
    void SeekField(long field);
    void StepFrames(long frames);
    void StepFields(long fields);
    long GetFieldPosition();
    // The play range, within the stream's samples.
    void SetRange(long first, long last);
    long GetFirst() const { return m_lFirst; }
    long GetLast() const { return m_lLast; }
    long GetStreamFirst() const { return m_lStreamFirst; }
    long GetStreamLast() const { return m_lStreamLast; }
    // Speed and direction; 0 and NaN are refused.
    BOOL SetRate(float rate);
    float GetRate() const { return m_fRate; }

    // The window drawn into and told of the end of the range (WM_VIDEO_NOTIFY, 100).
    void SetOwner(CWnd* owner) { m_hOwner = owner ? owner->GetSafeHwnd() : NULL; }

    // Lock-step of up to four players: the shared position moves and each locked player
    // shows it plus its own offset in fields.
    static void SetLocked(BOOL locked);
    static BOOL IsLocked();
    void SetLockOffset(int fields) { m_nLockOffset = fields; }
    int GetLockOffset() const { return m_nLockOffset; }
    BOOL IsRegistered() const { return m_bRegistered; }

protected:
    // Draws the current field into the owner's window.
    virtual void DrawCurrent() {}
    // Real play through a codec that draws: 0 when there is none, 1 when play reached the end
    // of the range, 2 when it was stopped before.
    virtual int PlayThroughCodec() { return 0; }
    // Waits one one-shot timer period of delay ms; FALSE when the thread is to end.
    BOOL WaitTick(UINT delay);
    // Ends the stream thread in order (it leaves its loop between ticks); a derived player
    // calls it first in its destructor, before what the thread draws with goes.
    void EndThread();

    enum { StateStopped = 0, StatePlaying = 1, StatePaused = 2 };
    CCriticalSection m_lock;
    CAviFile* m_pFile;
    PAVISTREAM m_pStream;
    AVISTREAMINFOA m_info;
    long m_lStreamFirst, m_lStreamLast, m_lFirst, m_lLast;
    long m_lFrame;
    int m_nField;
    BOOL m_bFieldSteps;
    HWND m_hOwner;

private:
    void StartPlay(int direction, BOOL real);
    // One tick of play: waits for the timer (and the locked players), moves, draws; FALSE
    // when play ended.
    BOOL Tick();
    BOOL Advance();
    void PlayLoop();
    static DWORD WINAPI ThreadMain(void* self);
    static void SetSharedRange();

    int m_nIndex;
    float m_fRate;
    int m_nState;
    BOOL m_bRealPlay;
    HANDLE m_hPlayEvent, m_hRunEvent, m_hTickEvent, m_hStopEvent;
    HANDLE m_hThread;
    int m_nLockOffset;
    BOOL m_bRegistered;
};

class CAviVideoStream : public CAviStream
{
public:
    CAviVideoStream();
    ~CAviVideoStream() override;

    BOOL Open(LPCTSTR path) override;
    void Close() override;

    // Crop and mask as fractions of the 608 x 456 reference picture.
    void SetCrop(float x, float y, float width, float height);
    void SetMask(float x, float y, float width, float height);
    void SetMirror(BOOL mirror) { m_bMirror = mirror; }
    // A 608 x 456 drawing keyed over every field while enabled (not owned).
    void SetOverlay(const CBitmapDIB* overlay, BOOL enable);
    void SetKeyColor(DWORD key) { m_dwKey = key; }
    DWORD GetKeyColor() const { return m_dwKey; }
    // Successive-frames mode: up to eight frames in a 4 x 2 grid.
    void SetSuccFramesSource(const long* frames, int count);
    void SetSuccFramesEnable(BOOL enable) { m_bSuccFrames = enable; }
    BOOL GetSuccFramesEnable() const { return m_bSuccFrames; }
    int GetClipWidth() const { return m_nWidth; }
    int GetClipHeight() const { return m_nHeight; }

    // Draws the current field (or the grid) at (x, y); FALSE when the frame could not be
    // decompressed (the area is filled with the background brush).
    BOOL Draw(HDC dc, int x, int y);
    // Draws the current field into the owner's window.
    void Redraw() { DrawCurrent(); }

protected:
    void DrawCurrent() override;
    int PlayThroughCodec() override;

private:
    BOOL Fetch(long frame);
    void DrawFieldInto(HDC target, int x, int y, int width, int height, BOOL mirror);
    void DrawGrid(HDC dc, int x, int y);

    PGETFRAME m_pGetFrame;
    int m_nWidth, m_nHeight;
    long m_lFetched;
    CBitmapDIB m_frame, m_field, m_result;
    HDC m_hFrameDC, m_hFieldDC, m_hResultDC;
    HGDIOBJ m_oldFrame, m_oldField, m_oldResult;
    float m_fCrop[4], m_fMask[4];
    BOOL m_bMirror;
    const CBitmapDIB* m_pOverlay;
    BOOL m_bOverlay;
    DWORD m_dwKey;
    BOOL m_bSuccFrames;
    std::vector<long> m_succFrames;
};

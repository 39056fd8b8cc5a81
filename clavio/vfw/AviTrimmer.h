// Cuts a frame range, trim in to trim out inclusive, out of an AVI clip into a new file:
// pictures copied as they are, with the sound that plays with them to the sample.
#pragma once
#include <afxwin.h>

class CProgressDlg;

class CAviTrimmer
{
public:
    explicit CAviTrimmer(CWnd* parent = NULL);
    ~CAviTrimmer();

    void SetSource(const CString& path) { m_strSource = path; }
    void SetDestination(const CString& path) { m_strDestination = path; }
    void SetTrimIn(long frame) { m_lTrimIn = frame; }
    void SetTrimOut(long frame) { m_lTrimOut = frame; }
    // 0 when the destination was written, 1 on failure (reported in a message box).
    int Trim();

private:
    CString m_strSource, m_strDestination;
    long m_lTrimIn, m_lTrimOut;
    CProgressDlg* m_pProgress;
    CWnd* m_pParent;
};

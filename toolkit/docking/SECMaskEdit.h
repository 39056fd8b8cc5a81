// An edit control that accepts input only in the placeholder positions of a mask: literals
// are shown and skipped, placeholders take their class of characters, empty ones show a
// prompt character. Placeholders: '#' digit, '&' any character, '?' letter, 'A' letter or
// digit, 'L' letter in lower case, 'U' letter in upper case; a backslash makes the next
// mask character a literal.
#ifndef QUORVEL_SECMASKEDIT_H
#define QUORVEL_SECMASKEDIT_H

#include <afxwin.h>

class SECMaskEdit : public CEdit {
    DECLARE_DYNAMIC(SECMaskEdit)
public:
    SECMaskEdit();

    BOOL AttachEdit(UINT nID, CWnd* pParentWnd);

    virtual BOOL SetMask(LPCTSTR lpszMask);
    virtual void SetPromptChar(char chPrompt);
    virtual char GetPromptChar() const { return m_chPrompt; }
    virtual BOOL SetData(const CString* pText, int nStart = 0, BOOL bInsert = FALSE,
                         BOOL bSkipInvalid = TRUE);
    // The placeholders' characters (the prompt as a blank), literals left out.
    virtual void GetData(CString& strData, BOOL bTrim = FALSE) const;
    virtual const CString& GetDisplayText() const { return m_strDisplay; }
    virtual BOOL IsInsertMode() const { return m_bInsertMode; }
    virtual BOOL CanUndo() const { return m_strUndo != m_strDisplay; }
    virtual BOOL Undo();
    virtual void ResetUndo();
    virtual BOOL IsValidChar(int nPos, char* pChar) const;
    virtual BOOL IsLiteral(char ch) const { return ((BYTE)ch & 0x80) == 0; }
    virtual BOOL IsMaskChar(char ch) const;
    virtual void ResetDisplay();
    virtual CString BuildDisplay() const;
    virtual void ParseMask(LPCTSTR lpszMask);
    virtual int EndOfText(int nPos) const;
    virtual BOOL InsertChar(int nPos, char ch, BOOL bUpdate);
    virtual void DeleteChars(int nFrom, int nTo);
    virtual int SetCaret(int nPos, int nDirection, int nLength);
    virtual int NextPlaceholder(int nPos) const;
    virtual int PrevPlaceholder(int nPos) const;
    virtual void UpdateText();

    const CString& GetMask() const { return m_strMask; }

protected:
    BOOL IsPlaceholder(int nPos) const;
    // The placeholder at the position, or the next one; -1 when none.
    int PlaceholderAtOrAfter(int nPos) const;
    void DeleteSelection(int nStart, int nEnd);
    void DeleteKey(BOOL bBack);
    void GetSelection(int& nStart, int& nEnd) const;

    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg LRESULT OnCopy(WPARAM, LPARAM);
    afx_msg LRESULT OnPaste(WPARAM, LPARAM);
    afx_msg LRESULT OnCut(WPARAM, LPARAM);
    afx_msg LRESULT OnClear(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

    void CaretToEndOfText();

public:
    CString m_strMask;      // literals as themselves, placeholders with bit 7 set
    CString m_strDisplay;
    char m_chPrompt;
    BOOL m_bKeyHandled;
    BOOL m_bInsertMode;
    CString m_strUndo;
    CString m_strLast;
};

// Saving: the display and the data (untrimmed); loading: the data from position 0 in
// overwrite mode, invalid characters skipped.
void AFXAPI DDX_MaskEdit(CDataExchange* pDX, SECMaskEdit& rControl, CString& strData,
                         CString& strDisplay);

#endif  // QUORVEL_SECMASKEDIT_H

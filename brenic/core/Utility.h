// Small tools the whole program shares: the registry key wrapper through which the settings
// store keeps its text values, a string class with field splitting, marker-delimited
// extraction, path splitting and SQL quoting, and the error texts of the system.
#pragma once
#include <afx.h>
#include <afxcoll.h>

class CRegKey
{
public:
    CRegKey();
    explicit CRegKey(CString subKey);
    CRegKey(HKEY root, CString subKey);
    virtual ~CRegKey();

    void Init();
    BOOL Open();
    LONG WriteString(LPCTSTR name, LPCTSTR text);
    LONG ReadString(LPCTSTR name, CString& value);
    void DeleteValue(CString name);

    BOOL IsOpen() const { return m_hKey != NULL; }
    BOOL IsReadOnly() const { return m_bReadOnly; }
    LONG GetLastError() const { return m_lLastError; }

protected:
    HKEY m_hKey;
    BOOL m_bReadOnly;
    CString m_strSubKey;
    LONG m_lLastError;
    HKEY m_hRoot;
};

class CExtString : public CString
{
public:
    CExtString() : m_bRawBuffer(FALSE) {}
    CExtString(LPCTSTR text) : CString(text ? text : ""), m_bRawBuffer(FALSE) {}
    CExtString(const CString& text) : CString(text), m_bRawBuffer(FALSE) {}
    CExtString& operator=(const CString& text);
    CExtString& operator=(LPCTSTR text);

    void AssignBuffer(const char* buffer, int length);
    BOOL IsRawBuffer() const { return m_bRawBuffer; }
    char GetAt(int pos) const { return CString::GetAt(pos); }

    int Split(LPCTSTR separator, CStringArray* pieces) const;
    CString GetField(int n, LPCTSTR separator, BOOL keepRest = FALSE) const;
    CString GetDelimited(LPCTSTR start, LPCTSTR end) const;
    CString ConsumeTo(LPCTSTR marker);
    void EscapeQuotes();

    CString GetPathFolder() const;
    CString GetPathFileName() const;
    CString GetPathDrive() const;
    CString GetPathTitle() const;
    CString GetPathExtension() const;

    CString TakeToken(LPCTSTR charSet);
    CString RemoveChars(LPCTSTR charSet);
    void TrimLeftSet(LPCTSTR charSet);
    int FindFirstNotOf(LPCTSTR charSet) const;
    char GetAtSafe(int pos) const;
    void EscapeControlChars();
    void ApplyBackspaces();
    int FindFrom(LPCTSTR text, int start) const;
    CString GetWordAfter(LPCTSTR key) const;
    CString GetFieldAny(int n, LPCTSTR charSet, BOOL keepRest = FALSE) const;
    BOOL SetWordAfter(LPCTSTR key, LPCTSTR value);
    void ReplaceWordAt(LPCTSTR key, LPCTSTR value);
    void ReplaceFirst(LPCTSTR key, LPCTSTR value);

private:
    BOOL m_bRawBuffer;
};

CString FormatSystemMessage(DWORD code);
CString GetLastErrorText();
int ShowLastError();

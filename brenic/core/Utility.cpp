#include "Utility.h"
#include <afxwin.h>
#include <string.h>

// ---------------------------------------------------------------------------------------
// CRegKey

CRegKey::CRegKey()
{
    Init();
    m_hRoot = HKEY_LOCAL_MACHINE;
}

CRegKey::CRegKey(CString subKey)
{
    Init();
    m_hRoot = HKEY_LOCAL_MACHINE;
    m_strSubKey = subKey;
    Open();
}

CRegKey::CRegKey(HKEY root, CString subKey)
{
    Init();
    m_hRoot = root;
    m_strSubKey = subKey;
    Open();
}

CRegKey::~CRegKey()
{
    if (m_hKey)
        RegCloseKey(m_hKey);
}

void CRegKey::Init()
{
    m_hKey = NULL;
    m_strSubKey.Empty();
    m_hRoot = NULL;
    m_bReadOnly = FALSE;
    m_lLastError = 0;
}

BOOL CRegKey::Open()
{
    if (m_hKey) {
        RegCloseKey(m_hKey);
        m_hKey = NULL;
    }
    m_bReadOnly = FALSE;
    DWORD disposition = 0;
    m_lLastError = RegCreateKeyExA(m_hRoot, m_strSubKey, 0, NULL, REG_OPTION_NON_VOLATILE,
                                   KEY_ALL_ACCESS, NULL, &m_hKey, &disposition);
    if (m_lLastError == ERROR_SUCCESS)
        return TRUE;
    // Without write access the values can still be read; every write then fails quietly.
    m_lLastError = RegCreateKeyExA(m_hRoot, m_strSubKey, 0, NULL, REG_OPTION_NON_VOLATILE,
                                   KEY_READ, NULL, &m_hKey, &disposition);
    if (m_lLastError == ERROR_SUCCESS) {
        m_bReadOnly = TRUE;
        return TRUE;
    }
    m_hKey = NULL;
    return FALSE;
}

LONG CRegKey::WriteString(LPCTSTR name, LPCTSTR text)
{
    if (!m_hKey || m_bReadOnly)
        return ERROR_ACCESS_DENIED;
    if (!text)
        text = "";
    return RegSetValueExA(m_hKey, name, 0, REG_SZ, (const BYTE*)text, (DWORD)strlen(text) + 1);
}

LONG CRegKey::ReadString(LPCTSTR name, CString& value)
{
    if (!m_hKey)
        return ERROR_ACCESS_DENIED;
    char buffer[4096];
    DWORD type = 0;
    DWORD size = sizeof buffer;
    LONG result = RegQueryValueExA(m_hKey, name, NULL, &type, (BYTE*)buffer, &size);
    if (result == ERROR_SUCCESS) {
        // Only text values are taken, and only the bytes the registry really returned: a
        // value written by another program need not end with a NUL.
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            return ERROR_INVALID_DATATYPE;
        DWORD length = size <= sizeof buffer ? size : (DWORD)sizeof buffer;
        const char* end = (const char*)memchr(buffer, 0, length);
        if (end)
            length = (DWORD)(end - buffer);
        value = CString(buffer, (int)length);
        return ERROR_SUCCESS;
    }
    if (result == ERROR_FILE_NOT_FOUND)
        return WriteString(name, value);
    return result;
}

void CRegKey::DeleteValue(CString name)
{
    if (m_hKey)
        RegDeleteValueA(m_hKey, name);
}

// ---------------------------------------------------------------------------------------
// CExtString

CExtString& CExtString::operator=(const CString& text)
{
    CString::operator=(text);
    return *this;
}

CExtString& CExtString::operator=(LPCTSTR text)
{
    CString::operator=(text ? text : "");
    return *this;
}

void CExtString::AssignBuffer(const char* buffer, int length)
{
    CString::operator=(CString(buffer, length > 0 ? length : 0));
    m_bRawBuffer = TRUE;
}

int CExtString::Split(LPCTSTR separator, CStringArray* pieces) const
{
    if (IsEmpty())
        return 0;
    const int sepLen = (int)strlen(separator);
    if (sepLen == 0 || Find(separator) < 0) {
        if (pieces)
            pieces->Add(*this);
        return 1;
    }
    int count = 0;
    int pos = 0;
    const int len = GetLength();
    while (pos < len) {
        int next = Find(separator, pos);
        if (next < 0)
            next = len;
        if (pieces)
            pieces->Add(Mid(pos, next - pos));
        ++count;
        pos = next + sepLen;
    }
    return count;
}

CString CExtString::GetField(int n, LPCTSTR separator, BOOL keepRest) const
{
    const int sepLen = (int)strlen(separator);
    int pos = 0;
    for (int i = 0; i < n; ++i) {
        int next = sepLen ? Find(separator, pos) : -1;
        if (next < 0)
            return CString();
        pos = next + sepLen;
    }
    if (keepRest)
        return Mid(pos);
    int next = sepLen ? Find(separator, pos) : -1;
    return next < 0 ? Mid(pos) : Mid(pos, next - pos);
}

CString CExtString::GetDelimited(LPCTSTR start, LPCTSTR end) const
{
    int from = Find(start);
    if (from < 0)
        return CString(start);
    from += (int)strlen(start);
    int to = Find(end, from);
    return to < 0 ? Mid(from) : Mid(from, to - from);
}

CString CExtString::ConsumeTo(LPCTSTR marker)
{
    int at = Find(marker);
    if (at < 0)
        Empty();
    else
        CString::operator=(Mid(at + (int)strlen(marker)));
    return *this;
}

void CExtString::EscapeQuotes()
{
    Replace("'", "''");
}

namespace {
// Splits a path the way the C library's path splitter does: drive letter and colon, folder
// up to the last separator, name, and the extension from the last dot of the name.
struct PathParts { CString drive, dir, name, ext; };

PathParts SplitPath(const CString& path)
{
    PathParts p;
    CString rest = path;
    if (rest.GetLength() >= 2 && rest[1] == ':') {
        p.drive = rest.Left(2);
        rest = rest.Mid(2);
    }
    int slash = -1;
    for (int i = 0; i < rest.GetLength(); ++i)
        if (rest[i] == '\\' || rest[i] == '/')
            slash = i;
    p.dir = rest.Left(slash + 1);
    CString file = rest.Mid(slash + 1);
    int dot = file.ReverseFind('.');
    if (dot < 0) {
        p.name = file;
    } else {
        p.name = file.Left(dot);
        p.ext = file.Mid(dot);
    }
    return p;
}
} // namespace

CString CExtString::GetPathFolder() const
{
    PathParts p = SplitPath(*this);
    return p.drive + p.dir;
}

CString CExtString::GetPathFileName() const
{
    PathParts p = SplitPath(*this);
    return p.name + p.ext;
}

CString CExtString::GetPathDrive() const
{
    return SplitPath(*this).drive;
}

CString CExtString::GetPathTitle() const
{
    return SplitPath(*this).name;
}

CString CExtString::GetPathExtension() const
{
    return SplitPath(*this).ext;
}

CString CExtString::TakeToken(LPCTSTR charSet)
{
    int at = FindOneOf(charSet);
    if (at < 0) {
        CString all = *this;
        Empty();
        return all;
    }
    CString token = Left(at);
    CString::operator=(Mid(at));
    return token;
}

CString CExtString::RemoveChars(LPCTSTR charSet)
{
    CString out;
    for (int i = 0; i < GetLength(); ++i)
        if (!strchr(charSet, GetAt(i)) || GetAt(i) == 0)
            out += GetAt(i);
    CString::operator=(out);
    return out;
}

int CExtString::FindFirstNotOf(LPCTSTR charSet) const
{
    for (int i = 0; i < GetLength(); ++i)
        if (!strchr(charSet, GetAt(i)))
            return i;
    return -1;
}

void CExtString::TrimLeftSet(LPCTSTR charSet)
{
    int at = FindFirstNotOf(charSet);
    if (at < 0)
        Empty();
    else
        CString::operator=(Mid(at));
}

char CExtString::GetAtSafe(int pos) const
{
    if (pos < 0 || pos >= GetLength())
        return 0;
    return GetAt(pos);
}

void CExtString::EscapeControlChars()
{
    CString out;
    for (int i = 0; i < GetLength(); ++i) {
        unsigned char c = (unsigned char)GetAt(i);
        if (c < 32 || c == 127) {
            CString code;
            code.Format("\\%d", c);
            out += code;
        } else {
            out += (char)c;
        }
    }
    CString::operator=(out);
}

void CExtString::ApplyBackspaces()
{
    CString out;
    for (int i = 0; i < GetLength(); ++i) {
        if (GetAt(i) == 8) {
            if (!out.IsEmpty())
                out = out.Left(out.GetLength() - 1);
        } else {
            out += GetAt(i);
        }
    }
    CString::operator=(out);
}

int CExtString::FindFrom(LPCTSTR text, int start) const
{
    if (start < 0 || start > GetLength())
        return -1;
    return Find(text, start);
}

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
}

CString CExtString::GetWordAfter(LPCTSTR key) const
{
    int at = Find(key);
    if (at < 0)
        return CString();
    int pos = at + (int)strlen(key);
    while (pos < GetLength() && IsBlank(GetAt(pos)))
        ++pos;
    int end = pos;
    while (end < GetLength() && !IsBlank(GetAt(end)))
        ++end;
    return Mid(pos, end - pos);
}

CString CExtString::GetFieldAny(int n, LPCTSTR charSet, BOOL keepRest) const
{
    int pos = 0;
    for (int i = 0; i < n; ++i) {
        int next = -1;
        for (int k = pos; k < GetLength(); ++k)
            if (strchr(charSet, GetAt(k))) {
                next = k;
                break;
            }
        if (next < 0)
            return CString();
        pos = next + 1;
        while (pos < GetLength() && IsBlank(GetAt(pos)))
            ++pos;
    }
    if (keepRest)
        return Mid(pos);
    int end = pos;
    while (end < GetLength() && !strchr(charSet, GetAt(end)))
        ++end;
    return Mid(pos, end - pos);
}

BOOL CExtString::SetWordAfter(LPCTSTR key, LPCTSTR value)
{
    int at = Find(key);
    if (at < 0)
        return FALSE;
    int keyEnd = at + (int)strlen(key);
    int pos = keyEnd;
    while (pos < GetLength() && IsBlank(GetAt(pos)))
        ++pos;
    if (pos >= GetLength()) {
        CString::operator=(Left(keyEnd) + " " + value);
        return TRUE;
    }
    int end = pos;
    while (end < GetLength() && !IsBlank(GetAt(end)))
        ++end;
    CString::operator=(Left(keyEnd) + " " + value + Mid(end));
    return TRUE;
}

void CExtString::ReplaceWordAt(LPCTSTR key, LPCTSTR value)
{
    int at = Find(key);
    if (at < 0)
        return;
    int end = at;
    while (end < GetLength() && !IsBlank(GetAt(end)))
        ++end;
    CString::operator=(Left(at) + " " + value + Mid(end));
}

void CExtString::ReplaceFirst(LPCTSTR key, LPCTSTR value)
{
    int at = Find(key);
    if (at < 0 || !*key)
        return;
    CString::operator=(Left(at) + value + Mid(at + (int)strlen(key)));
}

// ---------------------------------------------------------------------------------------
// Error texts

CString FormatSystemMessage(DWORD code)
{
    char* text = NULL;
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER, NULL, code,
                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), (LPSTR)&text, 0, NULL);
    CString result(text ? text : "");
    if (text)
        LocalFree(text);
    return result;
}

CString GetLastErrorText()
{
    return FormatSystemMessage(GetLastError());
}

int ShowLastError()
{
    CString text;
    text.Format("An Error occured: %s", (LPCTSTR)GetLastErrorText());
    return AfxMessageBox(text, MB_ICONERROR);
}

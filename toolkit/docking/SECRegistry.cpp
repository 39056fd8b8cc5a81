// The registry wrapper. Values are read at the size the registry reports for them (not at a
// size remembered from an earlier key query), text is cut at the length really returned, and
// the walk over a multi-string stays inside its data.
#include "SECRegistry.h"
#include <vector>

IMPLEMENT_DYNAMIC(SECRegistry, CObject)

namespace {

const DWORD kNameChars = 2048;

struct RootName {
    HKEY hKey;
    const char* name;
};
const RootName kRoots[] = {
    {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"},   {HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
    {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"}, {HKEY_USERS, "HKEY_USERS"},
    {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG"}, {HKEY_DYN_DATA, "HKEY_DYN_DATA"},
};

}  // namespace

SECRegistry::SECRegistry() { Reset(); }

SECRegistry::~SECRegistry()
{
    if (m_hKey != NULL || m_hRootKey != NULL)
        Close();
    Reset();
}

void SECRegistry::Reset()
{
    m_strClassName.Empty();
    m_strComputerName.Empty();
    m_strKeyName.Empty();
    m_strRegistryName.Empty();
    m_lErrorCode = 0;
    m_hKey = NULL;
    m_hRootKey = NULL;
    m_dwLongestSubkeyNameLength = m_dwLongestClassNameLength = 0;
    m_dwLongestValueNameLength = m_dwLongestValueDataLength = 0;
    m_dwSecurityDescriptorLength = 0;
    m_fileTimeLastWrite.dwLowDateTime = m_fileTimeLastWrite.dwHighDateTime = 0;
    m_dwNumberOfSubkeys = m_dwNumberOfValues = 0;
    m_timeLastWrite = CTime();
    m_bRemote = FALSE;
}

BOOL SECRegistry::Check(LONG lResult)
{
    m_lErrorCode = lResult;
    return lResult == ERROR_SUCCESS;
}

CString SECRegistry::RootKeyName(HKEY hKey)
{
    for (const RootName& r : kRoots)
        if (r.hKey == hKey)
            return r.name;
    return CString();
}

CString SECRegistry::NormalizeKeyName(LPCTSTR lpszName, BOOL bDropLeading)
{
    CString name = lpszName != NULL ? lpszName : "";
    if (name.IsEmpty())
        return bDropLeading ? name : CString("\\");
    if (name[name.GetLength() - 1] == '\\')
        name = name.Left(name.GetLength() - 1);
    if (bDropLeading && !name.IsEmpty() && name[0] == '\\')
        name = name.Mid(1);
    return name;
}

CString SECRegistry::JoinKeyNames(LPCTSTR lpszParent, LPCTSTR lpszChild)
{
    CString parent = NormalizeKeyName(lpszParent, FALSE);
    CString child = NormalizeKeyName(lpszChild, TRUE);
    if (parent[parent.GetLength() - 1] == '\\')  // the root: "\"
        return parent + child;
    return parent + "\\" + child;
}

BOOL SECRegistry::Close()
{
    BOOL ok = TRUE;
    if (m_hKey != NULL && m_hKey != m_hRootKey && RegCloseKey(m_hKey) != ERROR_SUCCESS)
        ok = FALSE;
    if (m_hRootKey != NULL && RegCloseKey(m_hRootKey) != ERROR_SUCCESS)
        ok = FALSE;
    Reset();
    return ok;
}

BOOL SECRegistry::Connect(HKEY hKeyRoot, LPCTSTR lpszMachineName)
{
    if (m_hKey != NULL || m_hRootKey != NULL)
        Close();
    BOOL remote = lpszMachineName != NULL && *lpszMachineName != 0;
    if (hKeyRoot == HKEY_CLASSES_ROOT || hKeyRoot == HKEY_CURRENT_USER) {
        if (remote)
            return Check(ERROR_INVALID_HANDLE);
        m_hRootKey = m_hKey = hKeyRoot;
        m_lErrorCode = ERROR_SUCCESS;
    } else {
        HKEY hKey = NULL;
        if (!Check(RegConnectRegistryA(remote ? lpszMachineName : NULL, hKeyRoot, &hKey)))
            return FALSE;
        m_hRootKey = m_hKey = hKey;
    }
    m_bRemote = remote;
    if (remote) {
        m_strComputerName = lpszMachineName;
    } else {
        char name[260];
        DWORD size = sizeof name;
        if (GetComputerNameA(name, &size))
            m_strComputerName = name;
    }
    m_strRegistryName = RootKeyName(hKeyRoot);
    return TRUE;
}

BOOL SECRegistry::Open(LPCTSTR lpszKeyName, REGSAM samDesired)
{
    if (lpszKeyName == NULL)
        return Check(ERROR_INVALID_PARAMETER);
    if (m_hRootKey == NULL) {
        m_hRootKey = m_hKey = HKEY_CLASSES_ROOT;
        m_strRegistryName = RootKeyName(HKEY_CLASSES_ROOT);
    }
    if (m_hKey != NULL && m_hKey != m_hRootKey)
        RegCloseKey(m_hKey);
    m_hKey = NULL;
    // Every name is taken below the root, with or without its leading backslash.
    HKEY hKey = NULL;
    if (!Check(RegOpenKeyExA(m_hRootKey, NormalizeKeyName(lpszKeyName, TRUE), 0, samDesired, &hKey)))
        return FALSE;
    m_hKey = hKey;
    QueryInfo();
    m_lErrorCode = ERROR_SUCCESS;
    m_strKeyName = lpszKeyName;
    return TRUE;
}

BOOL SECRegistry::Create(LPCTSTR lpszKeyName, LPCTSTR lpszClassName, DWORD dwOptions,
                         REGSAM samDesired, LPSECURITY_ATTRIBUTES lpSecurity,
                         LPDWORD lpdwDisposition)
{
    if (lpszKeyName == NULL)
        return Check(ERROR_INVALID_PARAMETER);
    if (m_hRootKey == NULL)  // unlike Open, no default root
        return Check(ERROR_INVALID_HANDLE);
    if (m_hKey != NULL && m_hKey != m_hRootKey)
        RegCloseKey(m_hKey);
    m_hKey = NULL;
    HKEY hKey = NULL;
    DWORD disposition = 0;
    if (!Check(RegCreateKeyExA(m_hRootKey, NormalizeKeyName(lpszKeyName, TRUE), 0,
                               (LPSTR)(lpszClassName != NULL ? lpszClassName : ""), dwOptions,
                               samDesired, lpSecurity, &hKey, &disposition)))
        return FALSE;
    m_hKey = hKey;
    if (lpdwDisposition != NULL)
        *lpdwDisposition = disposition;
    m_strKeyName = lpszKeyName;
    return TRUE;
}

BOOL SECRegistry::DeleteKey(LPCTSTR lpszKeyName, BOOL bRecursive)
{
    if (lpszKeyName == NULL || (bRecursive && *lpszKeyName == 0))
        return Check(ERROR_INVALID_PARAMETER);
    HKEY hRoot = m_hRootKey != NULL ? m_hRootKey : HKEY_CLASSES_ROOT;
    SECRegistry target;
    if (!target.Connect(hRoot, m_bRemote ? (LPCTSTR)m_strComputerName : NULL))
        return Check(target.m_lErrorCode);
    BOOL relativeToCurrent = FALSE;
    if (lpszKeyName[0] != '\\' && m_hKey != NULL &&
        target.Open(JoinKeyNames(m_strKeyName, lpszKeyName), KEY_ALL_ACCESS)) {
        relativeToCurrent = TRUE;
    } else if (!target.Open(lpszKeyName, KEY_ALL_ACCESS)) {
        return Check(target.m_lErrorCode);
    }
    if (bRecursive) {
        CString sub;
        while (target.EnumKey(0, sub)) {
            if (!target.DeleteKey(sub, TRUE)) {
                m_lErrorCode = target.m_lErrorCode;
                return m_lErrorCode == ERROR_SUCCESS;
            }
        }
    }
    target.Close();
    CString name = NormalizeKeyName(lpszKeyName, TRUE);
    if (relativeToCurrent) {
        Check(RegDeleteKeyA(m_hKey, name));
    } else {
        int split = name.ReverseFind('\\');
        if (split < 0)
            return Check(ERROR_INVALID_PARAMETER);
        CString parent = name.Left(split);
        SECRegistry holder;
        if (!holder.Connect(hRoot, m_bRemote ? (LPCTSTR)m_strComputerName : NULL) ||
            !holder.Open(parent, KEY_ALL_ACCESS))
            return Check(holder.m_lErrorCode);
        Check(RegDeleteKeyA(holder.m_hKey, name.Mid(split + 1)));
        LONG result = m_lErrorCode;
        SECRegistry probe;
        if (!m_strKeyName.IsEmpty() &&
            (!probe.Connect(hRoot, m_bRemote ? (LPCTSTR)m_strComputerName : NULL) ||
             !probe.Open(m_strKeyName, KEY_READ)))
            Open(parent, KEY_ALL_ACCESS);
        m_lErrorCode = result;
    }
    return m_lErrorCode == ERROR_SUCCESS;
}

BOOL SECRegistry::DeleteValue(LPCTSTR lpszValueName)
{
    if (lpszValueName == NULL)
        return Check(ERROR_INVALID_PARAMETER);
    return Check(RegDeleteValueA(m_hKey, lpszValueName));
}

LONG SECRegistry::EnumKeyRaw(DWORD dwIndex, LPTSTR lpszName, LPDWORD lpdwNameLength,
                             LPTSTR lpszClass, LPDWORD lpdwClassLength)
{
    if (lpszName == NULL || lpdwNameLength == NULL)
        return m_lErrorCode = ERROR_INVALID_PARAMETER;
    FILETIME written;
    m_lErrorCode = RegEnumKeyExA(m_hKey, dwIndex, lpszName, lpdwNameLength, NULL, lpszClass,
                                 lpdwClassLength, &written);
    return m_lErrorCode;
}

BOOL SECRegistry::EnumKey(DWORD dwIndex, CString& strName, CString& strClass)
{
    char name[kNameChars] = {}, cls[kNameChars] = {};
    DWORD nameLength = kNameChars - 1, classLength = kNameChars - 1;
    LONG r = EnumKeyRaw(dwIndex, name, &nameLength, cls, &classLength);
    if (r != ERROR_SUCCESS && r != ERROR_MORE_DATA)
        return FALSE;
    strName = name;
    strClass = cls;
    return TRUE;
}

BOOL SECRegistry::EnumKey(DWORD dwIndex, CString& strName)
{
    CString cls;
    return EnumKey(dwIndex, strName, cls);
}

BOOL SECRegistry::EnumValue(DWORD dwIndex, LPTSTR lpszName, LPDWORD lpdwNameLength,
                            LPDWORD lpdwType, LPBYTE lpbData, LPDWORD lpdwDataLength)
{
    if (lpszName == NULL || lpdwNameLength == NULL)
        return Check(ERROR_INVALID_PARAMETER);
    DWORD type = 0;
    m_lErrorCode = RegEnumValueA(m_hKey, dwIndex, lpszName, lpdwNameLength, NULL, &type, lpbData,
                                 lpdwDataLength);
    if (m_lErrorCode != ERROR_SUCCESS && m_lErrorCode != ERROR_MORE_DATA)
        return FALSE;
    if (lpdwType != NULL)
        *lpdwType = type;
    return TRUE;
}

BOOL SECRegistry::EnumValue(DWORD dwIndex, CString& strName, LPDWORD lpdwType, LPBYTE lpbData,
                            LPDWORD lpdwDataLength)
{
    char name[kNameChars] = {};
    DWORD nameLength = kNameChars;
    if (!EnumValue(dwIndex, name, &nameLength, lpdwType, lpbData, lpdwDataLength))
        return FALSE;
    strName = name;
    return TRUE;
}

BOOL SECRegistry::EnumValue(DWORD dwIndex, CString& strName, LPDWORD lpdwType)
{
    return EnumValue(dwIndex, strName, lpdwType, NULL, NULL);
}

BOOL SECRegistry::Flush() { return Check(RegFlushKey(m_hKey)); }

BOOL SECRegistry::QueryInfo()
{
    char cls[kNameChars] = {};
    DWORD classLength = kNameChars - 1;
    FILETIME written = {0, 0};
    if (!Check(RegQueryInfoKeyA(m_hKey, cls, &classLength, NULL, &m_dwNumberOfSubkeys,
                                &m_dwLongestSubkeyNameLength, &m_dwLongestClassNameLength,
                                &m_dwNumberOfValues, &m_dwLongestValueNameLength,
                                &m_dwLongestValueDataLength, &m_dwSecurityDescriptorLength,
                                &written)))
        return FALSE;
    m_strClassName = cls;
    m_fileTimeLastWrite = written;
    m_timeLastWrite = (written.dwHighDateTime | written.dwLowDateTime) != 0 ? CTime(written) : CTime();
    return TRUE;
}

BOOL SECRegistry::QueryValueRaw(LPCTSTR lpszValueName, LPDWORD lpdwType, LPBYTE lpbData,
                                LPDWORD lpdwDataLength)
{
    if (lpszValueName == NULL)
        return Check(ERROR_INVALID_PARAMETER);
    return Check(RegQueryValueExA(m_hKey, lpszValueName, NULL, lpdwType, lpbData, lpdwDataLength));
}

BOOL SECRegistry::ReadValueBytes(LPCTSTR lpszValueName, DWORD& dwType, CByteArray& data)
{
    if (lpszValueName == NULL)
        return Check(ERROR_INVALID_PARAMETER);
    // The value may change between the size query and the read: ask again when it grew.
    for (int attempt = 0; attempt < 4; attempt++) {
        DWORD size = 0;
        if (!Check(RegQueryValueExA(m_hKey, lpszValueName, NULL, &dwType, NULL, &size)))
            return FALSE;
        std::vector<BYTE> buffer(size + 1);
        DWORD got = size;
        LONG r = RegQueryValueExA(m_hKey, lpszValueName, NULL, &dwType, buffer.data(), &got);
        if (r == ERROR_MORE_DATA)
            continue;
        if (!Check(r))
            return FALSE;
        data.SetSize(got);
        if (got != 0)
            memcpy(data.GetData(), buffer.data(), got);
        return TRUE;
    }
    return Check(ERROR_MORE_DATA);
}

BOOL SECRegistry::ReadStringValue(LPCTSTR lpszValueName, CString& strValue)
{
    strValue.Empty();
    DWORD type = 0;
    CByteArray data;
    if (!ReadValueBytes(lpszValueName, type, data))
        return FALSE;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return Check(ERROR_INVALID_DATATYPE);
    INT_PTR length = 0;
    while (length < data.GetSize() && data[length] != 0)
        length++;
    strValue = CString((LPCSTR)data.GetData(), (int)length);
    return TRUE;
}

BOOL SECRegistry::ReadDWordValue(LPCTSTR lpszValueName, DWORD& dwValue)
{
    DWORD value = 0, type = 0, size = sizeof value;
    if (!QueryValueRaw(lpszValueName, &type, (LPBYTE)&value, &size))
        return FALSE;
    dwValue = value;
    return TRUE;
}

BOOL SECRegistry::ReadBinaryValue(LPCTSTR lpszValueName, CByteArray& data)
{
    DWORD type = 0;
    CByteArray read;
    if (!ReadValueBytes(lpszValueName, type, read))
        return FALSE;
    data.RemoveAll();
    data.Append(read);
    return TRUE;
}

BOOL SECRegistry::ReadMultiStringValue(LPCTSTR lpszValueName, CStringArray& values)
{
    DWORD type = 0;
    CByteArray data;
    if (!ReadValueBytes(lpszValueName, type, data))
        return FALSE;
    if (type != REG_MULTI_SZ)
        return Check(ERROR_INVALID_DATATYPE);
    values.RemoveAll();
    // Strings up to the empty one that ends the list, or up to the end of the data when
    // the final null is missing.
    INT_PTR at = 0, size = data.GetSize();
    while (at < size && data[at] != 0) {
        INT_PTR end = at;
        while (end < size && data[end] != 0)
            end++;
        values.Add(CString((LPCSTR)data.GetData() + at, (int)(end - at)));
        at = end + 1;
    }
    return TRUE;
}

BOOL SECRegistry::GetKeySecurity(SECURITY_INFORMATION info, PSECURITY_DESCRIPTOR pDescriptor,
                                 LPDWORD lpdwLength)
{
    if (pDescriptor == NULL || lpdwLength == NULL)
        return Check(ERROR_INVALID_PARAMETER);
    return Check(RegGetKeySecurity(m_hKey, info, pDescriptor, lpdwLength));
}

BOOL SECRegistry::SetKeySecurity(SECURITY_INFORMATION info, PSECURITY_DESCRIPTOR pDescriptor)
{
    if (pDescriptor == NULL)
        return Check(ERROR_INVALID_PARAMETER);
    return Check(RegSetKeySecurity(m_hKey, info, pDescriptor));
}

BOOL SECRegistry::NotifyChange(HANDLE hEvent, DWORD dwFilter, BOOL bWatchSubtree,
                               BOOL bAsynchronous)
{
    return Check(RegNotifyChangeKeyValue(m_hKey, bWatchSubtree, dwFilter, hEvent, bAsynchronous));
}

BOOL SECRegistry::LoadKey(LPCTSTR lpszSubkey, LPCTSTR lpszFile)
{
    if (lpszSubkey == NULL || lpszFile == NULL)
        return Check(ERROR_INVALID_PARAMETER);
    return Check(RegLoadKeyA(m_hRootKey, lpszSubkey, lpszFile));
}

BOOL SECRegistry::ReplaceKey(LPCTSTR lpszSubkey, LPCTSTR lpszNewFile, LPCTSTR lpszOldFile)
{
    if (lpszSubkey == NULL || lpszNewFile == NULL || lpszOldFile == NULL)
        return Check(ERROR_INVALID_PARAMETER);
    return Check(RegReplaceKeyA(m_hKey, lpszSubkey, lpszNewFile, lpszOldFile));
}

BOOL SECRegistry::RestoreKey(LPCTSTR lpszFile, DWORD dwFlags)
{
    if (lpszFile == NULL)
        return Check(ERROR_INVALID_PARAMETER);
    return Check(RegRestoreKeyA(m_hKey, lpszFile, dwFlags));
}

BOOL SECRegistry::SaveKey(LPCTSTR lpszFile, LPSECURITY_ATTRIBUTES lpSecurity)
{
    if (lpszFile == NULL)
        return Check(ERROR_INVALID_PARAMETER);
    return Check(RegSaveKeyA(m_hKey, lpszFile, lpSecurity));
}

BOOL SECRegistry::UnLoadKey(LPCTSTR lpszSubkey)
{
    if (lpszSubkey == NULL)
        return Check(ERROR_INVALID_PARAMETER);
    return Check(RegUnLoadKeyA(m_hKey, lpszSubkey));
}

BOOL SECRegistry::SetValueRaw(LPCTSTR lpszValueName, DWORD dwType, const BYTE* lpbData,
                              DWORD dwDataLength)
{
    if (lpszValueName == NULL || lpbData == NULL)
        return Check(ERROR_INVALID_PARAMETER);
    return Check(RegSetValueExA(m_hKey, lpszValueName, 0, dwType, lpbData, dwDataLength));
}

BOOL SECRegistry::WriteStringValue(LPCTSTR lpszValueName, LPCTSTR lpszValue)
{
    if (lpszValue == NULL)
        return Check(ERROR_INVALID_PARAMETER);
    return SetValueRaw(lpszValueName, REG_SZ, (const BYTE*)lpszValue, (DWORD)strlen(lpszValue) + 1);
}

BOOL SECRegistry::WriteDWordValue(LPCTSTR lpszValueName, DWORD dwValue)
{
    return SetValueRaw(lpszValueName, REG_DWORD, (const BYTE*)&dwValue, sizeof dwValue);
}

BOOL SECRegistry::WriteBinaryValue(LPCTSTR lpszValueName, const CByteArray& data)
{
    static const BYTE none = 0;
    return SetValueRaw(lpszValueName, REG_BINARY, data.GetSize() ? data.GetData() : &none,
                       (DWORD)data.GetSize());
}

BOOL SECRegistry::WriteMultiStringValue(LPCTSTR lpszValueName, const CStringArray& values)
{
    std::vector<BYTE> block;
    for (INT_PTR i = 0; i < values.GetSize(); i++) {
        const CString& s = values[i];
        block.insert(block.end(), (LPCSTR)s, (LPCSTR)s + s.GetLength() + 1);
    }
    block.push_back(0);
    return SetValueRaw(lpszValueName, REG_MULTI_SZ, block.data(), (DWORD)block.size());
}

BOOL SECRegistry::QueryValue(LPCTSTR lpszValueName, CString& strValue)
{
    if (lpszValueName == NULL)
        return Check(ERROR_INVALID_PARAMETER);
    return ReadStringValue(lpszValueName, strValue);
}

BOOL SECRegistry::QueryValue(LPCTSTR lpszValueName, CStringArray& values)
{
    if (lpszValueName == NULL)
        return Check(ERROR_INVALID_PARAMETER);
    return ReadMultiStringValue(lpszValueName, values);
}

BOOL SECRegistry::QueryValue(LPCTSTR lpszValueName, DWORD& dwValue)
{
    if (lpszValueName == NULL)
        return Check(ERROR_INVALID_PARAMETER);
    return ReadDWordValue(lpszValueName, dwValue);
}

BOOL SECRegistry::QueryValue(LPCTSTR lpszValueName, CByteArray& data)
{
    if (lpszValueName == NULL)
        return Check(ERROR_INVALID_PARAMETER);
    return ReadBinaryValue(lpszValueName, data);
}

BOOL SECRegistry::SetValue(LPCTSTR lpszValueName, LPCTSTR lpszValue)
{
    if (lpszValueName == NULL)
        return Check(ERROR_INVALID_PARAMETER);
    return WriteStringValue(lpszValueName, lpszValue);
}

BOOL SECRegistry::SetValue(LPCTSTR lpszValueName, const CStringArray& values)
{
    if (lpszValueName == NULL)
        return Check(ERROR_INVALID_PARAMETER);
    return WriteMultiStringValue(lpszValueName, values);
}

BOOL SECRegistry::SetValue(LPCTSTR lpszValueName, DWORD dwValue)
{
    if (lpszValueName == NULL)
        return Check(ERROR_INVALID_PARAMETER);
    return WriteDWordValue(lpszValueName, dwValue);
}

BOOL SECRegistry::SetValue(LPCTSTR lpszValueName, const CByteArray& data)
{
    if (lpszValueName == NULL)
        return Check(ERROR_INVALID_PARAMETER);
    return WriteBinaryValue(lpszValueName, data);
}

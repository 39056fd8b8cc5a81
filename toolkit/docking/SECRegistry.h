// One connection to the registry: a root key, one open key below it and what was last read
// about that key. Every operation keeps the platform's result code (GetErrorCode) and
// answers a BOOL; none throws. Calls are the ANSI registry functions.
#ifndef QUORVEL_SECREGISTRY_H
#define QUORVEL_SECREGISTRY_H

#include <afxwin.h>

class SECRegistry : public CObject {
    DECLARE_DYNAMIC(SECRegistry)
public:
    SECRegistry();
    virtual ~SECRegistry();

    LONG GetErrorCode() const { return m_lErrorCode; }

    virtual void Reset();
    virtual BOOL Create(LPCTSTR lpszKeyName, LPCTSTR lpszClassName = NULL,
                        DWORD dwOptions = REG_OPTION_NON_VOLATILE,
                        REGSAM samDesired = KEY_ALL_ACCESS,
                        LPSECURITY_ATTRIBUTES lpSecurity = NULL, LPDWORD lpdwDisposition = NULL);
    virtual BOOL Close();
    // Another machine's registry cannot be reached here: a machine name fails.
    virtual BOOL Connect(HKEY hKeyRoot = HKEY_LOCAL_MACHINE, LPCTSTR lpszMachineName = NULL);
    virtual BOOL DeleteKey(LPCTSTR lpszKeyName, BOOL bRecursive = FALSE);
    virtual BOOL DeleteValue(LPCTSTR lpszValueName);
    virtual LONG EnumKeyRaw(DWORD dwIndex, LPTSTR lpszName, LPDWORD lpdwNameLength,
                            LPTSTR lpszClass = NULL, LPDWORD lpdwClassLength = NULL);
    virtual BOOL EnumKey(DWORD dwIndex, CString& strName, CString& strClass);
    virtual BOOL EnumKey(DWORD dwIndex, CString& strName);
    virtual BOOL EnumValue(DWORD dwIndex, CString& strName, LPDWORD lpdwType, LPBYTE lpbData,
                           LPDWORD lpdwDataLength);
    virtual BOOL EnumValue(DWORD dwIndex, CString& strName, LPDWORD lpdwType = NULL);
    virtual BOOL EnumValue(DWORD dwIndex, LPTSTR lpszName, LPDWORD lpdwNameLength,
                           LPDWORD lpdwType, LPBYTE lpbData, LPDWORD lpdwDataLength);
    virtual BOOL Flush();
    virtual BOOL ReadBinaryValue(LPCTSTR lpszValueName, CByteArray& data);
    virtual BOOL ReadDWordValue(LPCTSTR lpszValueName, DWORD& dwValue);
    virtual BOOL GetKeySecurity(SECURITY_INFORMATION info, PSECURITY_DESCRIPTOR pDescriptor,
                                LPDWORD lpdwLength);
    // Text values (REG_SZ, REG_EXPAND_SZ) of any length; another type is refused with
    // ERROR_INVALID_DATATYPE and the string emptied.
    virtual BOOL ReadStringValue(LPCTSTR lpszValueName, CString& strValue);
    virtual BOOL ReadMultiStringValue(LPCTSTR lpszValueName, CStringArray& values);
    virtual BOOL QueryValue(LPCTSTR lpszValueName, CString& strValue);
    virtual BOOL QueryValue(LPCTSTR lpszValueName, CStringArray& values);
    virtual BOOL QueryValue(LPCTSTR lpszValueName, DWORD& dwValue);
    virtual BOOL QueryValue(LPCTSTR lpszValueName, CByteArray& data);
    virtual BOOL LoadKey(LPCTSTR lpszSubkey, LPCTSTR lpszFile);
    virtual BOOL NotifyChange(HANDLE hEvent = NULL, DWORD dwFilter = REG_NOTIFY_CHANGE_LAST_SET,
                              BOOL bWatchSubtree = TRUE, BOOL bAsynchronous = FALSE);
    virtual BOOL Open(LPCTSTR lpszKeyName, REGSAM samDesired = KEY_READ);
    virtual BOOL QueryInfo();
    virtual BOOL QueryValueRaw(LPCTSTR lpszValueName, LPDWORD lpdwType, LPBYTE lpbData,
                               LPDWORD lpdwDataLength);
    virtual BOOL ReplaceKey(LPCTSTR lpszSubkey, LPCTSTR lpszNewFile, LPCTSTR lpszOldFile);
    virtual BOOL RestoreKey(LPCTSTR lpszFile, DWORD dwFlags = 0);
    virtual BOOL SaveKey(LPCTSTR lpszFile, LPSECURITY_ATTRIBUTES lpSecurity = NULL);
    virtual BOOL WriteBinaryValue(LPCTSTR lpszValueName, const CByteArray& data);
    virtual BOOL WriteDWordValue(LPCTSTR lpszValueName, DWORD dwValue);
    virtual BOOL SetKeySecurity(SECURITY_INFORMATION info, PSECURITY_DESCRIPTOR pDescriptor);
    virtual BOOL WriteStringValue(LPCTSTR lpszValueName, LPCTSTR lpszValue);
    virtual BOOL WriteMultiStringValue(LPCTSTR lpszValueName, const CStringArray& values);
    virtual BOOL SetValueRaw(LPCTSTR lpszValueName, DWORD dwType, const BYTE* lpbData,
                             DWORD dwDataLength);
    virtual BOOL SetValue(LPCTSTR lpszValueName, LPCTSTR lpszValue);
    virtual BOOL SetValue(LPCTSTR lpszValueName, const CStringArray& values);
    virtual BOOL SetValue(LPCTSTR lpszValueName, DWORD dwValue);
    virtual BOOL SetValue(LPCTSTR lpszValueName, const CByteArray& data);
    virtual BOOL UnLoadKey(LPCTSTR lpszSubkey);

    // Key names: a trailing backslash dropped, and a leading one when bDropLeading is set
    // (an empty name then stays empty, else it becomes a single backslash).
    static CString NormalizeKeyName(LPCTSTR lpszName, BOOL bDropLeading);
    static CString JoinKeyNames(LPCTSTR lpszParent, LPCTSTR lpszChild);
    // The predefined key's name, or an empty string.
    static CString RootKeyName(HKEY hKey);

    LONG m_lErrorCode;
    HKEY m_hKey;
    HKEY m_hRootKey;
    DWORD m_dwLongestSubkeyNameLength;
    DWORD m_dwLongestClassNameLength;
    DWORD m_dwLongestValueNameLength;
    DWORD m_dwLongestValueDataLength;
    DWORD m_dwSecurityDescriptorLength;
    FILETIME m_fileTimeLastWrite;
    CString m_strClassName;
    CString m_strComputerName;
    CString m_strKeyName;
    CString m_strRegistryName;
    DWORD m_dwNumberOfSubkeys;
    DWORD m_dwNumberOfValues;
    CTime m_timeLastWrite;
    BOOL m_bRemote;

protected:
    // Reads a value of any length into data; FALSE (and the error kept) when it cannot.
    BOOL ReadValueBytes(LPCTSTR lpszValueName, DWORD& dwType, CByteArray& data);
    BOOL Check(LONG lResult);
};

#endif  // QUORVEL_SECREGISTRY_H

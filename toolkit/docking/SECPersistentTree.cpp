// The persistent tree: nodes, their value encodings, the factory that owns read children,
// and the profile-file and registry storage.
#include "SECPersistentTree.h"
#include "SECRegistry.h"
#include <cstdlib>
#include <vector>

IMPLEMENT_DYNCREATE(SECPersistentTreeNode, CObject)

namespace {

const int kPieceChars = 250;
const char kBinCount[] = "_BinCount";
const char kBinVal[] = "_BinVal";
// Profile reads grow their buffers up to this many characters.
const DWORD kMaxProfileChars = 16u << 20;

CString PieceName(LPCTSTR lpszKey, int n)
{
    CString name;
    name.Format("%s%s%d", lpszKey, kBinVal, n);
    return name;
}

// The leading decimal integer of the text: blanks and a sign accepted, 0 without digits.
LONG LeadingInteger(const CString& text)
{
    const char* p = text;
    while (*p == ' ' || *p == '\t')
        p++;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        p++;
    ULONG value = 0;
    for (; *p >= '0' && *p <= '9'; p++)
        value = value * 10 + ULONG(*p - '0');
    return negative ? LONG(0u - value) : LONG(value);
}

BOOL IsEmpty(LPCTSTR s) { return s == NULL || *s == 0; }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Factory

SECPTNFactory::~SECPTNFactory()
{
    POSITION pos = m_nodes.GetHeadPosition();
    while (pos != NULL)
        delete (SECPersistentTreeNode*)m_nodes.GetNext(pos);
    m_nodes.RemoveAll();
}

SECPersistentTreeNode* SECPTNFactory::CreateNode(LPCTSTR lpszName, SECPersistentTreeNode* pParent,
                                                 CRuntimeClass* pClass)
{
    if (pClass == NULL)
        pClass = RUNTIME_CLASS(SECPersistentTreeNode);
    CObject* pObject = pClass->CreateObject();
    if (pObject == NULL)
        return NULL;
    if (!pObject->IsKindOf(RUNTIME_CLASS(SECPersistentTreeNode))) {
        delete pObject;
        return NULL;
    }
    SECPersistentTreeNode* pNode = (SECPersistentTreeNode*)pObject;
    POSITION pos = m_nodes.AddTail(pNode);
    if (pNode->InitNode(lpszName, pParent) != SECPTN_OK) {
        m_nodes.RemoveAt(pos);
        delete pNode;
        return NULL;
    }
    return pNode;
}

SECPersistentTreeNode* SECPTNFactory::CreateNode()
{
    SECPersistentTreeNode* pNode = new SECPersistentTreeNode;
    m_nodes.AddTail(pNode);
    return pNode;
}

BOOL SECPTNFactory::DestroyNode(SECPersistentTreeNode* pNode)
{
    POSITION pos = m_nodes.Find(pNode);
    if (pos == NULL)
        return FALSE;
    m_nodes.RemoveAt(pos);
    if (pNode->GetParent() != NULL)
        pNode->GetParent()->RemoveChild(pNode);
    delete pNode;
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Node

SECPersistentTreeNode::SECPersistentTreeNode() : m_pParent(NULL), m_bInitialized(FALSE) {}

SECPersistentTreeNode::~SECPersistentTreeNode()
{
    POSITION pos = m_pairs.GetHeadPosition();
    while (pos != NULL)
        delete (SECPersTreeNodeKeyValuePair*)m_pairs.GetNext(pos);
    m_pairs.RemoveAll();
    m_children.RemoveAll();
}

UINT SECPersistentTreeNode::InitNode(LPCTSTR lpszName, SECPersistentTreeNode* pParent)
{
    UINT result = (m_bInitialized ? SECPTN_ALREADY_INITIALIZED : 0) |
                  (IsEmpty(lpszName) ? SECPTN_EMPTY_NAME : 0);
    if (result != SECPTN_OK)
        return result;
    m_strName = lpszName;
    m_pParent = pParent;
    if (pParent != NULL) {
        UINT added = pParent->AddChild(this);
        if (added != SECPTN_OK) {
            m_pParent = NULL;
            return (added & SECPTN_CHILD_EXISTS) ? SECPTN_CHILD_EXISTS : SECPTN_FAILED;
        }
    }
    m_bInitialized = TRUE;
    return SECPTN_OK;
}

UINT SECPersistentTreeNode::AddChild(SECPersistentTreeNode* pChild)
{
    if (!m_bInitialized)
        return SECPTN_NOT_INITIALIZED;
    if (pChild == NULL)
        return SECPTN_EMPTY_NAME;
    if (FindChild(pChild->m_strName) != NULL)
        return SECPTN_CHILD_EXISTS;
    m_children.AddTail(pChild);
    return SECPTN_OK;
}

void SECPersistentTreeNode::RemoveChild(SECPersistentTreeNode* pChild)
{
    POSITION pos = m_children.Find(pChild);
    if (pos != NULL)
        m_children.RemoveAt(pos);
}

SECPersistentTreeNode* SECPersistentTreeNode::FindChild(LPCTSTR lpszName) const
{
    if (IsEmpty(lpszName))
        return NULL;
    POSITION pos = m_children.GetHeadPosition();
    while (pos != NULL) {
        SECPersistentTreeNode* pChild = (SECPersistentTreeNode*)m_children.GetNext(pos);
        if (pChild->m_strName == lpszName)
            return pChild;
    }
    return NULL;
}

SECPersistentTreeNode::SECPersTreeNodeKeyValuePair* SECPersistentTreeNode::FindPair(
    LPCTSTR lpszKey) const
{
    if (IsEmpty(lpszKey))
        return NULL;
    POSITION pos = m_pairs.GetHeadPosition();
    while (pos != NULL) {
        SECPersTreeNodeKeyValuePair* pPair = (SECPersTreeNodeKeyValuePair*)m_pairs.GetNext(pos);
        if (pPair->m_strKey == lpszKey)
            return pPair;
    }
    return NULL;
}

void SECPersistentTreeNode::GetPathNames(CStringList& names) const
{
    names.RemoveAll();
    for (const SECPersistentTreeNode* p = this; p != NULL; p = p->m_pParent)
        names.AddTail(p->m_strName);
}

void SECPersistentTreeNode::GetChildNames(CStringList& names) const
{
    names.RemoveAll();
    POSITION pos = m_children.GetHeadPosition();
    while (pos != NULL)
        names.AddTail(((SECPersistentTreeNode*)m_children.GetNext(pos))->m_strName);
}

void SECPersistentTreeNode::GetNextKeyValuePair(POSITION& pos, CString& strKey,
                                                CString& strValue) const
{
    SECPersTreeNodeKeyValuePair* pPair = (SECPersTreeNodeKeyValuePair*)m_pairs.GetNext(pos);
    strKey = pPair->m_strKey;
    strValue = pPair->m_strValue;
}

UINT SECPersistentTreeNode::SetStringValue(LPCTSTR lpszKey, LPCTSTR lpszValue, BOOL bOverwrite)
{
    SECPersTreeNodeKeyValuePair* pPair = FindPair(lpszKey);
    UINT result = (m_bInitialized ? 0 : SECPTN_NOT_INITIALIZED) |
                  (IsEmpty(lpszKey) ? SECPTN_EMPTY_KEY : 0) |
                  (pPair != NULL && !bOverwrite ? SECPTN_KEY_EXISTS : 0);
    if (result != SECPTN_OK)
        return result;
    if (pPair != NULL)
        pPair->m_strValue = lpszValue != NULL ? lpszValue : "";
    else
        m_pairs.AddTail(new SECPersTreeNodeKeyValuePair(lpszKey, lpszValue != NULL ? lpszValue : ""));
    return SECPTN_OK;
}

UINT SECPersistentTreeNode::SetIntValue(LPCTSTR lpszKey, int nValue, BOOL bOverwrite)
{
    CString text;
    text.Format("%d", nValue);
    return SetStringValue(lpszKey, text, bOverwrite);
}

UINT SECPersistentTreeNode::SetBoolValue(LPCTSTR lpszKey, BOOL bValue, BOOL bOverwrite)
{
    return SetStringValue(lpszKey, bValue ? "True" : "False", bOverwrite);
}

UINT SECPersistentTreeNode::SetBinaryValue(LPCTSTR lpszKey, const BYTE* pData, UINT nLength,
                                           BOOL bOverwrite)
{
    if (pData == NULL)
        return SECPTN_NULL_POINTER;
    CString text = EncodeBinary(pData, nLength);
    if ((UINT)text.GetLength() != 2 * nLength)
        return SECPTN_ENCODE_FAILED;
    if (text.GetLength() <= kPieceChars)
        return SetStringValue(lpszKey, text, bOverwrite);
    return WriteLongString(lpszKey, text);
}

UINT SECPersistentTreeNode::GetStringValue(LPCTSTR lpszKey, CString& strValue,
                                           LPCTSTR lpszDefault)
{
    strValue = lpszDefault != NULL ? lpszDefault : "";
    SECPersTreeNodeKeyValuePair* pPair = FindPair(lpszKey);
    if (pPair == NULL)
        return SECPTN_KEY_NOT_FOUND;
    strValue = pPair->m_strValue;
    return SECPTN_OK;
}

UINT SECPersistentTreeNode::GetIntValue(LPCTSTR lpszKey, int& nValue, int nDefault)
{
    nValue = nDefault;
    CString text;
    UINT result = GetStringValue(lpszKey, text);
    if (result == SECPTN_OK)
        nValue = (int)LeadingInteger(text);
    return result;
}

UINT SECPersistentTreeNode::GetUIntValue(LPCTSTR lpszKey, UINT& nValue, UINT nDefault)
{
    int value = 0;
    UINT result = GetIntValue(lpszKey, value, (int)nDefault);
    nValue = (UINT)value;
    return result;
}

UINT SECPersistentTreeNode::GetLongValue(LPCTSTR lpszKey, LONG& lValue, LONG lDefault)
{
    int value = 0;
    UINT result = GetIntValue(lpszKey, value, (int)lDefault);
    lValue = (LONG)value;
    return result;
}

UINT SECPersistentTreeNode::GetULongValue(LPCTSTR lpszKey, ULONG& lValue, ULONG lDefault)
{
    int value = 0;
    UINT result = GetIntValue(lpszKey, value, (int)lDefault);
    lValue = (ULONG)(UINT)value;
    return result;
}

UINT SECPersistentTreeNode::GetBoolValue(LPCTSTR lpszKey, BOOL& bValue, BOOL bDefault)
{
    bValue = bDefault;
    CString text;
    UINT result = GetStringValue(lpszKey, text);
    if (result == SECPTN_OK) {
        text.MakeUpper();
        bValue = text == "TRUE";
    }
    return result;
}

UINT SECPersistentTreeNode::GetBinaryValue(LPCTSTR lpszKey, BYTE** ppData, UINT& nLength)
{
    if (ppData == NULL)
        return SECPTN_NULL_POINTER;
    *ppData = NULL;
    nLength = 0;
    CString text;
    if (!ReadLongString(lpszKey, text)) {
        UINT result = GetStringValue(lpszKey, text);
        if (result != SECPTN_OK)
            return result;
    }
    BYTE* pData = DecodeBinary(text, nLength);
    if (pData == NULL)
        return SECPTN_FAILED;
    *ppData = pData;
    return SECPTN_OK;
}

CString SECPersistentTreeNode::EncodeBinary(const BYTE* pData, UINT nLength)
{
    CString text;
    if (pData == NULL || nLength == 0)
        return text;
    LPSTR out = text.GetBuffer((int)(2 * nLength));
    for (UINT i = 0; i < nLength; i++) {
        out[2 * i] = char('A' + (pData[i] & 0x0F));
        out[2 * i + 1] = char('A' + (pData[i] >> 4));
    }
    text.ReleaseBuffer((int)(2 * nLength));
    return text;
}

BYTE* SECPersistentTreeNode::DecodeBinary(LPCTSTR lpszText, UINT& nLength)
{
    nLength = 0;
    size_t chars = lpszText != NULL ? strlen(lpszText) : 0;
    if (chars / 2 == 0)
        return NULL;
    nLength = (UINT)(chars / 2);
    BYTE* pData = new BYTE[nLength];
    for (UINT i = 0; i < nLength; i++)
        pData[i] = BYTE((lpszText[2 * i + 1] - 'A') * 16 + (lpszText[2 * i] - 'A'));
    return pData;
}

UINT SECPersistentTreeNode::WriteLongString(LPCTSTR lpszKey, const CString& strText)
{
    int pieces = (strText.GetLength() + kPieceChars - 1) / kPieceChars;
    CString countKey = CString(lpszKey) + kBinCount;
    UINT result = SetIntValue(countKey, pieces, TRUE);
    if (result != SECPTN_OK)
        return result;
    for (int n = 0; n < pieces; n++)
        SetStringValue(PieceName(lpszKey, n), strText.Mid(n * kPieceChars, kPieceChars), TRUE);
    return SECPTN_OK;
}

BOOL SECPersistentTreeNode::ReadLongString(LPCTSTR lpszKey, CString& strText)
{
    int count = 0;
    if (GetIntValue(CString(lpszKey) + kBinCount, count) != SECPTN_OK)
        return FALSE;
    // The stored count is not trusted: the pieces end at the first one missing.
    strText.Empty();
    CString piece;
    for (int n = 0; n < count; n++) {
        if (GetStringValue(PieceName(lpszKey, n), piece) != SECPTN_OK)
            break;
        strText += piece;
    }
    return TRUE;
}

BOOL SECPersistentTreeNode::WriteTree(SECPTNStrategy* pStrategy)
{
    if (!m_bInitialized || pStrategy == NULL)
        return FALSE;
    CStringList path;
    GetPathNames(path);
    pStrategy->ClearNode(path);
    // Every write counts: a tree written only in part is a failed write.
    BOOL ok = TRUE;
    POSITION pos = m_pairs.GetHeadPosition();
    while (pos != NULL) {
        SECPersTreeNodeKeyValuePair* pPair = (SECPersTreeNodeKeyValuePair*)m_pairs.GetNext(pos);
        if (!pStrategy->WriteValue(path, pPair->m_strKey, pPair->m_strValue))
            ok = FALSE;
    }
    CStringList names;
    GetChildNames(names);
    if (!pStrategy->WriteChildNames(path, names))
        ok = FALSE;
    pos = m_children.GetHeadPosition();
    while (pos != NULL)
        if (!((SECPersistentTreeNode*)m_children.GetNext(pos))->WriteTree(pStrategy))
            ok = FALSE;
    return ok;
}

BOOL SECPersistentTreeNode::ReadTree(SECPTNStrategy* pStrategy)
{
    if (!m_bInitialized || pStrategy == NULL)
        return FALSE;
    CStringList path, childNames, keys, values;
    GetPathNames(path);
    if (!pStrategy->ReadNode(path, childNames, keys, values))
        return FALSE;
    POSITION k = keys.GetHeadPosition(), v = values.GetHeadPosition();
    while (k != NULL && v != NULL) {
        const CString& key = keys.GetNext(k);
        SetStringValue(key, values.GetNext(v), TRUE);
    }
    POSITION pos = childNames.GetHeadPosition();
    while (pos != NULL) {
        SECPersistentTreeNode* pChild = m_factory.CreateNode(childNames.GetNext(pos), this);
        if (pChild != NULL)
            pChild->ReadTree(pStrategy);
    }
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Profile files

SECPTNStrategyProfile::SECPTNStrategyProfile(LPCTSTR lpszFileName)
    : SECPTNStrategy(lpszFileName), m_strChildPrefix("ptn_Child"), m_strSeparator("."),
      m_dwKeyBufferStart(512)
{
}

CString SECPTNStrategyProfile::BuildSectionName(const CStringList& path) const
{
    CString section;
    POSITION pos = path.GetTailPosition();
    while (pos != NULL) {
        if (!section.IsEmpty())
            section += m_strSeparator;
        section += path.GetPrev(pos);
    }
    return section;
}

BOOL SECPTNStrategyProfile::ClearNode(const CStringList& path)
{
    CString section = BuildSectionName(path);
    if (section.IsEmpty())
        return FALSE;
    WritePrivateProfileStringA(section, NULL, NULL, m_strStorageName);
    return TRUE;
}

BOOL SECPTNStrategyProfile::WriteValue(const CStringList& path, LPCTSTR lpszKey, LPCTSTR lpszValue)
{
    CString section = BuildSectionName(path);
    if (section.IsEmpty())
        return FALSE;
    return WritePrivateProfileStringA(section, lpszKey, lpszValue, m_strStorageName);
}

BOOL SECPTNStrategyProfile::WriteChildNames(const CStringList& path, const CStringList& names)
{
    CString section = BuildSectionName(path);
    if (section.IsEmpty())
        return FALSE;
    BOOL ok = TRUE;
    int n = 1;
    POSITION pos = names.GetHeadPosition();
    while (pos != NULL) {
        CString key;
        key.Format("%s%d", (LPCSTR)m_strChildPrefix, n++);
        if (!WritePrivateProfileStringA(section, key, names.GetNext(pos), m_strStorageName))
            ok = FALSE;
    }
    return ok;
}

BOOL SECPTNStrategyProfile::GetSectionKeys(LPCTSTR lpszSection, CStringList& keys)
{
    keys.RemoveAll();
    if (IsEmpty(lpszSection))
        return FALSE;
    // The list comes back cut (length = size - 2) when the buffer is too small: grow it.
    for (DWORD size = m_dwKeyBufferStart;; size *= 2) {
        std::vector<char> buffer(size + 2, 0);
        DWORD got = GetPrivateProfileStringA(lpszSection, NULL, "", buffer.data(), size,
                                             m_strStorageName);
        if (got == 0)
            return FALSE;
        if (got >= size - 2 && size < kMaxProfileChars)
            continue;
        for (const char* p = buffer.data(); p < buffer.data() + got && *p != 0; p += strlen(p) + 1)
            keys.AddTail(p);
        return TRUE;
    }
}

CString SECPTNStrategyProfile::ReadProfileValue(LPCTSTR lpszSection, LPCTSTR lpszKey) const
{
    // A value that fills the buffer (length = size - 1) may have been cut: grow it.
    for (DWORD size = 256;; size *= 2) {
        std::vector<char> buffer(size + 1, 0);
        DWORD got = GetPrivateProfileStringA(lpszSection, lpszKey, "", buffer.data(), size,
                                             m_strStorageName);
        if (got < size - 1 || size >= kMaxProfileChars)
            return CString(buffer.data(), (int)got);
    }
}

BOOL SECPTNStrategyProfile::ReadNode(const CStringList& path, CStringList& childNames,
                                     CStringList& keys, CStringList& values)
{
    childNames.RemoveAll();
    keys.RemoveAll();
    values.RemoveAll();
    CString section = BuildSectionName(path);
    CStringList names;
    if (!GetSectionKeys(section, names))
        return FALSE;
    POSITION pos = names.GetHeadPosition();
    while (pos != NULL) {
        const CString& key = names.GetNext(pos);
        CString value = ReadProfileValue(section, key);
        if (key.Left(m_strChildPrefix.GetLength()) == m_strChildPrefix) {
            childNames.AddTail(value);
        } else {
            keys.AddTail(key);
            values.AddTail(value);
        }
    }
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Registry

SECPTNStrategyRegistry::SECPTNStrategyRegistry(LPCTSTR lpszBaseKey, HKEY hRoot)
    : SECPTNStrategy(lpszBaseKey), m_hRoot(hRoot)
{
    if (m_strStorageName.IsEmpty() || m_strStorageName.Right(1) != "\\")
        m_strStorageName += "\\";
}

CString SECPTNStrategyRegistry::BuildKeyPath(const CStringList& path) const
{
    CString key = m_strStorageName;
    POSITION pos = path.GetTailPosition();
    while (pos != NULL)
        key += path.GetPrev(pos) + "\\";
    return key;
}

BOOL SECPTNStrategyRegistry::ClearNode(const CStringList& path)
{
    SECRegistry reg;
    CString key = BuildKeyPath(path);
    if (!reg.Connect(m_hRoot) || !reg.Open(key, KEY_ALL_ACCESS))
        return FALSE;
    SECRegistry remover;
    return remover.Connect(m_hRoot) && remover.DeleteKey(SECRegistry::NormalizeKeyName(key, TRUE), TRUE);
}

BOOL SECPTNStrategyRegistry::WriteValue(const CStringList& path, LPCTSTR lpszKey,
                                        LPCTSTR lpszValue)
{
    SECRegistry reg;
    return reg.Connect(m_hRoot) && reg.Create(BuildKeyPath(path)) &&
           reg.WriteStringValue(lpszKey, lpszValue);
}

BOOL SECPTNStrategyRegistry::WriteChildNames(const CStringList&, const CStringList&)
{
    return TRUE;  // the children are the key's subkeys
}

BOOL SECPTNStrategyRegistry::ReadNode(const CStringList& path, CStringList& childNames,
                                      CStringList& keys, CStringList& values)
{
    SECRegistry reg;
    if (!reg.Connect(m_hRoot) || !reg.Open(BuildKeyPath(path), KEY_ALL_ACCESS))
        return FALSE;
    childNames.RemoveAll();
    keys.RemoveAll();
    values.RemoveAll();
    CString name;
    for (DWORD i = 0; reg.EnumKey(i, name); i++)
        childNames.AddTail(name);
    DWORD type = 0;
    CString value;
    for (DWORD i = 0; reg.EnumValue(i, name, &type); i++)
        if (reg.ReadStringValue(name, value)) {
            keys.AddTail(name);
            values.AddTail(value);
        }
    return TRUE;
}

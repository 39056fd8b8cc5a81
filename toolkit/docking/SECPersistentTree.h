// Saved window layout as one shape: a tree of named nodes holding text key/value pairs (with
// fixed text forms for integers, booleans and binary blocks), written to and read from a
// profile file or a registry key by a storage strategy.
#ifndef QUORVEL_SECPERSISTENTTREE_H
#define QUORVEL_SECPERSISTENTTREE_H

#include <afxwin.h>

class SECPersistentTreeNode;
class SECPTNStrategy;

// Result bits of the node operations; several may be combined.
enum {
    SECPTN_OK = 0,
    SECPTN_ALREADY_INITIALIZED = 1,
    SECPTN_NOT_INITIALIZED = 2,
    SECPTN_EMPTY_NAME = 4,          // or a null child
    SECPTN_EMPTY_KEY = 8,
    SECPTN_KEY_EXISTS = 16,
    SECPTN_CHILD_EXISTS = 32,
    SECPTN_KEY_NOT_FOUND = 64,
    SECPTN_NULL_POINTER = 128,
    SECPTN_ENCODE_FAILED = 256,
    SECPTN_FAILED = 0xFFFF,
};

// Owns the nodes made through it; deleting it deletes them (and so their own subtrees).
class SECPTNFactory {
public:
    SECPTNFactory() {}
    virtual ~SECPTNFactory();

    // A node of the class (SECPersistentTreeNode when NULL) initialised with the name under
    // the parent; NULL (nothing kept) when it cannot be made or initialised.
    SECPersistentTreeNode* CreateNode(LPCTSTR lpszName, SECPersistentTreeNode* pParent = NULL,
                                      CRuntimeClass* pClass = NULL);
    SECPersistentTreeNode* CreateNode();
    // Deletes one of the factory's nodes (taking it out of its parent's children first);
    // FALSE for a node the factory did not make.
    BOOL DestroyNode(SECPersistentTreeNode* pNode);
    INT_PTR GetCount() const { return m_nodes.GetCount(); }

protected:
    CPtrList m_nodes;

private:
    SECPTNFactory(const SECPTNFactory&) = delete;
    SECPTNFactory& operator=(const SECPTNFactory&) = delete;
};

class SECPersistentTreeNode : public CObject {
    DECLARE_DYNCREATE(SECPersistentTreeNode)
public:
    class SECPersTreeNodeKeyValuePair : public CObject {
    public:
        SECPersTreeNodeKeyValuePair(LPCTSTR lpszKey, LPCTSTR lpszValue)
            : m_strKey(lpszKey), m_strValue(lpszValue) {}
        CString m_strKey;
        CString m_strValue;
    };

    SECPersistentTreeNode();
    virtual ~SECPersistentTreeNode();

    virtual UINT InitNode(LPCTSTR lpszName, SECPersistentTreeNode* pParent = NULL);
    virtual UINT SetIntValue(LPCTSTR lpszKey, int nValue, BOOL bOverwrite = TRUE);
    virtual UINT SetStringValue(LPCTSTR lpszKey, LPCTSTR lpszValue, BOOL bOverwrite = TRUE);
    virtual UINT SetBoolValue(LPCTSTR lpszKey, BOOL bValue, BOOL bOverwrite = TRUE);
    virtual UINT SetBinaryValue(LPCTSTR lpszKey, const BYTE* pData, UINT nLength,
                                BOOL bOverwrite = TRUE);
    virtual UINT GetStringValue(LPCTSTR lpszKey, CString& strValue, LPCTSTR lpszDefault = "");
    virtual UINT GetIntValue(LPCTSTR lpszKey, int& nValue, int nDefault = 0);
    virtual UINT GetUIntValue(LPCTSTR lpszKey, UINT& nValue, UINT nDefault = 0);
    virtual UINT GetLongValue(LPCTSTR lpszKey, LONG& lValue, LONG lDefault = 0);
    virtual UINT GetULongValue(LPCTSTR lpszKey, ULONG& lValue, ULONG lDefault = 0);
    virtual UINT GetBoolValue(LPCTSTR lpszKey, BOOL& bValue, BOOL bDefault = FALSE);
    // The block in a new buffer (delete[] by the caller) and its length.
    virtual UINT GetBinaryValue(LPCTSTR lpszKey, BYTE** ppData, UINT& nLength);
    virtual BOOL WriteTree(SECPTNStrategy* pStrategy);
    virtual BOOL ReadTree(SECPTNStrategy* pStrategy);
    virtual UINT AddChild(SECPersistentTreeNode* pChild);

    SECPersistentTreeNode* FindChild(LPCTSTR lpszName) const;
    SECPersTreeNodeKeyValuePair* FindPair(LPCTSTR lpszKey) const;
    // The node's name, its parent's, ... up to the root.
    void GetPathNames(CStringList& names) const;
    void GetChildNames(CStringList& names) const;
    POSITION GetFirstKeyValuePairPosition() const { return m_pairs.GetHeadPosition(); }
    void GetNextKeyValuePair(POSITION& pos, CString& strKey, CString& strValue) const;
    const CString& GetNodeName() const { return m_strName; }
    SECPersistentTreeNode* GetParent() const { return m_pParent; }
    BOOL IsInitialized() const { return m_bInitialized; }
    INT_PTR GetChildCount() const { return m_children.GetCount(); }
    INT_PTR GetPairCount() const { return m_pairs.GetCount(); }
    // Used by the factory when it deletes a child of this node.
    void RemoveChild(SECPersistentTreeNode* pChild);

    // Each byte as two letters 'A'..'P', low four bits first: 0x01 0xAB is "BALK".
    static CString EncodeBinary(const BYTE* pData, UINT nLength);
    // The reverse; a trailing odd letter is ignored. NULL (length 0) for empty text.
    static BYTE* DecodeBinary(LPCTSTR lpszText, UINT& nLength);
    // Long texts in pieces of 250 characters under "<key>_BinVal<n>", their number under
    // "<key>_BinCount".
    UINT WriteLongString(LPCTSTR lpszKey, const CString& strText);
    BOOL ReadLongString(LPCTSTR lpszKey, CString& strText);

protected:
    CString m_strName;
    SECPersistentTreeNode* m_pParent;
    SECPTNFactory m_factory;  // the children ReadTree made
    CPtrList m_children;
    CPtrList m_pairs;
    BOOL m_bInitialized;
};

// Storage of a tree. A path is a node's name followed by its ancestors' (GetPathNames);
// strategies take it from the root end.
class SECPTNStrategy {
public:
    explicit SECPTNStrategy(LPCTSTR lpszStorageName) : m_strStorageName(lpszStorageName) {}
    virtual ~SECPTNStrategy() {}
    virtual BOOL ClearNode(const CStringList& path) = 0;
    virtual BOOL WriteValue(const CStringList& path, LPCTSTR lpszKey, LPCTSTR lpszValue) = 0;
    virtual BOOL WriteChildNames(const CStringList& path, const CStringList& names) = 0;
    virtual BOOL ReadNode(const CStringList& path, CStringList& childNames, CStringList& keys,
                          CStringList& values) = 0;

    CString m_strStorageName;
};

// A profile (INI-format) file: one section per node, named by the path from the root joined
// with "."; children listed as "ptn_Child1", "ptn_Child2", ...
class SECPTNStrategyProfile : public SECPTNStrategy {
public:
    explicit SECPTNStrategyProfile(LPCTSTR lpszFileName);
    virtual BOOL ClearNode(const CStringList& path) override;
    virtual BOOL WriteValue(const CStringList& path, LPCTSTR lpszKey, LPCTSTR lpszValue) override;
    virtual BOOL WriteChildNames(const CStringList& path, const CStringList& names) override;
    virtual BOOL ReadNode(const CStringList& path, CStringList& childNames, CStringList& keys,
                          CStringList& values) override;
    virtual BOOL GetSectionKeys(LPCTSTR lpszSection, CStringList& keys);

    CString BuildSectionName(const CStringList& path) const;
    // A value of any length (empty when missing).
    CString ReadProfileValue(LPCTSTR lpszSection, LPCTSTR lpszKey) const;

    CString m_strChildPrefix;    // "ptn_Child"
    CString m_strSeparator;      // "."
    DWORD m_dwKeyBufferStart;    // first size of the key-list buffer, in characters
};

// A registry key: one key per node below the base key path, children as subkeys.
class SECPTNStrategyRegistry : public SECPTNStrategy {
public:
    SECPTNStrategyRegistry(LPCTSTR lpszBaseKey, HKEY hRoot = HKEY_CURRENT_USER);
    virtual BOOL ClearNode(const CStringList& path) override;
    virtual BOOL WriteValue(const CStringList& path, LPCTSTR lpszKey, LPCTSTR lpszValue) override;
    virtual BOOL WriteChildNames(const CStringList& path, const CStringList& names) override;
    virtual BOOL ReadNode(const CStringList& path, CStringList& childNames, CStringList& keys,
                          CStringList& values) override;
    virtual CString BuildKeyPath(const CStringList& path) const;

    HKEY m_hRoot;
};

#endif  // QUORVEL_SECPERSISTENTTREE_H

// Reader of the field-definition file: the value lists (clip types, clubs, views, roles,
// browser filters) and their labels. Not a general XML parser: blocks and attributes are
// found by plain text search, as the shipped file is written.
#pragma once
#include <afx.h>

class CExtString;

class CXMLParser
{
public:
    enum { MaxFields = 100, MaxEntries = 32 };

    CXMLParser();
    explicit CXMLParser(CString fileName);
    virtual ~CXMLParser();

    void SetFileName(CString fileName) { m_strFileName = fileName; }
    int Open();
    // Parses text already in memory (what Open does after reading the file).
    void ParseText(const char* text, int length);

    CString GetDisplayName(CString name) const;
    // Stores a new copy of each entry of the field in out[0], out[1], ... (the caller
    // deletes them), never more than `capacity`; answers how many were stored.
    int GetEntries(CString name, CString** out, int capacity = MaxEntries) const;
    int GetFieldCount() const { return m_nFieldCount; }

private:
    struct FieldRecord
    {
        CString* name;
        CString* displayName;
        CString* displayType;
        int entryCount;
        CString* entries[MaxEntries];
    };

    void Clear();
    void ParseFields();
    const FieldRecord* FindField(const CString& name) const;

    CString m_strFileName;
    CExtString* m_pText;
    int m_nFieldCount;
    CExtString* m_blocks[MaxFields];
    FieldRecord* m_records;
};

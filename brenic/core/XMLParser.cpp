#include "XMLParser.h"
#include <afxwin.h>
#include "Utility.h"
#include <stdlib.h>

CXMLParser::CXMLParser() : m_pText(NULL), m_nFieldCount(0), m_records(NULL)
{
    for (int i = 0; i < MaxFields; ++i)
        m_blocks[i] = NULL;
}

CXMLParser::CXMLParser(CString fileName) : CXMLParser()
{
    m_strFileName = fileName;
}

CXMLParser::~CXMLParser()
{
    Clear();
}

void CXMLParser::Clear()
{
    for (int i = 0; i < m_nFieldCount; ++i) {
        delete m_blocks[i];
        m_blocks[i] = NULL;
        if (m_records) {
            FieldRecord& r = m_records[i];
            delete r.name;
            delete r.displayName;
            delete r.displayType;
            for (int e = 0; e < r.entryCount; ++e)
                delete r.entries[e];
        }
    }
    delete[] m_records;
    m_records = NULL;
    delete m_pText;
    m_pText = NULL;
    m_nFieldCount = 0;
}

int CXMLParser::Open()
{
    HANDLE file = CreateFileA(m_strFileName, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        AfxMessageBox("Could not open XML file.  Please contact Quorvel.");
        return -1;
    }
    DWORD size = GetFileSize(file, NULL);
    if (size == INVALID_FILE_SIZE)
        size = 0;
    char* buffer = (char*)malloc((size_t)size + 1);
    DWORD got = 0;
    if (buffer && !ReadFile(file, buffer, size, &got, NULL))
        got = 0;
    CloseHandle(file);
    if (!buffer)
        return -1;
    buffer[got] = 0;
    ParseText(buffer, (int)got);
    free(buffer);
    return 0;
}

void CXMLParser::ParseText(const char* text, int length)
{
    Clear();
    m_pText = new CExtString;
    m_pText->AssignBuffer(text, length);
    ParseFields();
}

void CXMLParser::ParseFields()
{
    // The tables are fixed: fields beyond the hundredth and entries beyond the 32nd of a
    // field are ignored rather than written past the end.
    while (m_pText->Find("<Field ") >= 0 && m_nFieldCount < MaxFields) {
        m_blocks[m_nFieldCount] = new CExtString(m_pText->GetDelimited("<Field ", "</Field>"));
        m_pText->ConsumeTo("</Field>");
        ++m_nFieldCount;
    }
    m_records = new FieldRecord[m_nFieldCount > 0 ? m_nFieldCount : 1];
    for (int i = 0; i < m_nFieldCount; ++i) {
        FieldRecord& r = m_records[i];
        CExtString copy(*m_blocks[i]);
        r.name = new CString(copy.GetDelimited("Name=\"", "\""));
        r.displayName = new CString(copy.GetDelimited("DisplayName=\"", "\""));
        r.displayType = new CString(copy.GetDelimited("DisplayType=\"", "\""));
        r.entryCount = 0;
        for (int e = 0; e < MaxEntries; ++e)
            r.entries[e] = NULL;
        while (copy.Find("<Entry>") >= 0 && r.entryCount < MaxEntries) {
            r.entries[r.entryCount++] = new CString(copy.GetDelimited("<Entry>", "</Entry>"));
            copy.ConsumeTo("</Entry>");
        }
    }
    delete m_pText;
    m_pText = NULL;
}

const CXMLParser::FieldRecord* CXMLParser::FindField(const CString& name) const
{
    for (int i = 0; i < m_nFieldCount; ++i)
        if (*m_records[i].name == name)
            return &m_records[i];
    return NULL;
}

CString CXMLParser::GetDisplayName(CString name) const
{
    const FieldRecord* r = FindField(name);
    return r ? *r->displayName : name;
}

int CXMLParser::GetEntries(CString name, CString** out, int capacity) const
{
    const FieldRecord* r = FindField(name);
    if (!r || !out)
        return 0;
    int count = r->entryCount < capacity ? r->entryCount : capacity;
    for (int e = 0; e < count; ++e)
        out[e] = new CString(*r->entries[e]);
    return count < 0 ? 0 : count;
}

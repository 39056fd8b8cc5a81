#include "BrowserLists.h"
#include <afxdao.h>
#include "AppConfig.h"
#include "DatabaseMgr.h"
#include "Globals.h"
#include "Recordsets.h"

void FillInstructorList(CComboBox& list, CDaoDatabase* db)
{
    list.ResetContent();
    list.SetItemData(list.AddString(""), (DWORD_PTR)-1);
    CPeopleRecord people(db);
    try {
        people.SetParamValue(0, "Instructor");
        people.Open(dbOpenSnapshot, "SELECT * FROM Person WHERE Person.[Role] = ?",
                    dbReadOnly);
        for (; !people.IsEOF(); people.MoveNext()) {
            const int item = list.AddString(people.m_LastName + "," + people.m_FirstName);
            list.SetItemData(item, (DWORD_PTR)people.m_ID);
        }
    } catch (CDaoException* e) {
        AfxMessageBox(DaoErrorText(e), MB_ICONEXCLAMATION);
        e->Delete();
    }
    if (people.IsOpen())
        people.Close();
    list.SetCurSel(0);
}

int AddFieldEntries(CComboBox& list, LPCTSTR field)
{
    if (!g_pAppConfig)
        return 0;
    CString* entries[CXMLParser::MaxEntries] = {};
    const int count = g_pAppConfig->m_xmlParser.GetEntries(field, entries);
    for (int i = 0; i < count; ++i) {
        list.AddString(*entries[i]);
        delete entries[i];
    }
    return count;
}

CString FieldDisplayName(LPCTSTR field, LPCTSTR fallback)
{
    CString name = g_pAppConfig ? g_pAppConfig->m_xmlParser.GetDisplayName(field) : CString();
    return name.IsEmpty() ? CString(fallback) : name;
}

int SelectItemData(CComboBox& list, DWORD_PTR data)
{
    for (int i = 0; i < list.GetCount(); ++i)
        if (list.GetItemData(i) == data)
            return list.SetCurSel(i);
    list.SetCurSel(-1);
    return CB_ERR;
}

BOOL IsPersonNameUnique(const CString& firstName, const CString& lastName, CDaoDatabase* db)
{
    CPeopleRecord people(db);
    people.Open();
    const BOOL found = people.FindFirst("([LastName] = ?) And ([FirstName] = ?)",
                                        CDaoParams().Add(lastName).Add(firstName));
    people.Close();
    return !found;
}

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
        people.Open(dbOpenSnapshot,
                    "SELECT * FROM Person WHERE Person.[Role] = ? ORDER BY [LastName], [FirstName]",
                    dbReadOnly);
        for (; !people.IsEOF(); people.MoveNext()) {
            const int item = list.InsertString(-1, people.m_LastName + "," + people.m_FirstName);
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
    OpenWith(people, "SELECT * FROM [Person] WHERE ([LastName] = ?) And ([FirstName] = ?)",
             CDaoParams().Add(lastName).Add(firstName));
    const BOOL found = !people.IsEOF();
    people.Close();
    return !found;
}

void SetRecordsetParams(CDaoRecordset* set, const CDaoParams& params)
{
    set->ClearParamValues();
    for (int i = 0; i < params.GetSize(); ++i) {
        const CDaoParams::Item& item = params.m_values[i];
        switch (item.kind) {
        case 1:
            set->SetParamValue(i, COleVariant((LONG)item.n));
            break;
        case 2: {
            COleVariant value;
            V_VT(&value) = VT_R8;
            V_R8(&value) = item.d;
            set->SetParamValue(i, value);
            break;
        }
        case 3:
            set->SetParamValue(i, (LPCSTR)item.s);
            break;
        default:
            set->SetParamValueNull(i);
            break;
        }
    }
}

void OpenWith(CDaoRecordset& set, LPCSTR sql, const CDaoParams& params, int type)
{
    SetRecordsetParams(&set, params);
    set.Open(type, sql, type == dbOpenSnapshot ? dbReadOnly : 0);
}

BOOL OpenPerson(CPeopleRecord& people, long id)
{
    OpenWith(people, "SELECT * FROM [Person] WHERE [ID] = ?", CDaoParams().Add((LONG)id));
    return !people.IsEOF();
}

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
    OpenWith(people, "SELECT * FROM [Person] WHERE " + PersonNameCriterion(firstName),
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

CString PersonText(const CString& last, const CString& first)
{
    return last + "," + first;
}

void FillPeopleWithClips(CComboBox& list, CDaoDatabase* db, const CString& clipWhere,
                         const CDaoParams& params)
{
    list.ResetContent();
    list.SetItemData(list.AddString("Any Name"), (DWORD_PTR)-1);
    CDaoRecordset rows(db);
    // The people first, each once and in order; the clips' conditions in a subquery.
    CString sql = "SELECT [Person].[ID], [Person].[LastName], [Person].[FirstName] FROM "
                  "[Person] WHERE [Person].[ID] IN (SELECT [VideoClip].[PersonID] FROM "
                  "[VideoClip] INNER JOIN [Person] ON [VideoClip].[PersonID] = [Person].[ID]";
    if (!clipWhere.IsEmpty())
        sql += " WHERE " + clipWhere;
    sql += ") ORDER BY [Person].[LastName], [Person].[FirstName]";
    SetRecordsetParams(&rows, params);
    rows.Open(dbOpenSnapshot, sql, dbReadOnly);
    for (; !rows.IsEOF(); rows.MoveNext()) {
        COleVariant id = rows.GetFieldValue(0), last = rows.GetFieldValue(1),
                    first = rows.GetFieldValue(2);
        VariantChangeType(&id, &id, 0, VT_I4);
        const CString text = PersonText(V_VT(&last) == VT_BSTR ? CString(V_BSTR(&last)) : CString(),
                                        V_VT(&first) == VT_BSTR ? CString(V_BSTR(&first)) : CString());
        list.SetItemData(list.InsertString(-1, text), (DWORD_PTR)(LONG_PTR)V_I4(&id));
    }
}

CString InstructorNameOf(CDaoDatabase* db, long personId)
{
    CPeopleRecord people(db);
    if (!OpenPerson(people, personId) || people.m_InstructorID < 0)
        return CString();
    const long instructor = people.m_InstructorID;
    people.Close();
    return OpenPerson(people, instructor) ? people.m_LastName + ", " + people.m_FirstName
                                          : CString();
}

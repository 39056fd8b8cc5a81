#include "ClipFilter.h"
#include "AppConfig.h"
#include "BrowserLists.h"
#include "Globals.h"
#include "RecordPage.h"
#include "Recordsets.h"

CClipCondition CClipCondition::And(const CClipCondition& other) const
{
    if (other.IsEmpty())
        return *this;
    if (IsEmpty())
        return other;
    CClipCondition both;
    both.text = "(" + text + ") AND (" + other.text + ")";
    both.params = params;
    both.params.m_values.insert(both.params.m_values.end(), other.params.m_values.begin(),
                                other.params.m_values.end());
    return both;
}

CClipCondition Condition(LPCTSTR text, const CDaoParams& params)
{
    CClipCondition c;
    c.text = text;
    c.params = params;
    return c;
}

void ApplyCondition(CDaoRecordset* set, const CClipCondition& condition)
{
    set->m_strFilter = condition.text;
    SetRecordsetParams(set, condition.params);
}

namespace {

// The entries of a field of the field definitions (none without them).
CStringArray& Entries(LPCTSTR field, CStringArray& out)
{
    out.RemoveAll();
    if (!g_pAppConfig)
        return out;
    CString* entries[CXMLParser::MaxEntries] = {};
    const int count = g_pAppConfig->m_xmlParser.GetEntries(field, entries);
    for (int i = 0; i < count; ++i) {
        out.Add(*entries[i]);
        delete entries[i];
    }
    return out;
}

} // namespace

CClipFilter::CClipFilter()
    : m_nMode(0), m_nIndex(0), m_bWithInstructor(FALSE), m_nInstructorID(-1)
{
}

int CClipFilter::ClipTypeCount()
{
    CStringArray types;
    return (int)Entries("ClipType", types).GetSize();
}

BOOL CClipFilter::IsKnownClipType(const CString& type)
{
    CStringArray types;
    Entries("ClipType", types);
    for (INT_PTR i = 0; i < types.GetSize(); ++i)
        if (types[i] == type)
            return TRUE;
    return FALSE;
}

CClipCondition CClipFilter::RoleCondition(const CString& role)
{
    if (role == "Other")
        return Condition("([Person].[Role] = 'Other') Or ([Person].[Role] Is Null) Or "
                         "([Person].[Role] Not In ('Student', 'Instructor', 'Pro', 'Lady Pro'))");
    return Condition("[Person].[Role] = ?", CDaoParams().Add(role));
}

BOOL CClipFilter::SetMode(int mode)
{
    const int types = ClipTypeCount();
    if (mode == 1 && m_nMode >= 1 && m_nMode <= types)
        return FALSE;
    m_nMode = mode;
    return TRUE;
}

CString CClipFilter::FillChoices(CComboBox& choices, CWnd* label, CDaoDatabase* db) const
{
    const int types = ClipTypeCount();
    choices.ResetContent();
    CString text = " ";
    if (m_nMode == types + 4) {
        text = "With Instructor...";
        choices.SetItemData(choices.AddString("Show All"), (DWORD_PTR)-1);
        CPeopleRecord people(db);
        try {
            people.SetParamValue(0, "Instructor");
            people.Open(dbOpenSnapshot,
                        "SELECT * FROM Person WHERE Person.[Role] = ? ORDER BY [FirstName],[LastName]",
                        dbReadOnly);
            for (; !people.IsEOF(); people.MoveNext())
                choices.SetItemData(choices.AddString(people.m_FirstName + " " + people.m_LastName),
                                    (DWORD_PTR)(LONG_PTR)people.m_ID);
        } catch (CDaoException* e) {
            CRecordPage::PassOnOrShow(e);
        }
    } else if (m_nMode >= 1 && m_nMode <= types) {
        text = "With Type...";
        AddFieldEntries(choices, "ClipType");
    } else if (m_nMode == types + 5) {
        text = "From League...";
        AddFieldEntries(choices, "RoleFilter");
    }
    // The league list is offered even when the definitions name no league.
    const BOOL enable = choices.GetCount() > 0 || m_nMode == types + 5;
    if (enable)
        choices.SetCurSel(0);
    choices.EnableWindow(enable);
    if (label) {
        label->EnableWindow(enable);
        label->SetWindowText(text);
    }
    return text;
}

int CClipFilter::IndexOfChoice(int choice) const
{
    const int types = ClipTypeCount();
    if (m_nMode >= 1 && m_nMode <= types)
        return choice + 1;
    if (m_nMode == types + 4)
        return types + 4;
    // A league: the "ClipFilter" entry that follows the clip types by the league's place.
    if (m_nMode == types + 5)
        return choice <= 0 ? 0 : types + choice;
    return -1;
}

CClipCondition CClipFilter::Apply(int index, CComboBox& choices, CDaoDatabase* db,
                                  CString& title)
{
    const CClipCondition condition = ConditionOf(index, choices, db, title);
    m_strTitle = title;
    return condition;
}

CClipCondition CClipFilter::ConditionOf(int index, CComboBox& choices, CDaoDatabase* db,
                                      CString& title)
{
    const int types = ClipTypeCount();
    m_nIndex = index;
    m_bWithInstructor = FALSE;
    if (index <= 0) {
        m_nIndex = 0;
        title = "Database Clip Records";
        return CClipCondition();
    }
    const int choice = choices.GetSafeHwnd() ? choices.GetCurSel() : CB_ERR;
    if (index == types + 4 && choice > 0) {
        CString name;
        choices.GetLBText(choice, name);
        title = "Database Records for Instructor - " + name + " Only";
        m_bWithInstructor = TRUE;
        m_nInstructorID = (int)(LONG_PTR)choices.GetItemData(choice);
        m_strInstructorName.Empty();
        CPeopleRecord people(db);
        if (OpenPerson(people, m_nInstructorID))
            m_strInstructorName = people.m_LastName + ", " + people.m_FirstName;
        return Condition("([Person].[Role] = 'Student') AND ([Person].[InstructorID] = ?)",
                         CDaoParams().Add((LONG)m_nInstructorID));
    }
    if (index >= 1 && index <= types) {
        CString name;
        if (choice != CB_ERR)
            choices.GetLBText(choice, name);
        title = "Database Records for " + name + "s Only";
        return Condition("[ClipType] = ?", CDaoParams().Add(name));
    }
    CStringArray entries;
    Entries("ClipFilter", entries);
    const CString entry = index < entries.GetSize() ? entries[index] : CString();
    // "Show " and a plural role name; an entry of another form filters nothing.
    if (entry.GetLength() > 6 && entry.Left(5) == "Show ") {
        const CString name = entry.Mid(5);
        title = "Database Records for " + name + " Only";
        return RoleCondition(name.Left(name.GetLength() - 1));
    }
    title = "Database Clip Records";
    return CClipCondition();
}

CString CClipFilter::SubjectTitle(const CString& subject) const
{
    return m_bWithInstructor
               ? "Database Records for " + subject + " and Instructor - " + m_strInstructorName + " Only"
               : "Database Records for " + subject + " Only";
}

CClipCondition CClipFilter::InstructorCondition() const
{
    if (!m_bWithInstructor)
        return CClipCondition();
    return Condition("[Person].[InstructorID] = ?", CDaoParams().Add((LONG)m_nInstructorID));
}

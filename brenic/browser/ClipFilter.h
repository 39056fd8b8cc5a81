// The clip record filter that the clips page and the clip groups page share: the filter
// radios' modes, the choice list beside them, and a filter index turned into a condition
// over the clips joined with their subjects and the banner text that names it.
//
// With T the number of clip types of the field definitions, the modes are 0 (all), 1 (by
// clip type), T + 2 (pros), T + 3 (lady pros), T + 4 (students, optionally of one
// instructor) and T + 5 (league; a league at place k of the list applies T + k). An index is 0 (all clips), 1 to T (the type chosen in
// the list), T + 4 with an instructor chosen (that instructor's students), or the position
// of a "ClipFilter" entry ("Show " and a plural role name) whose role is shown.
#pragma once
#include <afxwin.h>
#include <afxdao.h>

// A recordset condition and the values of its '?' markers, in order.
struct CClipCondition
{
    CString text;
    CDaoParams params;
    BOOL IsEmpty() const { return text.IsEmpty(); }
    // "(a) AND (b)" with the markers' values following each other; an empty side drops out.
    CClipCondition And(const CClipCondition& other) const;
};

CClipCondition Condition(LPCTSTR text, const CDaoParams& params = CDaoParams());
// The recordset's filter and its markers' values.
void ApplyCondition(CDaoRecordset* set, const CClipCondition& condition);

class CClipFilter
{
public:
    CClipFilter();

    // T, read from the field definitions.
    static int ClipTypeCount();
    // TRUE when `type` is one of the field definitions' clip types (exact, case-sensitive).
    static BOOL IsKnownClipType(const CString& type);
    // The clips of subjects of this role ("Other": also no role or a role of none of the
    // known kinds).
    static CClipCondition RoleCondition(const CString& role);

    // The mode a radio sets; FALSE when it changes nothing ("Show Clips" while a type is
    // chosen already).
    BOOL SetMode(int mode);
    // Fills `choices` for the mode (instructors with their IDs as item data, or the clip
    // types), selects the first entry, enables it and `label` only when it has entries to
    // choose from, and answers the label's text.
    CString FillChoices(CComboBox& choices, CWnd* label, CDaoDatabase* db) const;
    // The index a choice of the list applies in the current mode; -1 for none.
    int IndexOfChoice(int choice) const;
    // Applies `index` with the choice list as it stands: answers the condition and the
    // banner text (coloured for any index but 0).
    CClipCondition Apply(int index, CComboBox& choices, CDaoDatabase* db, CString& title);
    // The banner text while one subject's clips are shown.
    CString SubjectTitle(const CString& subject) const;
    // The condition that narrows people lists to the instructor's students, if one is chosen.
    CClipCondition InstructorCondition() const;

    int m_nMode;
    int m_nIndex;
    BOOL m_bWithInstructor;
    int m_nInstructorID;
    // "Last, First" of the chosen instructor.
    CString m_strInstructorName;
    // The banner text of the applied index (shown again when a subject is let go).
    CString m_strTitle;

private:
    CClipCondition ConditionOf(int index, CComboBox& choices, CDaoDatabase* db, CString& title);
};

const COLORREF kBannerYellow = RGB(255, 255, 0);

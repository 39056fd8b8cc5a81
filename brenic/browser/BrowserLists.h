// List fillers shared by the browser's pages and record dialogs.
#pragma once
#include <afxwin.h>
#include <afxdao.h>

class CDaoDatabase;
class CDaoRecordset;
class CDaoParams;
class CPeopleRecord;

// The database's column sizes that the forms hold typing to (longer text would be refused
// by the database when the row is stored).
enum
{
    kNameLength = 50,      // a person's first and last name, a role, a club, a clip type
    kAddressLength = 100,
    kCityLength = 50,
    kAltPhoneLength = 30,  // the e-mail field of the people page
    kGroupNameLength = 100
};

// Fills `list` with an empty entry (item data -1) and "Last,First" of every person whose
// role is "Instructor", each with the person's ID as item data, and selects the first
// entry. A database error is shown and the list keeps what could be read.
void FillInstructorList(CComboBox& list, CDaoDatabase* db = NULL);

// Adds the entries of a field of the field-definition file to `list` (none when the file
// is not loaded); answers how many were added.
int AddFieldEntries(CComboBox& list, LPCTSTR field);

// The display name of a field of the field-definition file, or `fallback`.
CString FieldDisplayName(LPCTSTR field, LPCTSTR fallback);

// Selects the entry whose item data is `data`; none when no entry has it. Answers the
// index or CB_ERR.
int SelectItemData(CComboBox& list, DWORD_PTR data);

// TRUE when no person has exactly these names (compared without regard to case; the
// names are values, never query text).
BOOL IsPersonNameUnique(const CString& firstName, const CString& lastName,
                        CDaoDatabase* db = NULL);

// The values of a recordset's '?' markers (its SQL's first, then its filter's).
void SetRecordsetParams(CDaoRecordset* set, const CDaoParams& params);
// Opens `set` on a query with '?' markers and their values.
void OpenWith(CDaoRecordset& set, LPCSTR sql, const CDaoParams& params,
              int type = dbOpenSnapshot);
// Opens `people` on the one person with this ID: FALSE when there is none.
BOOL OpenPerson(CPeopleRecord& people, long id);

// "Last, First" of the instructor of the person with this ID; "" when there is none. A
// database error is passed on.
CString InstructorNameOf(CDaoDatabase* db, long personId);

// "Last,First", as the find lists show a person.
CString PersonText(const CString& last, const CString& first);
// Empties `list`, then adds "Any Name" (item data -1) and, in name order, one entry per
// person who has a clip matching `clipWhere` (a condition over the clips joined with
// their subject, '?' markers valued by `params`; empty for all clips), each with the
// person's ID as item data. A database error is passed on.
void FillPeopleWithClips(CComboBox& list, CDaoDatabase* db, const CString& clipWhere,
                         const CDaoParams& params);

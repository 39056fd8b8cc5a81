// Record form exchange: the dialog data exchange of a control with a recordset's field
// member. A Null field shows as an empty control, and so does a form with no current row;
// an emptied control makes a nullable field Null.
#include <afxwin.h>

#include "dao_internal.h"

#include <cstdlib>

namespace {

// TRUE when the control is to show the field as empty.
BOOL ShowsEmpty(CDaoRecordset* prs, void* pv)
{
    if (!prs || !prs->IsOpen()) return TRUE;
    if (prs->GetEditMode() == dbEditNone && (prs->IsBOF() || prs->IsEOF() || prs->IsDeleted())) return TRUE;
    try {
        return prs->IsFieldNull(pv);
    } catch (CDaoException* e) {
        e->Delete();  // a variable that is no field of the recordset is never Null
        return FALSE;
    }
}

// A number through the control's text.
template <class T>
void NumberText(CDataExchange* pDX, int nIDC, T& value, CDaoRecordset* prs, bool integer)
{
    CString text;
    if (!pDX->m_bSaveAndValidate) {
        if (!ShowsEmpty(prs, &value)) {
            if (integer) text.Format("%ld", (long)value);
            else text.Format("%.15g", (double)value);
        }
        DDX_Text(pDX, nIDC, text);
        return;
    }
    DDX_Text(pDX, nIDC, text);
    text.TrimLeft();
    text.TrimRight();
    if (text.IsEmpty()) {
        if (prs && prs->IsOpen()) prs->SetFieldNull(&value);
        return;
    }
    char* end = NULL;
    double d = strtod(text, &end);
    if (!end || *end || (integer && (d != (double)(long long)d || (double)(T)d != d))) {
        AfxMessageBox(integer ? "Please enter an integer." : "Please enter a number.");
        pDX->Fail();
        return;
    }
    value = (T)d;
}

template <class T, class Exchange>
void FieldExchange(CDataExchange* pDX, T& value, CDaoRecordset* prs, Exchange exchange, const T& empty)
{
    if (!pDX->m_bSaveAndValidate && ShowsEmpty(prs, &value)) {
        T shown = empty;
        exchange(shown);
        return;
    }
    exchange(value);
}

void NullIfEmpty(CDataExchange* pDX, CString& value, CDaoRecordset* prs)
{
    if (pDX->m_bSaveAndValidate && value.IsEmpty() && prs && prs->IsOpen() && prs->IsFieldNullable(&value))
        prs->SetFieldNull(&value);
}

}  // namespace

void AFXAPI DDX_FieldText(CDataExchange* pDX, int nIDC, CString& value, CDaoRecordset* prs)
{
    FieldExchange(pDX, value, prs, [&](CString& v) { DDX_Text(pDX, nIDC, v); }, CString());
    NullIfEmpty(pDX, value, prs);
}

void AFXAPI DDX_FieldText(CDataExchange* pDX, int nIDC, LONG& value, CDaoRecordset* prs)
{
    NumberText(pDX, nIDC, value, prs, true);
}

void AFXAPI DDX_FieldText(CDataExchange* pDX, int nIDC, short& value, CDaoRecordset* prs)
{
    NumberText(pDX, nIDC, value, prs, true);
}

void AFXAPI DDX_FieldText(CDataExchange* pDX, int nIDC, double& value, CDaoRecordset* prs)
{
    NumberText(pDX, nIDC, value, prs, false);
}

void AFXAPI DDX_FieldCheck(CDataExchange* pDX, int nIDC, int& value, CDaoRecordset* prs)
{
    FieldExchange(pDX, value, prs, [&](int& v) { DDX_Check(pDX, nIDC, v); }, 0);
}

void AFXAPI DDX_FieldCBString(CDataExchange* pDX, int nIDC, CString& value, CDaoRecordset* prs)
{
    FieldExchange(pDX, value, prs, [&](CString& v) { DDX_CBString(pDX, nIDC, v); }, CString());
    NullIfEmpty(pDX, value, prs);
}

void AFXAPI DDX_FieldCBStringExact(CDataExchange* pDX, int nIDC, CString& value, CDaoRecordset* prs)
{
    FieldExchange(pDX, value, prs, [&](CString& v) { DDX_CBStringExact(pDX, nIDC, v); }, CString());
    NullIfEmpty(pDX, value, prs);
}

void AFXAPI DDX_FieldCBIndex(CDataExchange* pDX, int nIDC, int& index, CDaoRecordset* prs)
{
    FieldExchange(pDX, index, prs, [&](int& v) { DDX_CBIndex(pDX, nIDC, v); }, -1);
}

void AFXAPI DDX_FieldLBString(CDataExchange* pDX, int nIDC, CString& value, CDaoRecordset* prs)
{
    FieldExchange(pDX, value, prs, [&](CString& v) { DDX_LBString(pDX, nIDC, v); }, CString());
    NullIfEmpty(pDX, value, prs);
}

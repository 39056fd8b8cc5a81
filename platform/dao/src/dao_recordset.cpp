// CDaoRecordset and record field exchange.
//
// DoFieldExchange runs once, to learn the bound members (name, address, type, cache
// option); from then on the recordset moves values between the members and the engine's
// cursor itself. A field with the cache on is written when its member differs from the
// value it had when the edit began; a field with the cache off only when marked dirty.
#include "dao_internal.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CDaoRecordset, CObject)

enum FieldKind {
    kText = 1, kLong32, kLong64, kShort, kByte, kBool, kSingle, kDouble, kCurrency, kDateTime,
    kBinary, kLongBinary
};

struct CDaoRecordset::FieldBinding {
    CString name;
    int kind;
    void* pv;
    DWORD options;
    int column;
    BOOL bNull;
    BOOL bDirty;
    jet::Value cache;
};

namespace {

jet::Value MemberValue(const CDaoRecordset::FieldBinding& b)
{
    switch (b.kind) {
    case kText: return jet::Value::MakeText(DaoStr(*(CString*)b.pv));
    case kLong32: return jet::Value::MakeInt(*(LONG*)b.pv);
    case kLong64: return jet::Value::MakeInt(*(long*)b.pv);
    case kShort: return jet::Value::MakeInt(*(short*)b.pv);
    case kByte: return jet::Value::MakeInt(*(BYTE*)b.pv);
    case kBool: return jet::Value::MakeInt(*(BOOL*)b.pv ? -1 : 0);
    case kSingle: return jet::Value::MakeReal(*(float*)b.pv);
    case kDouble: return jet::Value::MakeReal(*(double*)b.pv);
    case kCurrency: return jet::Value::MakeInt(((COleCurrency*)b.pv)->m_cur.int64);
    case kDateTime: {
        const COleDateTime& d = *(COleDateTime*)b.pv;
        if (d.GetStatus() != COleDateTime::valid) return jet::Value();
        return jet::Value::MakeReal(d.m_dt);
    }
    case kBinary: {
        CByteArray& a = *(CByteArray*)b.pv;
        return jet::Value::MakeBlob(std::string((const char*)a.GetData(), a.GetSize()));
    }
    case kLongBinary: {
        CLongBinary& lb = *(CLongBinary*)b.pv;
        std::string s;
        if (lb.m_hData && lb.m_dwDataLength) {
            const char* p = (const char*)GlobalLock(lb.m_hData);
            if (p) s.assign(p, lb.m_dwDataLength);
            GlobalUnlock(lb.m_hData);
        }
        return jet::Value::MakeBlob(s);
    }
    default: return jet::Value();
    }
}

void SetMember(CDaoRecordset::FieldBinding& b, const jet::Value& v)
{
    switch (b.kind) {
    case kText: *(CString*)b.pv = DaoCString(v.AsText()); break;
    case kLong32: *(LONG*)b.pv = (LONG)v.AsInt(); break;
    case kLong64: *(long*)b.pv = (long)v.AsInt(); break;
    case kShort: *(short*)b.pv = (short)v.AsInt(); break;
    case kByte: *(BYTE*)b.pv = (BYTE)v.AsInt(); break;
    case kBool: *(BOOL*)b.pv = v.AsInt() != 0 || (v.kind == jet::Value::Real && v.r != 0); break;
    case kSingle: *(float*)b.pv = (float)v.AsReal(); break;
    case kDouble: *(double*)b.pv = v.AsReal(); break;
    case kCurrency: ((COleCurrency*)b.pv)->m_cur.int64 = v.AsInt(); break;
    case kDateTime: {
        COleDateTime& d = *(COleDateTime*)b.pv;
        if (v.IsNull()) {
            d.m_dt = 0;
            d.SetStatus(COleDateTime::null);
        } else {
            d.m_dt = v.AsReal();
            d.SetStatus(COleDateTime::valid);
        }
        break;
    }
    case kBinary: {
        CByteArray& a = *(CByteArray*)b.pv;
        a.SetSize((INT_PTR)v.s.size());
        if (!v.s.empty()) memcpy(a.GetData(), v.s.data(), v.s.size());
        break;
    }
    case kLongBinary: {
        CLongBinary& lb = *(CLongBinary*)b.pv;
        if (lb.m_hData) GlobalFree(lb.m_hData);
        lb.m_hData = NULL;
        lb.m_dwDataLength = 0;
        if (!v.s.empty()) {
            lb.m_hData = GlobalAlloc(GMEM_MOVEABLE, v.s.size());
            if (!lb.m_hData) AfxThrowMemoryException();
            memcpy(GlobalLock(lb.m_hData), v.s.data(), v.s.size());
            GlobalUnlock(lb.m_hData);
            lb.m_dwDataLength = v.s.size();
        }
        break;
    }
    }
}

bool IsNumeric(int kind)
{
    return kind != kText && kind != kDateTime && kind != kBinary && kind != kLongBinary;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Field exchange

CDaoFieldExchange::CDaoFieldExchange(UINT nOperation, CDaoRecordset* prs, void* pvField)
    : m_nOperation(nOperation), m_prs(prs), m_nFieldType(none), m_pvField(pvField), m_nField(0)
{
}

void CDaoRecordset::BindFieldForExchange(CDaoFieldExchange* pFX, LPCSTR lpszName, int nKind, void* pv,
                                         DWORD dwBindOptions)
{
    if (pFX->m_nFieldType != CDaoFieldExchange::outputColumn) return;
    if (pFX->m_nOperation != CDaoFieldExchange::BindField) return;
    FieldBinding* b = new FieldBinding{CString(lpszName), nKind, pv, dwBindOptions, -1, TRUE, FALSE, jet::Value()};
    m_bindings.push_back(b);
    ++pFX->m_nField;
}

#define DFX_BODY(kind) pFX->m_prs->BindFieldForExchange(pFX, lpszName, kind, &value, dwBindOptions)

void AFXAPI DFX_Text(CDaoFieldExchange* pFX, LPCSTR lpszName, CString& value, int, DWORD dwBindOptions) { DFX_BODY(kText); }
void AFXAPI DFX_Long(CDaoFieldExchange* pFX, LPCSTR lpszName, LONG& value, DWORD dwBindOptions) { DFX_BODY(kLong32); }
void AFXAPI DFX_Long(CDaoFieldExchange* pFX, LPCSTR lpszName, long& value, DWORD dwBindOptions) { DFX_BODY(kLong64); }
void AFXAPI DFX_Short(CDaoFieldExchange* pFX, LPCSTR lpszName, short& value, DWORD dwBindOptions) { DFX_BODY(kShort); }
void AFXAPI DFX_Byte(CDaoFieldExchange* pFX, LPCSTR lpszName, BYTE& value, DWORD dwBindOptions) { DFX_BODY(kByte); }
void AFXAPI DFX_Bool(CDaoFieldExchange* pFX, LPCSTR lpszName, BOOL& value, DWORD dwBindOptions) { DFX_BODY(kBool); }
void AFXAPI DFX_Single(CDaoFieldExchange* pFX, LPCSTR lpszName, float& value, DWORD dwBindOptions) { DFX_BODY(kSingle); }
void AFXAPI DFX_Double(CDaoFieldExchange* pFX, LPCSTR lpszName, double& value, DWORD dwBindOptions) { DFX_BODY(kDouble); }
void AFXAPI DFX_Currency(CDaoFieldExchange* pFX, LPCSTR lpszName, COleCurrency& value, DWORD dwBindOptions) { DFX_BODY(kCurrency); }
void AFXAPI DFX_DateTime(CDaoFieldExchange* pFX, LPCSTR lpszName, COleDateTime& value, DWORD dwBindOptions) { DFX_BODY(kDateTime); }
void AFXAPI DFX_Binary(CDaoFieldExchange* pFX, LPCSTR lpszName, CByteArray& value, int, DWORD dwBindOptions) { DFX_BODY(kBinary); }
void AFXAPI DFX_LongBinary(CDaoFieldExchange* pFX, LPCSTR lpszName, CLongBinary& value, DWORD, DWORD dwBindOptions) { DFX_BODY(kLongBinary); }

// ---------------------------------------------------------------------------------------
// CDaoRecordset

CDaoRecordset::CDaoRecordset(CDaoDatabase* pDatabase)
    : m_pDatabase(pDatabase), m_nFields(0), m_nParams(0), m_nDefaultType(dbOpenDynaset),
      m_bCheckCacheForDirtyFields(TRUE), m_bOwnDatabase(FALSE), m_bPessimistic(TRUE), m_bBound(FALSE),
      m_nOpenType(dbOpenDynaset), m_nOptions(0)
{
}

CDaoRecordset::~CDaoRecordset()
{
    Close();
    for (FieldBinding* b : m_bindings) delete b;
}

CString CDaoRecordset::GetDefaultDBName() { return CString(); }
CString CDaoRecordset::GetDefaultSQL() { return CString(); }
void CDaoRecordset::DoFieldExchange(CDaoFieldExchange*) {}

void CDaoRecordset::CheckOpen() const
{
    if (!m_cursor) DaoThrowNotOpen();
}

BOOL CDaoRecordset::IsOpen() const { return m_cursor != nullptr; }

void CDaoRecordset::Open(int nOpenType, LPCSTR lpszSQL, int nOptions)
{
    if (m_cursor) Close();
    if (!m_pDatabase) {
        m_pDatabase = new CDaoDatabase;
        m_bOwnDatabase = TRUE;
    }
    try {
        if (!m_pDatabase->IsOpen()) m_pDatabase->Open(GetDefaultDBName(), FALSE, (nOptions & dbReadOnly) != 0);
        m_nOpenType = nOpenType == AFX_DAO_USE_DEFAULT_TYPE ? m_nDefaultType : nOpenType;
        m_nOptions = nOptions;
        m_strSQL = lpszSQL ? CString(lpszSQL) : GetDefaultSQL();
        if (!m_bBound) {
            CDaoFieldExchange fx(CDaoFieldExchange::BindField, this);
            DoFieldExchange(&fx);
            m_bBound = TRUE;
        }
        auto db = m_pDatabase->GetEngine();
        bool table = m_nOpenType == dbOpenTable;
        m_cursor.reset(DaoCall([&] {
            return new jet::Cursor(db, DaoStr(m_strSQL), m_nOpenType, (nOptions & dbReadOnly) != 0,
                                   table ? std::string() : DaoStr(m_strFilter),
                                   table ? std::string() : DaoStr(m_strSort), DaoEngineParams(m_params));
        }));
        for (FieldBinding* b : m_bindings) {
            b->column = m_cursor->FindColumn(DaoStr(b->name));
            if (b->column < 0) {
                CString text = jet::ErrorText(3265).c_str();
                AfxThrowDaoError(3265, text + " (" + b->name + ")");
            }
        }
        LoadFields();
    } catch (...) {
        m_cursor.reset();
        if (m_bOwnDatabase) {
            delete m_pDatabase;
            m_pDatabase = NULL;
            m_bOwnDatabase = FALSE;
        }
        throw;
    }
}

void CDaoRecordset::Open(CDaoTableDef* pTableDef, int nOpenType, int nOptions)
{
    if (!pTableDef || !pTableDef->IsOpen()) DaoThrowNotOpen();
    if (m_cursor) Close();
    if (m_bOwnDatabase) {
        delete m_pDatabase;
        m_bOwnDatabase = FALSE;
    }
    m_pDatabase = pTableDef->m_pDatabase;
    CString source = "[" + pTableDef->GetName() + "]";
    Open(nOpenType, source, nOptions);
}

void CDaoRecordset::Close()
{
    m_cursor.reset();
    if (m_bOwnDatabase) {
        delete m_pDatabase;
        m_pDatabase = NULL;
        m_bOwnDatabase = FALSE;
    }
}

void CDaoRecordset::Requery()
{
    CheckOpen();
    DaoCall([&] {
        bool table = m_nOpenType == dbOpenTable;
        m_cursor->Requery(table ? std::string() : DaoStr(m_strFilter), table ? std::string() : DaoStr(m_strSort),
                          DaoEngineParams(m_params));
    });
    LoadFields();
}

void CDaoRecordset::LoadFields()
{
    if (!m_cursor || !m_cursor->HasCurrent() || m_cursor->IsDeleted() ||
        m_cursor->GetEditMode() != jet::kEditNone)
        return;
    DaoCall([&] {
        for (FieldBinding* b : m_bindings) {
            const jet::Value& v = m_cursor->Get(b->column);
            SetMember(*b, v);
            b->bNull = v.IsNull();
            b->bDirty = FALSE;
        }
    });
}

BOOL CDaoRecordset::CanUpdate() const { return m_cursor && m_cursor->Updatable(); }
BOOL CDaoRecordset::CanAppend() const { return CanUpdate(); }

CString CDaoRecordset::GetName()
{
    CheckOpen();
    return m_strSQL;
}

short CDaoRecordset::GetType() const { return (short)m_nOpenType; }

BOOL CDaoRecordset::IsBOF() const
{
    CheckOpen();
    return m_cursor->IsBOF();
}

BOOL CDaoRecordset::IsEOF() const
{
    CheckOpen();
    return m_cursor->IsEOF();
}

BOOL CDaoRecordset::IsDeleted() const
{
    CheckOpen();
    return m_cursor->IsDeleted();
}

#define DAO_MOVE(call)               \
    CheckOpen();                     \
    DaoCall([&] { m_cursor->call; }); \
    LoadFields();

void CDaoRecordset::MoveFirst() { DAO_MOVE(MoveFirst()) }
void CDaoRecordset::MoveLast() { DAO_MOVE(MoveLast()) }
void CDaoRecordset::MoveNext() { DAO_MOVE(MoveNext()) }
void CDaoRecordset::MovePrev() { DAO_MOVE(MovePrev()) }
void CDaoRecordset::Move(long lRows) { DAO_MOVE(Move(lRows)) }
void CDaoRecordset::SetAbsolutePosition(long lPosition) { DAO_MOVE(SetAbsolutePosition(lPosition)) }

long CDaoRecordset::GetAbsolutePosition()
{
    CheckOpen();
    return m_cursor->AbsolutePosition();
}

long CDaoRecordset::GetRecordCount()
{
    CheckOpen();
    return m_cursor->RecordCount();
}

float CDaoRecordset::GetPercentPosition()
{
    CheckOpen();
    long n = m_cursor->RecordCount(), p = m_cursor->AbsolutePosition();
    return n <= 0 || p < 0 ? 0.0f : 100.0f * (float)p / (float)n;
}

BOOL CDaoRecordset::DoFind(int kind, LPCSTR lpszFilter, const CDaoParams* params)
{
    CheckOpen();
    std::vector<jet::Value> values = params ? DaoEngineParams(*params) : std::vector<jet::Value>();
    BOOL found = DaoCall([&] { return m_cursor->Find((jet::FindKind)kind, DaoStr(lpszFilter), values); });
    if (found) LoadFields();
    return found;
}

BOOL CDaoRecordset::FindFirst(LPCSTR f) { return DoFind(jet::kFindFirst, f, NULL); }
BOOL CDaoRecordset::FindNext(LPCSTR f) { return DoFind(jet::kFindNext, f, NULL); }
BOOL CDaoRecordset::FindPrev(LPCSTR f) { return DoFind(jet::kFindPrev, f, NULL); }
BOOL CDaoRecordset::FindLast(LPCSTR f) { return DoFind(jet::kFindLast, f, NULL); }
BOOL CDaoRecordset::FindFirst(LPCSTR f, const CDaoParams& p) { return DoFind(jet::kFindFirst, f, &p); }
BOOL CDaoRecordset::FindNext(LPCSTR f, const CDaoParams& p) { return DoFind(jet::kFindNext, f, &p); }
BOOL CDaoRecordset::FindPrev(LPCSTR f, const CDaoParams& p) { return DoFind(jet::kFindPrev, f, &p); }
BOOL CDaoRecordset::FindLast(LPCSTR f, const CDaoParams& p) { return DoFind(jet::kFindLast, f, &p); }

void CDaoRecordset::AddNew()
{
    CheckOpen();
    DaoCall([&] { m_cursor->AddNew(); });
    for (FieldBinding* b : m_bindings) {
        SetMember(*b, jet::Value());
        b->cache = MemberValue(*b);
        b->bNull = TRUE;
        b->bDirty = FALSE;
    }
}

void CDaoRecordset::Edit()
{
    CheckOpen();
    DaoCall([&] { m_cursor->Edit(); });
    for (FieldBinding* b : m_bindings) {
        b->cache = MemberValue(*b);
        b->bDirty = FALSE;
    }
}

void CDaoRecordset::Update()
{
    CheckOpen();
    int mode = m_cursor->GetEditMode();
    if (mode == jet::kEditNone) AfxThrowDaoError(3020, jet::ErrorText(3020).c_str());
    DaoCall([&] {
        for (FieldBinding* b : m_bindings) {
            const jet::ColumnInfo& col = m_cursor->Column(b->column);
            jet::Value now = MemberValue(*b);
            bool changed = (b->options & AFX_DAO_ENABLE_FIELD_CACHE) && m_bCheckCacheForDirtyFields && now != b->cache;
            bool counter = col.hasField && col.field.autoIncrement();
            if (counter) {
                // The engine numbers the rows: the counter is never written, and a member
                // given another value is refused (marking every field dirty or Null is not).
                if (changed && !(mode == jet::kEditAdd && now.AsInt() == 0)) jet::Throw(3164);
                continue;
            }
            // A new row takes the numbers of its members even when they were left at 0.
            bool fresh = mode == jet::kEditAdd && IsNumeric(b->kind) && (b->options & AFX_DAO_ENABLE_FIELD_CACHE);
            if (!changed && !b->bDirty && !fresh) continue;
            if (changed || fresh) b->bNull = FALSE;
            m_cursor->Set(b->column, b->bNull ? jet::Value() : now);
        }
        m_cursor->Update();
    });
    for (FieldBinding* b : m_bindings) b->bDirty = FALSE;
    LoadFields();
}

void CDaoRecordset::CancelUpdate()
{
    CheckOpen();
    m_cursor->CancelUpdate();
    for (FieldBinding* b : m_bindings) b->bDirty = FALSE;
    LoadFields();
}

void CDaoRecordset::Delete()
{
    CheckOpen();
    DaoCall([&] { m_cursor->Delete(); });
}

short CDaoRecordset::GetEditMode()
{
    CheckOpen();
    return (short)m_cursor->GetEditMode();
}

COleVariant CDaoRecordset::GetBookmark()
{
    CheckOpen();
    long bm = DaoCall([&] { return m_cursor->Bookmark(); });
    return COleVariant((LONG)bm);
}

void CDaoRecordset::SetBookmark(COleVariant varBookmark)
{
    CheckOpen();
    long bm = V_VT(&varBookmark) == VT_I4 ? V_I4(&varBookmark) : 0;
    DAO_MOVE(SetBookmark(bm))
}

COleVariant CDaoRecordset::GetLastModifiedBookmark()
{
    CheckOpen();
    long bm = DaoCall([&] { return m_cursor->LastModified(); });
    return COleVariant((LONG)bm);
}

int CDaoRecordset::FieldIndex(void* pv) const
{
    for (size_t i = 0; i < m_bindings.size(); ++i)
        if (m_bindings[i]->pv == pv) return (int)i;
    AfxThrowDaoException(AFX_DAO_ERROR_DFX_BIND);
    return -1;
}

void CDaoRecordset::SetFieldDirty(void* pv, BOOL bDirty)
{
    if (!pv) {
        for (FieldBinding* b : m_bindings) b->bDirty = bDirty;
        return;
    }
    m_bindings[FieldIndex(pv)]->bDirty = bDirty;
}

void CDaoRecordset::SetFieldNull(void* pv, BOOL bNull)
{
    auto one = [&](FieldBinding* b) {
        b->bNull = bNull;
        b->bDirty = TRUE;
        if (bNull) {
            // The member shows the empty value; its cache too, so that only the null is
            // written.
            SetMember(*b, jet::Value());
            b->cache = MemberValue(*b);
        }
    };
    if (!pv) {
        for (FieldBinding* b : m_bindings) one(b);
        return;
    }
    one(m_bindings[FieldIndex(pv)]);
}

BOOL CDaoRecordset::IsFieldDirty(void* pv)
{
    auto dirty = [&](FieldBinding* b) {
        return b->bDirty || ((b->options & AFX_DAO_ENABLE_FIELD_CACHE) && m_cursor &&
                             m_cursor->GetEditMode() != jet::kEditNone && MemberValue(*b) != b->cache);
    };
    if (!pv) {
        for (FieldBinding* b : m_bindings)
            if (dirty(b)) return TRUE;
        return FALSE;
    }
    return dirty(m_bindings[FieldIndex(pv)]);
}

BOOL CDaoRecordset::IsFieldNull(void* pv)
{
    // A member changed during an edit holds a value, whatever the row held.
    auto isNull = [&](FieldBinding* b) {
        if (!b->bNull) return false;
        return !((b->options & AFX_DAO_ENABLE_FIELD_CACHE) && m_cursor &&
                 m_cursor->GetEditMode() != jet::kEditNone && MemberValue(*b) != b->cache);
    };
    if (!pv) {
        for (FieldBinding* b : m_bindings)
            if (!isNull(b)) return FALSE;
        return TRUE;
    }
    return isNull(m_bindings[FieldIndex(pv)]);
}

BOOL CDaoRecordset::IsFieldNullable(void* pv)
{
    CheckOpen();
    const jet::ColumnInfo& c = m_cursor->Column(m_bindings[FieldIndex(pv)]->column);
    return !(c.hasField && c.field.required);
}

int CDaoRecordset::ColumnOf(LPCSTR lpszName) const
{
    CheckOpen();
    int col = m_cursor->FindColumn(DaoStr(lpszName));
    if (col < 0) AfxThrowDaoError(3265, jet::ErrorText(3265).c_str());
    return col;
}

COleVariant CDaoRecordset::GetFieldValue(int nIndex)
{
    CheckOpen();
    if (nIndex < 0 || nIndex >= m_cursor->ColumnCount()) AfxThrowDaoError(3265, jet::ErrorText(3265).c_str());
    jet::Value v = DaoCall([&] { return m_cursor->Get(nIndex); });
    const jet::ColumnInfo& c = m_cursor->Column(nIndex);
    return DaoVariantFromValue(v, c.hasField ? c.field.type : 0);
}

COleVariant CDaoRecordset::GetFieldValue(LPCSTR lpszName) { return GetFieldValue(ColumnOf(lpszName)); }
void CDaoRecordset::GetFieldValue(LPCSTR lpszName, COleVariant& varValue) { varValue = GetFieldValue(lpszName); }
void CDaoRecordset::GetFieldValue(int nIndex, COleVariant& varValue) { varValue = GetFieldValue(nIndex); }

void CDaoRecordset::SetFieldValue(int nIndex, const COleVariant& varValue)
{
    CheckOpen();
    jet::Value v = DaoValueFromVariant(varValue);
    DaoCall([&] { m_cursor->Set(nIndex, v); });
}

void CDaoRecordset::SetFieldValue(LPCSTR lpszName, const COleVariant& varValue)
{
    SetFieldValue(ColumnOf(lpszName), varValue);
}

void CDaoRecordset::SetFieldValue(int nIndex, LPCSTR lpszValue)
{
    CheckOpen();
    jet::Value v = jet::Value::MakeText(DaoStr(lpszValue));
    DaoCall([&] { m_cursor->Set(nIndex, v); });
}

void CDaoRecordset::SetFieldValue(LPCSTR lpszName, LPCSTR lpszValue)
{
    SetFieldValue(ColumnOf(lpszName), lpszValue);
}

void CDaoRecordset::SetFieldValueNull(int nIndex)
{
    CheckOpen();
    DaoCall([&] { m_cursor->Set(nIndex, jet::Value()); });
}

void CDaoRecordset::SetFieldValueNull(LPCSTR lpszName) { SetFieldValueNull(ColumnOf(lpszName)); }

short CDaoRecordset::GetFieldCount()
{
    CheckOpen();
    return (short)m_cursor->ColumnCount();
}

void CDaoRecordset::GetFieldInfo(int nIndex, CDaoFieldInfo& fieldinfo, DWORD dwInfoOptions)
{
    CheckOpen();
    if (nIndex < 0 || nIndex >= m_cursor->ColumnCount()) AfxThrowDaoError(3265, jet::ErrorText(3265).c_str());
    const jet::ColumnInfo& c = m_cursor->Column(nIndex);
    jet::FieldDef f = c.field;
    if (!c.hasField) {
        f.name = c.name;
        f.type = jet::kMemo;
    }
    f.name = c.name;
    DaoFillFieldInfo(f, nIndex, DaoCString(c.table), fieldinfo, dwInfoOptions);
    fieldinfo.m_strSourceField = DaoCString(c.origin);
}

void CDaoRecordset::GetFieldInfo(LPCSTR lpszName, CDaoFieldInfo& fieldinfo, DWORD dwInfoOptions)
{
    GetFieldInfo(ColumnOf(lpszName), fieldinfo, dwInfoOptions);
}

void CDaoRecordset::SetParamValue(int nIndex, const COleVariant& var)
{
    if (nIndex < 0) AfxThrowDaoError(3001, jet::ErrorText(3001).c_str());
    while (m_params.GetSize() <= nIndex) m_params.AddNull();
    CDaoParams one;
    one.Add(var);
    m_params.m_values[nIndex] = one.m_values[0];
}

void CDaoRecordset::SetParamValue(int nIndex, LPCSTR lpszText)
{
    if (nIndex < 0) AfxThrowDaoError(3001, jet::ErrorText(3001).c_str());
    while (m_params.GetSize() <= nIndex) m_params.AddNull();
    CDaoParams one;
    one.Add(lpszText);
    m_params.m_values[nIndex] = one.m_values[0];
}

void CDaoRecordset::SetParamValueNull(int nIndex)
{
    if (nIndex < 0) AfxThrowDaoError(3001, jet::ErrorText(3001).c_str());
    while (m_params.GetSize() <= nIndex) m_params.AddNull();
    m_params.m_values[nIndex] = CDaoParams::Item{0, 0, 0, CString()};
}

void CDaoRecordset::ClearParamValues() { m_params = CDaoParams(); }

CDaoRecordset::FieldBinding& CDaoRecordset::FieldFor(CDaoFieldExchange* pFX)
{
    return *m_bindings[pFX->m_nField];
}

void CDaoRecordset::RunExchange(UINT nOperation, void* pvField)
{
    CDaoFieldExchange fx(nOperation, this, pvField);
    DoFieldExchange(&fx);
}

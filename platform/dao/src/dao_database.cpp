// CDaoWorkspace, CDaoDatabase and CDaoTableDef.
#include "dao_internal.h"

#include "jet_text.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CDaoWorkspace, CObject)
IMPLEMENT_DYNAMIC(CDaoDatabase, CObject)
IMPLEMENT_DYNAMIC(CDaoTableDef, CObject)

namespace {

// Databases open in this module, for the workspaces' transactions.
std::vector<CDaoDatabase*>& OpenDatabases()
{
    static std::vector<CDaoDatabase*> list;
    return list;
}

void Forget(CDaoDatabase* db)
{
    auto& list = OpenDatabases();
    list.erase(std::remove(list.begin(), list.end(), db), list.end());
}

}  // namespace

// ---------------------------------------------------------------------------------------
// CDaoWorkspace

CDaoWorkspace::CDaoWorkspace() : m_bOpen(FALSE), m_bDefault(TRUE) {}

CDaoWorkspace::~CDaoWorkspace()
{
    if (m_bOpen) Close();
}

void CDaoWorkspace::Open(LPCSTR lpszName)
{
    m_strName = lpszName ? lpszName : "#Default Workspace#";
    m_bDefault = TRUE;
    m_bOpen = TRUE;
}

void CDaoWorkspace::Create(LPCSTR lpszName, LPCSTR, LPCSTR)
{
    m_strName = lpszName;
    m_bDefault = FALSE;
    m_bOpen = TRUE;
}

void CDaoWorkspace::Close() { m_bOpen = FALSE; }

CString CDaoWorkspace::GetName()
{
    if (!m_bOpen) DaoThrowNotOpen();
    return m_strName;
}

namespace {

std::vector<std::shared_ptr<jet::Database>> WorkspaceDatabases(CDaoWorkspace* ws, BOOL bDefault)
{
    std::vector<std::shared_ptr<jet::Database>> out;
    for (CDaoDatabase* db : OpenDatabases()) {
        CDaoWorkspace* other = db->m_pWorkspace;
        if (other == ws || (bDefault && other && other->IsOpen() && other->GetName() == ws->GetName()))
            out.push_back(db->GetEngine());
    }
    return out;
}

}  // namespace

void CDaoWorkspace::BeginTrans()
{
    if (!m_bOpen) DaoThrowNotOpen();
    DaoCall([&] {
        for (auto& db : WorkspaceDatabases(this, m_bDefault)) db->BeginTrans();
    });
}

// Ends the transaction of every database of the workspace that has one.
static void EndTrans(CDaoWorkspace* ws, BOOL bDefault, bool commit)
{
    if (!ws->IsOpen()) DaoThrowNotOpen();
    DaoCall([&] {
        bool any = false;
        for (auto& db : WorkspaceDatabases(ws, bDefault))
            if (db->InTransaction()) {
                if (commit) db->CommitTrans();
                else db->Rollback();
                any = true;
            }
        if (!any) jet::Throw(3034);
    });
}

void CDaoWorkspace::CommitTrans() { EndTrans(this, m_bDefault, true); }

void CDaoWorkspace::Rollback() { EndTrans(this, m_bDefault, false); }

void PASCAL CDaoWorkspace::CompactDatabase(LPCSTR lpszSrcName, LPCSTR lpszDestName, LPCSTR lpszLocale, int nOptions)
{
    (void)lpszLocale;
    (void)nOptions;  // the file keeps its one format; the locale is the general one
    DaoCall([&] { jet::CompactDatabase(DaoStr(lpszSrcName), DaoStr(lpszDestName)); });
}

void PASCAL CDaoWorkspace::CompactDatabase(LPCSTR lpszSrcName, LPCSTR lpszDestName, LPCSTR lpszLocale,
                                           int nOptions, LPCSTR)
{
    CompactDatabase(lpszSrcName, lpszDestName, lpszLocale, nOptions);
}

void PASCAL CDaoWorkspace::RepairDatabase(LPCSTR lpszName)
{
    RepairDatabase(lpszName, NULL);
}

void PASCAL CDaoWorkspace::RepairDatabase(LPCSTR lpszName, long* plRowsLost)
{
    jet::RepairResult result = DaoCall([&] { return jet::RepairDatabase(DaoStr(lpszName)); });
    if (plRowsLost) *plRowsLost = result.rowsLost;
}

BOOL AFXAPI AfxDaoCheckDatabase(LPCSTR lpszName)
{
    return jet::CheckDatabase(DaoStr(lpszName)) ? TRUE : FALSE;
}

// ---------------------------------------------------------------------------------------
// CDaoDatabase

CDaoDatabase::CDaoDatabase(CDaoWorkspace* pWorkspace)
    : m_pWorkspace(pWorkspace), m_pOwnWorkspace(NULL), m_lRecordsAffected(0)
{
}

CDaoDatabase::~CDaoDatabase()
{
    Close();
    delete m_pOwnWorkspace;
}

std::shared_ptr<jet::Database> CDaoDatabase::GetEngine()
{
    if (!m_db) DaoThrowNotOpen();
    return m_db;
}

static void UseWorkspace(CDaoDatabase* db, CDaoWorkspace*& own)
{
    if (!db->m_pWorkspace) {
        if (!own) own = new CDaoWorkspace;
        own->Open();
        db->m_pWorkspace = own;
    } else if (!db->m_pWorkspace->IsOpen()) {
        db->m_pWorkspace->Open();
    }
}

void CDaoDatabase::Create(LPCSTR lpszName, LPCSTR lpszLocale, int dwOptions)
{
    (void)lpszLocale;
    (void)dwOptions;
    if (m_db) Close();
    m_db = DaoCall([&] { return jet::Database::Create(DaoStr(lpszName)); });
    UseWorkspace(this, m_pOwnWorkspace);
    OpenDatabases().push_back(this);
}

void CDaoDatabase::Open(LPCSTR lpszName, BOOL bExclusive, BOOL bReadOnly, LPCSTR lpszConnect)
{
    Open(lpszName, bExclusive, bReadOnly, lpszConnect, 0);
}

void CDaoDatabase::Open(LPCSTR lpszName, BOOL bExclusive, BOOL bReadOnly, LPCSTR lpszConnect,
                        int nOptions)
{
    (void)bExclusive;
    (void)lpszConnect;
    if (m_db) Close();
    const bool outside = (nOptions & dbOutsideFile) != 0;
    m_db = DaoCall([&] {
        return jet::Database::Open(DaoStr(lpszName), bReadOnly != FALSE, outside);
    });
    UseWorkspace(this, m_pOwnWorkspace);
    OpenDatabases().push_back(this);
}

void CDaoDatabase::Close()
{
    if (!m_db) return;
    Forget(this);
    m_db.reset();
    if (m_pWorkspace == m_pOwnWorkspace) m_pWorkspace = NULL;
}

BOOL CDaoDatabase::IsOpen() const { return m_db != nullptr; }

BOOL CDaoDatabase::CanUpdate() { return GetEngine()->ReadOnly() ? FALSE : TRUE; }

CString CDaoDatabase::GetName() { return DaoCString(GetEngine()->Name()); }

void CDaoDatabase::Execute(LPCSTR lpszSQL, int nOptions)
{
    Execute(lpszSQL, CDaoParams(), nOptions);
}

void CDaoDatabase::Execute(LPCSTR lpszSQL, const CDaoParams& params, int nOptions)
{
    (void)nOptions;  // every failure is reported
    auto db = GetEngine();
    m_lRecordsAffected = DaoCall([&] { return db->Execute(DaoStr(lpszSQL), DaoEngineParams(params)); });
}

short CDaoDatabase::GetTableDefCount()
{
    auto db = GetEngine();
    return (short)DaoCall([&] { return db->TableNames().size(); });
}

void CDaoDatabase::GetTableDefInfo(int nIndex, CDaoTableDefInfo& info, DWORD dwInfoOptions)
{
    auto db = GetEngine();
    std::vector<std::string> names = DaoCall([&] { return db->TableNames(); });
    if (nIndex < 0 || nIndex >= (int)names.size()) AfxThrowDaoError(3265, jet::ErrorText(3265).c_str());
    GetTableDefInfo(names[nIndex].c_str(), info, dwInfoOptions);
}

void CDaoDatabase::GetTableDefInfo(LPCSTR lpszName, CDaoTableDefInfo& info, DWORD dwInfoOptions)
{
    auto db = GetEngine();
    std::string real;
    if (!DaoCall([&] { return db->TableExists(DaoStr(lpszName), &real); }))
        AfxThrowDaoError(3265, jet::ErrorText(3265).c_str());
    info.m_strName = DaoCString(real);
    info.m_bUpdatable = !db->ReadOnly();
    info.m_lAttributes = 0;
    info.m_strSrcTableName.Empty();
    info.m_strConnect.Empty();
    info.m_strValidationRule.Empty();
    info.m_strValidationText.Empty();
    info.m_lRecordCount = -1;
    if (dwInfoOptions & AFX_DAO_SECONDARY_INFO) {
        info.m_lRecordCount = DaoCall([&] {
            jet::Statement st(*db, "SELECT count(*) FROM " + jet::QuoteName(real));
            st.Step();
            long n = (long)st.Column(0).AsInt();
            while (st.Step()) {}
            return n;
        });
    }
}

void CDaoDatabase::DeleteTableDef(LPCSTR lpszName)
{
    auto db = GetEngine();
    DaoCall([&] {
        std::string real;
        if (!db->TableExists(DaoStr(lpszName), &real)) jet::Throw(3265);
        db->Exec("DROP TABLE " + jet::QuoteName(real));
    });
}

// ---------------------------------------------------------------------------------------
// CDaoTableDef

struct CDaoTableDef::Pending {
    std::vector<jet::FieldDef> fields;
    std::vector<jet::IndexDef> indexes;
};

CDaoTableDef::CDaoTableDef(CDaoDatabase* pDatabase) : m_pDatabase(pDatabase), m_nState(0) {}

CDaoTableDef::~CDaoTableDef() {}

void CDaoTableDef::Create(LPCSTR lpszName, long, LPCSTR, LPCSTR)
{
    if (!m_pDatabase || !m_pDatabase->IsOpen()) DaoThrowNotOpen();
    m_strName = lpszName;
    m_pending.reset(new Pending);
    m_nState = 1;
}

void CDaoTableDef::Open(LPCSTR lpszName)
{
    if (!m_pDatabase || !m_pDatabase->IsOpen()) DaoThrowNotOpen();
    auto db = m_pDatabase->GetEngine();
    std::string real;
    if (!DaoCall([&] { return db->TableExists(DaoStr(lpszName), &real); }))
        AfxThrowDaoError(3265, jet::ErrorText(3265).c_str());
    m_strName = DaoCString(real);
    m_pending.reset();
    m_nState = 2;
}

void CDaoTableDef::Append()
{
    if (m_nState != 1) AfxThrowDaoError(3219, jet::ErrorText(3219).c_str());
    auto db = m_pDatabase->GetEngine();
    DaoCall([&] {
        db->BeginTrans();
        try {
            db->CreateTable(DaoStr(m_strName), m_pending->fields);
            for (const jet::IndexDef& ix : m_pending->indexes) db->CreateIndex(DaoStr(m_strName), ix);
            db->CommitTrans();
        } catch (...) {
            db->RollbackAfterError();
            throw;
        }
    });
    m_pending.reset();
    m_nState = 2;
}

void CDaoTableDef::Close()
{
    m_pending.reset();
    m_nState = 0;
}

BOOL CDaoTableDef::CanUpdate() { return m_nState != 0 && m_pDatabase->CanUpdate(); }

void CDaoTableDef::CreateField(LPCSTR lpszName, short nType, long lSize, long lAttributes)
{
    CDaoFieldInfo info;
    info.m_strName = lpszName;
    info.m_nType = nType;
    info.m_lSize = lSize;
    info.m_lAttributes = lAttributes;
    info.m_nOrdinalPosition = -1;  // at the end
    info.m_bRequired = (lAttributes & dbAutoIncrField) != 0;
    info.m_bAllowZeroLength = FALSE;
    info.m_lCollatingOrder = 1033;
    CreateField(info);
}

void CDaoTableDef::CreateField(CDaoFieldInfo& fieldinfo)
{
    if (m_nState == 0) DaoThrowNotOpen();
    jet::FieldDef f = DaoFieldFromInfo(fieldinfo);
    if (m_nState == 1) {
        auto& fields = m_pending->fields;
        for (auto& x : fields)
            if (jet::CompareNoCase(x.name, f.name) == 0) AfxThrowDaoError(3191, jet::ErrorText(3191).c_str());
        size_t at = fieldinfo.m_nOrdinalPosition < 0 || (size_t)fieldinfo.m_nOrdinalPosition > fields.size()
                        ? fields.size() : (size_t)fieldinfo.m_nOrdinalPosition;
        fields.insert(fields.begin() + at, f);
        return;
    }
    auto db = m_pDatabase->GetEngine();
    DaoCall([&] { db->CreateField(DaoStr(m_strName), f, fieldinfo.m_nOrdinalPosition); });
}

void CDaoTableDef::DeleteField(LPCSTR lpszName)
{
    if (m_nState == 0) DaoThrowNotOpen();
    if (m_nState == 1) {
        auto& fields = m_pending->fields;
        for (size_t i = 0; i < fields.size(); ++i)
            if (jet::CompareNoCase(fields[i].name, DaoStr(lpszName)) == 0) {
                fields.erase(fields.begin() + i);
                return;
            }
        AfxThrowDaoError(3265, jet::ErrorText(3265).c_str());
    }
    auto db = m_pDatabase->GetEngine();
    DaoCall([&] { db->DeleteField(DaoStr(m_strName), DaoStr(lpszName)); });
}

void CDaoTableDef::DeleteField(int nIndex)
{
    CDaoFieldInfo info;
    GetFieldInfo(nIndex, info);
    DeleteField(info.m_strName);
}

short CDaoTableDef::GetFieldCount()
{
    if (m_nState == 0) DaoThrowNotOpen();
    if (m_nState == 1) return (short)m_pending->fields.size();
    auto db = m_pDatabase->GetEngine();
    return (short)DaoCall([&] { return db->Fields(DaoStr(m_strName)).size(); });
}

void CDaoTableDef::GetFieldInfo(int nIndex, CDaoFieldInfo& fieldinfo, DWORD dwInfoOptions)
{
    if (m_nState == 0) DaoThrowNotOpen();
    std::vector<jet::FieldDef> fields;
    if (m_nState == 1) fields = m_pending->fields;
    else {
        auto db = m_pDatabase->GetEngine();
        fields = DaoCall([&] { return db->Fields(DaoStr(m_strName)); });
    }
    if (nIndex < 0 || nIndex >= (int)fields.size()) AfxThrowDaoError(3265, jet::ErrorText(3265).c_str());
    DaoFillFieldInfo(fields[nIndex], nIndex, m_strName, fieldinfo, dwInfoOptions);
}

void CDaoTableDef::GetFieldInfo(LPCSTR lpszName, CDaoFieldInfo& fieldinfo, DWORD dwInfoOptions)
{
    short n = GetFieldCount();
    for (int i = 0; i < n; ++i) {
        GetFieldInfo(i, fieldinfo, dwInfoOptions);
        if (fieldinfo.m_strName.CompareNoCase(lpszName) == 0) return;
    }
    AfxThrowDaoError(3265, jet::ErrorText(3265).c_str());
}

void CDaoTableDef::CreateIndex(CDaoIndexInfo& indexinfo)
{
    if (m_nState == 0) DaoThrowNotOpen();
    jet::IndexDef ix;
    ix.name = DaoStr(indexinfo.m_strName);
    ix.primary = indexinfo.m_bPrimary;
    ix.unique = indexinfo.m_bUnique || indexinfo.m_bPrimary;
    ix.required = indexinfo.m_bRequired;
    ix.ignoreNulls = indexinfo.m_bIgnoreNulls;
    for (int i = 0; i < indexinfo.m_nFields; ++i)
        ix.fields.push_back(jet::IndexField{DaoStr(indexinfo.m_pFieldInfos[i].m_strName),
                                            indexinfo.m_pFieldInfos[i].m_bDescending != FALSE});
    if (ix.name.empty()) AfxThrowDaoError(3125, jet::ErrorText(3125).c_str());
    if (ix.fields.empty()) AfxThrowDaoError(3264, jet::ErrorText(3264).c_str());
    if (m_nState == 1) {
        m_pending->indexes.push_back(ix);
        return;
    }
    auto db = m_pDatabase->GetEngine();
    DaoCall([&] { db->CreateIndex(DaoStr(m_strName), ix); });
}

static std::vector<jet::IndexDef> TableIndexes(CDaoTableDef* td, int state, CDaoDatabase* pdb, const CString& name)
{
    (void)td;
    (void)state;
    auto db = pdb->GetEngine();
    return DaoCall([&] { return db->Indexes(DaoStr(name)); });
}

short CDaoTableDef::GetIndexCount()
{
    if (m_nState == 0) DaoThrowNotOpen();
    if (m_nState == 1) return (short)m_pending->indexes.size();
    return (short)TableIndexes(this, m_nState, m_pDatabase, m_strName).size();
}

void CDaoTableDef::GetIndexInfo(int nIndex, CDaoIndexInfo& info, DWORD dwInfoOptions)
{
    (void)dwInfoOptions;
    if (m_nState == 0) DaoThrowNotOpen();
    std::vector<jet::IndexDef> list =
        m_nState == 1 ? m_pending->indexes : TableIndexes(this, m_nState, m_pDatabase, m_strName);
    if (nIndex < 0 || nIndex >= (int)list.size()) AfxThrowDaoError(3265, jet::ErrorText(3265).c_str());
    const jet::IndexDef& ix = list[nIndex];
    if (info.m_bCleanupFieldInfo) delete[] info.m_pFieldInfos;
    info.m_strName = DaoCString(ix.name);
    info.m_nFields = (short)ix.fields.size();
    info.m_pFieldInfos = new CDaoIndexFieldInfo[ix.fields.size()];
    info.m_bCleanupFieldInfo = TRUE;
    for (size_t i = 0; i < ix.fields.size(); ++i) {
        info.m_pFieldInfos[i].m_strName = DaoCString(ix.fields[i].name);
        info.m_pFieldInfos[i].m_bDescending = ix.fields[i].descending;
    }
    info.m_bPrimary = ix.primary;
    info.m_bUnique = ix.unique;
    info.m_bClustered = FALSE;
    info.m_bIgnoreNulls = ix.ignoreNulls;
    info.m_bRequired = ix.required;
    info.m_bForeign = FALSE;
    info.m_lDistinctCount = 0;
}

void CDaoTableDef::GetIndexInfo(LPCSTR lpszName, CDaoIndexInfo& info, DWORD dwInfoOptions)
{
    short n = GetIndexCount();
    for (int i = 0; i < n; ++i) {
        GetIndexInfo(i, info, dwInfoOptions);
        if (info.m_strName.CompareNoCase(lpszName) == 0) return;
    }
    AfxThrowDaoError(3265, jet::ErrorText(3265).c_str());
}

long CDaoTableDef::GetRecordCount()
{
    if (m_nState != 2) DaoThrowNotOpen();
    CDaoTableDefInfo info;
    m_pDatabase->GetTableDefInfo(m_strName, info, AFX_DAO_SECONDARY_INFO);
    return info.m_lRecordCount;
}

// DAO classes of the class library: workspaces, databases, table definitions, recordsets with
// record field exchange, and their exception. The files they open keep their ".mdb" names
// and hold SQLite databases; the SQL they take is the classic dialect (bracketed names, Like
// with '*' and '?', #dates#, CDate('...'), {guid {...}}).
//
// Beyond the classic members: '?' markers in a recordset's SQL, filter and find criteria and
// in CDaoDatabase::Execute take values given apart (CDaoParams), so that text typed by a
// person never becomes query text; AfxDaoLikeEscape makes a text match only itself in a Like
// pattern.
#pragma once

#include <afx.h>
#include <afxcoll.h>
#include <afxdisp.h>

#include <memory>
#include <vector>

namespace jet {
class Database;
class Cursor;
struct Error;
}

// ---------------------------------------------------------------------------------------
// Constants

enum {
    dbOpenTable = 1,
    dbOpenDynaset = 2,
    dbOpenSnapshot = 4,
};

enum {
    dbDenyWrite = 0x1,
    dbDenyRead = 0x2,
    dbReadOnly = 0x4,
    dbAppendOnly = 0x8,
    dbInconsistent = 0x10,
    dbConsistent = 0x20,
    dbSQLPassThrough = 0x40,
    dbFailOnError = 0x80,
    dbForwardOnly = 0x100,
    dbSeeChanges = 0x200,
};

enum {
    dbBoolean = 1, dbByte = 2, dbInteger = 3, dbLong = 4, dbCurrency = 5, dbSingle = 6,
    dbDouble = 7, dbDate = 8, dbBinary = 9, dbText = 10, dbLongBinary = 11, dbMemo = 12,
    dbGUID = 15,
};

enum {
    dbFixedField = 0x1,
    dbVariableField = 0x2,
    dbAutoIncrField = 0x10,
    dbUpdatableField = 0x20,
    dbDescending = 0x1,
};

enum { dbEditNone = 0, dbEditInProgress = 1, dbEditAdd = 2 };

// Open option of a database file made elsewhere (a clip file's or an export folder's): its
// schema runs no code, its pages are checked first, and the file is refused (3049) when a
// clip table is not a plain table or has a trigger.
enum { dbOutsideFile = 0x10000 };

enum { dbVersion10 = 1, dbEncrypt = 2, dbDecrypt = 4, dbVersion11 = 8, dbVersion20 = 16, dbVersion30 = 32 };

#define dbLangGeneral _T(";LANGID=0x0409;CP=1252;COUNTRY=0")

#define AFX_DAO_USE_DEFAULT_TYPE (-1)

// Levels of field, index and table information.
#define AFX_DAO_PRIMARY_INFO 0x00000001
#define AFX_DAO_SECONDARY_INFO 0x00000002
#define AFX_DAO_ALL_INFO 0x00000003

// Field binding options.
#define AFX_DAO_DISABLE_FIELD_CACHE 0x00000000
#define AFX_DAO_ENABLE_FIELD_CACHE 0x00000001

#define AFX_DAO_TEXT_DEFAULT_SIZE 255
#define AFX_DAO_BINARY_DEFAULT_SIZE 2048
#define AFX_DAO_LONGBINARY_DEFAULT_SIZE 2048

// Errors of the class library itself (CDaoException::m_nAfxDaoError).
#define NO_AFX_DAO_ERROR 0
#define AFX_DAO_ERROR_MIN 2000
#define AFX_DAO_ERROR_ENGINE_INITIALIZATION (AFX_DAO_ERROR_MIN + 0)
#define AFX_DAO_ERROR_DFX_BIND (AFX_DAO_ERROR_MIN + 1)
#define AFX_DAO_ERROR_OBJECT_NOT_OPEN (AFX_DAO_ERROR_MIN + 2)
#define AFX_DAO_ERROR_MAX (AFX_DAO_ERROR_MIN + 2)

class CDaoWorkspace;
class CDaoDatabase;
class CDaoTableDef;
class CDaoRecordset;
class CDaoFieldExchange;

// ---------------------------------------------------------------------------------------
// Information records

struct CDaoErrorInfo {
    long m_lErrorCode;
    CString m_strSource;
    CString m_strDescription;
    CString m_strHelpFile;
    long m_lHelpContext;
};

struct CDaoFieldInfo {
    CString m_strName;
    short m_nType;
    long m_lSize;
    long m_lAttributes;
    short m_nOrdinalPosition;
    BOOL m_bRequired;
    BOOL m_bAllowZeroLength;
    long m_lCollatingOrder;
    CString m_strForeignName;
    CString m_strSourceField;
    CString m_strSourceTable;
    CString m_strValidationRule;
    CString m_strValidationText;
    CString m_strDefaultValue;
};

struct CDaoIndexFieldInfo {
    CString m_strName;
    BOOL m_bDescending;
};

struct CDaoIndexInfo {
    CDaoIndexInfo();
    ~CDaoIndexInfo();

    CString m_strName;
    CDaoIndexFieldInfo* m_pFieldInfos;
    short m_nFields;
    BOOL m_bPrimary;
    BOOL m_bUnique;
    BOOL m_bClustered;
    BOOL m_bIgnoreNulls;
    BOOL m_bRequired;
    BOOL m_bForeign;
    long m_lDistinctCount;
    // TRUE when m_pFieldInfos was allocated by GetIndexInfo and is freed with the record.
    BOOL m_bCleanupFieldInfo;
};

struct CDaoTableDefInfo {
    CString m_strName;
    BOOL m_bUpdatable;
    long m_lAttributes;
    COleDateTime m_dateCreated;
    COleDateTime m_dateLastUpdated;
    CString m_strSrcTableName;
    CString m_strConnect;
    CString m_strValidationRule;
    CString m_strValidationText;
    long m_lRecordCount;
};

// A long binary value in a global memory block (m_dwDataLength bytes at m_hData).
class CLongBinary : public CObject {
    DECLARE_DYNAMIC(CLongBinary)
public:
    CLongBinary();
    virtual ~CLongBinary();
    HGLOBAL m_hData;
    DWORD_PTR m_dwDataLength;
};

// Values for '?' markers, in order.
class CDaoParams {
public:
    CDaoParams() {}
    CDaoParams& Add(const COleVariant& var);
    CDaoParams& Add(LPCSTR lpszText);  // text as it is, bytes kept
    CDaoParams& Add(const CString& strText) { return Add((LPCSTR)strText); }
    CDaoParams& Add(LONG lValue);
    CDaoParams& AddNull();
    int GetSize() const { return (int)m_values.size(); }

public:  // for the classes of this layer
    struct Item {
        int kind;  // 0 null, 1 integer, 2 real, 3 text, 4 bytes
        LONGLONG n;
        double d;
        CString s;
    };
    std::vector<Item> m_values;
};

// The text with the Like wildcards bracketed ("O*Brien" -> "O[*]Brien").
CString AFXAPI AfxDaoLikeEscape(LPCSTR lpszText);
// A quick check of a closed database file: TRUE when it opens and its pages are sound.
BOOL AFXAPI AfxDaoCheckDatabase(LPCSTR lpszName);

// ---------------------------------------------------------------------------------------
// Exception

class CDaoException : public CException {
    DECLARE_DYNAMIC(CDaoException)
public:
    CDaoException();
    virtual ~CDaoException();

    SCODE m_scode;
    int m_nAfxDaoError;
    // Never NULL for an exception thrown by these classes.
    CDaoErrorInfo* m_pErrorInfo;

    short GetErrorCount();
    void GetErrorInfo(int nIndex);
    virtual BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) override;
};

void AFXAPI AfxThrowDaoException(int nAfxDaoError = NO_AFX_DAO_ERROR, SCODE scode = S_OK);
// Throws a CDaoException for an engine error number (with its description).
void AFXAPI AfxThrowDaoError(long lErrorCode, LPCSTR lpszDescription);

// ---------------------------------------------------------------------------------------
// Workspace

class CDaoWorkspace : public CObject {
    DECLARE_DYNAMIC(CDaoWorkspace)
public:
    CDaoWorkspace();
    virtual ~CDaoWorkspace();

    // Opens the default workspace (the only one there is; a name is accepted and kept).
    virtual void Open(LPCSTR lpszName = NULL);
    virtual void Create(LPCSTR lpszName, LPCSTR lpszUserName, LPCSTR lpszPassword);
    virtual void Close();
    BOOL IsOpen() const { return m_bOpen; }
    CString GetName();

    // Transactions span every database open in the workspace.
    void BeginTrans();
    void CommitTrans();
    void Rollback();

    // Compacts a closed database into a new file (which must not exist).
    static void PASCAL CompactDatabase(LPCSTR lpszSrcName, LPCSTR lpszDestName,
                                       LPCSTR lpszLocale = dbLangGeneral, int nOptions = 0);
    static void PASCAL CompactDatabase(LPCSTR lpszSrcName, LPCSTR lpszDestName, LPCSTR lpszLocale,
                                       int nOptions, LPCSTR lpszPassword);
    // Checks a closed database; when the check fails, every row that can still be read is
    // recovered into a sound file under the same name, and the damaged file is kept beside
    // it as "<name>.corrupt". *plRowsLost receives the rows that could not be read (at most).
    static void PASCAL RepairDatabase(LPCSTR lpszName);
    static void PASCAL RepairDatabase(LPCSTR lpszName, long* plRowsLost);

private:
    friend class CDaoDatabase;
    BOOL m_bOpen;
    BOOL m_bDefault;
    CString m_strName;
};

// ---------------------------------------------------------------------------------------
// Database

class CDaoDatabase : public CObject {
    DECLARE_DYNAMIC(CDaoDatabase)
public:
    CDaoDatabase(CDaoWorkspace* pWorkspace = NULL);
    virtual ~CDaoDatabase();

    virtual void Create(LPCSTR lpszName, LPCSTR lpszLocale = dbLangGeneral, int dwOptions = 0);
    // bExclusive is accepted; the engine keeps no other process from the file.
    virtual void Open(LPCSTR lpszName, BOOL bExclusive = FALSE, BOOL bReadOnly = FALSE,
                      LPCSTR lpszConnect = "");
    // nOptions: 0 or dbOutsideFile.
    void Open(LPCSTR lpszName, BOOL bExclusive, BOOL bReadOnly, LPCSTR lpszConnect,
              int nOptions);
    virtual void Close();
    BOOL IsOpen() const;
    BOOL CanUpdate();
    BOOL CanTransact() { return TRUE; }
    CString GetName();
    CString GetConnect() { return CString(); }
    CString GetVersion() { return CString("3.0"); }

    void Execute(LPCSTR lpszSQL, int nOptions = dbFailOnError);
    void Execute(LPCSTR lpszSQL, const CDaoParams& params, int nOptions = dbFailOnError);
    long GetRecordsAffected() { return m_lRecordsAffected; }

    short GetTableDefCount();
    void GetTableDefInfo(int nIndex, CDaoTableDefInfo& tabledefinfo, DWORD dwInfoOptions = AFX_DAO_PRIMARY_INFO);
    void GetTableDefInfo(LPCSTR lpszName, CDaoTableDefInfo& tabledefinfo, DWORD dwInfoOptions = AFX_DAO_PRIMARY_INFO);
    void DeleteTableDef(LPCSTR lpszName);

    CDaoWorkspace* m_pWorkspace;

    // The engine's database (for the classes of this layer).
    std::shared_ptr<jet::Database> GetEngine();

private:
    std::shared_ptr<jet::Database> m_db;
    CDaoWorkspace* m_pOwnWorkspace;
    long m_lRecordsAffected;
};

// ---------------------------------------------------------------------------------------
// Table definition

class CDaoTableDef : public CObject {
    DECLARE_DYNAMIC(CDaoTableDef)
public:
    CDaoTableDef(CDaoDatabase* pDatabase);
    virtual ~CDaoTableDef();

    // A new table, made in the file by Append.
    virtual void Create(LPCSTR lpszName, long lAttributes = 0, LPCSTR lpszSrcTable = NULL,
                        LPCSTR lpszConnect = NULL);
    virtual void Append();
    virtual void Open(LPCSTR lpszName);
    virtual void Close();
    BOOL IsOpen() const { return m_nState != 0; }
    CString GetName() { return m_strName; }
    BOOL CanUpdate();

    void CreateField(LPCSTR lpszName, short nType, long lSize, long lAttributes = 0);
    // An open table takes the field at once, at its ordinal position; its rows keep their
    // values, order and counter.
    void CreateField(CDaoFieldInfo& fieldinfo);
    void DeleteField(LPCSTR lpszName);
    void DeleteField(int nIndex);
    short GetFieldCount();
    void GetFieldInfo(int nIndex, CDaoFieldInfo& fieldinfo, DWORD dwInfoOptions = AFX_DAO_PRIMARY_INFO);
    void GetFieldInfo(LPCSTR lpszName, CDaoFieldInfo& fieldinfo, DWORD dwInfoOptions = AFX_DAO_PRIMARY_INFO);

    void CreateIndex(CDaoIndexInfo& indexinfo);
    short GetIndexCount();
    void GetIndexInfo(int nIndex, CDaoIndexInfo& indexinfo, DWORD dwInfoOptions = AFX_DAO_PRIMARY_INFO);
    void GetIndexInfo(LPCSTR lpszName, CDaoIndexInfo& indexinfo, DWORD dwInfoOptions = AFX_DAO_PRIMARY_INFO);

    long GetRecordCount();

    CDaoDatabase* m_pDatabase;

private:
    struct Pending;
    int m_nState;  // 0 closed, 1 created (not appended), 2 open
    CString m_strName;
    std::unique_ptr<Pending> m_pending;
};

// ---------------------------------------------------------------------------------------
// Record field exchange

class CDaoFieldExchange {
public:
    enum DFX_Operation {
        BindField,       // registers the field (name, address, type)
        LoadField,       // member <- current row
        StoreField,      // member -> field cache
        SetFieldNull,    // member <- the type's empty value
        MarkForAddNew,   // member <- empty value, cache <- empty value
        MarkForEdit,     // cache <- member
        WriteField,      // dirty members -> the row being written
        MaxDFXOperation
    };
    enum FieldType { none, outputColumn, param };

    CDaoFieldExchange(UINT nOperation, CDaoRecordset* prs, void* pvField = NULL);

    void SetFieldType(UINT nFieldType) { m_nFieldType = nFieldType; }
    BOOL IsValidOperation() const { return m_nFieldType == outputColumn; }

    UINT m_nOperation;
    CDaoRecordset* m_prs;
    UINT m_nFieldType;
    void* m_pvField;
    int m_nField;  // index of the field being exchanged
};

void AFXAPI DFX_Text(CDaoFieldExchange* pFX, LPCSTR lpszName, CString& value,
                     int nPreAllocSize = AFX_DAO_TEXT_DEFAULT_SIZE,
                     DWORD dwBindOptions = AFX_DAO_ENABLE_FIELD_CACHE);
void AFXAPI DFX_Long(CDaoFieldExchange* pFX, LPCSTR lpszName, LONG& value,
                     DWORD dwBindOptions = AFX_DAO_ENABLE_FIELD_CACHE);
void AFXAPI DFX_Long(CDaoFieldExchange* pFX, LPCSTR lpszName, long& value,
                     DWORD dwBindOptions = AFX_DAO_ENABLE_FIELD_CACHE);
void AFXAPI DFX_Short(CDaoFieldExchange* pFX, LPCSTR lpszName, short& value,
                      DWORD dwBindOptions = AFX_DAO_ENABLE_FIELD_CACHE);
void AFXAPI DFX_Byte(CDaoFieldExchange* pFX, LPCSTR lpszName, BYTE& value,
                     DWORD dwBindOptions = AFX_DAO_ENABLE_FIELD_CACHE);
void AFXAPI DFX_Bool(CDaoFieldExchange* pFX, LPCSTR lpszName, BOOL& value,
                     DWORD dwBindOptions = AFX_DAO_ENABLE_FIELD_CACHE);
void AFXAPI DFX_Single(CDaoFieldExchange* pFX, LPCSTR lpszName, float& value,
                       DWORD dwBindOptions = AFX_DAO_ENABLE_FIELD_CACHE);
void AFXAPI DFX_Double(CDaoFieldExchange* pFX, LPCSTR lpszName, double& value,
                       DWORD dwBindOptions = AFX_DAO_ENABLE_FIELD_CACHE);
void AFXAPI DFX_Currency(CDaoFieldExchange* pFX, LPCSTR lpszName, COleCurrency& value,
                         DWORD dwBindOptions = AFX_DAO_ENABLE_FIELD_CACHE);
void AFXAPI DFX_DateTime(CDaoFieldExchange* pFX, LPCSTR lpszName, COleDateTime& value,
                         DWORD dwBindOptions = AFX_DAO_ENABLE_FIELD_CACHE);
void AFXAPI DFX_Binary(CDaoFieldExchange* pFX, LPCSTR lpszName, CByteArray& value,
                       int nPreAllocSize = AFX_DAO_BINARY_DEFAULT_SIZE,
                       DWORD dwBindOptions = AFX_DAO_DISABLE_FIELD_CACHE);
void AFXAPI DFX_LongBinary(CDaoFieldExchange* pFX, LPCSTR lpszName, CLongBinary& value,
                           DWORD dwPreAllocSize = AFX_DAO_LONGBINARY_DEFAULT_SIZE,
                           DWORD dwBindOptions = AFX_DAO_DISABLE_FIELD_CACHE);

// ---------------------------------------------------------------------------------------
// Recordset

class CDaoRecordset : public CObject {
    DECLARE_DYNAMIC(CDaoRecordset)
public:
    CDaoRecordset(CDaoDatabase* pDatabase = NULL);
    virtual ~CDaoRecordset();

    // lpszSQL: a SELECT statement, or table names ("[Person]", "[Person],[VideoClip]");
    // NULL takes GetDefaultSQL. Without a database given to the constructor, the recordset
    // opens its own on GetDefaultDBName and closes and deletes it in Close.
    virtual void Open(int nOpenType = AFX_DAO_USE_DEFAULT_TYPE, LPCSTR lpszSQL = NULL, int nOptions = 0);
    virtual void Open(CDaoTableDef* pTableDef, int nOpenType = dbOpenTable, int nOptions = 0);
    virtual void Close();
    BOOL IsOpen() const;
    // Runs the query again with the present m_strFilter, m_strSort and parameter values.
    virtual void Requery();

    virtual CString GetDefaultDBName();
    virtual CString GetDefaultSQL();
    virtual void DoFieldExchange(CDaoFieldExchange* pFX);

    BOOL CanUpdate() const;
    BOOL CanAppend() const;
    BOOL CanBookmark() { return TRUE; }
    BOOL CanScroll() const { return TRUE; }
    BOOL CanRestart() { return TRUE; }
    BOOL CanTransact() { return TRUE; }
    CString GetSQL() const { return m_strSQL; }
    CString GetName();
    short GetType() const;
    void SetLockingMode(BOOL bPessimistic) { m_bPessimistic = bPessimistic; }
    BOOL GetLockingMode() const { return m_bPessimistic; }

    // Position
    BOOL IsBOF() const;
    BOOL IsEOF() const;
    // TRUE on a row this recordset deleted (it stays in place until the next requery).
    BOOL IsDeleted() const;
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrev();
    virtual void Move(long lRows);
    long GetAbsolutePosition();
    void SetAbsolutePosition(long lPosition);
    long GetRecordCount();
    float GetPercentPosition();

    // Finds (criteria in the dialect; on failure the current row stays).
    BOOL FindFirst(LPCSTR lpszFilter);
    BOOL FindNext(LPCSTR lpszFilter);
    BOOL FindPrev(LPCSTR lpszFilter);
    BOOL FindLast(LPCSTR lpszFilter);
    BOOL FindFirst(LPCSTR lpszFilter, const CDaoParams& params);
    BOOL FindNext(LPCSTR lpszFilter, const CDaoParams& params);
    BOOL FindPrev(LPCSTR lpszFilter, const CDaoParams& params);
    BOOL FindLast(LPCSTR lpszFilter, const CDaoParams& params);

    // Editing. After AddNew and Update the row that was current stays current; the new row
    // is reached through GetLastModifiedBookmark.
    virtual void AddNew();
    virtual void Edit();
    virtual void Update();
    virtual void CancelUpdate();
    virtual void Delete();
    short GetEditMode();

    COleVariant GetBookmark();
    void SetBookmark(COleVariant varBookmark);
    COleVariant GetLastModifiedBookmark();

    // Field status by member address (NULL: every field).
    void SetFieldDirty(void* pv, BOOL bDirty = TRUE);
    void SetFieldNull(void* pv, BOOL bNull = TRUE);
    BOOL IsFieldDirty(void* pv);
    BOOL IsFieldNull(void* pv);
    BOOL IsFieldNullable(void* pv);

    // Values by name or by position in the recordset's field collection.
    COleVariant GetFieldValue(LPCSTR lpszName);
    COleVariant GetFieldValue(int nIndex);
    void GetFieldValue(LPCSTR lpszName, COleVariant& varValue);
    void GetFieldValue(int nIndex, COleVariant& varValue);
    void SetFieldValue(LPCSTR lpszName, const COleVariant& varValue);
    void SetFieldValue(int nIndex, const COleVariant& varValue);
    void SetFieldValue(LPCSTR lpszName, LPCSTR lpszValue);
    void SetFieldValue(int nIndex, LPCSTR lpszValue);
    void SetFieldValueNull(LPCSTR lpszName);
    void SetFieldValueNull(int nIndex);

    short GetFieldCount();
    void GetFieldInfo(int nIndex, CDaoFieldInfo& fieldinfo, DWORD dwInfoOptions = AFX_DAO_PRIMARY_INFO);
    void GetFieldInfo(LPCSTR lpszName, CDaoFieldInfo& fieldinfo, DWORD dwInfoOptions = AFX_DAO_PRIMARY_INFO);

    // Values of the '?' markers of the SQL and the filter, in order.
    void SetParamValue(int nIndex, const COleVariant& var);
    void SetParamValue(int nIndex, LPCSTR lpszText);
    void SetParamValueNull(int nIndex);
    void ClearParamValues();

public:
    CDaoDatabase* m_pDatabase;
    CString m_strFilter;
    CString m_strSort;
    int m_nFields;
    int m_nParams;
    int m_nDefaultType;
    BOOL m_bCheckCacheForDirtyFields;

public:
    // Record field exchange (used by the DFX functions).
    struct FieldBinding;
    void BindFieldForExchange(CDaoFieldExchange* pFX, LPCSTR lpszName, int nKind, void* pv,
                              DWORD dwBindOptions);
    FieldBinding& FieldFor(CDaoFieldExchange* pFX);

private:
    void CheckOpen() const;
    void RunExchange(UINT nOperation, void* pvField = NULL);
    void LoadFields();
    int FieldIndex(void* pv) const;
    int ColumnOf(LPCSTR lpszName) const;
    BOOL DoFind(int kind, LPCSTR lpszFilter, const CDaoParams* params);

    std::unique_ptr<jet::Cursor> m_cursor;
    std::vector<FieldBinding*> m_bindings;
    CDaoParams m_params;
    CString m_strSQL;
    BOOL m_bOwnDatabase;
    BOOL m_bPessimistic;
    BOOL m_bBound;
    int m_nOpenType;
    int m_nOptions;
};

// ---------------------------------------------------------------------------------------
// Record form exchange (declared with the dialog classes' data exchange).

class CDataExchange;
void AFXAPI DDX_FieldText(CDataExchange* pDX, int nIDC, CString& value, CDaoRecordset* pRecordset);
void AFXAPI DDX_FieldText(CDataExchange* pDX, int nIDC, LONG& value, CDaoRecordset* pRecordset);
void AFXAPI DDX_FieldText(CDataExchange* pDX, int nIDC, short& value, CDaoRecordset* pRecordset);
void AFXAPI DDX_FieldText(CDataExchange* pDX, int nIDC, double& value, CDaoRecordset* pRecordset);
void AFXAPI DDX_FieldCheck(CDataExchange* pDX, int nIDC, int& value, CDaoRecordset* pRecordset);
void AFXAPI DDX_FieldCBString(CDataExchange* pDX, int nIDC, CString& value, CDaoRecordset* pRecordset);
void AFXAPI DDX_FieldCBStringExact(CDataExchange* pDX, int nIDC, CString& value, CDaoRecordset* pRecordset);
void AFXAPI DDX_FieldCBIndex(CDataExchange* pDX, int nIDC, int& index, CDaoRecordset* pRecordset);
void AFXAPI DDX_FieldLBString(CDataExchange* pDX, int nIDC, CString& value, CDaoRecordset* pRecordset);

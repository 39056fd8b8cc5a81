// The clip database: one recordset class per table or join. Each opens its own connection
// to the settings' database when given no database object.
#pragma once
#include <afxdao.h>

class CClipRecord : public CDaoRecordset
{
public:
    explicit CClipRecord(CDaoDatabase* db = NULL);
    DECLARE_DYNAMIC(CClipRecord)

    long m_ID;
    long m_PersonID;
    CString m_VideoClipName;
    CString m_Club;
    CString m_View;
    CString m_Comment;
    long m_LastDisplayPos;
    long m_SoundmarkFieldNbr;
    long m_BackOfStrokeFieldNbr;
    CString m_ClipType;
    long m_TabFieldPos;
    long m_LessonNbr;
    CString m_future1;
    CString m_future2;
    CString m_future3;
    CString m_future4;
    CString m_future5;
    long m_Person2ID;
    long m_ComparisonClipID;
    CString m_VideoClipFileName;
    COleDateTime m_DateTimeStamp;
    long m_Frames;
    CByteArray m_Overlay;
    BOOL m_Mirror;
    CString m_TabString;
    long m_TrimIn;
    long m_TrimOut;
    BOOL m_IsAutoCap;
    BOOL m_IsImported;
    CString m_GlobalID;

    virtual CString GetDefaultDBName();
    virtual CString GetDefaultSQL();
    virtual void DoFieldExchange(CDaoFieldExchange* pFX);
};

class CPeopleRecord : public CDaoRecordset
{
public:
    explicit CPeopleRecord(CDaoDatabase* db = NULL);
    DECLARE_DYNAMIC(CPeopleRecord)

    long m_ID;
    CString m_LastName;
    CString m_FirstName;
    CString m_Address;
    CString m_City;
    CString m_Zip;
    CString m_Phone;
    short m_LastLessonNumber;
    CString m_Comment;
    CString m_Address2;
    CString m_AltPhone;
    long m_InstructorID;
    CString m_Role;
    CString m_LRHand;
    CString m_State;

    virtual CString GetDefaultDBName();
    virtual CString GetDefaultSQL();
    virtual void DoFieldExchange(CDaoFieldExchange* pFX);
};

class CPersonClipJoin : public CDaoRecordset
{
public:
    explicit CPersonClipJoin(CDaoDatabase* db = NULL);
    DECLARE_DYNAMIC(CPersonClipJoin)

    long m_PersonID_Key;
    CString m_LastName;
    CString m_FirstName;
    CString m_Address;
    CString m_Address2;
    CString m_City;
    CString m_State;
    CString m_Zip;
    CString m_Phone;
    CString m_AltPhone;
    CString m_LRHand;
    CString m_Role;
    short m_LastLessonNumber;
    CString m_PersonComment;
    long m_InstructorID;
    long m_ClipID;
    long m_PersonID;
    long m_Person2ID;
    long m_ComparisonClipID;
    COleDateTime m_DateTimeStamp;
    CString m_VideoClipName;
    CString m_Club;
    CString m_View;
    CString m_ClipComment;
    long m_LastDisplayPos;
    long m_SoundmarkFieldNbr;
    long m_BackOfStrokeFieldNbr;
    CString m_ClipType;
    long m_TabFieldPos;
    long m_LessonNbr;
    CString m_future1;
    CString m_future2;
    CString m_future3;
    CString m_future4;
    CString m_future5;
    CString m_VideoClipFileName;

    virtual CString GetDefaultDBName();
    virtual CString GetDefaultSQL();
    virtual void DoFieldExchange(CDaoFieldExchange* pFX);
};

class CRefClipGroupDetail : public CDaoRecordset
{
public:
    explicit CRefClipGroupDetail(CDaoDatabase* db = NULL);
    DECLARE_DYNAMIC(CRefClipGroupDetail)

    long m_RefClipID;
    long m_VideoID;
    short m_Order;

    virtual CString GetDefaultDBName();
    virtual CString GetDefaultSQL();
    virtual void DoFieldExchange(CDaoFieldExchange* pFX);
};

class CRefClipGroupMaster : public CDaoRecordset
{
public:
    explicit CRefClipGroupMaster(CDaoDatabase* db = NULL);
    DECLARE_DYNAMIC(CRefClipGroupMaster)

    long m_ID;
    CString m_Comment;
    CString m_GroupName;

    virtual CString GetDefaultDBName();
    virtual CString GetDefaultSQL();
    virtual void DoFieldExchange(CDaoFieldExchange* pFX);
};

class CRefGroupVideoJoin : public CDaoRecordset
{
public:
    explicit CRefGroupVideoJoin(CDaoDatabase* db = NULL);
    DECLARE_DYNAMIC(CRefGroupVideoJoin)

    long m_RefClipID;
    long m_VideoID;
    short m_Order;
    long m_ID;
    long m_PersonID;
    long m_Person2ID;
    long m_ComparisonClipID;
    COleDateTime m_DateTimeStamp;
    CString m_VideoClipName;
    CString m_Club;
    CString m_View;
    CString m_Comment;
    long m_LastDisplayPos;
    long m_SoundmarkFieldNbr;
    long m_BackOfStrokeFieldNbr;
    CString m_ClipType;
    long m_TabFieldPos;
    long m_LessonNbr;
    CString m_future1;
    CString m_future2;
    CString m_future3;
    CString m_future4;
    CString m_future5;
    CString m_VideoClipFileName;

    virtual CString GetDefaultDBName();
    virtual CString GetDefaultSQL();
    virtual void DoFieldExchange(CDaoFieldExchange* pFX);
};

class CSystemRecord : public CDaoRecordset
{
public:
    explicit CSystemRecord(CDaoDatabase* db = NULL);
    DECLARE_DYNAMIC(CSystemRecord)

    long m_ID;
    long m_Version;

    virtual CString GetDefaultDBName();
    virtual CString GetDefaultSQL();
    virtual void DoFieldExchange(CDaoFieldExchange* pFX);
};

// The statement that creates the current (version 4) schema in an empty database file.
extern const char* const kClipDatabaseSchema[];
enum { CURRENT_SCHEMA_VERSION = 4 };

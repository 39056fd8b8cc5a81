// The clip database: one recordset class per table or join. Each opens its own connection
// to the settings' database when given no database object.
#pragma once
#include <afxdao.h>

class CClipRecord : public CDaoRecordset
{
public:
    explicit CClipRecord(CDaoDatabase* db = NULL);
    DECLARE_DYNAMIC(CClipRecord)

    LONG m_ID;
    LONG m_PersonID;
    CString m_VideoClipName;
    CString m_Club;
    CString m_View;
    CString m_Comment;
    LONG m_LastDisplayPos;
    LONG m_SoundmarkFieldNbr;
    LONG m_BackOfStrokeFieldNbr;
    CString m_ClipType;
    LONG m_TabFieldPos;
    LONG m_LessonNbr;
    CString m_future1;
    CString m_future2;
    CString m_future3;
    CString m_future4;
    CString m_future5;
    LONG m_Person2ID;
    LONG m_ComparisonClipID;
    CString m_VideoClipFileName;
    COleDateTime m_DateTimeStamp;
    LONG m_Frames;
    CByteArray m_Overlay;
    BOOL m_Mirror;
    CString m_TabString;
    LONG m_TrimIn;
    LONG m_TrimOut;
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

    LONG m_ID;
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
    LONG m_InstructorID;
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

    LONG m_PersonID_Key;
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
    LONG m_InstructorID;
    LONG m_ClipID;
    LONG m_PersonID;
    LONG m_Person2ID;
    LONG m_ComparisonClipID;
    COleDateTime m_DateTimeStamp;
    CString m_VideoClipName;
    CString m_Club;
    CString m_View;
    CString m_ClipComment;
    LONG m_LastDisplayPos;
    LONG m_SoundmarkFieldNbr;
    LONG m_BackOfStrokeFieldNbr;
    CString m_ClipType;
    LONG m_TabFieldPos;
    LONG m_LessonNbr;
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

    LONG m_RefClipID;
    LONG m_VideoID;
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

    LONG m_ID;
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

    LONG m_RefClipID;
    LONG m_VideoID;
    short m_Order;
    LONG m_ID;
    LONG m_PersonID;
    LONG m_Person2ID;
    LONG m_ComparisonClipID;
    COleDateTime m_DateTimeStamp;
    CString m_VideoClipName;
    CString m_Club;
    CString m_View;
    CString m_Comment;
    LONG m_LastDisplayPos;
    LONG m_SoundmarkFieldNbr;
    LONG m_BackOfStrokeFieldNbr;
    CString m_ClipType;
    LONG m_TabFieldPos;
    LONG m_LessonNbr;
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

    LONG m_ID;
    LONG m_Version;

    virtual CString GetDefaultDBName();
    virtual CString GetDefaultSQL();
    virtual void DoFieldExchange(CDaoFieldExchange* pFX);
};

// The statement that creates the current (version 4) schema in an empty database file.
extern const char* const kClipDatabaseSchema[];
enum { CURRENT_SCHEMA_VERSION = 4 };

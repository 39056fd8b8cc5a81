#include "Recordsets.h"
#include "AppConfig.h"
#include "Globals.h"

static CString DefaultDatabase()
{
    return g_pAppConfig ? g_pAppConfig->GetDatabasePath() : CString("Quorvel.mdb");
}

// ---------------------------------------------------------------------------------------
IMPLEMENT_DYNAMIC(CClipRecord, CDaoRecordset)

CClipRecord::CClipRecord(CDaoDatabase* db) : CDaoRecordset(db)
{
    m_ID = 0;
    m_PersonID = 0;
    m_LastDisplayPos = 0;
    m_SoundmarkFieldNbr = 0;
    m_BackOfStrokeFieldNbr = 0;
    m_TabFieldPos = 0;
    m_LessonNbr = 0;
    m_Person2ID = 0;
    m_ComparisonClipID = 0;
    m_Frames = 0;
    m_Mirror = FALSE;
    m_TrimIn = 0;
    m_TrimOut = 0;
    m_IsAutoCap = FALSE;
    m_IsImported = FALSE;
    m_nFields = 30;
    m_nDefaultType = dbOpenDynaset;
}

CString CClipRecord::GetDefaultDBName()
{
    return DefaultDatabase();
}

CString CClipRecord::GetDefaultSQL()
{
    return "SELECT [VideoClip].* FROM [VideoClip] INNER JOIN [Person] ON "
           "[VideoClip].[PersonID] = [Person].[ID]";
}

void CClipRecord::DoFieldExchange(CDaoFieldExchange* pFX)
{
    pFX->SetFieldType(CDaoFieldExchange::outputColumn);
    DFX_Long(pFX, "[ID]", m_ID);
    DFX_Long(pFX, "[PersonID]", m_PersonID);
    DFX_Text(pFX, "[VideoClipName]", m_VideoClipName);
    DFX_Text(pFX, "[Club]", m_Club);
    DFX_Text(pFX, "[View]", m_View);
    DFX_Text(pFX, "[Comment]", m_Comment);
    DFX_Long(pFX, "[LastDisplayPos]", m_LastDisplayPos);
    DFX_Long(pFX, "[SoundmarkFieldNbr]", m_SoundmarkFieldNbr);
    DFX_Long(pFX, "[BackOfStrokeFieldNbr]", m_BackOfStrokeFieldNbr);
    DFX_Text(pFX, "[ClipType]", m_ClipType);
    DFX_Long(pFX, "[TabFieldPos]", m_TabFieldPos);
    DFX_Long(pFX, "[LessonNbr]", m_LessonNbr);
    DFX_Text(pFX, "[future1]", m_future1);
    DFX_Text(pFX, "[future2]", m_future2);
    DFX_Text(pFX, "[future3]", m_future3);
    DFX_Text(pFX, "[future4]", m_future4);
    DFX_Text(pFX, "[future5]", m_future5);
    DFX_Long(pFX, "[Person2ID]", m_Person2ID);
    DFX_Long(pFX, "[ComparisonClipID]", m_ComparisonClipID);
    DFX_Text(pFX, "[VideoClipFileName]", m_VideoClipFileName);
    DFX_DateTime(pFX, "[DateTimeStamp]", m_DateTimeStamp);
    DFX_Long(pFX, "[Frames]", m_Frames);
    DFX_Binary(pFX, "[Overlay]", m_Overlay, 2048, AFX_DAO_DISABLE_FIELD_CACHE);
    DFX_Bool(pFX, "[Mirror]", m_Mirror);
    DFX_Text(pFX, "[TabString]", m_TabString);
    DFX_Long(pFX, "[TrimIn]", m_TrimIn);
    DFX_Long(pFX, "[TrimOut]", m_TrimOut);
    DFX_Bool(pFX, "[IsAutoCap]", m_IsAutoCap);
    DFX_Bool(pFX, "[IsImported]", m_IsImported);
    DFX_Text(pFX, "[GlobalID]", m_GlobalID);
}

// ---------------------------------------------------------------------------------------
IMPLEMENT_DYNAMIC(CPeopleRecord, CDaoRecordset)

CPeopleRecord::CPeopleRecord(CDaoDatabase* db) : CDaoRecordset(db)
{
    m_ID = 0;
    m_LastLessonNumber = 0;
    m_InstructorID = 0;
    m_nFields = 15;
    m_nDefaultType = dbOpenDynaset;
}

CString CPeopleRecord::GetDefaultDBName()
{
    return DefaultDatabase();
}

CString CPeopleRecord::GetDefaultSQL()
{
    return "[Person]";
}

void CPeopleRecord::DoFieldExchange(CDaoFieldExchange* pFX)
{
    pFX->SetFieldType(CDaoFieldExchange::outputColumn);
    DFX_Long(pFX, "[ID]", m_ID);
    DFX_Text(pFX, "[LastName]", m_LastName);
    DFX_Text(pFX, "[FirstName]", m_FirstName);
    DFX_Text(pFX, "[Address]", m_Address);
    DFX_Text(pFX, "[City]", m_City);
    DFX_Text(pFX, "[Zip]", m_Zip);
    DFX_Text(pFX, "[Phone]", m_Phone);
    DFX_Short(pFX, "[LastLessonNumber]", m_LastLessonNumber);
    DFX_Text(pFX, "[Comment]", m_Comment);
    DFX_Text(pFX, "[Address2]", m_Address2);
    DFX_Text(pFX, "[AltPhone]", m_AltPhone);
    DFX_Long(pFX, "[InstructorID]", m_InstructorID);
    DFX_Text(pFX, "[Role]", m_Role);
    DFX_Text(pFX, "[L/RHand]", m_LRHand);
    DFX_Text(pFX, "[State]", m_State);
}

// ---------------------------------------------------------------------------------------
IMPLEMENT_DYNAMIC(CPersonClipJoin, CDaoRecordset)

CPersonClipJoin::CPersonClipJoin(CDaoDatabase* db) : CDaoRecordset(db)
{
    m_PersonID_Key = 0;
    m_LastLessonNumber = 0;
    m_InstructorID = 0;
    m_ClipID = 0;
    m_PersonID = 0;
    m_Person2ID = 0;
    m_ComparisonClipID = 0;
    m_LastDisplayPos = 0;
    m_SoundmarkFieldNbr = 0;
    m_BackOfStrokeFieldNbr = 0;
    m_TabFieldPos = 0;
    m_LessonNbr = 0;
    m_nFields = 36;
    m_nDefaultType = dbOpenDynaset;
}

CString CPersonClipJoin::GetDefaultDBName()
{
    return DefaultDatabase();
}

CString CPersonClipJoin::GetDefaultSQL()
{
    return "[Person],[VideoClip]";
}

void CPersonClipJoin::DoFieldExchange(CDaoFieldExchange* pFX)
{
    pFX->SetFieldType(CDaoFieldExchange::outputColumn);
    DFX_Long(pFX, "[Person].[ID]", m_PersonID_Key);
    DFX_Text(pFX, "[LastName]", m_LastName);
    DFX_Text(pFX, "[FirstName]", m_FirstName);
    DFX_Text(pFX, "[Address]", m_Address);
    DFX_Text(pFX, "[Address2]", m_Address2);
    DFX_Text(pFX, "[City]", m_City);
    DFX_Text(pFX, "[State]", m_State);
    DFX_Text(pFX, "[Zip]", m_Zip);
    DFX_Text(pFX, "[Phone]", m_Phone);
    DFX_Text(pFX, "[AltPhone]", m_AltPhone);
    DFX_Text(pFX, "[L/RHand]", m_LRHand);
    DFX_Text(pFX, "[Role]", m_Role);
    DFX_Short(pFX, "[LastLessonNumber]", m_LastLessonNumber);
    DFX_Text(pFX, "[Person].[Comment]", m_PersonComment);
    DFX_Long(pFX, "[InstructorID]", m_InstructorID);
    DFX_Long(pFX, "[VideoClip].[ID]", m_ClipID);
    DFX_Long(pFX, "[PersonID]", m_PersonID);
    DFX_Long(pFX, "[Person2ID]", m_Person2ID);
    DFX_Long(pFX, "[ComparisonClipID]", m_ComparisonClipID);
    DFX_DateTime(pFX, "[DateTimeStamp]", m_DateTimeStamp);
    DFX_Text(pFX, "[VideoClipName]", m_VideoClipName);
    DFX_Text(pFX, "[Club]", m_Club);
    DFX_Text(pFX, "[View]", m_View);
    DFX_Text(pFX, "[VideoClip].[Comment]", m_ClipComment);
    DFX_Long(pFX, "[LastDisplayPos]", m_LastDisplayPos);
    DFX_Long(pFX, "[SoundmarkFieldNbr]", m_SoundmarkFieldNbr);
    DFX_Long(pFX, "[BackOfStrokeFieldNbr]", m_BackOfStrokeFieldNbr);
    DFX_Text(pFX, "[ClipType]", m_ClipType);
    DFX_Long(pFX, "[TabFieldPos]", m_TabFieldPos);
    DFX_Long(pFX, "[LessonNbr]", m_LessonNbr);
    DFX_Text(pFX, "[future1]", m_future1);
    DFX_Text(pFX, "[future2]", m_future2);
    DFX_Text(pFX, "[future3]", m_future3);
    DFX_Text(pFX, "[future4]", m_future4);
    DFX_Text(pFX, "[future5]", m_future5);
    DFX_Text(pFX, "[VideoClipFileName]", m_VideoClipFileName);
}

// ---------------------------------------------------------------------------------------
IMPLEMENT_DYNAMIC(CRefClipGroupDetail, CDaoRecordset)

CRefClipGroupDetail::CRefClipGroupDetail(CDaoDatabase* db) : CDaoRecordset(db)
{
    m_RefClipID = 0;
    m_VideoID = 0;
    m_Order = 0;
    m_nFields = 3;
    m_nDefaultType = dbOpenDynaset;
}

CString CRefClipGroupDetail::GetDefaultDBName()
{
    return DefaultDatabase();
}

CString CRefClipGroupDetail::GetDefaultSQL()
{
    return "[ReferenceClipGroupDetail]";
}

void CRefClipGroupDetail::DoFieldExchange(CDaoFieldExchange* pFX)
{
    pFX->SetFieldType(CDaoFieldExchange::outputColumn);
    DFX_Long(pFX, "[RefClipID]", m_RefClipID);
    DFX_Long(pFX, "[VideoID]", m_VideoID);
    DFX_Short(pFX, "[Order]", m_Order);
}

// ---------------------------------------------------------------------------------------
IMPLEMENT_DYNAMIC(CRefClipGroupMaster, CDaoRecordset)

CRefClipGroupMaster::CRefClipGroupMaster(CDaoDatabase* db) : CDaoRecordset(db)
{
    m_ID = 0;
    m_nFields = 3;
    m_nDefaultType = dbOpenDynaset;
}

CString CRefClipGroupMaster::GetDefaultDBName()
{
    return DefaultDatabase();
}

CString CRefClipGroupMaster::GetDefaultSQL()
{
    return "[ReferenceClipMaster]";
}

void CRefClipGroupMaster::DoFieldExchange(CDaoFieldExchange* pFX)
{
    pFX->SetFieldType(CDaoFieldExchange::outputColumn);
    DFX_Long(pFX, "[ID]", m_ID);
    DFX_Text(pFX, "[Comment]", m_Comment);
    DFX_Text(pFX, "[GroupName]", m_GroupName);
}

// ---------------------------------------------------------------------------------------
IMPLEMENT_DYNAMIC(CRefGroupVideoJoin, CDaoRecordset)

CRefGroupVideoJoin::CRefGroupVideoJoin(CDaoDatabase* db) : CDaoRecordset(db)
{
    m_RefClipID = 0;
    m_VideoID = 0;
    m_Order = 0;
    m_ID = 0;
    m_PersonID = 0;
    m_Person2ID = 0;
    m_ComparisonClipID = 0;
    m_LastDisplayPos = 0;
    m_SoundmarkFieldNbr = 0;
    m_BackOfStrokeFieldNbr = 0;
    m_TabFieldPos = 0;
    m_LessonNbr = 0;
    m_nFields = 24;
    m_nDefaultType = dbOpenDynaset;
}

CString CRefGroupVideoJoin::GetDefaultDBName()
{
    return DefaultDatabase();
}

CString CRefGroupVideoJoin::GetDefaultSQL()
{
    return "[ReferenceClipGroupDetail],[VideoClip]";
}

void CRefGroupVideoJoin::DoFieldExchange(CDaoFieldExchange* pFX)
{
    pFX->SetFieldType(CDaoFieldExchange::outputColumn);
    DFX_Long(pFX, "[RefClipID]", m_RefClipID);
    DFX_Long(pFX, "[VideoID]", m_VideoID);
    DFX_Short(pFX, "[Order]", m_Order);
    DFX_Long(pFX, "[ID]", m_ID);
    DFX_Long(pFX, "[PersonID]", m_PersonID);
    DFX_Long(pFX, "[Person2ID]", m_Person2ID);
    DFX_Long(pFX, "[ComparisonClipID]", m_ComparisonClipID);
    DFX_DateTime(pFX, "[DateTimeStamp]", m_DateTimeStamp);
    DFX_Text(pFX, "[VideoClipName]", m_VideoClipName);
    DFX_Text(pFX, "[Club]", m_Club);
    DFX_Text(pFX, "[View]", m_View);
    DFX_Text(pFX, "[Comment]", m_Comment);
    DFX_Long(pFX, "[LastDisplayPos]", m_LastDisplayPos);
    DFX_Long(pFX, "[SoundmarkFieldNbr]", m_SoundmarkFieldNbr);
    DFX_Long(pFX, "[BackOfStrokeFieldNbr]", m_BackOfStrokeFieldNbr);
    DFX_Text(pFX, "[ClipType]", m_ClipType);
    DFX_Long(pFX, "[TabFieldPos]", m_TabFieldPos);
    DFX_Long(pFX, "[LessonNbr]", m_LessonNbr);
    DFX_Text(pFX, "[future1]", m_future1);
    DFX_Text(pFX, "[future2]", m_future2);
    DFX_Text(pFX, "[future3]", m_future3);
    DFX_Text(pFX, "[future4]", m_future4);
    DFX_Text(pFX, "[future5]", m_future5);
    DFX_Text(pFX, "[VideoClipFileName]", m_VideoClipFileName);
}

// ---------------------------------------------------------------------------------------
IMPLEMENT_DYNAMIC(CSystemRecord, CDaoRecordset)

CSystemRecord::CSystemRecord(CDaoDatabase* db) : CDaoRecordset(db)
{
    m_ID = 0;
    m_Version = 0;
    m_nFields = 2;
    m_nDefaultType = dbOpenTable;
}

CString CSystemRecord::GetDefaultDBName()
{
    return DefaultDatabase();
}

CString CSystemRecord::GetDefaultSQL()
{
    return "[System]";
}

void CSystemRecord::DoFieldExchange(CDaoFieldExchange* pFX)
{
    pFX->SetFieldType(CDaoFieldExchange::outputColumn);
    DFX_Long(pFX, "[ID]", m_ID);
    DFX_Long(pFX, "[Version]", m_Version);
}

// ---------------------------------------------------------------------------------------
// The current schema, in Jet's data definition language. Text columns hold at most 255
// characters; the two name columns of a clip are 250.
const char* const kClipDatabaseSchema[] = {
    "CREATE TABLE [Person] ([ID] COUNTER CONSTRAINT [PrimaryKey] PRIMARY KEY, "
    "[LastName] TEXT(50), [FirstName] TEXT(50), [Address] TEXT(100), [City] TEXT(50), "
    "[Zip] TEXT(20), [Phone] TEXT(30), [LastLessonNumber] SHORT, [Comment] MEMO, "
    "[Address2] TEXT(100), [AltPhone] TEXT(30), [InstructorID] LONG, [Role] TEXT(50), "
    "[L/RHand] TEXT(20), [State] TEXT(30))",
    "CREATE TABLE [VideoClip] ([ID] COUNTER CONSTRAINT [PrimaryKey] PRIMARY KEY, "
    "[PersonID] LONG, [VideoClipName] TEXT(250), [Club] TEXT(50), [View] TEXT(50), "
    "[Comment] MEMO, [LastDisplayPos] LONG, [SoundmarkFieldNbr] LONG, "
    "[BackOfStrokeFieldNbr] LONG, [ClipType] TEXT(50), [TabFieldPos] LONG, [LessonNbr] LONG, "
    "[future1] TEXT(255), [future2] TEXT(255), [future3] TEXT(255), [future4] TEXT(255), "
    "[future5] TEXT(255), [Person2ID] LONG, [ComparisonClipID] LONG, "
    "[VideoClipFileName] TEXT(250), [DateTimeStamp] DATETIME, [Frames] LONG, "
    "[Overlay] LONGBINARY, [Mirror] BIT, [TabString] TEXT(255), [TrimIn] LONG, "
    "[TrimOut] LONG, [IsAutoCap] BIT, [IsImported] BIT, [GlobalID] GUID)",
    "CREATE TABLE [ReferenceClipMaster] ([ID] COUNTER CONSTRAINT [PrimaryKey] PRIMARY KEY, "
    "[Comment] TEXT(255), [GroupName] TEXT(100))",
    "CREATE TABLE [ReferenceClipGroupDetail] ([RefClipID] LONG, [VideoID] LONG, "
    "[Order] SHORT)",
    "CREATE TABLE [System] ([ID] COUNTER CONSTRAINT [PrimaryKey] PRIMARY KEY, "
    "[Version] LONG)",
    "INSERT INTO [System] ([Version]) VALUES (4)",
    NULL,
};

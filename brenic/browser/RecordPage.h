// What the database sheet's record pages share: the owning sheet, the rule for database
// failures, and the position row (the "%d of %d" text and the record slider).
#pragma once
#include <afxwin.h>
#include <afxdlgs.h>
#include <afxcmn.h>

class CDatabaseSheet;
class CDaoException;
class CDaoRecordset;

class CRecordPage : public CPropertyPage
{
public:
    explicit CRecordPage(UINT templateId);

    void SetSheet(CDatabaseSheet* sheet) { m_pSheet = sheet; }
    CDatabaseSheet* GetSheet() const { return m_pSheet; }
    BOOL HasDaoFailed() const { return m_bDaoFailed; }

    // The handlers' rule: on a network database the page is marked failed and the sheet
    // closes (`recoverable` FALSE from OK, Apply and leaving the page: the program closes
    // too); on the local database the error is shown and the page carries on. The
    // exception is deleted.
    void HandleDaoError(CDaoException* e, BOOL recoverable = TRUE);
    // The rule of routines inside a handler: on a network database the error goes on to
    // the handler; on the local one it is shown and deleted, and the routine goes on.
    static void PassOnOrShow(CDaoException* e);

    // "%d of %d" and the slider's range and position from the recordset's own count and
    // position (no second query, no row steps).
    static CString PositionText(CDaoRecordset* set, int* current = NULL, int* count = NULL);

protected:
    void ShowPosition(CDaoRecordset* set, CSliderCtrl& slider, UINT textId,
                      CString& text);
    // Moves the recordset to the slider's position in one jump.
    void MoveToSlider(CDaoRecordset* set, CSliderCtrl& slider);
    // First, previous, next and last, never leaving the recordset off its rows when it
    // has any.
    enum Move { MoveFirst, MovePrev, MoveNext, MoveLast };
    static BOOL MoveRecord(CDaoRecordset* set, Move move);
    static BOOL IsOnRow(CDaoRecordset* set);

    CDatabaseSheet* m_pSheet;
    BOOL m_bDaoFailed;
    BOOL m_bSliderMoved;
};

#include "RecordPage.h"
#include <afxdao.h>
#include "AppConfig.h"
#include "DatabaseMgr.h"
#include "DatabaseSheet.h"
#include "Globals.h"

CRecordPage::CRecordPage(UINT templateId)
    : CPropertyPage(templateId), m_pSheet(NULL), m_bDaoFailed(FALSE), m_bSliderMoved(FALSE)
{
}

void CRecordPage::HandleDaoError(CDaoException* e, BOOL recoverable)
{
    if (g_pAppConfig && g_pAppConfig->IsNetworkDatabase()) {
        m_bDaoFailed = TRUE;
        e->Delete();
        if (m_pSheet)
            m_pSheet->OnDaoError(recoverable);
        return;
    }
    AfxMessageBox(DaoErrorText(e), MB_ICONEXCLAMATION);
    e->Delete();
}

void CRecordPage::PassOnOrShow(CDaoException* e)
{
    if (g_pAppConfig && g_pAppConfig->IsNetworkDatabase())
        throw e;
    AfxMessageBox(DaoErrorText(e), MB_ICONEXCLAMATION);
    e->Delete();
}

BOOL CRecordPage::IsOnRow(CDaoRecordset* set)
{
    return set && set->IsOpen() && !set->IsBOF() && !set->IsEOF() && !set->IsDeleted();
}

CString CRecordPage::PositionText(CDaoRecordset* set, int* currentOut, int* countOut)
{
    int count = 0, current = 0;
    if (set && set->IsOpen()) {
        count = (int)set->GetRecordCount();
        current = IsOnRow(set) ? (int)set->GetAbsolutePosition() + 1 : 0;
        if (current > count)
            current = count;
    }
    if (currentOut)
        *currentOut = current;
    if (countOut)
        *countOut = count;
    CString text;
    text.Format("%d of %d", current, count);
    return text;
}

void CRecordPage::ShowPosition(CDaoRecordset* set, CSliderCtrl& slider, UINT textId,
                               CString& text)
{
    int current = 0, count = 0;
    text = PositionText(set, &current, &count);
    SetDlgItemText(textId, text);
    if (slider.GetSafeHwnd()) {
        if (slider.GetRangeMax() != count - 1 || slider.GetRangeMin() != 0)
            slider.SetRange(0, count - 1, TRUE);
        if (!m_bSliderMoved)
            slider.SetPos(current - 1);
    }
    m_bSliderMoved = FALSE;
}

void CRecordPage::MoveToSlider(CDaoRecordset* set, CSliderCtrl& slider)
{
    const long count = set->GetRecordCount();
    if (count <= 0)
        return;
    long target = slider.GetPos();
    if (target < 0)
        target = 0;
    if (target >= count)
        target = count - 1;
    m_bSliderMoved = target != set->GetAbsolutePosition();
    set->SetAbsolutePosition(target);
    m_bSliderMoved = TRUE;
}

BOOL CRecordPage::MoveRecord(CDaoRecordset* set, Move move)
{
    if (!set || !set->IsOpen() || set->GetRecordCount() <= 0)
        return FALSE;
    switch (move) {
    case MoveFirst:
        set->MoveFirst();
        break;
    case MoveLast:
        set->MoveLast();
        break;
    case MovePrev:
        if (set->IsBOF())
            return FALSE;
        set->MovePrev();
        if (set->IsBOF())
            set->MoveNext();
        break;
    case MoveNext:
        if (set->IsEOF())
            return FALSE;
        set->MoveNext();
        if (set->IsEOF())
            set->MovePrev();
        break;
    }
    return TRUE;
}

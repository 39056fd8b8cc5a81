#include "ClipPreview.h"

void CClipPreview::Clear()
{
    if (m_control.GetSafeHwnd() && !m_strFile.IsEmpty())
        m_control.LoadAVIFile("", -1);
    if (m_control.GetSafeHwnd())
        m_control.Invalidate();
    m_strFile.Empty();
}

void CClipPreview::Destroy()
{
    if (m_control.GetSafeHwnd())
        m_control.DestroyWindow();
    m_strFile.Empty();
}

void CClipPreview::Load(CWnd* page, UINT holderId, const CString& path, LONG field)
{
    if (path.IsEmpty() || GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
        Clear();
        return;
    }
    if (!m_control.GetSafeHwnd()) {
        CWnd* holder = page->GetDlgItem(holderId);
        if (!holder)
            return;
        CRect place;
        holder->GetWindowRect(&place);
        page->ScreenToClient(&place);
        holder->DestroyWindow();
        if (!m_control.CreateControlWindow(WS_CHILD | WS_VISIBLE, place, page, holderId))
            return;
    }
    if (path != m_strFile)
        m_control.LoadAVIFile(path, field);
    m_strFile = path;
    if (m_control.IsValid()) {
        // Only the part of the reference picture that the control's size shows.
        CRect client;
        m_control.GetClientRect(&client);
        m_control.SetMask(0, 0, (client.Width() + 1) / 608.0f, (client.Height() + 1) / 456.0f);
        m_control.SeekField(field);
    } else {
        m_control.Invalidate();
    }
}

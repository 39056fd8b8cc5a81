// Off-screen drawing for a viewport class T: every invalidation renders the area into a memory
// bitmap at once, and a paint only copies the needed rectangle to the window.
#pragma once
#include <afxwin.h>
#include <algorithm>
#include "Mvc.h"

template <class T>
class MvcBufferedWrapper_T : public T
{
public:
    MvcBufferedWrapper_T()
        : m_bBuffering(TRUE), m_pMemDC(NULL), m_pBitmap(NULL), m_nMargin(100), m_rcPending(0, 0, 0, 0)
    {
    }
    ~MvcBufferedWrapper_T() override { ReleaseBuffer(); }

    void InitialUpdate() override
    {
        T::InitialUpdate();
        CreateBuffer();
        RenderBuffer();
    }

    CSize SetSize(int cx, int cy) override
    {
        CSize old = T::SetSize(cx, cy);
        if (m_bBuffering && (m_pMemDC == NULL || IsBufferTooSmall())) {
            ReleaseBuffer();
            CreateBuffer();
        }
        RenderBuffer();
        return old;
    }
    using T::SetSize;

    void Draw(CDC* dc) override
    {
        if (!m_bBuffering || dc->IsPrinting()) {
            T::Draw(dc);
            return;
        }
        CRect r;
        CWnd* wnd = this->GetWnd();
        if (!(wnd && wnd->GetSafeHwnd() && ::GetUpdateRect(wnd->GetSafeHwnd(), &r, FALSE)))
            r = this->GetBounds();
        CopyBuffer(dc, r);
    }

    void InvalidateRect(const RECT* rect, BOOL erase, BOOL update) override
    {
        CWnd* wnd = this->GetWnd();
        HWND hwnd = wnd ? wnd->GetSafeHwnd() : NULL;
        if (hwnd == NULL)
            return;
        // The rectangle's right and bottom edge pixels are part of it.
        CRect r(*rect);
        r.right += 1;
        r.bottom += 1;
        MvcClientDC dc(this);
        dc.LPtoDP(&r);
        r.NormalizeRect();
        m_rcPending = r;
        ::InvalidateRect(hwnd, &m_rcPending, erase);
        RenderBuffer();
        if (update)
            ::UpdateWindow(hwnd);
    }

    BOOL GetUpdateRect(RECT* rect, BOOL erase) override
    {
        CWnd* wnd = this->GetWnd();
        BOOL result = wnd && wnd->GetSafeHwnd() ? ::GetUpdateRect(wnd->GetSafeHwnd(), rect, erase) : FALSE;
        if (result && !m_rcPending.IsRectEmpty()) {
            rect->left = std::min(rect->left, m_rcPending.left);
            rect->top = std::min(rect->top, m_rcPending.top);
            rect->right = std::max(rect->right, m_rcPending.right);
            rect->bottom = std::max(rect->bottom, m_rcPending.bottom);
        }
        return result;
    }

    virtual void RenderBuffer()
    {
        if (!m_bBuffering || m_pMemDC == NULL)
            return;
        int saved = m_pMemDC->SaveDC();
        this->PrepareDC(m_pMemDC);
        CRect area;
        CWnd* wnd = this->GetWnd();
        if (wnd && wnd->GetSafeHwnd() && ::GetUpdateRect(wnd->GetSafeHwnd(), &area, FALSE))
            m_pMemDC->DPtoLP(&area);
        else
            area = this->GetLogicalRect();
        EraseBuffer(m_pMemDC, area);
        T::Draw(m_pMemDC);
        m_pMemDC->RestoreDC(saved);
        m_rcPending.SetRect(0, 0, 0, 0);
    }

    virtual void CopyBuffer(CDC* target, CRect rect)
    {
        CRect bounds = this->GetBounds();
        rect.IntersectRect(&rect, &bounds);
        if (!m_bBuffering || m_pMemDC == NULL) {
            T::Draw(target);
            return;
        }
        int mode = target->SetMapMode(MM_TEXT);
        target->SetViewportOrg(0, 0);
        target->SetWindowOrg(0, 0);
        m_pMemDC->SetMapMode(MM_TEXT);
        m_pMemDC->SetViewportOrg(0, 0);
        m_pMemDC->SetWindowOrg(0, 0);
        target->BitBlt(rect.left, rect.top, rect.Width(), rect.Height(), m_pMemDC, rect.left, rect.top,
                       SRCCOPY);
        target->SetMapMode(mode);
    }

    virtual void CopyWholeBuffer(CDC* target) { CopyBuffer(target, this->GetBounds()); }

    virtual void EraseBuffer(CDC* dc, CRect rect)
    {
        CBrush brush(::GetSysColor(COLOR_WINDOW));
        dc->FillRect(&rect, &brush);
    }

    BOOL CreateBuffer()
    {
        if (!m_bBuffering || m_pMemDC != NULL || m_pBitmap != NULL)
            return FALSE;
        CSize size = this->GetLogicalSize();
        if (size.cx <= 0 || size.cy <= 0)
            return FALSE;
        CWnd* wnd = this->GetWnd();
        if (wnd == NULL || !::IsWindow(wnd->GetSafeHwnd()))
            return FALSE;
        CDC* windowDC = wnd->GetWindowDC();
        if (windowDC == NULL)
            return FALSE;
        this->PrepareDC(windowDC);
        m_pMemDC = new CDC;
        if (!m_pMemDC->CreateCompatibleDC(windowDC)) {
            delete m_pMemDC;
            m_pMemDC = NULL;
            wnd->ReleaseDC(windowDC);
            return FALSE;
        }
        this->PrepareDC(m_pMemDC);
        m_pMemDC->LPtoDP(&size);
        size.cx += m_nMargin;
        size.cy += m_nMargin;
        m_pBitmap = new CBitmap;
        if (!m_pBitmap->CreateCompatibleBitmap(windowDC, size.cx, size.cy)) {
            delete m_pBitmap;
            delete m_pMemDC;
            m_pBitmap = NULL;
            m_pMemDC = NULL;
        } else {
            m_pBitmap->SetBitmapDimension(size.cx, size.cy);
            m_pMemDC->SelectObject(m_pBitmap);
        }
        wnd->ReleaseDC(windowDC);
        return m_pMemDC != NULL;
    }

    BOOL IsBufferTooSmall()
    {
        if (m_pBitmap == NULL)
            return FALSE;
        CWnd* wnd = this->GetWnd();
        if (wnd == NULL || wnd->GetSafeHwnd() == NULL)
            return FALSE;
        CSize size = this->GetLogicalSize();
        CDC* windowDC = wnd->GetWindowDC();
        if (windowDC == NULL)
            return FALSE;
        this->PrepareDC(windowDC);
        windowDC->LPtoDP(&size);
        wnd->ReleaseDC(windowDC);
        CSize made = m_pBitmap->GetBitmapDimension();
        return made.cx < size.cx || made.cy < size.cy;
    }

    void ReleaseBuffer()
    {
        delete m_pMemDC;
        delete m_pBitmap;
        m_pMemDC = NULL;
        m_pBitmap = NULL;
    }

    void SetBuffering(BOOL on) { m_bBuffering = on; }
    BOOL IsBuffering() const { return m_bBuffering; }
    CDC* GetMemoryDC() const { return m_pMemDC; }
    CBitmap* GetBufferBitmap() const { return m_pBitmap; }

protected:
    BOOL m_bBuffering;
    CDC* m_pMemDC;
    CBitmap* m_pBitmap;
    int m_nMargin;
    CRect m_rcPending;
};

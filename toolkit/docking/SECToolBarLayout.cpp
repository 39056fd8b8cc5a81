// Toolbar wrapping, row balancing, placing and hit testing.
#include "SECToolBarLayout.h"
#include <algorithm>
#include <climits>

namespace {
bool IsSep(const SECBtnVector& b, int i) { return (b[i]->m_nStyle & SEC_TBBS_SEPARATOR) != 0; }
int RowStart(const std::vector<SECTBRow>& rows, size_t k) { return k == 0 ? 0 : rows[k - 1].nLast + 1; }

int TotalHeight(const std::vector<SECTBRow>& rows, int nSepWidth)
{
  int h = 0;
  for (const SECTBRow& r : rows)
    h += r.cy + (r.bSep ? nSepWidth * 2 / 3 : 0);
  return h;
}

// The group that ends a row at a separator: walking back from the button before that
// separator to an inner separator (included). Its index, or -1 when there is none after the
// row's first position; the group's width in g.
int InnerGroup(const SECBtnVector& btns, const std::vector<SECTBRow>& rows, size_t k, int& g)
{
  int nStart = RowStart(rows, k);
  g = 0;
  for (int j = rows[k].nLast - 1; j >= nStart; j--) {
    g += btns[j]->m_cx;
    if (IsSep(btns, j))
      return j > nStart ? j : -1;
  }
  return -1;
}
}  // namespace

void SECMeasureRows(const SECBtnVector& btns, std::vector<SECTBRow>& rows)
{
  for (size_t k = 0; k < rows.size(); k++) {
    SECTBRow& r = rows[k];
    r.cx = r.cy = 0;
    for (int i = RowStart(rows, k); i <= r.nLast; i++) {
      r.cy = std::max(r.cy, btns[i]->m_cy);
      if (!(i == r.nLast && IsSep(btns, i)))
        r.cx += btns[i]->m_cx;
    }
    r.bSep = r.nLast >= 0 && IsSep(btns, r.nLast);
  }
}

void SECBuildRows(const SECBtnVector& btns, int nWidth, std::vector<SECTBRow>& rows)
{
  rows.clear();
  int n = (int)btns.size();
  int nStart = 0, w = 0;
  for (int i = 0; i < n; i++) {
    int bw = btns[i]->m_cx;
    if (w + bw <= nWidth + 2) {
      w += bw;
      continue;
    }
    if (i == nStart)
      continue;  // a single button wider than the row stays in it, uncounted
    int j = i;
    while (j >= nStart && !IsSep(btns, j))
      j--;
    if (j >= nStart) {
      rows.push_back({j, TRUE, 0, 0});
      nStart = j + 1;
      i = j;
      w = 0;
    } else {
      rows.push_back({i - 1, FALSE, 0, 0});
      nStart = i;
      w = 0;
      i--;  // the overflowing button starts the next row
    }
  }
  if (nStart < n || rows.empty())
    rows.push_back({n - 1, FALSE, 0, 0});
  if (n > 0)
    SECMeasureRows(btns, rows);
}

void SECBalanceRows(const SECBtnVector& btns, std::vector<SECTBRow>& rows)
{
  for (int nGuard = 0; nGuard < 10000; nGuard++) {
    size_t k = 0;
    for (size_t r = 0; r < rows.size(); r++)
      if (rows[r].cx >= rows[k].cx)
        k = r;
    if (k + 1 >= rows.size())
      return;
    int nWidest = rows[k].cx;
    if (rows[k].bSep) {
      int g = 0;
      int j = InnerGroup(btns, rows, k, g);
      if (j < 0)
        return;
      bool bMove = rows[k + 1].cx + g < nWidest;
      for (size_t r = k + 1; !bMove; r++) {
        // look ahead: the next row can pass its own trailing group further on
        if (!rows[r].bSep || r + 1 >= rows.size())
          break;
        int g2 = 0;
        if (InnerGroup(btns, rows, r, g2) < 0)
          break;
        if (rows[r + 1].cx + g2 < nWidest)
          bMove = true;
      }
      if (!bMove)
        return;
      rows[k].nLast = j;
      rows[k].bSep = TRUE;
      rows[k].cx -= g;
      rows[k + 1].cx += g;
    } else {
      int nStart = RowStart(rows, k);
      if (rows[k].nLast - nStart + 1 < 2)
        return;
      int wb = btns[rows[k].nLast]->m_cx;
      bool bMove = rows[k + 1].cx + wb < nWidest;
      if (!bMove && !rows[k + 1].bSep && k + 2 < rows.size()) {
        size_t r = k + 2;
        while (r + 1 < rows.size() && !rows[r].bSep)
          r++;
        bMove = rows[r].cx + wb <= nWidest;
      }
      if (!bMove)
        return;
      rows[k].nLast--;
      rows[k].cx -= wb;
      rows[k].bSep = IsSep(btns, rows[k].nLast);
      rows[k + 1].cx += wb;
    }
  }
}

CSize SECWrapButtons(const SECBtnVector& btns, int nLength, BOOL bHeight, CSize sizeButton,
                     int nSepWidth, const std::function<void(std::vector<SECTBRow>&)>& balance)
{
  int n = (int)btns.size();
  if (n == 0)
    return CSize(0, 0);
  int nMinW = INT_MAX, nMaxW = 0;
  for (SECStdBtn* p : btns) {
    nMinW = std::min(nMinW, p->m_cx);
    nMaxW = std::max(nMaxW, p->m_cx);
  }
  std::vector<SECTBRow> rows;
  if (!bHeight) {
    SECBuildRows(btns, std::max(nLength, nMaxW), rows);
  } else {
    int nStep = sizeButton.cx;
    int nFit = sizeButton.cy > 0 ? nLength / sizeButton.cy : 0;
    int nWidth = nFit >= 1 ? std::max(n * sizeButton.cx / nFit, nMinW) : 32767;
    SECBuildRows(btns, nWidth, rows);
    int h = TotalHeight(rows, nSepWidth);
    if (h < nLength) {
      while (nWidth > nMinW) {
        int nTry = std::max(nWidth - nStep, nMinW);
        std::vector<SECTBRow> tryRows;
        SECBuildRows(btns, nTry, tryRows);
        int hTry = TotalHeight(tryRows, nSepWidth);
        if (hTry > nLength)
          break;  // one step back: keep the previous rows
        nWidth = nTry;
        rows.swap(tryRows);
        if (hTry == nLength)
          break;
      }
    } else {
      while (h > nLength && h > sizeButton.cy && nWidth < 32767) {
        nWidth += nStep;
        SECBuildRows(btns, nWidth, rows);
        h = TotalHeight(rows, nSepWidth);
      }
    }
  }
  if (balance)
    balance(rows);
  SECMeasureRows(btns, rows);
  for (SECStdBtn* p : btns)
    p->m_nStyle &= ~SEC_TBBS_WRAPPED;
  for (size_t k = 0; k + 1 < rows.size(); k++)
    btns[rows[k].nLast]->m_nStyle |= SEC_TBBS_WRAPPED;
  int cx = 0;
  for (const SECTBRow& r : rows)
    cx = std::max(cx, r.cx);
  return CSize(cx, TotalHeight(rows, nSepWidth));
}

void SECPlaceButtons(const SECBtnVector& btns, CPoint pt, int nSepWidth)
{
  int x = pt.x, y = pt.y;
  size_t nRowStart = 0;
  for (size_t i = 0; i < btns.size(); i++) {
    bool bEnd = (btns[i]->m_nStyle & SEC_TBBS_WRAPPED) || i + 1 == btns.size();
    btns[i]->SetPos(x, y);
    x += btns[i]->m_cx;
    if (!bEnd)
      continue;
    int cy = 0;
    for (size_t j = nRowStart; j <= i; j++)
      cy = std::max(cy, btns[j]->m_cy);
    for (size_t j = nRowStart; j <= i; j++)
      if ((btns[j]->m_nStyle & SEC_TBBS_VCENTER) && btns[j]->m_cy < cy)
        btns[j]->SetPos(btns[j]->m_x, y + (cy - btns[j]->m_cy) / 2);
    x = pt.x;
    y += cy + ((btns[i]->m_nStyle & SEC_TBBS_SEPARATOR) ? nSepWidth * 2 / 3 : 0);
    nRowStart = i + 1;
  }
}

int SECHitTestButtons(const SECBtnVector& btns, int x, int y, int nBtnHeight, CRect* pRect)
{
  size_t i = 0;
  while (i < btns.size()) {
    const SECStdBtn* first = btns[i];
    if (y < first->m_y)
      return -1;
    if (y < first->m_y + nBtnHeight) {
      for (size_t j = i; j < btns.size(); j++) {
        const SECStdBtn* b = btns[j];
        if (x >= b->m_x && x <= b->m_x + b->m_cx) {
          if (b->m_nStyle & SEC_TBBS_SEPARATOR)
            return -1;
          if (pRect != NULL)
            *pRect = b->GetRect();
          return (int)j;
        }
        if (b->m_nStyle & SEC_TBBS_WRAPPED)
          break;
      }
      return -1;
    }
    while (i < btns.size() && !(btns[i]->m_nStyle & SEC_TBBS_WRAPPED))
      i++;
    i++;
  }
  return -1;
}

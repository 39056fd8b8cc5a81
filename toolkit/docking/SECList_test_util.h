// Test scaffolding shared by the list control's tests: a parent window that records the
// notifications it gets (and answers display-information requests), a list that records its
// hooks, and a 32-bit DIB to paint into.
#pragma once

#include "SECListCtrl.h"
#include "gtest_wine.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

struct NotifyRecord {
  int code;
  int iItem;
  int iSubItem;
  UINT mask;
  std::string text;   // LVN_ENDLABELEDIT: the text sent (empty for null)
  bool textNull;
  LPARAM lParam;
  HWND hwndFrom;
  UINT_PTR idFrom;
  WORD vkey;
};

class RecordingParent : public CWnd {
 public:
  std::vector<NotifyRecord> notes;
  std::vector<MSG> other;
  // Texts the parent answers for LVN_GETDISPINFO (item, sub-item); with setItem the answer
  // carries LVIF_DI_SETITEM so that the list keeps it.
  std::map<std::pair<int, int>, std::string> dispTexts;
  bool setItem = false;
  LRESULT beginEditAnswer = 0;
  LRESULT endEditAnswer = 1;
  std::string endEditReplace;  // when set, the parent changes the committed text
  std::string answerBuf;

  explicit RecordingParent(int cx = 300, int cy = 200)
  {
    CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS), "List host", WS_POPUP | WS_VISIBLE, 0, 0, cx,
             cy, NULL, NULL);
  }
  ~RecordingParent()
  {
    if (m_hWnd != NULL)
      DestroyWindow();
  }
  int Count(int code) const
  {
    int n = 0;
    for (const NotifyRecord& r : notes)
      n += r.code == code;
    return n;
  }
  const NotifyRecord* Last(int code) const
  {
    for (auto it = notes.rbegin(); it != notes.rend(); ++it)
      if (it->code == code)
        return &*it;
    return nullptr;
  }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
  {
    if (message == WM_NOTIFY) {
      NMHDR* hdr = (NMHDR*)lParam;
      NotifyRecord r = {};
      r.code = (int)hdr->code;
      r.hwndFrom = hdr->hwndFrom;
      r.idFrom = hdr->idFrom;
      LRESULT result = 0;
      switch (hdr->code) {
        case LVN_GETDISPINFOA: {
          NMLVDISPINFOA* di = (NMLVDISPINFOA*)lParam;
          r.iItem = di->item.iItem;
          r.iSubItem = di->item.iSubItem;
          r.mask = di->item.mask;
          auto it = dispTexts.find({di->item.iItem, di->item.iSubItem});
          if ((di->item.mask & LVIF_TEXT) && it != dispTexts.end()) {
            answerBuf = it->second;
            di->item.pszText = (LPSTR)answerBuf.c_str();
            if (setItem)
              di->item.mask |= LVIF_DI_SETITEM;
          }
          break;
        }
        case LVN_BEGINLABELEDITA:
        case LVN_ENDLABELEDITA: {
          NMLVDISPINFOA* di = (NMLVDISPINFOA*)lParam;
          r.iItem = di->item.iItem;
          r.iSubItem = di->item.iSubItem;
          r.mask = di->item.mask;
          r.lParam = di->item.lParam;
          r.textNull = di->item.pszText == NULL;
          if (di->item.pszText != NULL)
            r.text = di->item.pszText;
          if (r.code == LVN_BEGINLABELEDITA) {
            result = beginEditAnswer;
          } else {
            result = endEditAnswer;
            if (!endEditReplace.empty() && di->item.pszText != NULL)
              strcpy(di->item.pszText, endEditReplace.c_str());
          }
          break;
        }
        case LVN_DELETEITEM:
        case LVN_INSERTITEM: {
          NMLISTVIEW* nm = (NMLISTVIEW*)lParam;
          r.iItem = nm->iItem;
          r.lParam = nm->lParam;
          break;
        }
        case LVN_KEYDOWN:
          r.vkey = ((NMLVKEYDOWN*)lParam)->wVKey;
          break;
      }
      notes.push_back(r);
      return result;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

// A list that records its hooks and can veto selection changes.
class TestList : public SECListCtrl {
 public:
  int vetoItem = -2;  // OnItemChanging answers TRUE for this item
  std::vector<int> changed;
  std::vector<LVITEMA> setDispInfo;
  std::vector<std::string> setDispTexts;
  int beginDrags = 0, beginRightDrags = 0;
  int paints = 0;

  BOOL OnItemChanging(int nItem, int, BOOL) override { return nItem == vetoItem; }
  void OnItemChanged(int nItem, int, BOOL) override { changed.push_back(nItem); }
  void OnSetDispInfo(LVITEMA* p) override
  {
    setDispInfo.push_back(*p);
    setDispTexts.push_back(p->pszText != NULL && p->pszText != LPSTR_TEXTCALLBACKA ? p->pszText : "");
  }
  void OnBeginDrag(int, int, int) override { beginDrags++; }
  void OnBeginRightDrag(int, int, int) override { beginRightDrags++; }
  void Paint(CDC* pDC) override
  {
    paints++;
    SECListCtrl::Paint(pDC);
  }
  using SECListBaseC::m_nCurColumn;
};

// A top-down 32-bit DIB section selected into a memory DC.
class Dib {
 public:
  CDC dc;
  DWORD* bits = nullptr;
  int cx, cy;

  Dib(int w, int h) : cx(w), cy(h)
  {
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = w;
    bmi.bmiHeader.biHeight = -h;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    hbm = ::CreateDIBSection(NULL, &bmi, DIB_RGB_COLORS, (void**)&bits, NULL, 0);
    dc.CreateCompatibleDC(NULL);
    old = ::SelectObject(dc.m_hDC, hbm);
  }
  ~Dib()
  {
    ::SelectObject(dc.m_hDC, old);
    dc.DeleteDC();
    ::DeleteObject(hbm);
  }
  COLORREF At(int x, int y) const
  {
    DWORD p = bits[y * cx + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  void Fill(COLORREF c)
  {
    for (int i = 0; i < cx * cy; i++)
      bits[i] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
  }
  // Pixels in the rectangle that differ from the colour.
  int CountNot(COLORREF c, int l, int t, int r, int b) const
  {
    int n = 0;
    for (int y = t; y < b; y++)
      for (int x = l; x < r; x++)
        n += At(x, y) != c;
    return n;
  }
  int Count(COLORREF c, int l, int t, int r, int b) const
  {
    return (r - l) * (b - t) - CountNot(c, l, t, r, b);
  }

 private:
  HBITMAP hbm;
  HGDIOBJ old;
};

inline void MakeList(TestList& list, CWnd& parent, DWORD style, DWORD exStyle, int cx, int cy,
                     UINT id = 101)
{
  RECT rc = {0, 0, cx, cy};
  ASSERT_TRUE(list.CreateList(WS_CHILD | WS_VISIBLE | style, exStyle, rc, &parent, id));
}

// Caption buttons without windows of their own: filters of a frame's message filter tree that
// place buttons in the frame's caption (or in an MDI frame's menu row), draw them in the
// frame's window DC, follow the mouse while one is pressed (with an optional press-and-hold
// timer) and post the button's command when it is released over it.
#ifndef QUORVEL_SECCAPTIONFILTERS_H
#define QUORVEL_SECCAPTIONFILTERS_H

#include "SECMsgFilter.h"

class SECNcMsgFilter : public SECMsgFilter {
  DECLARE_DYNCREATE(SECNcMsgFilter)

 public:
  explicit SECNcMsgFilter(CWnd* pFrame = NULL, int nID = -1) : SECMsgFilter(pFrame, nID) {}
  SECNcMsgFilter(const SECNcMsgFilter& src) : SECMsgFilter(src) {}
  virtual SECMsgFilter* Clone() const override { return new SECNcMsgFilter(*this); }
};

class SECCaptionMsgFilter : public SECNcMsgFilter {
  DECLARE_DYNCREATE(SECCaptionMsgFilter)

 public:
  explicit SECCaptionMsgFilter(CWnd* pFrame = NULL, int nID = -1) : SECNcMsgFilter(pFrame, nID) {}
  SECCaptionMsgFilter(const SECCaptionMsgFilter& src) : SECNcMsgFilter(src) {}
  virtual SECMsgFilter* Clone() const override { return new SECCaptionMsgFilter(*this); }

  // The caption bar in the frame's window coordinates.
  virtual CRect GetCaptionRect();
  // (metric(cx) - 2, metric(cy) - 4).
  virtual CSize GetMetricSize(int nMetricX, int nMetricY);
  virtual CSize GetButtonSize();
  // The top-left of the rightmost button.
  virtual CPoint GetFirstButtonPos(const CRect& rectCaption, const CSize& sizeButton);
};

class SECCaptionControlMsgFilterTimer;

// One button; ids 0-4 are the caption types (close, minimize, maximize, restore, help).
class SECCaptionControlMsgFilter : public SECCaptionMsgFilter {
  DECLARE_DYNCREATE(SECCaptionControlMsgFilter)

 public:
  enum { modeClick = 0, modeRightButton = 1, modeHeld = 2 };

  explicit SECCaptionControlMsgFilter(CWnd* pFrame = NULL, int nID = -1, UINT nState = 0,
                                      UINT nType = DFC_CAPTION);
  SECCaptionControlMsgFilter(const SECCaptionControlMsgFilter& src);
  virtual ~SECCaptionControlMsgFilter();
  virtual SECMsgFilter* Clone() const override { return new SECCaptionControlMsgFilter(*this); }
  virtual DWORD OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                LRESULT* pResult) override;

  virtual void Draw();
  virtual BOOL HitTest(CPoint ptScreen);
  virtual void OnButtonDown(int x, int y);
  virtual void OnButtonUp(int x, int y);
  virtual void OnButtonHeld(int x, int y);
  virtual void OnTrackMove(int x, int y);
  virtual void PostCommand(int nMode, int x, int y);
  virtual BOOL GetCommand(int nMode, int x, int y, HWND& hWnd, UINT& message, WPARAM& wParam,
                          LPARAM& lParam);
  virtual void BeginTracking(BOOL bPushed, BOOL bRedraw);
  virtual void EndTracking(BOOL bClearPushed, BOOL bRedraw);
  virtual void KillHoldTimer();
  virtual void StartHoldTimer(int x, int y);
  // Whether the button shows on its frame now; pbDisabled: shown but greyed.
  virtual BOOL IsButtonVisible(BOOL* pbDisabled = NULL);

  BOOL HasCaptionType() const { return m_nID >= 0 && m_nID <= 4; }

  CRect m_rect;        // window coordinates of the frame; empty while hidden
  UINT m_nType;        // DrawFrameControl type
  UINT m_nState;       // DrawFrameControl state: caption type, DFCS_INACTIVE, DFCS_PUSHED
  BOOL m_bTracking;
  int m_nHoldDelay;    // ms; -1 no hold action, 0 the hold action on the press
  SECCaptionControlMsgFilterTimer* m_pHoldTimer;
};

// A pressed button's hold timer: fires once, only while its button still tracks.
class SECCaptionControlMsgFilterTimer : public CWnd {
 public:
  // The window, timer set, or NULL when it cannot be made.
  static SECCaptionControlMsgFilterTimer* Make(SECCaptionControlMsgFilter* pOwner, int nDelay,
                                               int x, int y, CWnd* pFrame);

  SECCaptionControlMsgFilter* m_pOwner;
  int m_nDelay;
  BOOL m_bTimerSet;
  BOOL m_bFired;
  int m_x, m_y;

 protected:
  SECCaptionControlMsgFilterTimer(SECCaptionControlMsgFilter* pOwner, int nDelay, int x, int y);
  BOOL m_bSelfDelete;  // from the end of a successful creation on
  virtual void PostNcDestroy() override
  {
    if (m_bSelfDelete)
      delete this;
  }
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()
};

// A row of buttons laid out from the right of the caption on every message it sees; made
// with the five standard buttons (close, maximize, restore, minimize, help).
class SECCaptionControlListMsgFilter : public SECCaptionMsgFilter {
  DECLARE_DYNCREATE(SECCaptionControlListMsgFilter)

 public:
  explicit SECCaptionControlListMsgFilter(CWnd* pFrame = NULL, int nID = -1);
  SECCaptionControlListMsgFilter(const SECCaptionControlListMsgFilter& src);
  virtual SECMsgFilter* Clone() const override { return new SECCaptionControlListMsgFilter(*this); }
  virtual DWORD OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                LRESULT* pResult) override;
  virtual void LayoutButtons();

  SECMsgFilter::DescriptorTable m_buttons;

 protected:
  void AddStandardButtons();
};

// The row in an MDI frame's menu row (its active child maximized): menu-button metrics, one
// caption height lower.
class SECCapConLstMDIMaxChildMsgFilter : public SECCaptionControlListMsgFilter {
  DECLARE_DYNCREATE(SECCapConLstMDIMaxChildMsgFilter)

 public:
  explicit SECCapConLstMDIMaxChildMsgFilter(CWnd* pFrame = NULL, int nID = -1)
      : SECCaptionControlListMsgFilter(pFrame, nID) {}
  SECCapConLstMDIMaxChildMsgFilter(const SECCapConLstMDIMaxChildMsgFilter& src)
      : SECCaptionControlListMsgFilter(src) {}
  virtual SECMsgFilter* Clone() const override { return new SECCapConLstMDIMaxChildMsgFilter(*this); }
  virtual CSize GetButtonSize() override;
  virtual CPoint GetFirstButtonPos(const CRect& rectCaption, const CSize& sizeButton) override;
};

// Applies a window's filter table (the values in table order), then resets every standard
// button of the caption list (SEC_FILTER_CAPTIONLIST) to the system's own.
void SECApplyFilterTable(SECMsgFilter* pRoot, const SECMsgFilter::DescriptorTable& table,
                         const BOOL* pValues);

// The on/off values of a child frame's five caption filters (system-command extension,
// caption list, state button, right double-click, context menu) for its flags: bit 1 on at
// all, bit 2 no caption controls, bit 4 no right double-click, bit 8 no context menu.
void SECCaptionFilterValues(DWORD dwFlags, BOOL values[5]);

// The registered extended system command, "Ravelle::WM_SYSCOMMANDEX".
UINT SECGetSysCommandExMessage();
// For that message: offers it to the filter tree and gives its result (0 when the message
// comes from another thread: its parameters may point into the sender's memory); TRUE.
// FALSE for every other message.
BOOL SECFilterSysCommandEx(SECMsgFilter* pRoot, UINT message, WPARAM wParam, LPARAM lParam,
                           LRESULT* pResult);

#endif  // QUORVEL_SECCAPTIONFILTERS_H

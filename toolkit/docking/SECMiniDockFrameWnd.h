// The toolkit's floating frame: the class library's mini frame holding a toolkit dock bar,
// moved and sized in one step, brought to the top without activation when it is clicked, and
// handing caption drags, border drags and double clicks to its bar's dock context.
#ifndef QUORVEL_SECMINIDOCKFRAMEWND_H
#define QUORVEL_SECMINIDOCKFRAMEWND_H

#include <afxext.h>
#include "SECDockBar.h"

class SECMiniDockFrameWnd : public CMiniDockFrameWnd {
  DECLARE_DYNCREATE(SECMiniDockFrameWnd)

 public:
  SECMiniDockFrameWnd();
  virtual ~SECMiniDockFrameWnd();

  virtual CDockBar* GetDockBar() override { return &m_wndSECDockBar; }
  // Lays the frame out round its bars and puts it at screen point (x, y) in one move.
  virtual void RecalcLayoutAt(int x, int y, BOOL bUnused = FALSE);

  SECDockBar m_wndSECDockBar;

 protected:
  CDockContext* FirstBarContext();
  void BringToTop();
  afx_msg void OnClose();
  afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
  afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
  afx_msg void OnParentNotify(UINT message, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

#endif  // QUORVEL_SECMINIDOCKFRAMEWND_H

// A control bar holding a frame window (SECFrameBar), and the frame meant to live in one
// (SECDockableFrame): a document view that docks, floats and drags like a bar, its caption
// handled through the frame's message filter tree.
#ifndef QUORVEL_SECDOCKABLEFRAME_H
#define QUORVEL_SECDOCKABLEFRAME_H

#include "SECControlBar.h"
#include "SECFrameWnd.h"
#include "SECMsgFilter.h"

class SECFrameBar : public SECControlBar {
  DECLARE_DYNCREATE(SECFrameBar)

 public:
  SECFrameBar() {}
  virtual ~SECFrameBar() {}
  // The first child window that is a frame window, or NULL.
  CFrameWnd* GetChildFrame() const;
};

class SECMDIFrameWnd;

class SECDockableFrame : public SECFrameWnd {
  DECLARE_DYNCREATE(SECDockableFrame)

 public:
  SECDockableFrame();
  virtual ~SECDockableFrame();

  virtual BOOL DestroyWindow() override;
  virtual BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                         CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL) override;
  virtual void OnUpdateFrameTitle(BOOL bAddToTitle) override;
  virtual void OnUpdateMDIMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenu);
  // Whether the bar holding it floats.
  virtual BOOL IsFloating();
  // Bit 0: caption controls on; with it, bits 1, 2 and 3 each switch one of them off.
  virtual void SetCaptionControls(DWORD dwFlags);

  SECMsgFilter* GetMsgFilter() const { return m_pMsgFilter; }
  // The bar holding the frame (its parent), or NULL.
  CControlBar* GetParentBar() const;

  HMENU m_hMenuShared;  // from the document template; not owned

 protected:
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Offers the message being handled to the filter tree; TRUE when a filter handled it.
  BOOL FilterCurrent();
  void FilterAfterDefault();

  SECMsgFilter* m_pMsgFilter;
  SECMsgFilter::DescriptorTable m_filterTable;

  afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
  afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
  afx_msg void OnNcRButtonDown(UINT nHitTest, CPoint point);
  afx_msg void OnNcRButtonUp(UINT nHitTest, CPoint point);
  afx_msg void OnNcRButtonDblClk(UINT nHitTest, CPoint point);
  afx_msg BOOL OnNcActivate(BOOL bActive);
  afx_msg void OnNcPaint();
  afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg void OnParentNotify(UINT message, LPARAM lParam);
  afx_msg void OnDestroy();
  // The toolkit's MDI frame this frame belongs to (its parent frame, else the main window).
  SECMDIFrameWnd* GetToolkitMDIFrame() const;
  void MakeActiveDockedChild();
  DECLARE_MESSAGE_MAP()
};

#endif  // QUORVEL_SECDOCKABLEFRAME_H

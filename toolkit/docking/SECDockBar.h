// The toolkit's dock bar: bars of a row share the row's length by their shares, rows and
// neighbouring bars are parted by splitters, rows of width-driven bars keep the positional
// layout, a bar can be expanded to fill its row, and a bar that leaves keeps its place.
#ifndef QUORVEL_SECDOCKBAR_H
#define QUORVEL_SECDOCKBAR_H

#include <afxext.h>
#include <vector>

class SECControlBar;

class SECDockBar : public CDockBar {
  DECLARE_DYNCREATE(SECDockBar)

 public:
  explicit SECDockBar(BOOL bFloating = FALSE, int nKind = 0);
  virtual ~SECDockBar();

  // Layout moves go without redrawing while on; the redraw list repaints what moved.
  static BOOL s_bRedrawSwitch;

  // A draggable strip between bars of a row (in-row, vertical in a top dock bar) or beside
  // a row; index: the bar before it (in-row) or the row's first entry.
  struct Splitter {
    BOOL bVertical;
    BOOL bInRow;
    CRect rect;
    int nIndex;
  };
  // A 2-pixel line on the side of a row away from the frame's client area.
  struct ClientEdge {
    BOOL bVertical;
    CRect rect;
  };
  // Row, column, flags: bit 0 rows from the last, bit 1 columns from the row's end, bit 2 a
  // new row before the given one.
  struct Position {
    int nRow, nCol, nFlags;
  };

  virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  virtual void DoPaint(CDC* pDC) override;

  virtual BOOL IsBarExpanded(CControlBar* pBar);
  virtual BOOL IsAloneInRow(CControlBar* pBar);
  virtual void DockControlBarAtPos(CControlBar* pBar, const Position& pos);
  virtual void DockControlBarAt(CControlBar* pBar, int nCol, int nRow);
  virtual void GetRowBars(CPtrArray& arr, CControlBar* pBar);
  virtual void ExpandBar(CControlBar* pBar, int nMode);  // 1 expand, 2 contract
  virtual void OnBarVisibilityChanged(CControlBar* pBar);
  virtual void UpdateMinShare();
  virtual int InsertAtRowCol(CControlBar* pBar, const Position& pos);
  virtual int InsertAt(int nIndex, CControlBar* pBar);
  // How far a splitter may move (client coordinates across it): in a row each bar keeps 24
  // pixels; beside a row the row and the frame's view keep 19 each.
  virtual void GetSplitterLimits(const Splitter& splitter, int& nMin, int& nMax);
  // Moves a splitter by nDelta pixels: a row splitter changes the row's thickness, an
  // in-row one moves length between the neighbours.
  virtual void ApplySplitterDelta(const Splitter& splitter, int nDelta);
  // The splitter under a client point (the last added wins), or NULL.
  const Splitter* SplitterAt(CPoint pt) const;
  // Follows the mouse from a press on a splitter until release (the movement) or Escape, a
  // right-button press or lost capture (0).
  int TrackSplitter(const Splitter& splitter, CPoint ptStart);

  // The outline of a bar dragged over this dock bar (rect, screen, in and out): in the row under
  // the outline's centre the bar would take its share of the row's length at the row's
  // thickness, shrunk round the mouse; over an empty row or no row, the whole length. The row,
  // the outline and the mouse point are kept for the next move, which only moves the outline
  // while it stays over the same shared row.
  void CalcDragRect(CControlBar* pBar, CRect& rect, CPoint pt, int& nLastRow, CRect& rectLast,
                    CPoint& ptLast);
  void InsertBarAt(CControlBar* pBar, int nCol, int nRow);
  void DockControlBar(CControlBar* pBar, LPCRECT lpRect = NULL);
  void ReDockControlBar(CControlBar* pBar, LPCRECT lpRect = NULL);
  BOOL FindBarRow(CControlBar* pBar, int& nRow, int& nCol, int& nThick);
  CControlBar* GetFirstDockedBar() const;
  // The first index of the row holding the entry, and the index of its row end.
  int RowStart(int nIndex) const;
  int RowEnd(int nIndex) const;
  // Normalises the shares of the row starting at nFirst around the changed bar.
  void NormalizeRowShares(int nFirst);

  int m_nKind;
  float m_fMinShare;
  BOOL m_bLayoutPending;
  SECControlBar* m_pChangedBar;
  CPtrArray m_arrRedraw;
  std::vector<Splitter> m_arrSplitters;
  std::vector<ClientEdge> m_arrClientEdges;

 protected:
  BOOL IsHorz() const { return (m_dwStyle & CBRS_ORIENT_HORZ) != 0; }
  DWORD BarMode(CControlBar* pBar) const;
  void MarkForRedraw(CControlBar* pBar);
  void MarkFrom(int nIndex);
  CFrameWnd* DockSite() const;

  afx_msg void OnDestroy();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  DECLARE_MESSAGE_MAP()
};

#endif  // QUORVEL_SECDOCKBAR_H

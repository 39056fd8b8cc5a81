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

  // Layout moves go without redrawing while on; the redraw list repaints what moved. On from
  // program start; a dock bar answering a size request sets it to its layout-pending flag
  // for the duration of the request.
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
  // Repaints the dock bar (and, through its painting, the bars of the redraw list) when
  // anything is listed; the frame calls it after each layout.
  virtual void RedrawChangedBars();
  virtual void AddSplitter(BOOL bInRow, BOOL bVertical, const CRect& rect, int nIndex);
  virtual void AddClientEdge(BOOL bVertical, const CRect& rect);
  // Lists the customisable toolbars of the bar's row for repainting.
  virtual void MarkRowToolBarsForRedraw(CControlBar* pBar);
  // One step of share clamping: the carry is added to the bar's share; a share below the
  // minimum is raised to it and the carry becomes what was added (negative), else 0.
  virtual void ClampShare(float& fCarry, SECControlBar* pBar);
  // Where a bar dropped at a rectangle (client) with that centre goes: before the first bar
  // reaching the centre that starts after the rectangle's leading edge, after the last bar
  // of that bar's row, a new first row when the centre is before every row, else a new last
  // row. Returns the bar's index.
  virtual int InsertAtPoint(CControlBar* pBar, const CRect& rect, CPoint ptMid);
  // A row break and the bar before the first docked entry.
  virtual int InsertAsFirstRow(CControlBar* pBar);
  // The index a rectangle (client) points at: in the row its centre falls into (rows measured
  // by their thickest visible bar less the border size), just after the last visible bar
  // starting before the rectangle's leading edge; the array's end past the last row.
  int GetInsertIndex(const CRect& rect);
  // The row starting at nFirst: its thickness (the thickest bar); committing a thickness to
  // every bar; committing (thickness - delta).
  int RowThickness(int nFirst);
  void SetRowThickness(int nFirst, int nThick);
  void ShrinkRow(int nFirst, int nDelta);
  // Changes a bar's length in a row of nBase shareable pixels by nDelta (never below 18),
  // its share following; returns the part of the delta it could not take.
  int ResizeBarByDelta(CControlBar* pBar, int nDelta, int nBase);
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
  // Docks at a screen rectangle (or, without one, as a new last row).
  void DockControlBar(CControlBar* pBar, LPCRECT lpRect = NULL);
  // Docks again: into the bar's place-holder when there is one, else as DockControlBar.
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
  afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  // Row thickness mode of a bar (and whether cy is the thickness).
  DWORD ThicknessMode(CControlBar* pBar, BOOL& bCy) const;
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  DECLARE_MESSAGE_MAP()
};

#endif  // QUORVEL_SECDOCKBAR_H

// The list box editor: turns a list box of a dialog into an editable list, with a caption
// above it holding up to four small buttons (New, Delete, Move Up, Move Down), in-place
// editing of items, keyboard commands, reordering by drag and drop, and notifications to the
// dialog (WM_COMMAND with the list box's id: 1 selection changed, 10 item deleted, 11 item
// moved).
#ifndef QUORVEL_SECLISTBOXEDITOR_H
#define QUORVEL_SECLISTBOXEDITOR_H

#include <afxwin.h>
#include <afxcmn.h>

// Options.
#define LBE_BROWSE 0x0001         // F2 edits; the edit gets a "..." browse button
#define LBE_AUTOEDIT 0x0002       // typing a character starts an edit with it
#define LBE_BUTTONS 0x0004        // the caption shows its buttons
#define LBE_TOOLTIPS 0x0008       // tooltips for the buttons (with LBE_BUTTONS)
#define LBE_SHORTCUTS 0x0010      // Insert, Delete, Alt+Up and Alt+Down
#define LBE_DRAGNDROP 0x0020      // items reorder by dragging
#define LBE_NOTRAILINGBLANK 0x0040  // no empty new-item line at the end
#define LBE_NEWBUTTON 0x0100
#define LBE_DELBUTTON 0x0200
#define LBE_UPBUTTON 0x0400
#define LBE_DOWNBUTTON 0x0800

// Notification codes to the dialog.
#define LBE_SELCHANGE 1
#define LBE_DELETED 10
#define LBE_MOVED 11

class SECListBoxEditor;

// The in-place edit over an item.
class SECListBoxEdit : public CEdit {
 public:
  SECListBoxEdit(SECListBoxEditor* pEditor, int nIndex, BOOL bNew, int nFormerSel);
  BOOL Create(CListBox* pList, LPCTSTR lpszInitial, CWnd* pBrowse);
  void Commit();
  void Cancel();
  // The browse button is going: the edit must not look at it when it loses the focus.
  void ForgetBrowse() { m_pBrowse = NULL; }

 protected:
  SECListBoxEditor* m_pEditor;
  int m_nIndex;
  BOOL m_bNew;
  int m_nFormerSel;
  BOOL m_bDone;
  CWnd* m_pBrowse;

  void Finish(BOOL bCancelled);
  afx_msg UINT OnGetDlgCode();
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  DECLARE_MESSAGE_MAP()
};

// The subclassed list box.
class SECListBoxEditorHelper : public CListBox {
 public:
  explicit SECListBoxEditorHelper(SECListBoxEditor* pEditor) : m_pEditor(pEditor) {}
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

 protected:
  SECListBoxEditor* m_pEditor;
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg LRESULT OnEditResult(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

// Tracks a drag of an item to another place; the answer is the place to move it to.
class SECListBoxDragWnd : public CWnd {
 public:
  SECListBoxDragWnd() {}
  // -1 when the drag did not take place or was cancelled.
  int Track(CListBox* pList, int nSource, BOOL bTrailingBlank, CPoint ptStart);

  // Scrolling outside the list: first step, step change and the fastest step, in ms.
  static UINT s_nScrollInitial;
  static UINT s_nScrollStep;
  static UINT s_nScrollMinimum;

 protected:
  void DrawLine(CListBox* pList, int nPlace);
  int PlaceAt(CListBox* pList, CPoint point, int nMovable);
};

// Pressing a caption button: TRUE when released over the button.
class SECFakeButton : public CWnd {
 public:
  BOOL Press(CWnd* pParent, const CRect& rect, CBitmap* pBitmap);

 protected:
  void Draw(CDC* pDC, const CRect& rect, CBitmap* pBitmap, BOOL bPushed);
};

class SECListBoxEditor : public CWnd {
  DECLARE_DYNAMIC(SECListBoxEditor)

 public:
  SECListBoxEditor();
  virtual ~SECListBoxEditor();

  virtual BOOL Initialize(CWnd* pDialog, UINT nListID, DWORD dwOptions = 0xF3E);
  virtual void SetSpaceMovesFocus(BOOL bMoves);
  virtual void EndEdit();
  virtual void OnEditBegin();
  virtual void OnEditEnd();
  virtual void OnItemRenamed(int nIndex, LPCTSTR lpszOld, LPCTSTR lpszNew);
  virtual void OnItemAdded(int nIndex, LPCTSTR lpszText);
  virtual void OnItemMoved(int nOld, int nNew, LPCTSTR lpszText);
  virtual BOOL OnItemDeleting(int nIndex, LPCTSTR lpszText);
  virtual BOOL NewItem();
  virtual void DeleteSelectedItems();
  virtual BOOL MoveItemDown();
  virtual BOOL MoveItemUp();
  virtual BOOL EditItem(UINT nChar);
  virtual int GetButtonAreaHeight();
  virtual void LayoutButtons();
  virtual void UpdateToolTips();
  virtual void RecalcLayout();
  virtual void SetButtons(DWORD dwOptions);
  virtual BOOL StartEdit(int nIndex, BOOL bNew, LPCTSTR lpszInitial);
  virtual BOOL SwapWithPrevious(int nIndex);
  virtual BOOL DeleteItemAt(int nIndex);
  virtual void SetSpaceThreshold(int n);
  virtual void OnBrowse();

  BOOL GetSpaceMovesFocus() const { return m_bSpaceMovesFocus; }
  int GetSpaceThreshold() const { return m_nSpaceThreshold; }
  int GetLastDeleted() const { return m_nLastDeleted; }
  void GetLastMoved(int& nOld, int& nNew) const;
  DWORD GetOptions() const { return m_dwOptions; }
  CListBox* GetListBox() { return m_pList; }
  SECListBoxEdit* GetEdit() { return m_pEdit; }
  BOOL IsEditing() const { return m_pEdit != NULL; }
  CWnd* GetDialog() const { return m_pDialog; }
  // The rectangle of button 0 (New) to 3 (Move Down); empty when absent.
  CRect GetButtonRect(int nButton) const { return m_rcButtons[nButton]; }
  // Runs a caption button's operation.
  BOOL RunButton(int nButton);

  // Internal, between the editor's windows.
  void SetCancelled(BOOL bCancelled) { m_bCancelled = bCancelled; }
  BOOL HasTrailingBlank();
  void NotifyDialog(UINT nCode, BOOL bPost);
  void MoveFocus(BOOL bPrevious);
  void OnListButtonDown(CPoint point, int nFormerSel);

 protected:
  CButton* m_pBrowse;
  CToolTipCtrl m_toolTip;
  SECListBoxEdit* m_pEdit;
  SECListBoxEditorHelper* m_pList;
  CWnd* m_pDialog;
  UINT m_nListID;
  CRect m_rcButtons[4];
  BOOL m_bButtons[4];
  CBitmap m_bitmaps[4];
  DWORD m_dwOptions;
  BOOL m_bInitialized;
  int m_nButtonAreaHeight;
  BOOL m_bCancelled;
  int m_nLastDeleted;
  int m_nMovedFrom;
  int m_nMovedTo;
  CString m_strBeforeEdit;
  BOOL m_bNewItem;
  BOOL m_bSpaceMovesFocus;
  int m_nSpaceThreshold;

  void LoadButtonBitmaps();
  void MoveItem(int nFrom, int nTo);
  // Browse operations of editors of directory and file lists: the chosen path replaces the
  // in-place edit's text (all of it selected); the edit has the focus afterwards either way.
  // FALSE when nothing was chosen or no edit runs.
  BOOL BrowseForDirectory();
  BOOL BrowseForFile();
  void TakeBrowsedPath(LPCTSTR lpszPath);
  CString m_strBrowseTitle;   // the file dialog's title
  CString m_strBrowseFilter;  // its filter ("Text|*.txt||")
  CString m_strDefFileName;   // the name it opens with; empty: the edit's text
  CString m_strDefExt;

  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnMove(int x, int y);
  DECLARE_MESSAGE_MAP()

  friend class SECListBoxEdit;
};

// An editor of a list of directories: its browse button opens the directory dialog (a module
// using it includes the directory dialog's resources, res/browse.rc).
class SECDirListBoxEditor : public SECListBoxEditor {
 public:
  virtual void OnBrowse() override { BrowseForDirectory(); }
};

// An editor of a list of files: its browse button opens the open-file dialog with the title,
// filter, default name and extension given here.
class SECFileListBoxEditor : public SECListBoxEditor {
 public:
  void SetBrowseInfo(LPCTSTR lpszTitle, LPCTSTR lpszFilter, LPCTSTR lpszDefFileName = NULL,
                     LPCTSTR lpszDefExt = NULL);
  virtual void OnBrowse() override { BrowseForFile(); }
};

#endif  // QUORVEL_SECLISTBOXEDITOR_H

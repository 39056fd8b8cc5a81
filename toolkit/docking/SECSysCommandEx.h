// The extended system command: moving a document's view between an MDI child, a docked
// frame and a floating one from its frame's caption (a state button, a right click menu, a
// right double-click), all through the registered "Ravelle::WM_SYSCOMMANDEX" message that a
// filter of the frame's tree carries out.
#ifndef QUORVEL_SECSYSCOMMANDEX_H
#define QUORVEL_SECSYSCOMMANDEX_H

#include <afxext.h>

#include "SECCaptionFilters.h"
#include "SECMDIFrameWnd.h"

class SECMultiDocTemplate;

namespace nsSysCommandEx {

enum {
  cmdExecute = 0xC000,
  cmdQueryMenu = 0xC010,
  cmdTrackMenu = 0xC020,
};

// Flags of the command record.
enum { flagPosition = 1, flagSize = 2 };

// States (also the menu's command ids); their classes are 1 (MDI child), 5 (docked) and 10.
enum {
  stateNone = 0,
  stateMDIChild = 1,
  stateMinimized = 2,
  stateMaximized = 3,
  stateRestored = 4,
  stateDocked = 5,
  stateDockedLeft = 6,
  stateDockedTop = 7,
  stateDockedRight = 8,
  stateDockedBottom = 9,
  stateFloating = 10,
};

// Strings of the state menu.
enum {
  IDS_SCX_DOCKED = 21009,
  IDS_SCX_FLOATING = 21076,
  IDS_SCX_MDICHILD = 21077,
  IDS_SCX_TOP = 21078,
  IDS_SCX_LEFT = 21079,
  IDS_SCX_BOTTOM = 21080,
  IDS_SCX_RIGHT = 21081,
  IDS_SCX_DOCKEDTO = 21082,
  IDS_SCX_MINIMIZED = 21083,
  IDS_SCX_MAXIMIZED = 21084,
  IDS_SCX_RESTORED = 21085,
  IDS_SCX_MDICHILDAS = 21086,
};

// The record a command points to (lParam), owned by the sender.
struct ScxCommandInfo {
  HWND hWnd;
  DWORD dwFlags;
  LONG x, y;
  LONG cx, cy;
  RECT rectButton;
  HMENU hMenu;
  LONG nTargetState;
  const SECDockPosition* pDockPos;
  const SECDockSize* pDockSize;
  BYTE reserved[52];
};

// Sends a command for a frame; the message result.
LRESULT SendCommand(HWND hWnd, UINT nCommand, ScxCommandInfo& info);

class ScxMsgFilter : public SECMsgFilter {
  DECLARE_DYNCREATE(ScxMsgFilter)

 public:
  explicit ScxMsgFilter(CWnd* pFrame = NULL, int nID = -1) : SECMsgFilter(pFrame, nID), m_bIsCopy(FALSE) {}
  ScxMsgFilter(const ScxMsgFilter& src) : SECMsgFilter(src), m_bIsCopy(FALSE) {}
  virtual SECMsgFilter* Clone() const override { return new ScxMsgFilter(*this); }
  virtual DWORD OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                LRESULT* pResult) override;

  virtual DWORD OnTrackMenu(ScxCommandInfo* pInfo, LRESULT* pResult);
  virtual DWORD OnQueryMenu(ScxCommandInfo* pInfo, LRESULT* pResult);
  virtual DWORD OnExecute(ScxCommandInfo* pInfo, LRESULT* pResult);
  virtual HMENU QueryMenu(ScxCommandInfo* pInfo);
  virtual int TrackMenu(HMENU hMenu, ScxCommandInfo* pInfo);
  virtual BOOL ExecuteCommand(int nState, ScxCommandInfo* pInfo);
  virtual HMENU BuildMenu(CFrameWnd* pFrame, int nState);
  virtual HMENU GetMenu(ScxCommandInfo* pInfo);
  virtual CFrameWnd* MakeMDIChild(CFrameWnd* pFrame, int nCurrent, int nTarget,
                                  SECMultiDocTemplate* pTemplate, ScxCommandInfo* pInfo);
  virtual CFrameWnd* MakeDocked(CFrameWnd* pFrame, int nCurrent, int nTarget,
                                SECMultiDocTemplate* pTemplate, ScxCommandInfo* pInfo);
  virtual CFrameWnd* MakeFloating(CFrameWnd* pFrame, int nCurrent, int nTarget,
                                  SECMultiDocTemplate* pTemplate, ScxCommandInfo* pInfo);
  virtual CFrameWnd* ToggleDocking(CFrameWnd* pFrame, SECMultiDocTemplate* pTemplate);
  virtual void FloatBar(CFrameWnd* pFrame, SECMultiDocTemplate* pTemplate, ScxCommandInfo* pInfo);
  virtual CFrameWnd* DockFrame(CFrameWnd* pFrame, UINT nDockBarID, const SECDockPosition* pPos,
                               const SECDockSize* pSize, SECMultiDocTemplate* pTemplate);
  virtual int GetStateClass(int nState);
  virtual int GetDefaultTarget(int nCurrent);
  virtual int GetCurrentState(CFrameWnd* pFrame, SECMultiDocTemplate* pTemplate);
  virtual CDocTemplate* FindDocTemplate(ScxCommandInfo* pInfo, CRuntimeClass* pClass);
  virtual BOOL RunsOnCopy(UINT nCommand);

  BOOL m_bIsCopy;
};

// The window-state button: a click toggles, a right click or a 400 ms hold opens the menu.
class ScxButtonMsgFilter : public SECCaptionControlMsgFilter {
  DECLARE_DYNCREATE(ScxButtonMsgFilter)

 public:
  enum { defaultID = 5120, holdDelay = 400 };
  explicit ScxButtonMsgFilter(CWnd* pFrame = NULL, int nID = defaultID);
  ScxButtonMsgFilter(const ScxButtonMsgFilter& src) : SECCaptionControlMsgFilter(src) {}
  virtual SECMsgFilter* Clone() const override { return new ScxButtonMsgFilter(*this); }
  virtual DWORD OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                LRESULT* pResult) override;
  virtual BOOL IsButtonVisible(BOOL* pbDisabled = NULL) override;
  virtual void Draw() override;
  virtual void PostCommand(int nMode, int x, int y) override;
  // The record of a command (mode as the base's) and the window it goes to.
  virtual BOOL GetCommandInfo(int nMode, int x, int y, ScxCommandInfo& info, UINT& nCommand);
  // The frame the command is about (the button's frame here).
  virtual CWnd* GetTargetFrame();
};

class ScxButtonMDIChildMsgFilter : public ScxButtonMsgFilter {
  DECLARE_DYNCREATE(ScxButtonMDIChildMsgFilter)

 public:
  explicit ScxButtonMDIChildMsgFilter(CWnd* pFrame = NULL, int nID = defaultID)
      : ScxButtonMsgFilter(pFrame, nID) {}
  ScxButtonMDIChildMsgFilter(const ScxButtonMDIChildMsgFilter& src) : ScxButtonMsgFilter(src) {}
  virtual SECMsgFilter* Clone() const override { return new ScxButtonMDIChildMsgFilter(*this); }
  virtual DWORD OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                LRESULT* pResult) override;
  virtual BOOL IsButtonVisible(BOOL* pbDisabled = NULL) override;
};

class ScxButtonMDIMaxChildMsgFilter : public ScxButtonMsgFilter {
  DECLARE_DYNCREATE(ScxButtonMDIMaxChildMsgFilter)

 public:
  explicit ScxButtonMDIMaxChildMsgFilter(CWnd* pFrame = NULL, int nID = defaultID)
      : ScxButtonMsgFilter(pFrame, nID) {}
  ScxButtonMDIMaxChildMsgFilter(const ScxButtonMDIMaxChildMsgFilter& src) : ScxButtonMsgFilter(src) {}
  virtual SECMsgFilter* Clone() const override { return new ScxButtonMDIMaxChildMsgFilter(*this); }
  virtual DWORD OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                LRESULT* pResult) override;
  virtual BOOL IsButtonVisible(BOOL* pbDisabled = NULL) override;
  virtual CWnd* GetTargetFrame() override;
  // The frame's active MDI child while it is maximized.
  CMDIChildWnd* GetMaximizedChild();
};

class ScxCaptionNCRDBLClkFilter : public SECCaptionMsgFilter {
  DECLARE_DYNCREATE(ScxCaptionNCRDBLClkFilter)

 public:
  explicit ScxCaptionNCRDBLClkFilter(CWnd* pFrame = NULL, int nID = -1) : SECCaptionMsgFilter(pFrame, nID) {}
  ScxCaptionNCRDBLClkFilter(const ScxCaptionNCRDBLClkFilter& src) : SECCaptionMsgFilter(src) {}
  virtual SECMsgFilter* Clone() const override { return new ScxCaptionNCRDBLClkFilter(*this); }
  virtual DWORD OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                LRESULT* pResult) override;
};

class ScxNCRDBLClkMDIMaxChildMsgFilter : public SECNcMsgFilter {
  DECLARE_DYNCREATE(ScxNCRDBLClkMDIMaxChildMsgFilter)

 public:
  explicit ScxNCRDBLClkMDIMaxChildMsgFilter(CWnd* pFrame = NULL, int nID = -1) : SECNcMsgFilter(pFrame, nID) {}
  ScxNCRDBLClkMDIMaxChildMsgFilter(const ScxNCRDBLClkMDIMaxChildMsgFilter& src) : SECNcMsgFilter(src) {}
  virtual SECMsgFilter* Clone() const override { return new ScxNCRDBLClkMDIMaxChildMsgFilter(*this); }
  virtual DWORD OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                LRESULT* pResult) override;
};

class ScxContextMenuFilter : public SECMsgFilter {
  DECLARE_DYNCREATE(ScxContextMenuFilter)

 public:
  explicit ScxContextMenuFilter(CWnd* pFrame = NULL, int nID = -1) : SECMsgFilter(pFrame, nID) {}
  ScxContextMenuFilter(const ScxContextMenuFilter& src) : SECMsgFilter(src) {}
  virtual SECMsgFilter* Clone() const override { return new ScxContextMenuFilter(*this); }
  virtual DWORD OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                LRESULT* pResult) override;
};

}  // namespace nsSysCommandEx

#endif  // QUORVEL_SECSYSCOMMANDEX_H

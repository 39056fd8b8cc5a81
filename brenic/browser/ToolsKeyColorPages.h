// The Keyboard and Color Scheme option pages (carried by the options sheet, not shown).
#pragma once
#include <afxwin.h>
#include <afxdlgs.h>
#include "SECButtons.h"

class CToolsKeyBdPropPage : public CPropertyPage
{
    DECLARE_DYNCREATE(CToolsKeyBdPropPage)
public:
    CToolsKeyBdPropPage();

    CComboBox m_startManual;  // 1132, key-table entry 1
    CComboBox m_triggerAuto;  // 1019, entry 2
    CComboBox m_startAuto;    // 1131, entry 0

    // The key a combo stands for: its selection, or the stored key of its entry when it
    // shows none (a key above F6).
    static int ChosenKey(int selection, int storedKey);
    // TRUE when two of the operations would share a key (no key is never a clash).
    static BOOL KeysClash(int startManual, int triggerAuto, int startAuto);

    virtual BOOL OnApply() override;

protected:
    virtual void DoDataExchange(CDataExchange* pDX) override;
    virtual BOOL OnInitDialog() override;
    virtual void OnOK() override;
    afx_msg void OnSelChange();
    DECLARE_MESSAGE_MAP()
};

class CToolsColorPropPage : public CPropertyPage
{
    DECLARE_DYNCREATE(CToolsColorPropPage)
public:
    CToolsColorPropPage();

    SECWellButton m_well;
    COLORREF m_crBackground;
    int m_bDefaultColors;

protected:
    virtual void DoDataExchange(CDataExchange* pDX) override;
    virtual BOOL OnInitDialog() override;
    virtual void OnOK() override;
    afx_msg void OnDefaultColors();
    afx_msg LRESULT OnColorChosen(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void EnableCustomColors();
};

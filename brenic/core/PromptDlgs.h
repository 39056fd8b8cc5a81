// Small modal questions with more answers than a message box: each button ends the dialog
// with its own answer, which the caller compares with the ids of resource.h.
#pragma once
#include <afxwin.h>
#include "resource.h"

// A dialog whose answer buttons end it with the value of their table.
class CAnswerDialog : public CDialog
{
public:
    CAnswerDialog(UINT templateId, CWnd* parent, const UINT* buttons, const INT_PTR* answers,
                  int count);

protected:
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);

private:
    const UINT* m_pButtons;
    const INT_PTR* m_pAnswers;
    int m_nButtons;
};

class CReplaceOptions : public CAnswerDialog
{
public:
    CReplaceOptions(CString text, CWnd* parent = NULL);

protected:
    virtual BOOL OnInitDialog();
    CString m_strText;
};

class CRestoreTempDlg : public CAnswerDialog
{
public:
    explicit CRestoreTempDlg(CWnd* parent = NULL);
};

class CSaveExistingDlg : public CAnswerDialog
{
public:
    // What the "Save" button answers (its control id is another number).
    enum { answerSave = 5 };

    explicit CSaveExistingDlg(CWnd* parent = NULL);

protected:
    virtual BOOL OnInitDialog();
};

class CTransOptDlg : public CAnswerDialog
{
public:
    explicit CTransOptDlg(CWnd* parent = NULL);

protected:
    virtual void OnCancel();
};

class CUnsavedClipsDlg : public CAnswerDialog
{
public:
    explicit CUnsavedClipsDlg(CWnd* parent = NULL);

protected:
    virtual void OnCancel();
};

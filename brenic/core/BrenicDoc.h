// The document of the single-document shell: it holds no data and never loads or saves;
// closing asks the clip panel about unsaved clips.
#pragma once
#include <afxwin.h>

class CBrenicDoc : public CDocument
{
    DECLARE_DYNCREATE(CBrenicDoc)
public:
    CBrenicDoc();
    virtual ~CBrenicDoc();

    virtual void Serialize(CArchive& ar) override;
    virtual BOOL OnNewDocument() override;
    virtual BOOL OnSaveDocument(LPCTSTR lpszPathName) override;
    virtual BOOL CanCloseFrame(CFrameWnd* pFrame) override;
    virtual BOOL DoFileSave() override;

    void SetDefaultTitle();

    // The view of this document (NULL when it has none).
    class CBrenicView* GetBrenicView() const;

protected:
    DECLARE_MESSAGE_MAP()
};

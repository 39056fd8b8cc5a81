// Questions about the application's document templates: which template a document, view and
// frame belong to, how to name a template so that a later run finds it again (its document
// type string and its place among the templates with that string), and which resource id a
// frame was loaded with. Stateless; make one on the stack.
#ifndef QUORVEL_SECDOCTEMPLATEUTILS_H
#define QUORVEL_SECDOCTEMPLATEUTILS_H

#include <afxwin.h>
#include <afxcoll.h>

class SECDocTemplateUtils {
 public:
  SECDocTemplateUtils() {}
  virtual ~SECDocTemplateUtils() {}

  // The template's place among those whose type string (document string 6) is the one
  // given; -1 for a null template, no application or a template it does not list.
  virtual int GetTemplateIndex(CDocTemplate* pTemplate, LPCTSTR lpszTypeString);
  // Match number nIndex of the type string, the last match when there are fewer; NULL when
  // none matches.
  virtual CDocTemplate* FindTemplate(LPCTSTR lpszTypeString, int nIndex);
  virtual CDocTemplate* FindTemplateForView(CDocument* pDoc, CView* pView, CFrameWnd* pFrame);
  virtual UINT GetFrameResourceId(CFrameWnd* pFrame);
  virtual BOOL GetTemplates(CPtrList& list);
  virtual BOOL FilterByViewAndFrame(CPtrList& list, CView* pView, CFrameWnd* pFrame);
  virtual BOOL FilterByFrameResource(CPtrList& list, CFrameWnd* pFrame);
  virtual BOOL FilterByDocument(CPtrList& list, CDocument* pDoc);
  // An empty list gives NULL and TRUE, one entry that one and TRUE, more FALSE.
  virtual BOOL GetSingleTemplate(const CPtrList& list, CDocTemplate*& pTemplate);
  virtual BOOL IsDockableFrameClass(CRuntimeClass* pClass);
  virtual CRuntimeClass* GetTemplateFrameClass(CDocTemplate* pTemplate, BOOL bDockable);

  // Document string 6, the registry file-type name.
  static CString GetTypeString(CDocTemplate* pTemplate);
};

#endif  // QUORVEL_SECDOCTEMPLATEUTILS_H

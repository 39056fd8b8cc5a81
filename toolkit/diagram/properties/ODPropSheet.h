// Property sheets of the drawing editor: the component sheet gathers the values of the
// selected components into one record per page (a member that differs between them shows
// indeterminate) and turns what the user changed into one undoable command; the default sheet
// writes the changes into the viewport's default properties.
#pragma once
#include <afxdlgs.h>
#include <afxtempl.h>
#include "Mvc.h"
#include "MvcCommand.h"
#include "MvcCollections.h"
#include "ODProperty.h"
#include "ODStyleListBox.h"
#include "SECButtons.h"

class CODViewport;
class CODModel;
class CODComponent;

// One member of a page record: text or a number (int, BOOL or COLORREF).
struct ODRecordValue {
    CString text;
    LONG number = 0;
    BOOL operator==(const ODRecordValue& o) const { return text == o.text && number == o.number; }
};

// A page's record. In: word 0 is the model's permission to change properties, each flag TRUE
// when the member is the same on every component. Out: word 0 TRUE when the page changed
// anything, each flag TRUE when that member was changed.
struct ODPageRecord {
    BOOL word0 = FALSE;
    CArray<ODRecordValue, const ODRecordValue&> values;
    CArray<BOOL, BOOL> flags;
    void SetSize(int n)
    {
        values.SetSize(n);
        flags.SetSize(n);
    }
    LONG Number(int i) const { return values[i].number; }
    CString Text(int i) const { return values[i].text; }
};

class CODCompPropPage : public CPropertyPage
{
public:
    CODCompPropPage(UINT templateId, int members);

    // The record shown; the page keeps a working copy of the values.
    virtual void SetPageData(ODPageRecord* record);
    // Writes the result: word 0 TRUE when anything changed, the values, the changed flags.
    virtual void GetPageData(ODPageRecord* record);
    // Sets a member as the user would (it counts as changed).
    void SetMember(int index, const ODRecordValue& value);
    void SetMember(int index, LONG number);
    void SetMember(int index, LPCTSTR text);
    int GetFieldCount() const { return m_nFields; }
    BOOL IsMemberChanged(int index) const { return m_changed[index]; }

protected:
    // Shows a member set from outside in the page's controls.
    virtual void ShowMember(int) {}
    // The user changed the member: it is reported, and the sheet may apply.
    void MarkChanged(int index);
    // A check box of a member: indeterminate (three-state) when the member differs between
    // the components, else its value.
    void ShowCheck(UINT id, int index);
    // A click on such a box: from the first click on it has two states. TRUE when checked.
    BOOL TakeCheckClick(UINT id);

    int m_nFields;
    BOOL m_bEnabled;
    CArray<ODRecordValue, const ODRecordValue&> m_values;
    CArray<BOOL, BOOL> m_same;
    CArray<BOOL, BOOL> m_changed;
    BOOL m_bShowing;
};

// The General page: the name (editable when the components share it), the type, and for an
// image its transparency and transparency colour. Members: 0 name, 1 type, 2 transparent,
// 3 transparency colour, 4 image (not reported).
class CODGeneralCompPP : public CODCompPropPage
{
public:
    enum { idBitmapGroup = 1061, idName = 1062, idNameLabel = 1063, idTransparent = 1064,
           idColor = 1065, idColorLabel = 1066, idType = 1067, idTypeLabel = 1068 };
    CODGeneralCompPP();

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void ShowMember(int) override {}
    afx_msg LRESULT OnColorChosen(WPARAM id, LPARAM colour);
    DECLARE_MESSAGE_MAP()

    SECWellButton m_well;
};

// The Edit page: nine permission boxes. Stretching needs scaling: without scaling the stretch
// permission counts as not given. Members in the order of the boxes' ids below.
class CODEditCompPP : public CODCompPropPage
{
public:
    enum { idPropertyChange = 1034, idReadOnly = 1035, idMove = 1033, idRotate = 1036,
           idScale = 1037, idSelect = 1038, idStretch = 1039, idVertices = 1040,
           idContain = 1030 };
    static const UINT s_ids[9];
    CODEditCompPP();

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void ShowMember(int) override {}
    void OnBoxClick(int member);
};

// The Text page: the text, Multiple Lines (which brings word break with it), Word Break and the
// alignments. Members: 0 text, 1 multiple lines, 2 word break, 3 horizontal (0 left, 1 centre,
// 2 right), 4 vertical (0 top, 4 centre, 8 bottom).
class CODTextCompPP : public CODCompPropPage
{
public:
    enum { idMultipleLines = 1152, idText = 1153, idTextLabel = 1154, idWordBreak = 1156,
           idLeft = 1157, idCenter = 1158, idRight = 1159, idTop = 1160, idMiddle = 1161,
           idBottom = 1162 };
    CODTextCompPP();

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void ShowMember(int) override {}
    // Word break only for multiple lines; the vertical alignment only for a single line.
    void EnableDependents();
};
// The Labels page: nine position buttons and the offsets (-100 to 100). Members: 0 position
// (0 top-left, then clockwise to 7 centre-left, 8 centre), 1 x offset, 2 y offset.
class CODLabelCompPP : public CODCompPropPage
{
public:
    enum { idBottomCenter = 1088, idBottomLeft = 1089, idBottomRight = 1090, idCenter = 1091,
           idCenterLeft = 1092, idCenterRight = 1093, idTopCenter = 1096, idTopLeft = 1097,
           idTopRight = 1098, idX = 1099, idY = 1101 };
    static const UINT s_positionIds[9];  // by position code
    CODLabelCompPP();
    void GetPageData(ODPageRecord* record) override;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* pDX) override;
    void ShowMember(int) override {}
    int ReadPosition();
    int m_nX, m_nY;
};

// The Line page: a colour well, the style and width lists and "Transparent". A thick line is
// always solid and a dashed line always thin, so choosing one disables the other list.
// Members: 0 colour, 1 pen style, 2 width in points, 3 transparent.
class CODLineCompPP : public CODCompPropPage
{
public:
    enum { idColor = 1069, idColorLabel = 1070, idStyle = 1071, idStyleLabel = 1072,
           idWidth = 1073, idWidthLabel = 1074, idTransparent = 1128 };
    CODLineCompPP();
    CODLineStyleListBox& GetStyleList() { return m_styleList; }
    CODLineWidthListBox& GetWidthList() { return m_widthList; }
    SECWellButton& GetColorWell() { return m_well; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void ShowMember(int index) override;
    afx_msg LRESULT OnColorChosen(WPARAM id, LPARAM colour);
    DECLARE_MESSAGE_MAP()

    void ShowRecord();
    void OnListChange(CODSampleListBox& list, int& lastIndex, int member,
                      CODSampleListBox& other, int otherMember);
    void OnTransparentClick();
    // The style and width the page reports, from the lists and what changed.
    void UpdateStyleAndWidth();

    SECWellButton m_well;
    CODLineStyleListBox m_styleList;
    CODLineWidthListBox m_widthList;
    int m_nStyleIndex, m_nWidthIndex;  // the selections last taken
};

// The Fill page: foreground and background colour wells, the hatch list drawn in them,
// "Transparent Fill" and "Transparent Background". Members: 0 foreground, 1 background,
// 2 hatch (255 none), 3 transparent fill, 4 transparent background.
class CODFillCompPP : public CODCompPropPage
{
public:
    enum { idBackground = 1041, idBackgroundLabel = 1042, idForeground = 1043,
           idForegroundLabel = 1044, idHatch = 1045, idHatchLabel = 1046,
           idTransparentBackground = 1048, idTransparentFill = 1049 };
    CODFillCompPP();
    CODHatchListBox& GetHatchList() { return m_hatch; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void ShowMember(int) override {}
    afx_msg LRESULT OnColorChosen(WPARAM id, LPARAM colour);
    DECLARE_MESSAGE_MAP()
    void OnTransparentFillClick();

    SECWellButton m_foreground, m_background;
    CODHatchListBox m_hatch;
    int m_nHatchIndex;  // the selection last taken
};

// The Font page: the installed families (TrueType ones marked), the sizes and styles the chosen
// family offers, Strike-Out, Underline, a colour well and a sample. Members: 0 face, 1 size in
// points, 2 style (64 regular, 32 bold, 1 italic, 33 bold italic), 3 strike-out, 4 underline,
// 5 colour.
class CODFontCompPP : public CODCompPropPage
{
public:
    enum { idName = 1052, idSize = 1054, idStyle = 1058, idStrikeOut = 1057, idUnderline = 1060,
           idColor = 1050, idColorLabel = 1059, idSample = 1055 };
    // Only families whose font type shares a bit with the filter are listed (-1: all).
    explicit CODFontCompPP(int fontTypeFilter = -1);
    CODFontNameListBox& GetNameList() { return m_names; }
    CODFontSizeListBox& GetSizeList() { return m_sizes; }
    CListBox& GetStyleList() { return m_styles; }
    CFont& GetSampleFont() { return m_sample; }
    int GetAvailableStyles() const { return m_nAvailable; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void ShowMember(int) override {}
    afx_msg LRESULT OnColorChosen(WPARAM id, LPARAM colour);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

    static int CALLBACK AddFamily(const LOGFONTA* font, const TEXTMETRICA* metric, DWORD type,
                                  LPARAM page);
    static int CALLBACK AddFace(const LOGFONTA* font, const TEXTMETRICA* metric, DWORD type,
                                LPARAM page);
    BOOL Passes(DWORD type) const { return m_nFilter == -1 || (m_nFilter & (int)type) != 0; }
    void ShowRecord();
    void BuildSizesAndStyles();
    void RebuildSample();
    void OnCheckClick(UINT id, int member);
    // The values the page reports, from its controls.
    void TakeValues();

    int m_nFilter;
    CString m_strSize;
    int m_nStyle, m_nRequestedStyle, m_nAvailable;
    int m_nNameIndex, m_nSizeIndex, m_nStyleIndex;  // the selections last taken
    CODFontNameListBox m_names;
    CODFontSizeListBox m_sizes;
    CListBox m_styles;
    SECWellButton m_well;
    CFont m_sample;
};
// Shows the position and size of one component (four measures: each member the value as text
// and the unit code) with the units' names; changes nothing.
class CODPosSizeCompPP : public CODCompPropPage
{
public:
    enum { idLeftUnit = 1138, idTopUnit = 1139, idLeft = 1144, idTop = 1145, idWidth = 1146,
           idHeight = 1147, idWidthUnit = 1148, idHeightUnit = 1149 };
    CODPosSizeCompPP();

protected:
    BOOL OnInitDialog() override;
    void ShowMember(int) override {}
};

class CODCompPropSheet : public CPropertySheet, public IMvcUndoRedo
{
public:
    // Sheet order of the pages and their mask bits.
    enum Page { pageGeneral, pageEdit, pageText, pageLabels, pageLine, pageFill, pageFont,
                pagePosSize, pageCount };
    static const int s_pageBits[pageCount];

    CODCompPropSheet(CODComponentSet* components, CODViewport* viewport, LPCTSTR caption,
                     int pageMask = -1, CWnd* parent = NULL, UINT firstPage = 0);
    CODCompPropSheet(CODComponentSet* components, CODViewport* viewport, UINT caption,
                     int pageMask = -1, CWnd* parent = NULL, UINT firstPage = 0);
    ~CODCompPropSheet() override;

    INT_PTR DoModal() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    virtual BOOL Create(CWnd* parent, DWORD style, DWORD exStyle);
    virtual void OnOK();
    virtual void OnCancel();
    virtual void OnApply();
    virtual void LoadFromProperties(CODPropertyList* array, int mask);
    virtual void LoadFromComponents(int mask);
    virtual void SaveToProperties(CODPropertyList* array);

    // IMvcUndoRedo over the sheet's own history.
    BOOL Do(MvcCommandBase* command) override { return m_history.Do(command); }
    MvcCommandBase* Undo() override { return m_history.Undo(); }
    MvcCommandBase* Redo() override { return m_history.Redo(); }
    MvcCommandBase* PeekUndo() override { return m_history.GetUndoCommand(); }
    MvcCommandBase* PeekRedo() override { return m_history.GetRedoCommand(); }

    void SetComponents(CODComponentSet* components);
    void SetPageFlags(int mask) { m_nPageMask = mask; }
    int GetPageFlags() const { return m_nPageMask; }
    CODCompPropPage* GetPropPage(int page) const { return m_pages[page]; }
    ODPageRecord* GetRecord(int page) const { return m_records[page]; }
    BOOL IsMarkedReadOnly(CODComponent* c) const;
    // Builds the pages from the values (what DoModal and Create do before showing).
    void PreparePages();
    // The change the pages ask for, or NULL when there is none.
    MvcCommandBase* BuildCommand();
    void RevertChanges();
    MvcCommandHistory* GetHistory() { return &m_history; }

protected:
    void Construct(CODComponentSet* components, CODViewport* viewport, int pageMask);
    // The record of a page, made with its page at the first source (flags TRUE); later
    // sources clear the flags of members that differ.
    ODPageRecord* Record(int page, int count, BOOL& first);
    static void Merge(ODPageRecord* record, BOOL first, int index, const ODRecordValue& value);
    static void Merge(ODPageRecord* record, BOOL first, int index, LONG number);
    void MergeGroup(CODProperty* property, int mask);
    CODCompPropPage* NewPage(int page);
    BOOL ModelAllowsChanges();
    void CollectTargets(CODComponentSet* top, CODComponentSet* all);
    // A property group of the page's kind holding the changed members, with their mask.
    CODProperty* ChangedGroup(int page, DWORD* mask, CDC* dc);
    void AddPages(BOOL defaults);

    CODCompPropPage* m_pages[pageCount];
    BOOL m_bApplied;
    CODViewport* m_pViewport;
    CODModel* m_pModel;
    CODComponentSet m_components;
    int m_nPageMask;
    ODPageRecord* m_records[pageCount];
    CString m_strName, m_strType, m_strSavedName, m_strSavedType;
    BOOL m_bTransparent, m_bSavedTransparent;
    COLORREF m_crTransparent, m_crSavedTransparent;
    CMap<CODComponent*, CODComponent*, int, int> m_readOnly;
    CMap<CODProperty*, CODProperty*, CODProperty*, CODProperty*> m_saved;
    MvcCommandHistory m_history;
};

class CODDefPropSheet : public CODCompPropSheet
{
public:
    CODDefPropSheet(CODPropertyList* defaults, CODViewport* viewport,
                    LPCTSTR caption, CWnd* parent = NULL, UINT firstPage = 0);
    CODDefPropSheet(CODPropertyList* defaults, CODViewport* viewport,
                    UINT caption, CWnd* parent = NULL, UINT firstPage = 0);

    INT_PTR DoModal() override;
    BOOL Create(CWnd* parent, DWORD style, DWORD exStyle) override;
    void OnOK() override;
    void OnCancel() override;
    void OnApply() override;
    void PrepareDefaultPages();
    void RestoreDefaults();

protected:
    CODPropertyList* m_pDefaults;
};

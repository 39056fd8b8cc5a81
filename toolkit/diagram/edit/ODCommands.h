// The undoable commands the editor builds: insertion and deletion, moves, rotations, scaling,
// vertex edits, texts, grouping, drawing order, alignment, property changes and macros. Each
// changes the model, then tells the model's observers what changed (an Update command).
#pragma once
#include <afxtempl.h>
#include "ODCommand.h"
#include "ODModel.h"

class CODTextComponent;

class CODInsertCommand : public CODComponentSetCommand
{
public:
    enum { typeId = 14 };
    explicit CODInsertCommand(CODModel* model) : CODComponentSetCommand(model) {}
    int GetType() override { return typeId; }
    using MvcCommandBase::GetDescription;
    void GetDescription(CString& description) override;
    BOOL Execute() override;
    MvcCommandBase* MakeInverse() override;
    virtual CODInsertCommand* Clone();
};

class CODDeleteCommand : public CODComponentSetCommand
{
public:
    enum { typeId = 15 };
    explicit CODDeleteCommand(CODModel* model) : CODComponentSetCommand(model) {}
    int GetType() override { return typeId; }
    using MvcCommandBase::GetDescription;
    void GetDescription(CString& description) override;
    BOOL Execute() override;
    MvcCommandBase* MakeInverse() override;
    virtual CODDeleteCommand* Clone();
};

class CODMoveCommand : public CODCommand
{
public:
    enum { typeId = 1 };
    explicit CODMoveCommand(CODModel* model, int dx = 0, int dy = 0)
        : CODCommand(model), m_nDx(dx), m_nDy(dy)
    {
    }
    int GetType() override { return typeId; }
    using MvcCommandBase::GetDescription;
    void GetDescription(CString& description) override;
    BOOL Execute() override;
    MvcCommandBase* MakeInverse() override;
    virtual CODMoveCommand* Clone();
    void SetOffset(int dx, int dy)
    {
        m_nDx = dx;
        m_nDy = dy;
    }
    int GetDx() const { return m_nDx; }
    int GetDy() const { return m_nDy; }

protected:
    int m_nDx;
    int m_nDy;
};

class CODRotateCommand : public CODCommand
{
public:
    enum { typeId = 2 };
    explicit CODRotateCommand(CODModel* model, int angle = 0)
        : CODCommand(model), m_nAngle(angle), m_nAspectX(1), m_nAspectY(1)
    {
    }
    int GetType() override { return typeId; }
    using MvcCommandBase::GetDescription;
    void GetDescription(CString& description) override;
    BOOL Execute() override;
    // Turns each component back about the centre it was turned about, recorded by Execute
    // (a component moved since is still turned about that point).
    BOOL Unexecute() override;
    virtual CODRotateCommand* Clone();
    void SetAngle(int angle) { m_nAngle = angle; }
    int GetAngle() const { return m_nAngle; }
    // Values not greater than 0 are ignored.
    void SetAspectRatio(int x, int y);
    CSize GetAspectRatio() const { return CSize(m_nAspectX, m_nAspectY); }

protected:
    int m_nAngle;
    int m_nAspectX;
    int m_nAspectY;
    CMap<CODComponent*, CODComponent*, float, float> m_centreX;
    CMap<CODComponent*, CODComponent*, float, float> m_centreY;
};

class CODScaleCommand : public CODCommand
{
public:
    enum { typeId = 3 };
    CODScaleCommand(CODModel* model, float sx = 1.0f, float sy = 1.0f, int handle = 8)
        : CODCommand(model), m_fSx(sx), m_fSy(sy), m_nHandle(handle)
    {
    }
    int GetType() override { return typeId; }
    using MvcCommandBase::GetDescription;
    void GetDescription(CString& description) override;
    BOOL Execute() override;
    MvcCommandBase* MakeInverse() override;
    virtual CODScaleCommand* Clone();
    void SetScale(float sx, float sy, int handle)
    {
        m_fSx = sx;
        m_fSy = sy;
        m_nHandle = handle;
    }
    float GetScaleX() const { return m_fSx; }
    float GetScaleY() const { return m_fSy; }
    int GetHandle() const { return m_nHandle; }

protected:
    float m_fSx;
    float m_fSy;
    int m_nHandle;
};

// Vertex edits of one component.
class CODVertexCommand : public CODCommand
{
public:
    void SetIndex(int index) { m_nIndex = index; }
    CODVertexCommand(CODModel* model, CODComponent* component, int index, int x, int y);
    int GetIndex() const { return m_nIndex; }
    CPoint GetPoint() const { return m_pt; }

protected:
    int m_nIndex;
    CPoint m_pt;
};

class CODInsertVertexCommand : public CODVertexCommand
{
public:
    enum { typeId = 4 };
    CODInsertVertexCommand(CODModel* model, CODComponent* c, int index, int x, int y)
        : CODVertexCommand(model, c, index, x, y)
    {
    }
    int GetType() override { return typeId; }
    using MvcCommandBase::GetDescription;
    void GetDescription(CString& description) override;
    BOOL Execute() override;
    MvcCommandBase* MakeInverse() override;
    virtual CODInsertVertexCommand* Clone();
};

class CODDeleteVertexCommand : public CODVertexCommand
{
public:
    enum { typeId = 5 };
    CODDeleteVertexCommand(CODModel* model, CODComponent* c, int index)
        : CODVertexCommand(model, c, index, 0, 0)
    {
    }
    int GetType() override { return typeId; }
    using MvcCommandBase::GetDescription;
    void GetDescription(CString& description) override;
    BOOL Execute() override;
    MvcCommandBase* MakeInverse() override;
    virtual CODDeleteVertexCommand* Clone();
};

class CODMoveVertexCommand : public CODVertexCommand
{
public:
    enum { typeId = 6 };
    CODMoveVertexCommand(CODModel* model, CODComponent* c, int index, int dx, int dy)
        : CODVertexCommand(model, c, index, dx, dy)
    {
    }
    int GetType() override { return typeId; }
    using MvcCommandBase::GetDescription;
    void GetDescription(CString& description) override;
    BOOL Execute() override;
    MvcCommandBase* MakeInverse() override;
    virtual CODMoveVertexCommand* Clone();
};

// A property given to components: the command owns the object it is given.
class CODPropertyCommand : public CODCommand
{
public:
    enum { typeId = 7 };
    explicit CODPropertyCommand(CODModel* model, CODProperty* property = NULL);
    ~CODPropertyCommand() override;
    int GetType() override { return typeId; }
    using MvcCommandBase::GetDescription;
    void GetDescription(CString& description) override;
    BOOL Execute() override;
    BOOL Unexecute() override;
    virtual CODPropertyCommand* Clone();
    void SetProperty(CODProperty* property);
    CODProperty* GetProperty() const { return m_pProperty; }
    void SetMask(DWORD mask) { m_dwMask = mask; }
    DWORD GetMask() const { return m_dwMask; }

protected:
    void Forget();
    void CopyTo(CODPropertyCommand* copy);

    CODProperty* m_pProperty;
    DWORD m_dwMask;
    // What each touched component had before: its property of that id, or NULL for none.
    CArray<CODComponent*, CODComponent*> m_touched;
    CArray<CODProperty*, CODProperty*> m_before;
};

// A font group given to components; their texts then fit their boxes to the new font.
class CODFontCommand : public CODPropertyCommand
{
public:
    enum { typeId = 8 };
    explicit CODFontCommand(CODModel* model, CODProperty* font = NULL)
        : CODPropertyCommand(model, font)
    {
    }
    int GetType() override { return typeId; }
    using MvcCommandBase::GetDescription;
    void GetDescription(CString& description) override;
    BOOL Execute() override;
    BOOL Unexecute() override;
    CODFontCommand* Clone() override;

protected:
    CArray<CODComponent*, CODComponent*> m_texts;
    CArray<CRect, CRect> m_bounds;
};

class CODNameCommand : public CODCommand
{
public:
    enum { typeId = 9 };
    explicit CODNameCommand(CODModel* model) : CODCommand(model) {}
    int GetType() override { return typeId; }
    using MvcCommandBase::GetDescription;
    void GetDescription(CString& description) override;
    BOOL Execute() override;
    BOOL Unexecute() override;
    virtual CODNameCommand* Clone();
    void SetName(LPCTSTR name) { m_strName = name; }

protected:
    CString m_strName;
    CStringArray m_oldNames;
};

// A new text for the text components of the set, measured with a recorded mapping.
class CODPortComponent;

// Makes a link along a path between two ports (on its first run only: undo and redo take the
// same link out of the drawing and back).
class CODLinkCommand : public CODCommand
{
public:
    enum { typeId = 12 };
    explicit CODLinkCommand(CODModel* model)
        : CODCommand(model), m_pSource(NULL), m_pTarget(NULL)
    {
    }
    ~CODLinkCommand() override;
    int GetType() override { return typeId; }
    using MvcCommandBase::GetDescription;
    void GetDescription(CString& description) override;
    BOOL Execute() override;
    MvcCommandBase* MakeInverse() override;
    virtual CODLinkCommand* Clone();
    virtual CODComponent* CreateLink();
    void SetPath(const CArray<CPoint, CPoint>& path) { m_path.Copy(path); }
    void SetSourcePort(CODPortComponent* port);
    void SetTargetPort(CODPortComponent* port);

protected:
    CArray<CPoint, CPoint> m_path;
    CODPortComponent* m_pSource;
    CODPortComponent* m_pTarget;
};

// Moves one port of a symbol, joining it to a target port when one is given; undo moves it
// back and joins it again to the ports it was joined to.
class CODMovePortCommand : public CODCommand
{
public:
    enum { typeId = 21 };
    CODMovePortCommand(CODModel* model, int dx, int dy, CODPortComponent* target = NULL)
        : CODCommand(model), m_nDx(dx), m_nDy(dy), m_pTarget(target)
    {
    }
    ~CODMovePortCommand() override { DropConnectedPorts(); }
    int GetType() override { return typeId; }
    using MvcCommandBase::GetDescription;
    void GetDescription(CString& description) override;
    BOOL Execute() override;
    BOOL Unexecute() override;
    virtual CODMovePortCommand* Clone();

protected:
    void DropConnectedPorts();
    int m_nDx, m_nDy;
    CODPortComponent* m_pTarget;
    CCArray_T<CODPortComponent*, CODPortComponent*> m_connected;
};

// Sets whether image components leave their transparent colour out, and which colour that is.
// Only what was set is applied, and only that is given back on undo.
class CODTransparencyCommand : public CODCommand
{
public:
    enum { typeId = 11 };
    explicit CODTransparencyCommand(CODModel* model)
        : CODCommand(model), m_bTransparent(FALSE), m_crTransparent(0), m_bApplyTransparent(FALSE),
          m_bApplyColor(FALSE)
    {
    }
    int GetType() override { return typeId; }
    using MvcCommandBase::GetDescription;
    void GetDescription(CString& description) override;
    BOOL Execute() override;
    BOOL Unexecute() override;
    virtual CODTransparencyCommand* Clone();
    void SetTransparent(BOOL transparent)
    {
        m_bTransparent = transparent;
        m_bApplyTransparent = TRUE;
    }
    void SetTransparentColor(COLORREF colour)
    {
        m_crTransparent = colour;
        m_bApplyColor = TRUE;
    }

protected:
    BOOL m_bTransparent;
    COLORREF m_crTransparent;
    BOOL m_bApplyTransparent;
    BOOL m_bApplyColor;
    CMap<CODComponent*, CODComponent*, int, int> m_oldTransparent;
    CMap<CODComponent*, CODComponent*, COLORREF, COLORREF> m_oldColors;
};

class CODTextCommand : public CODCommand
{
public:
    enum { typeId = 10 };
    explicit CODTextCommand(CODModel* model) : CODCommand(model), m_nMapMode(MM_TEXT) {}
    int GetType() override { return typeId; }
    using MvcCommandBase::GetDescription;
    void GetDescription(CString& description) override;
    BOOL Execute() override;
    BOOL Unexecute() override;
    virtual CODTextCommand* Clone();
    void SetText(LPCTSTR text) { m_strText = text; }
    CString GetText() const { return m_strText; }
    // Records the DC's mapping (MM_TEXT without a DC).
    void SetMapping(CDC* dc);

protected:
    void PrepareMeasureDC(CDC* dc);

    CString m_strText;
    int m_nMapMode;
    CSize m_szWindowExt;
    CSize m_szViewportExt;
    CArray<CODTextComponent*, CODTextComponent*> m_texts;
    CStringArray m_oldTexts;
    CArray<CRect, CRect> m_oldBounds;
};

class CODGroupCommand : public CODComponentSetCommand
{
public:
    enum { typeId = 16 };
    explicit CODGroupCommand(CODModel* model) : CODComponentSetCommand(model), m_pGroup(NULL) {}
    ~CODGroupCommand() override;
    int GetType() override { return typeId; }
    using MvcCommandBase::GetDescription;
    void GetDescription(CString& description) override;
    BOOL Execute() override;
    BOOL Unexecute() override;
    virtual CODGroupCommand* Clone();
    void SetGroup(CODComponent* group);
    CODComponent* GetGroup() const { return m_pGroup; }

protected:
    CODComponent* m_pGroup;
};

class CODUngroupCommand : public CODCommand
{
public:
    enum { typeId = 17 };
    explicit CODUngroupCommand(CODModel* model) : CODCommand(model) {}
    ~CODUngroupCommand() override;
    int GetType() override { return typeId; }
    using MvcCommandBase::GetDescription;
    void GetDescription(CString& description) override;
    BOOL Execute() override;
    BOOL Unexecute() override;
    virtual CODUngroupCommand* Clone();
    BOOL LookupChildren(CODComponent* group, CODComponentSet*& children) const;

protected:
    void Forget();

    CMap<CODComponent*, CODComponent*, CODComponentSet*, CODComponentSet*> m_children;
    CMap<CODComponent*, CODComponent*, int, int> m_groupIndexes;
};

class CODOrderCommand : public CODCommand
{
public:
    enum { typeId = 18 };
    CODOrderCommand(CODModel* model, int kind = 0) : CODCommand(model), m_nKind(kind) {}
    int GetType() override { return typeId; }
    using MvcCommandBase::GetDescription;
    void GetDescription(CString& description) override;
    BOOL Execute() override;
    BOOL Unexecute() override;
    virtual CODOrderCommand* Clone();
    void SetOrder(int kind) { m_nKind = kind; }
    int GetOrder() const { return m_nKind; }

protected:
    int m_nKind;
    CODComponentSet m_before;  // the model's top-level list before (no references)
};

class CODMacroCommand : public CODCommand
{
public:
    enum { typeId = 19 };
    explicit CODMacroCommand(CODModel* model) : CODCommand(model) {}
    ~CODMacroCommand() override;
    int GetType() override { return typeId; }
    using MvcCommandBase::GetDescription;
    void GetDescription(CString& description) override;
    BOOL Execute() override;
    BOOL Unexecute() override;
    typedef CCArray_T<MvcCommandBase*, MvcCommandBase*> CommandList;
    // The macro owns what it is given; its own component set gathers the sub-commands'.
    virtual void AddCommand(MvcCommandBase* command);
    virtual void AddCommands(CommandList* commands);
    virtual void RemoveAllCommands();
    virtual MvcCommandBase* GetCommandAt(int i) const { return m_commands[i]; }
    virtual CommandList* GetCommands() { return &m_commands; }
    int GetCommandCount() const { return (int)m_commands.GetSize(); }
    MvcCommandBase* GetCommand(int i) const { return m_commands[i]; }

protected:
    CommandList m_commands;
};

class CODAlignCommand : public CODMacroCommand
{
public:
    enum { typeId = 20 };
    CODAlignCommand(CODModel* model, int kind = 0) : CODMacroCommand(model), m_nKind(kind) {}
    int GetType() override { return typeId; }
    BOOL Execute() override;
    void SetAlignment(int kind) { m_nKind = kind; }

protected:
    int m_nKind;
};

// The 2-D affine transform of the drawing toolkit (row vectors: a point maps to
// x' = x*m00 + y*m10 + m20, y' = x*m01 + y*m11 + m21) and the per-thread drawing stack.
#pragma once
#include <afxwin.h>
#include <vector>

class CODTransform : public CObject
{
    DECLARE_SERIAL(CODTransform)

public:
    CODTransform();
    CODTransform(const CODTransform& other);
    CODTransform& operator=(const CODTransform& other);
    virtual ~CODTransform() {}

    void Serialize(CArchive& ar) override;

    void SetIdentity();
    BOOL IsIdentity() const;
    BOOL operator==(const CODTransform& other) const;
    BOOL operator!=(const CODTransform& other) const { return !(*this == other); }
    CODTransform operator+(const CODTransform& other) const;
    CODTransform operator-(const CODTransform& other) const;
    CODTransform& operator+=(const CODTransform& other);
    CODTransform& operator-=(const CODTransform& other);
    // Maps through other first, then through this.
    CODTransform operator*(const CODTransform& other) const;
    CODTransform& operator*=(const CODTransform& other);
    float GetElement(int row, int column) const { return m_m[row][column]; }
    float* GetRow(int row) { return m_m[row]; }
    void GetXForm(XFORM* xform) const;
    float GetDeterminant() const;

    void Translate(int dx, int dy);
    void TranslateF(float dx, float dy);
    void SetTranslation(int x, int y);
    void GetTranslation(int* x, int* y) const;
    BOOL HasTranslation() const;
    void Scale(float sx, float sy);
    void ScaleAbout(float sx, float sy, float cx, float cy);
    void Rotate(int angle);
    void RotateAbout(int angle, float cx, float cy, int aspectX, int aspectY);
    int GetRotation() const;
    BOOL IsRotated() const { return GetRotation() != 0; }
    void GetScale(float* sx, float* sy) const;
    BOOL IsScaled() const;
    BOOL IsScaleNonUniform() const;

    CPoint Transform(int x, int y) const;
    void TransformF(float& x, float& y) const;
    void TransformPoints(CPoint* points, int count) const;
    void TransformPoints(const CPoint* source, CPoint* target, int count) const;
    // A singular transform has no inverse: points then stay where they are.
    CPoint InverseTransform(int x, int y) const;
    void InverseTransformPoints(CPoint* points, int count) const;
    void InverseTransformPoints(const CPoint* source, CPoint* target, int count) const;

private:
    float m_m[3][2];
};

// The drawing stack of the calling thread: components push their transforms while they are
// drawn and while their regions are built.
class CODTransformStack
{
public:
    CODTransform& GetTop();
    // Pushes a copy of the top, composed with t so that t applies first.
    void Push(const CODTransform* t);
    CODTransform Pop();
    int GetDepth() const { return (int)m_stack.size(); }

private:
    CODTransform m_base;
    std::vector<CODTransform> m_stack;
};

CODTransformStack* GetTransformStack();

// Collections of the drawing toolkit: an abstract collection walked by position, an array that
// implements it over CArray, and an iterator that drives any collection through the interface.
#pragma once
#include <afx.h>
#include <afxtempl.h>

template <class T>
class ICollection_T;

// Base of positions; a collection makes them and the iterator owns them.
class CCIterPos
{
public:
    virtual ~CCIterPos() {}
};

template <class I>
class CCIterPos_T : public CCIterPos
{
public:
    CCIterPos_T() : index(0) {}
    I index;
};

template <class T>
class ICollection_T
{
public:
    virtual CCIterPos* CreatePosition() = 0;
    virtual void MoveFirst(CCIterPos* pos) = 0;
    virtual void MoveNext(CCIterPos* pos) = 0;
    virtual void MovePrev(CCIterPos* pos) = 0;
    virtual void MoveLast(CCIterPos* pos) = 0;
    virtual void RemoveAt(CCIterPos* pos) = 0;
    virtual T GetAt(CCIterPos* pos) = 0;
    virtual void SetAt(CCIterPos* pos, T value) = 0;
    virtual void InsertAt(CCIterPos* pos, T value) = 0;
    virtual BOOL FindNext(CCIterPos* pos, T key) = 0;
    virtual BOOL FindPrev(CCIterPos* pos, T key) = 0;
    virtual int GetCount() = 0;
    virtual void RemoveAll() = 0;

protected:
    ~ICollection_T() {}
};

// An ordered array that owns nothing it points to, allows duplicates and NULL.
template <class T, class ARG>
class CCArray_T : public CArray<T, ARG>, public ICollection_T<T>
{
    typedef CArray<T, ARG> Base;

public:
    CCArray_T() {}
    CCArray_T(const CCArray_T& other) { Base::Copy(other); }
    CCArray_T& operator=(const CCArray_T& other)
    {
        if (this != &other)
            Base::Copy(other);
        return *this;
    }

    // Removes every element equal to key.
    virtual void Remove(T key)
    {
        for (INT_PTR i = Base::GetSize() - 1; i >= 0; --i)
            if (Base::GetData()[i] == key)
                Base::RemoveAt(i, 1);
    }
    // Looks forward from index + 1, then again from the start; index moves only on a match.
    virtual BOOL FindNext(int& index, T key)
    {
        const int n = (int)Base::GetSize();
        const T* data = Base::GetData();
        for (int i = index + 1; i < n; ++i)
            if (i >= 0 && data[i] == key) {
                index = i;
                return TRUE;
            }
        for (int i = 0; i < n; ++i)
            if (data[i] == key) {
                index = i;
                return TRUE;
            }
        return FALSE;
    }
    // Looks backward from index - 1, then again from the end.
    virtual BOOL FindPrev(int& index, T key)
    {
        const int n = (int)Base::GetSize();
        const T* data = Base::GetData();
        for (int i = (index - 1 < n ? index - 1 : n - 1); i >= 0; --i)
            if (data[i] == key) {
                index = i;
                return TRUE;
            }
        for (int i = n - 1; i >= 0; --i)
            if (data[i] == key) {
                index = i;
                return TRUE;
            }
        return FALSE;
    }
    virtual int IndexOf(T key)
    {
        const int n = (int)Base::GetSize();
        for (int i = 0; i < n; ++i)
            if (Base::GetData()[i] == key)
                return i;
        return -1;
    }

    // ICollection_T over an index position.
    CCIterPos* CreatePosition() override { return new CCIterPos_T<int>; }
    void MoveFirst(CCIterPos* pos) override { Index(pos) = 0; }
    void MoveNext(CCIterPos* pos) override { ++Index(pos); }
    void MovePrev(CCIterPos* pos) override { --Index(pos); }
    void MoveLast(CCIterPos* pos) override { Index(pos) = (int)Base::GetSize() - 1; }
    void RemoveAt(CCIterPos* pos) override
    {
        if (OnElement(pos))
            Base::RemoveAt(Index(pos), 1);
    }
    T GetAt(CCIterPos* pos) override { return OnElement(pos) ? Base::GetData()[Index(pos)] : T(); }
    void SetAt(CCIterPos* pos, T value) override
    {
        if (OnElement(pos))
            Base::GetData()[Index(pos)] = value;
    }
    void InsertAt(CCIterPos* pos, T value) override
    {
        int i = Index(pos);
        if (i >= 0 && i <= (int)Base::GetSize())
            Base::InsertAt(i, value, 1);
    }
    BOOL FindNext(CCIterPos* pos, T key) override { return FindNext(Index(pos), key); }
    BOOL FindPrev(CCIterPos* pos, T key) override { return FindPrev(Index(pos), key); }
    int GetCount() override { return (int)Base::GetSize(); }
    void RemoveAll() override { Base::RemoveAll(); }

    int GetSize() const { return (int)Base::GetSize(); }
    using Base::Add;
    using Base::GetData;
    using Base::InsertAt;
    using Base::RemoveAt;
    using Base::SetAt;
    T GetAt(int index) const { return Base::GetAt(index); }
    T& operator[](int index) { return Base::ElementAt(index); }
    T operator[](int index) const { return Base::GetAt(index); }

private:
    static int& Index(CCIterPos* pos) { return static_cast<CCIterPos_T<int>*>(pos)->index; }
    bool OnElement(CCIterPos* pos) const
    {
        int i = Index(pos);
        return i >= 0 && i < (int)Base::GetSize();
    }
};

// Walks a collection: p = GetFirst(); while (p) { ...; p = GetNext(); }
template <class T>
class Iterator_T
{
public:
    explicit Iterator_T(ICollection_T<T>* collection) : m_pPos(NULL), m_pColl(NULL)
    {
        Attach(collection);
    }
    virtual ~Iterator_T() { delete m_pPos; }

    virtual void Attach(ICollection_T<T>* collection)
    {
        delete m_pPos;  // a second attach must not leak the first position
        m_pPos = NULL;
        m_pColl = collection;
        if (m_pColl)
            m_pPos = m_pColl->CreatePosition();
    }
    virtual void MoveFirst() { m_pColl->MoveFirst(m_pPos); }
    virtual void MoveNext() { m_pColl->MoveNext(m_pPos); }
    virtual BOOL FindNext(T key) { return m_pColl->FindNext(m_pPos, key); }
    virtual void MovePrev() { m_pColl->MovePrev(m_pPos); }
    virtual BOOL FindPrev(T key) { return m_pColl->FindPrev(m_pPos, key); }
    virtual void MoveLast() { m_pColl->MoveLast(m_pPos); }
    virtual T GetCurrent() { return m_pColl->GetAt(m_pPos); }
    virtual T GetNext()
    {
        MoveNext();
        return GetCurrent();
    }
    virtual T GetPrev()
    {
        MovePrev();
        return GetCurrent();
    }
    virtual T GetLast()
    {
        MoveLast();
        return GetCurrent();
    }
    virtual void SetCurrent(T value) { m_pColl->SetAt(m_pPos, value); }
    virtual void RemoveCurrent() { m_pColl->RemoveAt(m_pPos); }
    virtual void InsertCurrent(T value) { m_pColl->InsertAt(m_pPos, value); }

    T GetFirst()
    {
        MoveFirst();
        return GetCurrent();
    }

private:
    Iterator_T(const Iterator_T&) = delete;
    Iterator_T& operator=(const Iterator_T&) = delete;

    CCIterPos* m_pPos;
    ICollection_T<T>* m_pColl;
};

class CODComponent;
class CODPortComponent;
typedef CCArray_T<CODComponent*, CODComponent*> CODComponentSet;

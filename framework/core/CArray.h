// CArray<TYPE, ARG_TYPE>: the growable array behind CStringArray, CPtrArray, CDWordArray and
// CUIntArray.
//
// Indices are ints from 0 to GetSize() - 1. An index outside the array is never followed into
// memory: GetAt answers a default element, SetAt and RemoveAt ignore it, and ElementAt /
// operator[] answer a scratch element that is not part of the array. InsertAt and SetAtGrow
// past the end grow the array with default elements.
#pragma once

#include <algorithm>
#include <vector>

#include "framework/core/CObject.h"

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
public:
    CArray() = default;
    CArray(const CArray& other) : CObject(), m_data(other.m_data) {}
    CArray& operator=(const CArray& other)
    {
        m_data = other.m_data;
        return *this;
    }

    int GetSize() const { return static_cast<int>(m_data.size()); }
    int GetCount() const { return GetSize(); }
    BOOL IsEmpty() const { return m_data.empty(); }
    int GetUpperBound() const { return GetSize() - 1; }

    // nGrowBy is accepted for compatibility; growth is amortised anyway.
    void SetSize(int nNewSize, int nGrowBy = -1)
    {
        m_data.resize(static_cast<std::size_t>(std::max(nNewSize, 0)));
    }
    void FreeExtra() { m_data.shrink_to_fit(); }
    void RemoveAll() { m_data.clear(); }

    TYPE GetAt(int nIndex) const { return IsIndex(nIndex) ? m_data[Index(nIndex)] : TYPE(); }
    void SetAt(int nIndex, ARG_TYPE newElement)
    {
        if (IsIndex(nIndex))
            m_data[Index(nIndex)] = newElement;
    }
    TYPE& ElementAt(int nIndex)
    {
        if (IsIndex(nIndex))
            return m_data[Index(nIndex)];
        static thread_local TYPE scratch;
        scratch = TYPE();
        return scratch;
    }
    const TYPE& ElementAt(int nIndex) const { return const_cast<CArray*>(this)->ElementAt(nIndex); }
    TYPE& operator[](int nIndex) { return ElementAt(nIndex); }
    TYPE operator[](int nIndex) const { return GetAt(nIndex); }

    // Null while the array is empty.
    TYPE* GetData() { return m_data.empty() ? nullptr : m_data.data(); }
    const TYPE* GetData() const { return m_data.empty() ? nullptr : m_data.data(); }

    void SetAtGrow(int nIndex, ARG_TYPE newElement)
    {
        if (nIndex < 0)
            return;
        TYPE copy(newElement);  // newElement may refer into the array
        if (nIndex >= GetSize())
            m_data.resize(Index(nIndex) + 1);
        m_data[Index(nIndex)] = std::move(copy);
    }
    // The index of the new element.
    int Add(ARG_TYPE newElement)
    {
        m_data.push_back(TYPE(newElement));
        return GetSize() - 1;
    }
    // Appends a copy of src (which may be this array); answers the index of its first element.
    int Append(const CArray& src)
    {
        const int oldSize = GetSize();
        std::vector<TYPE> copy(src.m_data);
        m_data.insert(m_data.end(), copy.begin(), copy.end());
        return oldSize;
    }
    void Copy(const CArray& src)
    {
        if (&src != this)
            m_data = src.m_data;
    }

    void InsertAt(int nIndex, ARG_TYPE newElement, int nCount = 1)
    {
        if (nIndex < 0 || nCount <= 0)
            return;
        TYPE copy(newElement);
        if (nIndex > GetSize())
            m_data.resize(Index(nIndex));
        m_data.insert(m_data.begin() + nIndex, static_cast<std::size_t>(nCount), copy);
    }
    void InsertAt(int nStartIndex, const CArray* pNewArray)
    {
        if (nStartIndex < 0 || pNewArray == nullptr)
            return;
        std::vector<TYPE> copy(pNewArray->m_data);
        if (nStartIndex > GetSize())
            m_data.resize(Index(nStartIndex));
        m_data.insert(m_data.begin() + nStartIndex, copy.begin(), copy.end());
    }
    // Removes up to nCount elements from nIndex (fewer when the array ends first).
    void RemoveAt(int nIndex, int nCount = 1)
    {
        if (!IsIndex(nIndex) || nCount <= 0)
            return;
        const int n = std::min(nCount, GetSize() - nIndex);
        m_data.erase(m_data.begin() + nIndex, m_data.begin() + nIndex + n);
    }

private:
    bool IsIndex(int nIndex) const { return nIndex >= 0 && nIndex < GetSize(); }
    static std::size_t Index(int nIndex) { return static_cast<std::size_t>(nIndex); }

    std::vector<TYPE> m_data;
};

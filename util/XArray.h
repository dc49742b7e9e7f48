// CXArray: the growable array of the style option record's list-valued properties.
//
// Unlike the framework's arrays it never keeps elements across a size change: SetSize to a new
// count starts from fresh elements (empty strings, zeroed numbers), and callers that append copy
// the old elements back themselves (the stream extraction below does). Misuse is reported by
// throwing the message text (const char*): kXArrayTooLarge or kXArrayNoMemory. An array whose
// resize failed keeps its old elements.
//
// Instances: CString, int, unsigned int, unsigned long and double.
#pragma once

#include <cstddef>
#include <istream>
#include <new>

#include "framework/core/CString.h"

extern const char* const kXArrayTooLarge;  // "CXArray:  Requested array length too large"
extern const char* const kXArrayNoMemory;  // "CXArray:  Couldn't get memory"

template <class T>
class CXArray {
public:
    CXArray() : m_data(nullptr), m_count(0) {}
    CXArray(const CXArray& other) : m_data(nullptr), m_count(0) { Copy(other); }
    CXArray& operator=(const CXArray& other) {
        Copy(other);
        return *this;
    }
    virtual ~CXArray() { delete[] m_data; }

    virtual void Resize(DWORD count) { SetSize(count); }
    virtual DWORD GetSize() const { return m_count; }
    virtual DWORD GetMaxSize() const { return 0x7FFFFFFF; }
    virtual T* GetData() { return m_data; }

    // The element at index; an index at or beyond the count gives the last element (element 0
    // of an empty array, null while the array has no block).
    virtual T* ElementAt(DWORD index) {
        if (!m_data)
            return nullptr;
        if (index >= m_count)
            index = m_count == 0 ? 0 : m_count - 1;
        return m_data + index;
    }

    // A new array holding a copy of the elements; null when the object cannot be allocated.
    virtual CXArray* Clone() const {
        CXArray* copy = new (std::nothrow) CXArray;
        if (copy) {
            try {
                copy->Copy(*this);
            } catch (...) {
                delete copy;
                throw;
            }
        }
        return copy;
    }

    // Forgets the block without freeing it; only for objects whose block is owned elsewhere.
    virtual void Reset() {
        m_data = nullptr;
        m_count = 0;
    }

    virtual void Copy(const CXArray& other) {
        if (&other == this)
            return;
        SetSize(other.GetSize());
        CopyElements(m_data, other.m_data, other.GetSize());
    }

    virtual void SetSize(DWORD count) {
        if (count > GetMaxSize())
            throw kXArrayTooLarge;
        if (count == m_count && (m_data || count == 0))
            return;
        std::size_t room = count == 0 ? 1 : count;
        T* block = nullptr;
        if (room <= static_cast<std::size_t>(-1) / sizeof(T)) {
            try {
                block = new (std::nothrow) T[room]();
            } catch (const std::bad_alloc&) {
                block = nullptr;
            }
        }
        if (!block)
            throw kXArrayNoMemory;
        delete[] m_data;
        m_data = block;
        m_count = count;
    }

    // Copies count elements, from the last to the first.
    virtual void CopyElements(T* destination, const T* source, DWORD count) {
        for (DWORD i = count; i > 0; --i)
            destination[i - 1] = source[i - 1];
    }

    const T* GetData() const { return m_data; }

private:
    T* m_data;
    DWORD m_count;
};

template <class T>
bool operator==(const CXArray<T>& a, const CXArray<T>& b) {
    if (&a == &b)
        return true;
    if (a.GetSize() != b.GetSize())
        return false;
    const T* x = a.GetData();
    const T* y = b.GetData();
    for (DWORD i = 0; i < a.GetSize(); ++i)
        if (!(x[i] == y[i]))
            return false;
    return true;
}

template <class T>
bool operator!=(const CXArray<T>& a, const CXArray<T>& b) {
    return !(a == b);
}

// Append one element read from a text stream: one leading blank is skipped, then a string takes
// the rest of the line (through ReadStyleLine) and a number the stream's own extraction.
std::istream& ReadArrayLine(std::istream& in, CXArray<CString>& array);
std::istream& ReadArrayNumber(std::istream& in, CXArray<int>& array);
std::istream& ReadArrayUnsigned(std::istream& in, CXArray<unsigned int>& array);
std::istream& ReadArrayUnsignedLong(std::istream& in, CXArray<unsigned long>& array);
std::istream& ReadArrayDouble(std::istream& in, CXArray<double>& array);

inline std::istream& operator>>(std::istream& in, CXArray<CString>& array) {
    return ReadArrayLine(in, array);
}
inline std::istream& operator>>(std::istream& in, CXArray<int>& array) {
    return ReadArrayNumber(in, array);
}
inline std::istream& operator>>(std::istream& in, CXArray<unsigned int>& array) {
    return ReadArrayUnsigned(in, array);
}
inline std::istream& operator>>(std::istream& in, CXArray<unsigned long>& array) {
    return ReadArrayUnsignedLong(in, array);
}
inline std::istream& operator>>(std::istream& in, CXArray<double>& array) {
    return ReadArrayDouble(in, array);
}

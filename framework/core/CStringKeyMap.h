// CStringKeyMap<VALUE, ARG_VALUE>: the hash map with CString keys behind CMapStringToString and
// CMapStringToPtr.
//
// Keys compare exactly (case-sensitive). Iteration visits the hash buckets in order and, within
// a bucket, the newest association first; the order is fixed for a given sequence of
// insertions, and removing the association just returned by GetNextAssoc keeps the iteration
// valid:
//     for (POSITION pos = map.GetStartPosition(); pos != nullptr;) {
//         CString key; VALUE value; map.GetNextAssoc(pos, key, value);
//     }
#pragma once

#include <vector>

#include "framework/core/CObject.h"
#include "framework/core/CString.h"
#include "framework/core/Position.h"

template <class VALUE, class ARG_VALUE = const VALUE&>
class CStringKeyMap : public CObject {
    struct CAssoc {
        CAssoc* pNext;
        UINT nHashValue;
        CString key;
        VALUE value;
    };

public:
    static const UINT kDefaultHashTableSize = 17;

    CStringKeyMap() = default;
    CStringKeyMap(const CStringKeyMap& other) : CObject() { CopyFrom(other); }
    CStringKeyMap& operator=(const CStringKeyMap& other)
    {
        if (&other != this) {
            RemoveAll();
            CopyFrom(other);
        }
        return *this;
    }
    ~CStringKeyMap() override { RemoveAll(); }

    int GetCount() const { return m_nCount; }
    int GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }
    UINT GetHashTableSize() const { return m_nHashTableSize; }
    // Changes the number of buckets; only while the map is empty.
    void InitHashTable(UINT nHashSize)
    {
        if (m_nCount == 0 && nHashSize > 0) {
            m_buckets.clear();
            m_nHashTableSize = nHashSize;
        }
    }

    BOOL Lookup(LPCTSTR key, VALUE& rValue) const
    {
        const CAssoc* pAssoc = Find(key);
        if (pAssoc == nullptr)
            return FALSE;
        rValue = pAssoc->value;
        return TRUE;
    }
    // Answers the stored key as well (the same text as the one asked for).
    BOOL LookupKey(LPCTSTR key, LPCTSTR& rKey) const
    {
        const CAssoc* pAssoc = Find(key);
        if (pAssoc == nullptr)
            return FALSE;
        rKey = pAssoc->key;
        return TRUE;
    }
    // The value of key, added as a default value when absent.
    VALUE& operator[](LPCTSTR key)
    {
        if (CAssoc* pAssoc = Find(key))
            return pAssoc->value;
        return NewAssoc(key)->value;
    }
    void SetAt(LPCTSTR key, ARG_VALUE newValue)
    {
        VALUE copy(newValue);  // newValue may refer to a value in this map
        (*this)[key] = copy;
    }
    BOOL RemoveKey(LPCTSTR key)
    {
        if (m_buckets.empty())
            return FALSE;
        const CString k(SafeKey(key));
        const UINT hash = HashKey(k);
        for (CAssoc** ppAssoc = &m_buckets[hash % m_nHashTableSize]; *ppAssoc != nullptr;
             ppAssoc = &(*ppAssoc)->pNext) {
            if ((*ppAssoc)->nHashValue == hash && (*ppAssoc)->key == k) {
                CAssoc* pAssoc = *ppAssoc;
                *ppAssoc = pAssoc->pNext;
                delete pAssoc;
                --m_nCount;
                return TRUE;
            }
        }
        return FALSE;
    }
    void RemoveAll()
    {
        for (CAssoc*& pBucket : m_buckets) {
            while (pBucket != nullptr) {
                CAssoc* pNext = pBucket->pNext;
                delete pBucket;
                pBucket = pNext;
            }
        }
        m_buckets.clear();
        m_nCount = 0;
    }

    POSITION GetStartPosition() const { return m_nCount == 0 ? nullptr : ToPosition(FirstFrom(0)); }
    void GetNextAssoc(POSITION& rNextPosition, CString& rKey, VALUE& rValue) const
    {
        const CAssoc* pAssoc = rNextPosition == BEFORE_START_POSITION
                                   ? FirstFrom(0)
                                   : reinterpret_cast<const CAssoc*>(rNextPosition);
        if (pAssoc == nullptr) {
            rNextPosition = nullptr;
            return;
        }
        rKey = pAssoc->key;
        rValue = pAssoc->value;
        const CAssoc* pNext = pAssoc->pNext;
        if (pNext == nullptr)
            pNext = FirstFrom(pAssoc->nHashValue % m_nHashTableSize + 1);
        rNextPosition = ToPosition(pNext);
    }

private:
    static LPCTSTR SafeKey(LPCTSTR key) { return key != nullptr ? key : ""; }
    static UINT HashKey(const CString& key)
    {
        UINT nHash = 0;
        for (int i = 0; i < key.GetLength(); ++i)
            nHash = (nHash << 5) + nHash + static_cast<UINT>(static_cast<signed char>(key.GetAt(i)));
        return nHash;
    }
    static POSITION ToPosition(const CAssoc* pAssoc)
    {
        return reinterpret_cast<POSITION>(const_cast<CAssoc*>(pAssoc));
    }
    const CAssoc* FirstFrom(UINT nBucket) const
    {
        for (; nBucket < m_buckets.size(); ++nBucket) {
            if (m_buckets[nBucket] != nullptr)
                return m_buckets[nBucket];
        }
        return nullptr;
    }
    CAssoc* Find(LPCTSTR key) const
    {
        if (m_buckets.empty())
            return nullptr;
        const CString k(SafeKey(key));
        const UINT hash = HashKey(k);
        for (CAssoc* pAssoc = m_buckets[hash % m_nHashTableSize]; pAssoc != nullptr; pAssoc = pAssoc->pNext) {
            if (pAssoc->nHashValue == hash && pAssoc->key == k)
                return pAssoc;
        }
        return nullptr;
    }
    CAssoc* NewAssoc(LPCTSTR key)
    {
        if (m_buckets.empty())
            m_buckets.assign(m_nHashTableSize, nullptr);
        const CString k(SafeKey(key));
        const UINT hash = HashKey(k);
        CAssoc*& pBucket = m_buckets[hash % m_nHashTableSize];
        pBucket = new CAssoc{pBucket, hash, k, VALUE()};
        ++m_nCount;
        return pBucket;
    }
    void CopyFrom(const CStringKeyMap& other)
    {
        m_nHashTableSize = other.m_nHashTableSize;
        // Insert each bucket's chain oldest first so the copy iterates in the same order.
        for (CAssoc* pBucket : other.m_buckets) {
            std::vector<const CAssoc*> chain;
            for (const CAssoc* p = pBucket; p != nullptr; p = p->pNext)
                chain.push_back(p);
            for (auto it = chain.rbegin(); it != chain.rend(); ++it)
                NewAssoc((*it)->key)->value = (*it)->value;
        }
    }

    std::vector<CAssoc*> m_buckets;  // allocated on the first insertion
    UINT m_nHashTableSize = kDefaultHashTableSize;
    int m_nCount = 0;
};

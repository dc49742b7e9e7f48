// CList<TYPE, ARG_TYPE>: the doubly linked list behind CPtrList and CStringList.
//
// A POSITION is the address of a node; it stays valid until that node is removed. Iterate with
//     for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) { TYPE& e = list.GetNext(pos); }
// GetNext and GetPrev answer the element at pos and move pos on (to null past the end).
// Removing from an empty list answers a default element instead of failing.
#pragma once

#include <utility>

#include "framework/core/CObject.h"
#include "framework/core/Position.h"

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
    struct CNode {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
    };

public:
    CList() = default;
    CList(const CList& other) : CObject() { AddTail(&other); }
    CList& operator=(const CList& other)
    {
        if (&other != this) {
            CList copy(other);
            std::swap(m_pNodeHead, copy.m_pNodeHead);
            std::swap(m_pNodeTail, copy.m_pNodeTail);
            std::swap(m_nCount, copy.m_nCount);
        }
        return *this;
    }
    ~CList() override { RemoveAll(); }

    int GetCount() const { return m_nCount; }
    int GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    TYPE& GetHead() { return m_pNodeHead != nullptr ? m_pNodeHead->data : Scratch(); }
    const TYPE& GetHead() const { return const_cast<CList*>(this)->GetHead(); }
    TYPE& GetTail() { return m_pNodeTail != nullptr ? m_pNodeTail->data : Scratch(); }
    const TYPE& GetTail() const { return const_cast<CList*>(this)->GetTail(); }

    TYPE RemoveHead()
    {
        if (m_pNodeHead == nullptr)
            return TYPE();
        TYPE value(std::move(m_pNodeHead->data));
        FreeNode(m_pNodeHead);
        return value;
    }
    TYPE RemoveTail()
    {
        if (m_pNodeTail == nullptr)
            return TYPE();
        TYPE value(std::move(m_pNodeTail->data));
        FreeNode(m_pNodeTail);
        return value;
    }

    POSITION AddHead(ARG_TYPE newElement) { return InsertNode(nullptr, m_pNodeHead, newElement); }
    POSITION AddTail(ARG_TYPE newElement) { return InsertNode(m_pNodeTail, nullptr, newElement); }
    // Adds copies of the elements of pNewList (which may be this list), keeping their order.
    void AddHead(const CList* pNewList)
    {
        if (pNewList == nullptr)
            return;
        CList copy(*pNewList);
        for (CNode* p = copy.m_pNodeTail; p != nullptr; p = p->pPrev)
            AddHead(p->data);
    }
    void AddTail(const CList* pNewList)
    {
        if (pNewList == nullptr)
            return;
        const int n = pNewList->m_nCount;  // stop after the original elements when adding to itself
        CNode* p = pNewList->m_pNodeHead;
        for (int i = 0; i < n && p != nullptr; ++i, p = p->pNext)
            AddTail(p->data);
    }

    void RemoveAll()
    {
        while (m_pNodeHead != nullptr)
            FreeNode(m_pNodeHead);
    }

    POSITION GetHeadPosition() const { return ToPosition(m_pNodeHead); }
    POSITION GetTailPosition() const { return ToPosition(m_pNodeTail); }
    TYPE& GetNext(POSITION& rPosition)
    {
        CNode* pNode = ToNode(rPosition);
        if (pNode == nullptr)
            return Scratch();
        rPosition = ToPosition(pNode->pNext);
        return pNode->data;
    }
    const TYPE& GetNext(POSITION& rPosition) const { return const_cast<CList*>(this)->GetNext(rPosition); }
    TYPE& GetPrev(POSITION& rPosition)
    {
        CNode* pNode = ToNode(rPosition);
        if (pNode == nullptr)
            return Scratch();
        rPosition = ToPosition(pNode->pPrev);
        return pNode->data;
    }
    const TYPE& GetPrev(POSITION& rPosition) const { return const_cast<CList*>(this)->GetPrev(rPosition); }

    TYPE& GetAt(POSITION position)
    {
        CNode* pNode = ToNode(position);
        return pNode != nullptr ? pNode->data : Scratch();
    }
    const TYPE& GetAt(POSITION position) const { return const_cast<CList*>(this)->GetAt(position); }
    void SetAt(POSITION position, ARG_TYPE newElement)
    {
        if (CNode* pNode = ToNode(position))
            pNode->data = newElement;
    }
    void RemoveAt(POSITION position)
    {
        if (CNode* pNode = ToNode(position))
            FreeNode(pNode);
    }

    // A null position inserts at the head (InsertBefore) or the tail (InsertAfter).
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement)
    {
        CNode* pNode = ToNode(position);
        if (pNode == nullptr)
            return AddHead(newElement);
        return InsertNode(pNode->pPrev, pNode, newElement);
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement)
    {
        CNode* pNode = ToNode(position);
        if (pNode == nullptr)
            return AddTail(newElement);
        return InsertNode(pNode, pNode->pNext, newElement);
    }

    // The first element equal to searchValue after startAfter (from the head when null).
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const
    {
        CNode* pNode = ToNode(startAfter);
        pNode = pNode != nullptr ? pNode->pNext : m_pNodeHead;
        for (; pNode != nullptr; pNode = pNode->pNext) {
            if (pNode->data == searchValue)
                return ToPosition(pNode);
        }
        return nullptr;
    }
    // The position of the element with the zero-based index, null when out of range.
    POSITION FindIndex(int nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_nCount)
            return nullptr;
        CNode* pNode = m_pNodeHead;
        while (nIndex-- > 0)
            pNode = pNode->pNext;
        return ToPosition(pNode);
    }

private:
    static POSITION ToPosition(CNode* pNode) { return reinterpret_cast<POSITION>(pNode); }
    static CNode* ToNode(POSITION position)
    {
        return position == BEFORE_START_POSITION ? nullptr : reinterpret_cast<CNode*>(position);
    }
    static TYPE& Scratch()
    {
        static thread_local TYPE scratch;
        scratch = TYPE();
        return scratch;
    }

    POSITION InsertNode(CNode* pPrev, CNode* pNext, ARG_TYPE newElement)
    {
        CNode* pNode = new CNode{pNext, pPrev, TYPE(newElement)};
        (pPrev != nullptr ? pPrev->pNext : m_pNodeHead) = pNode;
        (pNext != nullptr ? pNext->pPrev : m_pNodeTail) = pNode;
        ++m_nCount;
        return ToPosition(pNode);
    }
    void FreeNode(CNode* pNode)
    {
        (pNode->pPrev != nullptr ? pNode->pPrev->pNext : m_pNodeHead) = pNode->pNext;
        (pNode->pNext != nullptr ? pNode->pNext->pPrev : m_pNodeTail) = pNode->pPrev;
        --m_nCount;
        delete pNode;
    }

    CNode* m_pNodeHead = nullptr;
    CNode* m_pNodeTail = nullptr;
    int m_nCount = 0;
};

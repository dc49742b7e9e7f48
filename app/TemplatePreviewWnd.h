// CTemplatePreviewWnd: a renderer window that remembers the window it was made for (the
// template preview's owner).
#pragma once

#include "app/CompactRendererInt.h"

class CTemplatePreviewWnd : public CompactRendererInt {
    DECLARE_DYNAMIC(CTemplatePreviewWnd)
public:
    explicit CTemplatePreviewWnd(CWnd* owner) : m_owner(owner) {}
    virtual CWnd* GetOwnerWnd() const { return m_owner; }

    CWnd* m_owner;
};

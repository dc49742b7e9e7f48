// CButtonDef: one button of the main window's button bar: the page it opens, its face document
// (relative to SysResources\buttons) and its shortcut key.
#pragma once

#include "framework/core/Afx.h"

class CButtonDef {
public:
    CButtonDef() : m_pageId(0), m_shortcut(0) {}
    CButtonDef(int pageId, const CString& faceFile, int shortcut)
        : m_pageId(pageId), m_faceFile(faceFile), m_shortcut(shortcut) {}

    int m_pageId;
    CString m_faceFile;
    int m_shortcut;
};

// Panel messages: the events that the main dialog, panels and galleries hand to the window
// managers through HandleMessage. A sender builds one on its own stack for the duration of
// one call; no receiver keeps, copies or frees it. Receivers dispatch on GetKind.
#pragma once

#include "framework/core/Afx.h"

class CPanelMessage : public CObject {
public:
    CPanelMessage() : m_first(0), m_second(0) {}
    CPanelMessage(int first, int second) : m_first(first), m_second(second) {}
    ~CPanelMessage() override = default;

    virtual int GetKind() const { return 0; }
    virtual void GetParams(int* first, int* second) const
    {
        if (first)
            *first = m_first;
        if (second)
            *second = m_second;
    }

protected:
    int m_first;   // x in screen pixels for pointer kinds, width for the size kind
    int m_second;  // y in screen pixels for pointer kinds, height for the size kind
};

// Kinds without added fields: the class name and its fixed kind number.
#define BW_PANEL_MESSAGE(className, kind)                                          \
    class className : public CPanelMessage {                                       \
    public:                                                                        \
        className() = default;                                                     \
        className(int first, int second) : CPanelMessage(first, second) {}         \
        ~className() override = default;                                           \
        int GetKind() const override { return kind; }                              \
    };

BW_PANEL_MESSAGE(CLButtonDownMessage, 1)
BW_PANEL_MESSAGE(CRButtonDownMessage, 2)
BW_PANEL_MESSAGE(CMouseMoveMessage, 3)
BW_PANEL_MESSAGE(CSizeMessage, 5)
BW_PANEL_MESSAGE(CCopyBitmapMessage, 8)
BW_PANEL_MESSAGE(CCopyFileNameMessage, 9)
BW_PANEL_MESSAGE(CGraphicInfoMessage, 10)
BW_PANEL_MESSAGE(CUndoAllEditsMessage, 11)
BW_PANEL_MESSAGE(CSaveClosedMessage, 14)
BW_PANEL_MESSAGE(CFolderDoneMessage, 15)
BW_PANEL_MESSAGE(CImportCancelMessage, 16)
BW_PANEL_MESSAGE(CCommandMessage, 18)
BW_PANEL_MESSAGE(CActivateMessage, 23)

#undef BW_PANEL_MESSAGE

// Kind 7: a key for the pages. modifier: 16 Shift, 17 Control or 18 Alt for a forwarded
// combination, 0 for the help command, otherwise the key's scan code.
class CKeyMessage : public CPanelMessage {
public:
    CKeyMessage(int key, int modifier) : m_key(key), m_modifier(modifier) {}
    int GetKind() const override { return 7; }
    int m_key;
    int m_modifier;
};

// Kind 13: show the save page for the named file (the string belongs to the sender).
class CSaveFileMessage : public CPanelMessage {
public:
    explicit CSaveFileMessage(const CString& file) : m_file(file) {}
    int GetKind() const override { return 13; }
    CString m_file;
};

// Kind 19: add the listed items to the search gallery (the list belongs to the sender).
class CAddGalleryItemsMessage : public CPanelMessage {
public:
    explicit CAddGalleryItemsMessage(void* items) : m_items(items) {}
    int GetKind() const override { return 19; }
    void* m_items;
};

// Kind 22: enable or disable one button of the button bar.
class CPageStateMessage : public CPanelMessage {
public:
    CPageStateMessage(int enable, int page) : m_enable(enable), m_page(page) {}
    int GetKind() const override { return 22; }
    int m_enable;
    int m_page;
};

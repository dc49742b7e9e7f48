// A rich edit control (version 2 or later, class RICHEDIT_CLASS). LoadRichEdit must have run
// once before one is created.
#pragma once

#include "framework/win/Edit.h"

#include <richedit.h>

class CRichEditCtrl : public CEdit {
public:
    // Loads the rich edit library for the life of the process; false when it is not there.
    static bool LoadRichEdit()
    {
        static HMODULE library = ::LoadLibraryA("riched20.dll");
        return library != nullptr;
    }
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        if (!LoadRichEdit())
            return FALSE;
        return CreateEx(0, RICHEDIT_CLASSA, "", style, rect.left, rect.top, rect.right - rect.left,
                        rect.bottom - rect.top, parent->GetSafeHwnd(), (HMENU)(UINT_PTR)id);
    }
    COLORREF SetBackgroundColor(BOOL systemColour, COLORREF colour)
    {
        return (COLORREF)SendMessage(EM_SETBKGNDCOLOR, systemColour, colour);
    }
    BOOL SetDefaultCharFormat(CHARFORMATA& format)
    {
        format.cbSize = sizeof format;
        return (BOOL)SendMessage(EM_SETCHARFORMAT, SCF_DEFAULT, (LPARAM)&format);
    }
    BOOL SetSelectionCharFormat(CHARFORMATA& format)
    {
        format.cbSize = sizeof format;
        return (BOOL)SendMessage(EM_SETCHARFORMAT, SCF_SELECTION, (LPARAM)&format);
    }
    DWORD SetEventMask(DWORD mask) { return (DWORD)SendMessage(EM_SETEVENTMASK, 0, mask); }
    DWORD GetEventMask() const { return (DWORD)SendMessage(EM_GETEVENTMASK); }
    void GetSel(LONG& start, LONG& end) const
    {
        CHARRANGE range = {0, 0};
        SendMessage(EM_EXGETSEL, 0, (LPARAM)&range);
        start = range.cpMin;
        end = range.cpMax;
    }
    void SetSel(LONG start, LONG end)
    {
        CHARRANGE range = {start, end};
        SendMessage(EM_EXSETSEL, 0, (LPARAM)&range);
    }
    void LimitText(LONG maximum = 0) { SendMessage(EM_EXLIMITTEXT, 0, maximum); }
    long GetTextLength() const { return (long)::GetWindowTextLengthA(m_hWnd); }
};

// A single- or multi-line edit control.
#pragma once

#include "framework/win/Wnd.h"

class CEdit : public CWnd {
public:
    void SetSel(int start, int end, BOOL noScroll = FALSE)
    {
        SendMessage(EM_SETSEL, (WPARAM)start, (LPARAM)end);
        if (!noScroll)
            SendMessage(EM_SCROLLCARET);
    }
    void LimitText(int maximum = 0) { SendMessage(EM_LIMITTEXT, (WPARAM)maximum); }
    void ReplaceSel(LPCSTR text, BOOL canUndo = FALSE) { SendMessage(EM_REPLACESEL, canUndo, (LPARAM)text); }
};

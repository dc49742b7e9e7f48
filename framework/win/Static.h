// A static text or icon control.
#pragma once

#include "framework/win/Wnd.h"

class CStatic : public CWnd {
public:
    HICON SetIcon(HICON icon) { return (HICON)SendMessage(STM_SETICON, (WPARAM)icon); }
    HICON GetIcon() const { return (HICON)SendMessage(STM_GETICON); }
};

// A trackbar: its range, position and ticks.
#pragma once

#include "framework/win/Wnd.h"

#include <commctrl.h>

class CSliderCtrl : public CWnd {
public:
    void SetRange(int minimum, int maximum, BOOL redraw = FALSE)
    {
        SendMessage(TBM_SETRANGEMIN, FALSE, minimum);
        SendMessage(TBM_SETRANGEMAX, redraw, maximum);
    }
    int GetRangeMin() const { return (int)SendMessage(TBM_GETRANGEMIN); }
    int GetRangeMax() const { return (int)SendMessage(TBM_GETRANGEMAX); }
    int GetPos() const { return (int)SendMessage(TBM_GETPOS); }
    void SetPos(int position) { SendMessage(TBM_SETPOS, TRUE, position); }
    void ClearTics(BOOL redraw = FALSE) { SendMessage(TBM_CLEARTICS, redraw); }
    BOOL SetTic(int position) { return (BOOL)SendMessage(TBM_SETTIC, 0, position); }
    void SetTicFreq(int frequency) { SendMessage(TBM_SETTICFREQ, (WPARAM)frequency); }
    int GetLineSize() const { return (int)SendMessage(TBM_GETLINESIZE); }
    int SetLineSize(int size) { return (int)SendMessage(TBM_SETLINESIZE, 0, size); }
    int GetPageSize() const { return (int)SendMessage(TBM_GETPAGESIZE); }
    int SetPageSize(int size) { return (int)SendMessage(TBM_SETPAGESIZE, 0, size); }
};

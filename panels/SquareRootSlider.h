// CSquareRootSlider: a trackbar whose position is the square root of its value times 1000
// (SquareRootScale.h), so small values get more travel than large ones. The wheel and the Up
// and Down keys step it by its line size and tell the parent as a horizontal scroll.
#pragma once

#include "framework/win/SliderCtrl.h"

class CSquareRootSlider : public CSliderCtrl {
public:
    int GetValue() const;
    void SetValue(int value);
    int GetMinValue() const;
    int GetMaxValue() const;
    void SetValueRange(int minimum, int maximum, BOOL redraw);
    void SetTicAtValue(int value);
    // A tic every step from the minimum, below the maximum; a step of 0 or less leaves none.
    void SetTicsEvery(int step);

protected:
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags);
    DECLARE_MESSAGE_MAP()

private:
    void Step(int positions, UINT scrollCode);
};

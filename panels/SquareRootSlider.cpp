#include "panels/SquareRootSlider.h"

#include "panels/SquareRootScale.h"

BEGIN_MESSAGE_MAP(CSquareRootSlider, CSliderCtrl)
    ON_WM_MOUSEWHEEL()
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()

int CSquareRootSlider::GetValue() const { return SquareRootScale::ValueOf(GetPos()); }

void CSquareRootSlider::SetValue(int value) { SetPos(SquareRootScale::PositionOf(value)); }

int CSquareRootSlider::GetMinValue() const { return SquareRootScale::ValueOf(GetRangeMin()); }

int CSquareRootSlider::GetMaxValue() const { return SquareRootScale::ValueOf(GetRangeMax()); }

void CSquareRootSlider::SetValueRange(int minimum, int maximum, BOOL redraw)
{
    SetRange(SquareRootScale::PositionOf(minimum), SquareRootScale::PositionOf(maximum), redraw);
}

void CSquareRootSlider::SetTicAtValue(int value) { SetTic(SquareRootScale::PositionOf(value)); }

void CSquareRootSlider::SetTicsEvery(int step)
{
    ClearTics();
    if (step <= 0)
        return;
    const long long maximum = GetMaxValue();
    for (long long value = static_cast<long long>(GetMinValue()) + step; value < maximum; value += step)
        SetTicAtValue(static_cast<int>(value));
}

void CSquareRootSlider::Step(int positions, UINT scrollCode)
{
    SetPos(GetPos() + positions);
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_HSCROLL, MAKEWPARAM(scrollCode, 0), (LPARAM)m_hWnd);
}

BOOL CSquareRootSlider::OnMouseWheel(UINT, short delta, CPoint)
{
    const int position = GetPos();
    if (position > GetRangeMax() || position < GetRangeMin())
        return TRUE;
    Step(GetLineSize() * (delta / 120), delta > 0 ? SB_LINERIGHT : SB_LINELEFT);
    return TRUE;
}

void CSquareRootSlider::OnKeyDown(UINT key, UINT, UINT)
{
    const int position = GetPos();
    if (key == VK_UP && position < GetRangeMax())
        Step(GetLineSize(), SB_LINERIGHT);
    else if (key == VK_DOWN && position > GetRangeMin())
        Step(-GetLineSize(), SB_LINELEFT);
    else
        Default();
}

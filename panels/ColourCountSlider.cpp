#include "panels/ColourCountSlider.h"

#include "util/AppUtilServices.h"
#include "panels/ColourCountScale.h"
#include "panels/PanelsResource.h"

void CColourCountSlider::SetMode(int mode)
{
    m_mode = ColourCountScale::Normalise(mode);
    int minimum = 0, maximum = 0;
    ColourCountScale::Range(m_mode, minimum, maximum);
    if (m_mode == ColourCountScale::kStepped) {
        ClearTics(FALSE);
        SetRange(minimum, maximum, FALSE);
        SetPos(0);
        for (int tick : {0, 59, 299, 359, 420})
            SetTic(tick);
    } else if (m_mode == ColourCountScale::kNone) {
        ClearTics(FALSE);
        SetRange(minimum, maximum, TRUE);
        SetPos(0);
        SetTic(0);
        SetTic(1);
    } else {
        SetRange(minimum, maximum, TRUE);
    }
}

int CColourCountSlider::GetValue() const
{
    return ColourCountScale::PositionToValue(m_mode, GetPos());
}

void CColourCountSlider::SetValue(int count)
{
    SetPos(ColourCountScale::ValueToPosition(m_mode, count));
}

CString CColourCountSlider::GetLabelText() const
{
    const int value = GetValue();
    switch (ColourCountScale::LabelKind(m_mode, value)) {
    case 24:
        return LoadAppString(IDS_24BIT_COLOUR, "24-Bit Color");
    case 32:
        return LoadAppString(IDS_32BIT_COLOUR, "32-Bit Color");
    case 1: {
        CString text;
        text.Format("%d", value);
        return text + LoadAppString(IDS_COLOURS_SUFFIX, " Colors");
    }
    default:
        return LoadAppString(IDS_UNKNOWN_COLOURS, "Unknown");
    }
}

void CColourCountSlider::UpdateLabel(CWnd* label) const
{
    if (label && label->GetSafeHwnd())
        label->SetWindowText(GetLabelText());
}

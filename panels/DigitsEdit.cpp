#include "panels/DigitsEdit.h"

#include "panels/OptionsDlg.h"

#include <cstdio>

BEGIN_MESSAGE_MAP(CDigitsEdit, CEdit)
    ON_MESSAGE(WM_CHAR, OnChar)
END_MESSAGE_MAP()

int ClampUnsigned(int value, int minimum, int maximum)
{
    const unsigned v = static_cast<unsigned>(value);
    if (v < static_cast<unsigned>(minimum))
        return minimum;
    if (v > static_cast<unsigned>(maximum))
        return maximum;
    return value;
}

LRESULT CDigitsEdit::OnChar(WPARAM character, LPARAM)
{
    if (IsAcceptedChar(static_cast<UINT>(character)))
        return Default();
    ::MessageBeep(0xFFFFFFFF);
    return 0;
}

int CDigitsEdit::GetValue() const
{
    CString text;
    GetWindowText(text);
    return LeadingInteger(text);
}

int CDigitsEdit::GetClampedValue(int minimum, int maximum) const
{
    return ClampUnsigned(GetValue(), minimum, maximum);
}

void CDigitsEdit::SetValue(int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%i", value);
    SetWindowText(text);
}

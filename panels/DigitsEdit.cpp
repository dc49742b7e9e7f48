#include "panels/DigitsEdit.h"

#include "panels/NumberText.h"
#include "panels/OptionsDlg.h"
#include "util/TextFilters.h"

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

double CDigitsEdit::GetDouble(const CWnd* edit)
{
    CString text;
    edit->GetWindowText(text);
    FromLocaleDecimal(text);
    return ReadLeadingDouble(text);
}

double CDigitsEdit::GetClampedDouble(CWnd* edit, double minimum, double maximum, bool integerFormat)
{
    const double value = GetDouble(edit);
    const double clamped = ClampDouble(value, minimum, maximum);
    if (clamped != value) {
        CString text;
        text.Format(integerFormat ? "%.0f" : "%.1f", clamped);
        ToLocaleDecimal(text);
        edit->SetWindowText(text);
        const int caret = text.GetLength() >= 2 ? text.GetLength() - 2 : 0;
        edit->SendMessage(EM_SETSEL, (WPARAM)caret, (LPARAM)caret);
    }
    return clamped;
}

void CDigitsEdit::SetDouble(CWnd* edit, double value, bool oneDecimal)
{
    CString text;
    if (oneDecimal) {
        // Printing what was read back settles a value that lies on a rounding edge.
        text.Format("%.1f", value);
        text.Format("%.1f", ReadLeadingDouble(text));
    } else {
        text.Format("%.0f", value);
    }
    ToLocaleDecimal(text);
    edit->SetWindowText(text);
}

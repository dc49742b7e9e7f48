#include "panels/NumberEdit.h"

#include "panels/NumberText.h"
#include "util/TextFilters.h"

#include <cmath>
#include <commctrl.h>

BEGIN_MESSAGE_MAP(CNumberEdit, CEdit)
END_MESSAGE_MAP()

CNumberEdit::CNumberEdit(int decimals, double minimum, double maximum)
    : m_minimum(minimum), m_maximum(maximum), m_epsilon(NumberEpsilon(decimals)), m_spinOwner(nullptr), m_spinId(0),
      m_format(BuildNumberFormat(decimals))
{
}

CString CNumberEdit::BuildFormat(int decimals) const { return BuildNumberFormat(decimals); }

CWnd* CNumberEdit::GetSpin() const
{
    if (!m_spinOwner || !m_spinOwner->GetSafeHwnd())
        return nullptr;
    return m_spinOwner->GetDlgItem(static_cast<int>(m_spinId));
}

void CNumberEdit::AttachSpin()
{
    if (CWnd* spin = GetSpin())
        SetupSpin(spin, this, -16383, 16383);
}

void CNumberEdit::SetupSpin(CWnd* spin, CWnd* buddy, int low, int high)
{
    spin->SendMessage(UDM_SETBASE, 10);
    spin->SendMessage(UDM_SETRANGE, 0, MAKELPARAM(high, low));
    spin->SendMessage(UDM_SETBUDDY, (WPARAM)buddy->GetSafeHwnd());
}

double CNumberEdit::GetValue() const
{
    CString text;
    GetWindowText(text);
    FromLocaleDecimal(text);
    return ReadLeadingDouble(text);
}

double CNumberEdit::GetClampedValue() const { return ClampDouble(GetValue(), m_minimum, m_maximum); }

void CNumberEdit::SetValue(double value)
{
    if (CWnd* spin = GetSpin()) {
        // The up-down position is 16 bits wide; keep the integer part only within it.
        const double whole = std::trunc(ClampDouble(value, -32768.0, 32767.0));
        spin->SendMessage(UDM_SETPOS, 0, MAKELPARAM(static_cast<short>(whole), 0));
    }
    CString text = FormatTrimmed(value, m_format);
    ToLocaleDecimal(text);
    SetWindowText(text);
    const int end = text.GetLength();
    SendMessage(EM_SETSEL, (WPARAM)end, (LPARAM)end);
}

void CNumberEdit::SetClampedValue(double value) { SetValue(ClampDouble(value, m_minimum, m_maximum)); }

bool CNumberEdit::IsDifferent(double value) const
{
    const double shown = ReadLeadingDouble(FormatTrimmed(value, m_format));
    return std::fabs(GetValue() - shown) >= m_epsilon;
}

void CNumberEdit::EnableWithSpin(BOOL enable)
{
    if (!m_spinOwner)
        return;
    EnableWindow(enable);
    if (CWnd* spin = GetSpin())
        spin->EnableWindow(enable);
}

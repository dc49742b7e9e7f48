// CNumberEdit: an edit of a real number with a fixed count of decimals and limits, shown with
// trailing zeros removed and the user's decimal separator, and optionally an up-down control
// beside it that follows the integer part.
#pragma once

#include "framework/win/Edit.h"

class CNumberEdit : public CEdit {
public:
    CNumberEdit(int decimals, double minimum, double maximum);

    // The up-down control: the owner window's item with the id (none until set).
    void SetSpin(CWnd* owner, UINT spinId)
    {
        m_spinOwner = owner;
        m_spinId = spinId;
    }
    // Sets up the up-down control when it exists: base 10, range -16383..16383, this edit as
    // its buddy.
    virtual void AttachSpin();
    // The text's leading number (either decimal separator); 0 for none.
    virtual double GetValue() const;
    virtual double GetClampedValue() const;
    // Shows the value (and puts the up-down control at its integer part); caret at the end.
    virtual void SetValue(double value);
    virtual void SetClampedValue(double value);
    // Whether the value would show differently from the text in the edit.
    virtual bool IsDifferent(double value) const;
    // Enables or disables the edit together with its up-down control (only with one set).
    virtual void EnableWithSpin(BOOL enable);
    virtual void SetupSpin(CWnd* spin, CWnd* buddy, int low, int high);
    virtual CString BuildFormat(int decimals) const;

    double GetMinimum() const { return m_minimum; }
    double GetMaximum() const { return m_maximum; }

protected:
    DECLARE_MESSAGE_MAP()

private:
    CWnd* GetSpin() const;

    double m_minimum;
    double m_maximum;
    double m_epsilon;
    CWnd* m_spinOwner;
    UINT m_spinId;
    CString m_format;
};

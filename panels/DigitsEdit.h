// CDigitsEdit: an edit that takes only the digits 0 to 9 (and Backspace); anything else typed
// beeps and is dropped. It reads its text as an integer, clamped on request.
#pragma once

#include "framework/win/Edit.h"

class CDigitsEdit : public CEdit {
public:
    // The text's leading decimal integer (0 for an empty text).
    int GetValue() const;
    // The value raised to minimum or lowered to maximum (compared as unsigned 32-bit numbers).
    int GetClampedValue(int minimum, int maximum) const;
    void SetValue(int value);

    // Whether typing a character reaches the edit.
    static bool IsAcceptedChar(UINT character) { return (character >= '0' && character <= '9') || character == VK_BACK; }

protected:
    afx_msg LRESULT OnChar(WPARAM character, LPARAM flags);
    DECLARE_MESSAGE_MAP()
};

// The unsigned comparison the clamp uses (a typed number above 2^31 reads large, not negative).
int ClampUnsigned(int value, int minimum, int maximum);

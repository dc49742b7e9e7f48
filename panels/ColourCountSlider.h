// CColourCountSlider: the trackbar that chooses a colour count for image export on one of
// several scales (ColourCountScale.h), and writes the count as a label.
#pragma once

#include "framework/win/SliderCtrl.h"

class CColourCountSlider : public CSliderCtrl {
public:
    CColourCountSlider() : m_mode(0) {}

    // Sets the range (and for the stepped and empty modes the ticks) of a mode; an unknown
    // mode becomes mode 0.
    void SetMode(int mode);
    int GetMode() const { return m_mode; }
    // The count at the thumb.
    int GetValue() const;
    // Moves the thumb to a count.
    void SetValue(int count);
    // "<count> Colors", "24-Bit Color", "32-Bit Color" or "Unknown" into a window.
    void UpdateLabel(CWnd* label) const;
    CString GetLabelText() const;

private:
    int m_mode;
    CString m_unused;
};

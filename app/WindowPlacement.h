// The main window's size, position and show state, kept in a profile section between runs.
#pragma once

#include "framework/win/Afxwin.h"

class CWindowPlacement {
public:
    CWindowPlacement();

    // Reads the ten values, each defaulting to the member's current value.
    void Load(const char* section);
    void Save(const char* section) const;

    WINDOWPLACEMENT m_placement;
};

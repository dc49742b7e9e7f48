// This instance's temporary folder. The first running instance (number 0) uses an
// unnumbered folder that survives exits; a further instance a folder named by its process
// id, deleted with its files at exit.
#pragma once

#include "framework/core/Afx.h"

class CTempFolder {
public:
    CTempFolder() : m_number(-1) {}
    virtual ~CTempFolder();

    // Ends with a backslash; not created here.
    CString GetPath() const;

    int m_number;  // -1 until start-up sets it: 0 first instance, else the process id
};

// "User.qtw" in this instance's temporary folder: the style file "Create style" writes the
// current graphic to, so that two running instances never list each other's.
CString GetUserStyleFilePath();

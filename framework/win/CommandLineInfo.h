// The framework's command-line record: ParseCommandLine hands every argument to ParseParam
// in order; the base keeps the first plain argument as the file name.
#pragma once

#include "framework/core/Afx.h"

class CCommandLineInfo : public CObject {
public:
    CCommandLineInfo() = default;
    virtual ~CCommandLineInfo() = default;

    // param: the argument without its leading '/' or '-' when isSwitch.
    virtual void ParseParam(const char* param, BOOL isSwitch, BOOL isLast);

    CString m_strFileName;
};

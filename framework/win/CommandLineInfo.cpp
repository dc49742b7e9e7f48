#include "framework/win/CommandLineInfo.h"

void CCommandLineInfo::ParseParam(const char* param, BOOL isSwitch, BOOL)
{
    if (!isSwitch && m_strFileName.IsEmpty())
        m_strFileName = param;
}

// CFileStatus: what CFile::GetStatus reports about a file and CFile::SetStatus writes back.
#pragma once

#include "framework/core/CTime.h"
#include "framework/core/WinTypes.h"

struct CFileStatus {
    CTime m_ctime;              // creation time
    CTime m_mtime;              // last modification
    CTime m_atime;              // last access
    ULONGLONG m_size = 0;       // bytes
    BYTE m_attribute = 0;       // CFile::Attribute bits
    BYTE m_padding = 0;
    TCHAR m_szFullName[MAX_PATH] = {};  // absolute path
};

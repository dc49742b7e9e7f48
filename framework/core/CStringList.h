#pragma once

#include "framework/core/CList.h"
#include "framework/core/CString.h"

class CStringList : public CList<CString, const CString&> {
    DECLARE_DYNAMIC(CStringList)
};

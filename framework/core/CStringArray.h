#pragma once

#include "framework/core/CArray.h"
#include "framework/core/CString.h"

class CStringArray : public CArray<CString, const CString&> {
    DECLARE_DYNAMIC(CStringArray)
};

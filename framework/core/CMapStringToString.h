#pragma once

#include "framework/core/CStringKeyMap.h"

class CMapStringToString : public CStringKeyMap<CString, const CString&> {
    DECLARE_DYNAMIC(CMapStringToString)
};

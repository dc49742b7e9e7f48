#pragma once

#include "framework/core/CStringKeyMap.h"

class CMapStringToPtr : public CStringKeyMap<void*, void*> {
    DECLARE_DYNAMIC(CMapStringToPtr)
};

#pragma once

#include "framework/core/CArray.h"


class CUIntArray : public CArray<UINT, UINT> {
    DECLARE_DYNAMIC(CUIntArray)
};

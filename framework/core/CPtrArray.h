#pragma once

#include "framework/core/CArray.h"


class CPtrArray : public CArray<void*, void*> {
    DECLARE_DYNAMIC(CPtrArray)
};

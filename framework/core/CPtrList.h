#pragma once

#include "framework/core/CList.h"


class CPtrList : public CList<void*, void*> {
    DECLARE_DYNAMIC(CPtrList)
};

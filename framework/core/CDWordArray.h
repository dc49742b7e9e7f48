#pragma once

#include "framework/core/CArray.h"


class CDWordArray : public CArray<DWORD, DWORD> {
    DECLARE_DYNAMIC(CDWordArray)
};

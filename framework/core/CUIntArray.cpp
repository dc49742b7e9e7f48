#include "framework/core/CUIntArray.h"

IMPLEMENT_DYNAMIC(CUIntArray, CObject)

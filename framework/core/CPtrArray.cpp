#include "framework/core/CPtrArray.h"

IMPLEMENT_DYNAMIC(CPtrArray, CObject)

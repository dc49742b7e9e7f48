#include "framework/core/CStringList.h"

IMPLEMENT_DYNAMIC(CStringList, CObject)

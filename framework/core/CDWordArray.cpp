#include "framework/core/CDWordArray.h"

IMPLEMENT_DYNAMIC(CDWordArray, CObject)

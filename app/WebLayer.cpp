#include "app/WebLayer.h"

IMPLEMENT_DYNAMIC(CWebLayer, CObject)

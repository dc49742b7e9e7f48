#include "framework/core/WinTypes.h"

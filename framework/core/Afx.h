// The portable framework core in one include.
#pragma once

#include "framework/core/WinTypes.h"
#include "framework/core/CString.h"
#include "framework/core/CObject.h"

// The Win32 layer in one include.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/core/Afx.h"
#include "framework/win/Button.h"
#include "framework/win/CommandLineInfo.h"
#include "framework/win/DC.h"
#include "framework/win/DataExchange.h"
#include "framework/win/Dialog.h"
#include "framework/win/Edit.h"
#include "framework/win/GdiObject.h"
#include "framework/win/Menu.h"
#include "framework/win/MessageMap.h"
#include "framework/win/Static.h"
#include "framework/win/WinApp.h"
#include "framework/win/Wnd.h"

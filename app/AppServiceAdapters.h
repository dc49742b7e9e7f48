// The application's answers to the service interfaces of the modules it is built from: the
// option record, the operations manager, bitmap export and the navigation bar each reach the
// program's folders, message box, current record, operations manager and preview through one
// of these. InstallAppServiceAdapters puts all of them in place at start-up, before the main
// dialog makes its records and operations manager; UninstallAppServiceAdapters puts the
// modules' own defaults back at shut-down.
#pragma once

#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"

class CNavBar;

void InstallAppServiceAdapters();
void UninstallAppServiceAdapters();

// The navigation bar the operations manager owns (made through the operations services); null
// without a manager or when it has none.
CNavBar* GetManagerNavBar();
// The pointer at a screen point over the editing pages, for the bar's preview (flags 1 for a
// left-button press, 0 for a move); outside the preview it clears the bar's hover.
void FeedNavBarPreview(int screenX, int screenY, int flags);

// The file the export panels write their size estimate to: this instance's temporary folder
// (created when missing; the system's without an application), "temptwg" and the extension of
// the export type (1 JPEG ".jpg", 0 GIF ".gif", else ".png"). Empty when no folder is known.
CString GetTempExportPath(int exportType);

// The navigation bar question: string id of the chosen button (32905 vertical, 32906
// horizontal, 32916 cancel; a closed box answers cancel).
unsigned AskNavBarOrientationBox();

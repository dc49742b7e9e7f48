// The panels' services answered by the application: the main dialog and its window managers,
// the cursor service, the program's folders and message boxes, the current graphic, the
// renderer window a panel hosts, the projects and the command line.
#pragma once

// Installs them (InstallAppServiceAdapters calls it).
void InstallPanelServiceAdapter();
void UninstallPanelServiceAdapter();

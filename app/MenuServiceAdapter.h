// The popup menus' services answered by the application: the page shown, the export names and
// the current project's folder.
#pragma once

// Installs them (InstallAppServiceAdapters calls it).
void InstallMenuServiceAdapter();
void UninstallMenuServiceAdapter();

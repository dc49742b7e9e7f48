// The save dialogs' services answered by the application: the command line of an HTML
// editor's start, the export of the current graphic, numbered names and the message boxes;
// and the browser that opens preview pages.
#pragma once

// Installs them (InstallAppServiceAdapters calls it).
void InstallSaveServiceAdapter();
void UninstallSaveServiceAdapter();

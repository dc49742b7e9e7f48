// The galleries' services answered by the application: renderer views over CompactRendererInt,
// page commands through the application, the main dialog's cursors and the current record.
#pragma once

// Installs the application's gallery services (InstallAppServiceAdapters calls it).
void InstallGalleryServiceAdapter();
void UninstallGalleryServiceAdapter();

// Export of a navigation bar for the web: its script (rollover or drop-down menus), then one
// image per enabled state of every button and the Off image of the two end caps, each
// composed from its state's style and written by the image writers.
#pragma once

#include <cstdint>

#include "framework/core/CString.h"

class Bitmap32;
class CNavBar;
class CNavBarItem;
class COptions;
class CTime;

// Writes the script and the images. scriptPath comes back as the path actually written (its
// name made a script identifier, extension ".js"); pagePath is the page that will include the
// bar; modifiedTime, when given, becomes every image's modification time; noLinks is set by
// the browser preview. The total size of the images, 0 on failure (reported to the user).
std::uint64_t ExportNavBar(CNavBar& bar, CString& scriptPath, const CString& pagePath, const CTime* modifiedTime,
                           bool noLinks);
// The images of every enabled state into folder; the total size, 0 on failure.
std::uint64_t ExportButtonImages(CNavBar& bar, const CString& folder, const CString& baseName,
                                 const CTime* modifiedTime);
// One item's image, composed over the background tile (may be null) at the given phase.
bool ExportItemImage(CNavBarItem* item, const CString& path, Bitmap32* background, int offsetX, int offsetY,
                     const CTime* modifiedTime, COptions* options, std::uint64_t* size);
// The state is enabled, and the Selected state only when its image differs from Over.
bool ShouldExportState(CNavBar& bar, int state);

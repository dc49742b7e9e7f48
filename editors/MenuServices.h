// What the two application-wide popup menus (the graphic menu and the style-properties menu)
// need of the application beyond the panels' services: which page is shown, where an exported
// graphic goes and the project it is kept in. The base class answers as a program without
// pages or projects would; the application installs its own at start-up (SetMenuServices),
// tests a small fake.
#pragma once

#include "framework/core/Afx.h"

class CTime;

class CMenuServices {
public:
    virtual ~CMenuServices() = default;

    // The main window shows a page with a graphic to edit (undo and create style apply to it).
    virtual bool IsEditablePageActive() { return false; }
    // The next free file the current graphic is exported to (an animated GIF name when it has
    // several states); empty when there is no graphic.
    virtual CString GetNextExportPath() { return CString(); }
    // The current project's folder (created when missing); empty without a graphic.
    virtual CString MakeProjectFolderPath() { return CString(); }
    // Dates a file written for the graphic; a photo's own files keep their dates.
    virtual bool SetFileTimeUnlessThumbnail(const CString& path, const CTime& time) { return false; }
};

// The installed services; never null.
CMenuServices& GetMenuServices();
// Installs services (not owned); null puts the base-class instance back.
void SetMenuServices(CMenuServices* services);

// What the utilities need from the rest of the application, behind one small interface.
//
// The utilities are linked into modules that know nothing of the application object, the
// operations manager or the message box. The application installs its own implementation at
// start-up (SetAppUtilServices); until then, and in tests, the defaults below answer: no root
// folder, no operations manager, internal errors only remembered, every question cancelled.
#pragma once

#include "framework/core/CString.h"

class CAppUtilServices {
public:
    virtual ~CAppUtilServices() = default;

    // The program root folder, ending with a backslash; empty while unknown.
    virtual CString GetRootPath();
    // The templates folder (root + templates folder name), ending with a backslash.
    virtual CString GetTemplatesFolder();

    // The operations manager exists / is editing a navigation bar.
    virtual bool HasOperationsManager();
    virtual bool IsNavBarMode();

    // Records an internal fault at a source line of a short source file name ("FileUtils.cpp").
    virtual void SetInternalError(unsigned line, const char* file);

    // Shows a warning whose text is the message string formatted with path; labels are string
    // ids (0 = no button). Answers the 1-based index of the button chosen.
    virtual int InformWarningWithPath(UINT messageId, const char* path, UINT label1, UINT label2,
                                      UINT label3, UINT label4, int defaultIndex, int cancelIndex);

    // The shell's display name of a special folder (CSIDL value); empty when unavailable.
    virtual CString GetSpecialFolderDisplayName(int csidl);
};

// The services in use; never null.
CAppUtilServices& AppUtilServices();
// Installs services (the caller keeps ownership); null restores the defaults.
void SetAppUtilServices(CAppUtilServices* services);

// A string of the string table, or fallback when the table has no such string.
CString LoadAppString(UINT id, const char* fallback);

// String table ids the utilities use.
enum : UINT {
    IDS_UTIL_PROJECT_TAG = 33110,        // "(Project)"
    IDS_UTIL_THEME_TAG = 33111,          // "(Theme)"
    IDS_UTIL_DEFAULT_NAME = 33129,       // "Graphic"
    IDS_UTIL_INVALID_FILE_CHARS = 33278, // "/*?\"<>|"
    IDS_UTIL_INVALID_URL_CHARS = 33279,  // "*\"<>|"
    IDS_UTIL_INSERT_DISK = 32943,
    IDS_UTIL_RETRY = 32945,
    IDS_UTIL_INSERT_CD = 32946,
    IDS_UTIL_DRIVE_ERROR = 32947,
    IDS_UTIL_CANCEL = 32916,
};

// CProjectsFolder: where the user's project folders live. Normally beside the templates in the
// templates folder; when that cannot be written (a read-only installation), in a folder of the
// user's own application data instead. The application makes one at start-up.
#pragma once

#include "framework/core/Afx.h"

class CProjectsFolder : public CObject {
public:
    // templatesFolder: the templates folder with the root and a trailing backslash.
    explicit CProjectsFolder(const CString& templatesFolder);

    // Makes sure project folders can be made: keeps the templates folder when it is writable,
    // else moves to the per-user folder (created when missing). 0 when neither can be written.
    int EnsureWritable();
    CString GetPath() const { return m_path; }
    int IsUsingFallback() const { return m_usingFallback; }

    // The per-user folder, with a trailing backslash; empty without an application-data folder.
    static CString GetFallbackPath();

private:
    CString m_path;  // ends with a backslash
    int m_usingFallback;
};

// Sends the current project's folder to a folder of the test's own while it lives, so that a
// drop never writes into the program root the tests share; every other menu service is the
// application's.
#pragma once

#include "editors/MenuServices.h"

class CProjectFolderRedirect : public CMenuServices {
public:
    explicit CProjectFolderRedirect(const CString& folder) : m_folder(folder), m_app(GetMenuServices())
    {
        SetMenuServices(this);
    }
    ~CProjectFolderRedirect() override { SetMenuServices(&m_app); }

    bool IsEditablePageActive() override { return m_app.IsEditablePageActive(); }
    CString GetNextExportPath() override { return m_app.GetNextExportPath(); }
    CString MakeProjectFolderPath() override
    {
        ::CreateDirectoryA(m_folder, nullptr);
        return m_folder;
    }
    bool SetFileTimeUnlessThumbnail(const CString& path, const CTime& time) override
    {
        return m_app.SetFileTimeUnlessThumbnail(path, time);
    }

private:
    CString m_folder;
    CMenuServices& m_app;
};

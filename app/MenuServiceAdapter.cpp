#include "app/MenuServiceAdapter.h"

#include "app/AppServices.h"
#include "app/ExportPaths.h"
#include "app/MainWinManager.h"
#include "app/TopLevelManager.h"
#include "app/WidgetsDlg.h"
#include "util/FileUtils.h"
#include "bitmap/BitmapServices.h"
#include "bitmap/ExportRecord.h"
#include "document/Options.h"
#include "editors/MenuServices.h"

namespace {

// Pages of the main window that show no graphic to edit: the design galleries and the export
// folder.
const int kDesignPage = 4;
const int kExportFolderPage = 6;

class CAppMenuServices : public CMenuServices {
public:
    bool IsEditablePageActive() override
    {
        CWidgetsDlg* dialog = GetMainDialog();
        auto* top = dialog ? dynamic_cast<CTopLevelManager*>(dialog->GetTopLevelManager()) : nullptr;
        CMainWinManager* main = top ? top->GetMainManager() : nullptr;
        CWinManagerBase* page = main && main->IsActive() ? main->GetCurrentPage() : nullptr;
        return page && page->GetType() != kDesignPage && page->GetType() != kExportFolderPage;
    }

    CString GetNextExportPath() override
    {
        COptions* record = GetOptions();
        if (!record)
            return CString();
        // Several states leave as an animated GIF, so the file is named for what it holds.
        ExportRecord* exported = GetBitmapServices().GetOptions();
        if (exported && exported->GetStateCount() > 1 && ExportExtension(record->GetExportType()) != "gif")
            return MakeNumberedName(CFileUtils::RemoveExtension(GetExportFolderPath()) + ".gif", CString());
        return ::GetNextExportPath();
    }

    CString MakeProjectFolderPath() override { return ::MakeProjectFolderPath(); }

    bool SetFileTimeUnlessThumbnail(const CString& path, const CTime& time) override
    {
        return ::SetFileTimeUnlessThumbnail(path, time);
    }
};

CAppMenuServices g_menuServices;

}  // namespace

void InstallMenuServiceAdapter()
{
    SetMenuServices(&g_menuServices);
}

void UninstallMenuServiceAdapter()
{
    SetMenuServices(nullptr);
}

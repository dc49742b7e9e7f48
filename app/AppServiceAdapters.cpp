#include "app/AppServiceAdapters.h"

#include "app/AppCommandLineInfo.h"
#include "app/AppServices.h"
#include "app/Errors.h"
#include "app/GalleryServiceAdapter.h"
#include "app/MenuServiceAdapter.h"
#include "app/PanelServiceAdapter.h"
#include "output/ExportGIFDlg.h"
#include "app/SaveServiceAdapter.h"
#include "app/UIServices.h"
#include "app/WidgetsDlg.h"
#include "app/WinManagerBase.h"
#include "util/FileUtils.h"
#include "app/widgets.h"
#include "bitmap/Bitmap32.h"
#include "bitmap/BitmapServices.h"
#include "bitmap/TessroContextConversion.h"
#include "document/NavBarModel.h"
#include "document/OperationsManager.h"
#include "document/OperationsOptionsServices.h"
#include "document/OperationsServices.h"
#include "document/Options.h"
#include "document/OptionsExportRecord.h"
#include "document/RenderRequest.h"
#include "document/TemplateWnd.h"
#include "editors/FontList.h"
#include "navbar/NavBar.h"
#include "navbar/NavBarServices.h"
#include "navbar/StateBadges.h"
#include "raster/Tessro.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <new>

namespace {

CWidgetsApp* App()
{
    return dynamic_cast<CWidgetsApp*>(AfxGetApp());
}

CAppCommandLineInfo* CommandLine()
{
    CWidgetsApp* app = App();
    return app ? app->GetCommandLine() : nullptr;
}

// The main dialog: the application's, else the framework's main window when that is one (a
// dialog made without the application object).
CWidgetsDlg* MainDialog()
{
    CWidgetsApp* app = App();
    if (app && app->GetMainDialog())
        return app->GetMainDialog();
    return dynamic_cast<CWidgetsDlg*>(AfxGetMainWnd());
}

// The current option record: the main dialog's.
COptions* CurrentRecord()
{
    CWidgetsDlg* dialog = MainDialog();
    return dialog ? dialog->m_options : nullptr;
}

// Internal errors of the modules name their source without a folder; the error record keeps a
// pointer, so the full name lives here until the next one.
void RecordInternalError(unsigned line, const char* source)
{
    static char path[MAX_PATH];
    std::snprintf(path, sizeof path, "%s%s", BW_SOURCE_PATH(""), source ? source : "");
    g_ErrorLine = line;
    g_ErrorFile = path;
    SetInternalError();
}

// The navigation bar model the operations manager owns, over the navigation bar module's bar.
class CAppNavBarModel : public CNavBarModel {
public:
    CNavBar& Bar() { return m_bar; }

    bool CreateDefaultButtons() override { return m_bar.CreateDefaultButtons() != 0; }
    void OnGraphicChanged(int flags, int renderRequest) override
    {
        m_bar.OnGraphicChanged(static_cast<DWORD>(flags), static_cast<DWORD>(renderRequest));
    }
    int Render(int redraw, int renderRequest) override { return m_bar.Render(redraw != 0, renderRequest); }
    void UpdateMenuColours() override { m_bar.UpdateMenuColours(); }
    void TakeMenuFontFromGraphic() override { m_bar.TakeMenuFontFromGraphic(); }
    bool DrawStateBadge(Bitmap32& surface) override
    {
        CStateBadges* badges = CStateBadges::GetInstance(&surface);
        return badges && badges->Draw() != 0;
    }

private:
    CNavBar m_bar;
};

// The option record's services: the manager side from the document module, the rest from the
// application.
class CAppOptionsServices : public COperationsOptionsServices {
public:
    CString GetRootPath() override { return ::GetRootPath(); }
    COptions* GetCurrentOptions() override { return CurrentRecord(); }
    // The version text stays the record's own: the application's display version is older than
    // the style files this program writes, and a lower number would mark them as old documents.

    bool IsHostedByEditor() override
    {
        CWidgetsApp* app = App();
        return app && app->m_hosted;
    }
    bool IsThumbnailRequested() override
    {
        CAppCommandLineInfo* line = CommandLine();
        return line && line->m_thumbnail;
    }
    CString GetDocPath() override
    {
        CAppCommandLineInfo* line = CommandLine();
        return line ? line->GetDocPath() : CString();
    }
    bool TakeHostBackgroundColour(COLORREF& colour) override
    {
        CAppCommandLineInfo* line = CommandLine();
        if (!line || !line->m_backgroundGiven)
            return false;
        colour = line->m_backgroundColour;
        line->m_backgroundGiven = 0;
        return true;
    }

    void InformError(unsigned messageId) override { ::InformError(messageId); }
    void ReportWarning(unsigned messageId, const CString& argument) override
    {
        ::ReportWarning(messageId, static_cast<const char*>(argument));
    }
    void InformWarningWithPath(unsigned messageId, const CString& path) override
    {
        ::InformWarningWithPath(messageId, path);
    }
    void SetInternalError(int line, const char* file) override
    {
        RecordInternalError(static_cast<unsigned>(line), file);
    }

    // Fonts: the application's installed-font list and the substitution file.
    bool SubstituteFont(CString& face) override
    {
        return ::SubstituteFont(GetApplicationFontList(), ::GetRootPath(), &face) != 0;
    }
    bool FindInstalledFont(const CString& fullName, CInstalledFont& font) override
    {
        const ENUMLOGFONTA* record = GetApplicationFontList().FindFullName(fullName, false);
        if (!record)
            return false;
        font.weight = record->elfLogFont.lfWeight;
        font.italic = record->elfLogFont.lfItalic != 0;
        font.fullName = GetFullName(*record);
        font.styleName = reinterpret_cast<const char*>(record->elfStyle);
        return true;
    }

    // The record's view of the manager's navigation bar: without it a bar's style file would
    // load as a single graphic, leaving the bar without its states and their styles.
    bool HasNavBar() override { return GetManagerNavBar() != nullptr; }
    void NavBarWriteMenuRecords(std::vector<CString>& records) override
    {
        if (CNavBar* bar = GetManagerNavBar())
            bar->WriteMenuRecords(&records);
    }
    CString NavBarGetSettingsString() override
    {
        CNavBar* bar = GetManagerNavBar();
        return bar ? bar->GetSettingsString() : CString();
    }
    CString NavBarGetImageFolder() override
    {
        CNavBar* bar = GetManagerNavBar();
        return bar ? bar->GetImageFolder() : CString();
    }
    void NavBarSetImageFolder(const CString& folder) override
    {
        if (CNavBar* bar = GetManagerNavBar())
            bar->SetImageFolder(folder);
    }
    void NavBarClearURLChoices() override
    {
        if (CNavBar* bar = GetManagerNavBar())
            bar->ClearURLChoices();
    }
    void NavBarSetParseButtons() override
    {
        if (CNavBar* bar = GetManagerNavBar())
            bar->SetParseButtons(true);
    }
    bool NavBarLoadFromTemplate(const CString& html, const CString& path, const std::vector<CString>& menuRecords,
                                const CString& settings, int coloursFromFile, int settingsOrigin) override
    {
        CNavBar* bar = GetManagerNavBar();
        if (!bar)
            return false;
        std::vector<CString> records = menuRecords;
        return bar->LoadFromTemplate(html, path, &records, settings, coloursFromFile, settingsOrigin) != 0;
    }
    // The size of the bar as last rendered; before its first rendering the graphic's own.
    bool NavBarGetTotalSize(int& width, int& height) override
    {
        CNavBar* bar = GetManagerNavBar();
        if (!bar || bar->GetBarWidth() <= 0 || bar->GetBarHeight() <= 0)
            return false;
        width = bar->GetBarWidth();
        height = bar->GetBarHeight();
        return true;
    }
};

// The operations manager's services.
class CAppOperationsServices : public COperationsServices {
public:
    void ShowMessage(MessageSeverity severity, unsigned messageId, const CString& argument) override
    {
        const char* text = argument;
        if (severity == MessageSeverity::kError)
            ::ReportError(messageId, text);
        else
            ::ReportWarning(messageId, text);
    }
    void ShowError(unsigned messageId) override { ::InformError(messageId); }
    void InternalError(int line, const char* source) override
    {
        RecordInternalError(static_cast<unsigned>(line), source);
    }
    COptions* GetOptions() override { return CurrentRecord(); }
    COperationsManager* GetOperationsManager() override
    {
        // The main dialog's manager; while it initialises (before the dialog hands it out) the
        // one that is initialising.
        CWidgetsDlg* dialog = MainDialog();
        if (COperationsManager* manager = dialog ? dialog->GetOperationsManager() : nullptr)
            return manager;
        return COperationsManager::GetInitialised();
    }
    CString GetRootPath() override { return ::GetRootPath(); }
    CNavBarModel* CreateNavBar() override { return new (std::nothrow) CAppNavBarModel; }
    // The preview asks after it was resized: the current page renders it again at its new
    // size (without a page yet, it renders itself).
    void RenderWindow(void* window) override
    {
        if (!window)
            return;
        CTemplateWnd* preview = static_cast<CTemplateWnd*>(window);
        if (CWinManagerBase* manager = CWinManagerBase::CurrentManager())
            manager->RenderWindow(preview);
        else
            preview->Render(0, nullptr);
    }
};

// Bitmap export's services.
class CAppBitmapServices : public BitmapServices {
public:
    void InternalError(const char* sourceName, int line) override
    {
        RecordInternalError(static_cast<unsigned>(line), sourceName);
    }
    TessroConversion* GetTessroContext() override
    {
        CTessro* tessro = ::GetTessroContext();
        TessroContext* context = tessro ? tessro->GetContext() : nullptr;
        if (!context)
            return nullptr;
        if (!m_conversion || m_conversion->Context() != context)
            m_conversion.reset(new (std::nothrow) TessroContextConversion(context));
        return m_conversion.get();
    }
    CTessro* GetTessro() override { return ::GetTessroContext(); }
    ExportRecord* GetOptions() override
    {
        COptions* record = CurrentRecord();
        if (!record)
            return nullptr;
        if (!m_record || m_recordOf != record) {
            m_record.reset(new (std::nothrow) COptionsExportRecord(*record));
            m_recordOf = m_record ? record : nullptr;
        }
        return m_record.get();
    }

    bool RenderPreview(int redraw, int flags) override
    {
        return ::RenderPreview(redraw, static_cast<DWORD>(flags)) != 0;
    }
    // Export calls this as (redraw, request word), like the preview's own RenderWithFlags.
    bool RenderWithFlags(int redraw, int word) override
    {
        return ::RenderWithFlags(redraw, static_cast<DWORD>(word)) != 0;
    }
    Bitmap32* GetRenderedBitmap(int width, int height) override
    {
        std::unique_ptr<std::uint32_t[]> pixels(::GetRenderedBitmap(&width, &height));
        if (!pixels || width <= 0 || height <= 0)
            return nullptr;
        std::unique_ptr<Bitmap32> bitmap(new (std::nothrow) Bitmap32);
        if (!bitmap || bitmap->CreateFromPixels(width, height, pixels.get()) != 0)
            return nullptr;
        return bitmap.release();
    }
    void EnablePreviewPaint(bool enable) override { ::EnablePreviewPaint(enable); }

    bool HasOperationsManager() override { return GetOperationsServices().GetOperationsManager() != nullptr; }
    CAnimationRenderer* GetAnimationRenderer() override
    {
        COperationsManager* manager = GetOperationsServices().GetOperationsManager();
        return manager ? manager->GetAnimationRenderer() : nullptr;
    }
    int ShowPreviewPicture(int width, int height, const std::uint32_t* pixels) override
    {
        CTemplateWnd* window = GetPreviewWindow();
        if (!window)
            return -1;
        if (!pixels || width <= 0 || height <= 0)
            return 0;
        try {
            window->ShowFrame(width, height, pixels);
        } catch (...) {
            return 0;  // the window has reported the lack of memory
        }
        return 1;
    }

    bool BeginWaitCursor() override
    {
        CWidgetsDlg* dialog = MainDialog();
        CUIServices* ui = dialog ? dialog->GetUIServices() : nullptr;
        if (!ui)
            return false;
        ui->BeginWaitCursor();
        return true;
    }
    void EndWaitCursor() override
    {
        CWidgetsDlg* dialog = MainDialog();
        if (CUIServices* ui = dialog ? dialog->GetUIServices() : nullptr)
            ui->ReleaseCaptureCursor(0);
    }
    void InformWarning(int messageId, int buttonId) override
    {
        ::InformWarning(static_cast<UINT>(messageId), static_cast<UINT>(buttonId));
    }
    void ReportError(int messageId, const char* argument) override
    {
        ::ReportError(static_cast<UINT>(messageId), argument ? argument : "");
    }
    void CreateFolder(const char* path) override
    {
        if (!path)
            return;
        const CString file(path);
        const int slash = std::max(file.ReverseFind('\\'), file.ReverseFind('/'));
        if (slash > 0)
            CFileUtils::CreateFolder(file.Left(slash), TRUE);
    }

private:
    std::unique_ptr<TessroContextConversion> m_conversion;
    std::unique_ptr<COptionsExportRecord> m_record;
    COptions* m_recordOf = nullptr;
};

// The navigation bar's services: the bar the manager owns, its preview window and the
// instance's folders; fonts, text measuring, the export folder and the thumbnail are the
// module's own.
class CAppNavBarServices : public CNavBarServices {
public:
    CNavBar* GetNavBar() override { return GetManagerNavBar(); }
    bool IsHostedByEditor() override
    {
        CWidgetsApp* app = App();
        return app && app->m_hosted;
    }
    int GetEditorKind() override
    {
        CWidgetsApp* app = App();
        return app && app->GetCommandLine() ? app->GetCommandLine()->m_editorKind : 0;
    }
    void Refresh(bool redraw, DWORD flags) override
    {
        if (COperationsManager* manager = GetOperationsServices().GetOperationsManager())
            manager->Refresh(redraw ? 1 : 0, flags);
    }

    bool HasPreviewWindow() override { return GetPreviewWindow() != nullptr; }
    bool RenderCurrentGraphic(Bitmap32& image) override
    {
        // The item's text was just written: the page is read again so the render takes the
        // size the engine now gives (a longer caption is wider), not the last item's size.
        if (!GetPreviewWindow() || !::RenderPreview(0, kRenderPageRefresh | kRenderUnused200))
            return false;
        int width = 0, height = 0;
        GetPreviewSize(&width, &height);
        const std::uint32_t* pixels = GetPreviewPixels();
        if (!pixels || width <= 0 || height <= 0)
            return false;
        return image.CreateFromPixels(width, height, pixels) == 0;
    }
    bool ShowBarImage(const Bitmap32& image, bool redraw) override
    {
        CTemplateWnd* window = GetPreviewWindow();
        if (!window || !image.Pixels() || image.Width() <= 0 || image.Height() <= 0)
            return false;
        try {
            window->ShowFrame(image.Width(), image.Height(), image.Pixels());
        } catch (...) {
            return false;
        }
        // The window shows the new buffer once it is composed (shadow, background, badge).
        ::RenderPreview(redraw ? 1 : 0, kRenderKeepBuffer);
        return true;
    }
    void EnablePreviewPaint(bool enable) override { ::EnablePreviewPaint(enable); }
    bool CurrentManagerNeedsLeaveNotify() override
    {
        CWidgetsApp* app = App();
        return app && app->m_currentManager && app->m_currentManager->NeedsLeaveNotify();
    }
    HWND GetMainWindow() override
    {
        CWidgetsDlg* dialog = ::GetMainDialog();
        return dialog ? dialog->GetSafeHwnd() : nullptr;
    }
    RECT GetPreviewClientRect() override
    {
        RECT rect = {0, 0, 0, 0};
        CTemplateWnd* window = GetPreviewWindow();
        if (window && window->GetSafeHwnd())
            window->GetClientRect(&rect);
        return rect;
    }
    bool ShowPreviewImage(const CString& path, int flag) override { return ::ShowPreviewImage(path, flag) != 0; }
    bool CopyToPreview(const Bitmap32& image, int x, int y) override
    {
        CTemplateWnd* window = GetPreviewWindow();
        if (!window || !window->CopyToSurface(image.Pixels(), image.Width(), image.Height(), x, y))
            return false;
        RepaintPreview();
        return true;
    }
    CString GetTemporaryExportPath() override
    {
        COptions* record = CurrentRecord();
        return GetTempExportPath(record ? record->GetExportType() : 0);
    }
    bool IsShowTrimmed() override { return CExportGIFDlg::IsShowTrimmed(); }
    DWORD GetTickCount() override { return ::GetTickCount(); }
    void SetLastRenderTime(DWORD milliseconds) override
    {
        if (CWidgetsApp* app = App())
            app->m_lastRenderTime = milliseconds;
    }

    void ReportError(unsigned messageId) override { ::InformError(messageId); }
    unsigned AskNavBarOrientation() override { return AskNavBarOrientationBox(); }
    void SetInternalError(int line, const char* file) override
    {
        RecordInternalError(static_cast<unsigned>(line), file);
    }
    CString GetInstanceTempFolder() override
    {
        CWidgetsApp* app = App();
        return app ? app->GetTempFolderPath() : CString();
    }
};

CAppOptionsServices g_optionsServices;
CAppOperationsServices g_operationsServices;
CAppBitmapServices g_bitmapServices;
CAppNavBarServices g_navBarServices;

}  // namespace

void InstallAppServiceAdapters()
{
    InstallAppUtilServices();
    SetOptionsServices(&g_optionsServices);
    SetOperationsServices(&g_operationsServices);
    SetBitmapServices(&g_bitmapServices);
    SetNavBarServices(&g_navBarServices);
    InstallGalleryServiceAdapter();
    InstallSaveServiceAdapter();
    InstallPanelServiceAdapter();
    InstallMenuServiceAdapter();
}

void UninstallAppServiceAdapters()
{
    UninstallMenuServiceAdapter();
    UninstallPanelServiceAdapter();
    UninstallSaveServiceAdapter();
    UninstallGalleryServiceAdapter();
    SetNavBarServices(nullptr);
    SetBitmapServices(nullptr);
    SetOperationsServices(nullptr);
    SetOptionsServices(nullptr);
}

CNavBar* GetManagerNavBar()
{
    COperationsManager* manager = GetOperationsServices().GetOperationsManager();
    // Every bar model in this program is made by CreateNavBar above.
    CAppNavBarModel* model = manager ? static_cast<CAppNavBarModel*>(manager->GetNavBar()) : nullptr;
    return model ? &model->Bar() : nullptr;
}

void FeedNavBarPreview(int screenX, int screenY, int flags)
{
    CTemplateWnd* window = GetPreviewWindow();
    if (!window)
        return;
    const POINT screen = {screenX, screenY};
    OnNavBarPreviewMouse(window->DesignPointFromScreen(screen), screen, flags);
}

CString GetTempExportPath(int exportType)
{
    // In this instance's own temporary folder: another instance's estimate is not ours to
    // reuse or overwrite. Without the application, the system's temporary folder.
    CWidgetsApp* app = App();
    CString folder = app ? app->GetTempFolderPath() : CString();
    if (folder.IsEmpty()) {
        char system[MAX_PATH + 1] = {};
        const DWORD length = ::GetTempPathA(sizeof system, system);
        if (length == 0 || length >= sizeof system)
            return CString();
        folder = system;
    } else {
        CFileUtils::CreateFolder(folder + "temptwg", TRUE);
    }
    const char* extension = exportType == 1 ? ".jpg" : exportType == 0 ? ".gif" : ".png";
    return folder + "temptwg" + extension;
}

unsigned AskNavBarOrientationBox()
{
    CErrorBoxInfo info = {};
    info.messageId = 32904;
    info.labels[0] = 32905;
    info.labels[1] = 32906;
    info.labels[2] = 32916;
    info.defaultIndex = 1;
    info.cancelIndex = 3;
    const int answer = InformMessageEx(&info);
    return answer == 32905 || answer == 32906 ? static_cast<unsigned>(answer) : 32916u;
}

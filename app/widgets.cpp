#include "app/widgets.h"

#include "app/AppBackground.h"
#include "app/AppCommandLineInfo.h"
#include "app/AppServiceAdapters.h"
#include "app/AppServices.h"
#include "app/Errors.h"
#include "app/HelpPages.h"
#include "editors/GraphicMenu.h"
#include "editors/PropertiesMenu.h"
#include "app/OnIdleManager.h"
#include "panels/PanelMessage.h"
#include "app/ProjectsFolder.h"
#include "app/Resource.h"
#include "app/SplashDlg.h"
#include "app/TemplateMedium.h"
#include "app/UpdateCheck.h"
#include "app/CopyTemplatesDlg.h"
#include "app/VyButtonWindow.h"
#include "app/Tessro3DLink.h"
#include "app/WidgetsDlg.h"
#include "app/WinManagerBase.h"
#include "util/FileUtils.h"
#include "util/Registry.h"
#include "gallery/AutoGenerateTemplates.h"
#include "bitmap/BitmapExporter.h"
#include "bitmap/Dib.h"
#include "bitmap/ImageImport.h"
#include "document/Options.h"
#include "raster/Tessro.h"

#include <objbase.h>
#include <ole2.h>

#include <cstdlib>
#include <ctime>
#include <vector>

namespace {
Tessro3DLink g_tessro3d = {nullptr, nullptr};

const char kMutexName[] = "autorunBarwrightMutex";
const char kResourceProbe[] = "SysResources\\Graphics\\graphictypes.web";

// A REG_DWORD value; false when it is missing or of another form.
bool ReadDword(HKEY key, const char* name, DWORD& value)
{
    DWORD type = 0, size = sizeof value;
    return ::RegQueryValueExA(key, name, nullptr, &type, (BYTE*)&value, &size) == ERROR_SUCCESS &&
           type == REG_DWORD && size == sizeof value;
}

// A string value of any length, terminated after the bytes read: the program stores its
// strings without a terminating NUL.
CString ReadString(HKEY key, const char* name)
{
    DWORD type = 0, size = 0;
    if (::RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
        return CString();
    std::vector<char> buffer(size + 1, 0);
    DWORD got = size;
    if (::RegQueryValueExA(key, name, nullptr, &type, (BYTE*)buffer.data(), &got) != ERROR_SUCCESS)
        return CString();
    if (got > size)
        got = size;
    buffer[got] = 0;
    return CString(buffer.data());
}

void WriteString(HKEY key, const char* name, const CString& text)
{
    ::RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)(const char*)text, (DWORD)text.GetLength());
}

const char* RegisterOwnerClass()
{
    static const char kClass[] = "BarwrightOwner";
    WNDCLASSA wc = {};
    if (!::GetClassInfoA(AfxGetInstanceHandle(), kClass, &wc)) {
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = AfxGetInstanceHandle();
        wc.lpszClassName = kClass;
        ::RegisterClassA(&wc);
    }
    return kClass;
}

void SetMainMessageBoxUp(int up)
{
    if (CWidgetsDlg* dlg = GetMainDialog())
        dlg->m_messageBoxUp = up;
}

// The size of the picture a thumbnail switch names, through the image readers.
BOOL ReadImageSize(const CString& path, int* width, int* height)
{
    RECT size = {0, 0, 0, 0};
    if (!GetImageSize(path, &size))
        return FALSE;
    *width = size.right;
    *height = size.bottom;
    return TRUE;
}

void RepaintMainDialog()
{
    if (CWidgetsDlg* dlg = GetMainDialog())
        dlg->PaintNow();
}
}  // namespace

void SetTessro3DLink(const Tessro3DLink& link)
{
    g_tessro3d = link;
}

const Tessro3DLink& GetTessro3DLink()
{
    return g_tessro3d;
}

void* Tessro3DAlloc(std::uint32_t size)
{
    return std::malloc(((size_t)size + 3) & ~(size_t)3);
}

void Tessro3DFree(void* block)
{
    std::free(block);
}

CWidgetsApp::CWidgetsApp()
    : CWinApp("Barwright 1"), m_dialogIcons{}, m_mainDialog(nullptr), m_quickStart(0), m_versionInfo(),
      m_lastPreviewTime(0), m_lastRenderTime(1), m_lastEffectsTime(1), m_buttonBar(nullptr), m_currentManager(nullptr),
      m_mediumTypesLoaded(0), m_galleryRefill(1), m_ownerWindow(nullptr), m_sharedStrings(nullptr),
      m_commandLine(nullptr), m_hosted(0), m_administrator(0), m_navBarFlag(0), m_idleManager(nullptr),
      m_tessro(nullptr), m_projectsFolder(nullptr), m_splash(nullptr), m_graphicMenu(nullptr),
      m_propertiesMenu(nullptr), m_mutex(nullptr), m_generate(0), m_runningCounted(false), m_comInitialised(false), m_oleInitialised(false),
      m_tessro3dReady(false)
{
    m_resourceProbe = kResourceProbe;
    m_versionInfo.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    m_quickStart = std::clock() <= 1800 ? 1 : 0;
    m_idleManager = new COnIdleManager;
    try {
        m_tessro = new CTessro(CTessro::kAppStackAllowance);
    } catch (...) {
        m_tessro = nullptr;  // drawing with the rasterizer fails cleanly without a context
    }
}

CWidgetsApp::~CWidgetsApp()
{
    delete m_splash;
    m_splash = nullptr;
    // The shared background renderer is a COM object: it goes while COM is still up.
    CAppBackground::ReleaseSharedBackground();
    if (m_tessro3dReady && g_tessro3d.release)
        g_tessro3d.release();
    delete m_sharedStrings;
    m_sharedStrings = nullptr;
    delete m_projectsFolder;
    m_projectsFolder = nullptr;
    delete m_tessro;
    m_tessro = nullptr;
    if (m_oleInitialised)
        ::OleUninitialize();
    if (m_comInitialised)
        ::CoUninitialize();

    // An export folder on a floppy or a network share may be gone next time.
    if (HKEY options = OpenOptionsKey()) {
        const CString exportDir = ReadString(options, "ExportDir");
        if (!exportDir.IsEmpty() && CString("\\aAbB").Find(exportDir[0]) >= 0)
            WriteString(options, "ExportDir", "");
        CloseRegKey(options);
    }
    delete m_commandLine;
    m_commandLine = nullptr;
    delete m_idleManager;
    m_idleManager = nullptr;
    if (m_mutex)
        ::CloseHandle(m_mutex);
}

BOOL CWidgetsApp::FindRootFolder()
{
    char module[MAX_PATH + 1] = {};
    ::GetModuleFileNameA(nullptr, module, MAX_PATH);
    CString root = module;
    root = root.Left(root.ReverseFind('\\') + 1);
    if (CFileUtils::FileExists(root + m_resourceProbe)) {
        m_rootPath = root;
        return TRUE;
    }
    CString parent = root.Left(root.GetLength() - 1);
    parent = parent.Left(parent.ReverseFind('\\') + 1);
    if (!parent.IsEmpty() && CFileUtils::FileExists(parent + m_resourceProbe)) {
        m_rootPath = parent;
        return TRUE;
    }
    return FALSE;
}

void CWidgetsApp::UpdateStartupValues()
{
    HKEY startup = OpenStartupKey(nullptr);
    if (!startup)
        return;
    WriteString(startup, "rootpath", m_rootPath);
    DWORD running = 0;
    if (!ReadDword(startup, "Running", running))
        running = 0;
    SetRegDWORD(startup, "Running", running + 1);
    m_runningCounted = true;
    m_currentProject = ReadString(startup, "Proj");
    if (m_currentProject.IsEmpty())
        m_currentProject.LoadString(IDS_DEFAULT_PROJECT);
    DWORD generate = 0;
    m_generate = ReadDword(startup, "Generate", generate) ? (int)generate : 0;
    CloseRegKey(startup);
}

BOOL CWidgetsApp::InitInstance()
{
    MessageBoxHost host = {SetMainMessageBoxUp, RepaintMainDialog};
    SetMessageBoxHost(host);
    InstallAppServiceAdapters();

    m_mutex = ::CreateMutexA(nullptr, TRUE, kMutexName);
    const bool otherInstance = m_mutex && ::GetLastError() == ERROR_ALREADY_EXISTS;

    m_versionInfo.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    ::GetVersionExA(&m_versionInfo);

    if (g_tessro3d.setUp) {
        g_tessro3d.setUp();
        m_tessro3dReady = true;
    }

    m_comInitialised = SUCCEEDED(::CoInitialize(nullptr));

    if (!FindRootFolder()) {
        InformError(IDS_NO_RESOURCES);
        return FALSE;
    }

    IsAdministrator(&m_administrator);

    if (m_mutex)
        m_tempFolder.m_number = otherInstance ? (int)::GetCurrentProcessId() : 0;

    SetRegistryKey("Quor");
    ::SetCursor(::LoadCursorA(nullptr, IDC_APPSTARTING));

    static const UINT kDialogIcons[6] = {IDI_DIALOG_315, IDI_DIALOG_316, IDI_DIALOG_317,
                                         IDI_DIALOG_318, IDI_DIALOG_331, IDI_DIALOG_396};
    for (int i = 0; i < 6; ++i)
        m_dialogIcons[i] = ::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(kDialogIcons[i]));

    m_commandLine = new (std::nothrow) CAppCommandLineInfo;
    if (!m_commandLine) {
        BW_INTERNAL_ERROR("widgets.cpp");
        return FALSE;
    }
    // The command line reads the size of a thumbnail's picture (it finds the style file that
    // made a picture it names through the galleries' finder).
    CAppCommandLineInfo::SetImageSizeReader(ReadImageSize);
    ParseCommandLine(*m_commandLine);
    m_commandLine->Normalise();

    if (m_commandLine->m_graphicType == 12 && CFileUtils::FileExists(m_commandLine->m_strFileName)) {
        const CString file = m_commandLine->m_strFileName;
        const CString folder = file.Left(file.ReverseFind('\\') + 1);
        if (!CFileUtils::IsFolderWritable(folder) || CFileUtils::IsReadOnly(file)) {
            InformWarning(IDS_IMAGE_NOT_EDITABLE, IDS_LABEL_OK);
            return FALSE;
        }
    }

    m_hosted = ::IsWindow(m_commandLine->m_editorWindow) ? 1 : 0;

    m_projectsFolder = new (std::nothrow) CProjectsFolder(GetTemplatesFolder(true, true, false));
    if (!m_projectsFolder) {
        BW_INTERNAL_ERROR("widgets.cpp");
        return FALSE;
    }
    m_projectsFolder->EnsureWritable();

    if (!CheckOutsideComponents()) {
        InformWarning(IDS_COMPONENTS_FAILED, IDS_LABEL_OK);
        return FALSE;
    }

    m_templateMedium = FindTemplateMedium();

    m_sharedStrings = new (std::nothrow) CStringArray;
    if (!m_sharedStrings) {
        BW_INTERNAL_ERROR("widgets.cpp");
        return FALSE;
    }

    m_splash = new (std::nothrow) CSplashDlg;
    if (!m_splash)
        return FALSE;
    m_splash->m_statusText = GetVersionLine();
    m_splash->Show();  // without its picture the program starts all the same

    if (FAILED(::OleInitialize(nullptr))) {
        AfxMessageBox(IDS_OLE_INIT_FAILED);
        return FALSE;
    }
    m_oleInitialised = true;

    UpdateStartupValues();
    InstallTemplateCopyDialog();
    CopyTemplatesFromMedium(m_templateMedium);

    m_mainDialog = new (std::nothrow) CWidgetsDlg(m_splash, nullptr);
    if (!m_mainDialog) {
        SetErrorFromId(IDS_OUT_OF_MEMORY);
        InformError(0);
        return FALSE;
    }
    m_pMainWnd = m_mainDialog;

    CWnd* owner = nullptr;
    if (m_hosted) {
        // An invisible owner whose parent is the editor's window keeps the main dialog above
        // the editor and off the taskbar.
        const char* ownerClass = RegisterOwnerClass();
        m_ownerWindow = new CWnd;
        if (m_ownerWindow->CreateEx(WS_EX_TOOLWINDOW, ownerClass, "", WS_POPUP, -20, -20, 40, 40,
                                    m_commandLine->m_editorWindow, nullptr))
            owner = m_ownerWindow;
    }

    const BOOL created = m_mainDialog->Create(IDD_WIDGETS_DIALOG, owner);
    if (CAppBackground::IsRendererMissing()) {
        // The document renderer is registered but cannot be made: no page could be drawn.
        InformWarning(IDS_COMPONENTS_FAILED, IDS_LABEL_OK);
        return FALSE;
    }
    if (!created) {
        if (m_mainDialog->m_initFailed)
            return FALSE;
        if (!g_ErrorSlotFree)
            InformError(0);
        else
            InformError(IDS_NO_MAIN_DIALOG);
        return FALSE;
    }
    if (m_mainDialog->m_initFailed)
        return FALSE;
    // The pages take pictures in through the image importer and write them through the
    // exporter: without either the program cannot work (each check tells the user).
    if (!CheckImporterAvailable() || !CheckExporterAvailable())
        return FALSE;
    if (m_hosted) {
        m_mainDialog->ModifyStyleEx(WS_EX_APPWINDOW, 0);
        m_mainDialog->ModifyStyle(WS_MINIMIZEBOX, 0);
    }

    InitUpdateTimestamps();
    if (m_administrator)
        m_mainDialog->ShowUpdateCheck(m_commandLine->m_update ? 0 : 2, m_commandLine->m_update ? 1 : 0);

    m_graphicMenu = new (std::nothrow) CGraphicMenu;
    m_propertiesMenu = new (std::nothrow) CPropertiesMenu;

    if (m_mainDialog->IsIconic() || m_mainDialog->IsZoomed())
        m_mainDialog->GetSystemMenu(FALSE)->EnableMenuItem(IDM_DEFAULT_SIZE, MF_BYCOMMAND | MF_GRAYED);

    {
        CClientDC dc(m_mainDialog);
        SelectAppPalette(&dc);
    }

    if (CWinManagerBase* manager = m_mainDialog->GetTopLevelManager())
        manager->ActivateStartPage();

    if (m_generate) {
        // Reset first, so that an interrupted run is not repeated at the next start.
        CString title;
        title.LoadString(IDS_GENERATING);
        m_mainDialog->SetWindowText(title);
        if (HKEY startup = OpenStartupKey(nullptr)) {
            SetRegDWORD(startup, "Generate", 0);
            CloseRegKey(startup);
        }
        // The installer asked for the library's style files and thumbnails: made now, while a
        // small window says why the program is not ready yet.
        HWND progress = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_PROGRESS),
                                             m_mainDialog->m_hWnd, nullptr, 0);
        if (progress) {
            RECT main, box;
            m_mainDialog->GetWindowRect(&main);
            ::GetWindowRect(progress, &box);
            ::SetWindowPos(progress, nullptr,
                           main.left + ((main.right - main.left) - (box.right - box.left)) / 2,
                           main.top + ((main.bottom - main.top) - (box.bottom - box.top)) / 2, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER);
            ::ShowWindow(progress, SW_SHOW);
            ::UpdateWindow(progress);
        }
        {
            CAutoGenerateTemplates generator;
            generator.GenerateFolder(GetTemplatesFolder(true, true, false), m_mainDialog->GetOperationsManager(),
                                     GetOptions(), progress ? CWnd::FromHandle(progress) : nullptr, 1);
        }
        if (progress)
            ::DestroyWindow(progress);
        m_mainDialog->UpdateTitle();
        if (COptions* options = GetOptions())
            options->SetDefaultShadow();
    }

    m_mainDialog->PerformCommandLineAction(*m_commandLine);

    if (m_commandLine->m_folderGiven)
        SetExportDir(m_commandLine->GetFileFolder());

    ShowMainWindow();
    ::LoadLibraryA("RICHED32.DLL");
    return TRUE;
}

int CWidgetsApp::Run()
{
    return CWinApp::Run();
}

BOOL CWidgetsApp::OnIdle(LONG count)
{
    const BOOL framework = CWinApp::OnIdle(count);
    if (m_idleManager && m_idleManager->OnIdle(count))
        return TRUE;
    return framework;
}

int CWidgetsApp::ExitInstance()
{
    if (m_runningCounted) {
        if (HKEY startup = OpenStartupKey(nullptr)) {
            DWORD running = 1;
            if (!ReadDword(startup, "Running", running))
                running = 1;
            CString blank;
            if (blank.LoadString(IDS_SYSBLANK_FILE))
                ::DeleteFileA(m_rootPath + blank);
            SetRegDWORD(startup, "Running", running > 0 ? running - 1 : 0);
            CloseRegKey(startup);
        }
        m_runningCounted = false;
    }
    delete m_graphicMenu;
    m_graphicMenu = nullptr;
    if (COptions* options = GetOptions())
        options->SaveDialogPrefs();
    delete m_propertiesMenu;
    m_propertiesMenu = nullptr;
    if (m_mainDialog) {
        m_mainDialog->DestroyWindow();
        delete m_mainDialog;
        m_mainDialog = nullptr;
        m_pMainWnd = nullptr;
    }
    if (m_ownerWindow) {
        m_ownerWindow->DestroyWindow();
        delete m_ownerWindow;
        m_ownerWindow = nullptr;
    }
    return CWinApp::ExitInstance();
}

void CWidgetsApp::ShowMainWindow()
{
    delete m_splash;
    m_splash = nullptr;
    if (!m_mainDialog || !m_mainDialog->GetSafeHwnd())
        return;
    m_mainDialog->ShowWindow(m_mainDialog->m_startMaximised ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    m_mainDialog->SetFocus();
}

COptions* CWidgetsApp::GetOptions()
{
    return m_mainDialog ? m_mainDialog->m_options : nullptr;
}

COptions* CWidgetsApp::GetBackupOptions()
{
    return m_mainDialog ? m_mainDialog->m_backupOptions : nullptr;
}

COperationsManager* CWidgetsApp::GetOperationsManager()
{
    return m_mainDialog ? m_mainDialog->GetOperationsManager() : nullptr;
}

CString CWidgetsApp::GetTemplatesFolder(bool withBackslash, bool withRoot, bool lowerCase) const
{
    CString folder;
    if (!folder.LoadString(IDS_TEMPLATES_FOLDER))
        folder = "TWTemplates";
    if (withBackslash)
        folder += "\\";
    if (withRoot)
        folder = m_rootPath + folder;
    if (lowerCase)
        folder.MakeLower();
    return folder;
}

CString CWidgetsApp::GetTempStyleFileName(int graphicType, bool withExtension)
{
    CString name;
    if (!withExtension)
        name.Format("~ast%d", graphicType);
    else if (graphicType == 7)
        name = "~ast7_off.qtw";
    else
        name.Format("~ast%d.qtw", graphicType);
    return name;
}

void CWidgetsApp::SetCurrentProject(const CString& name)
{
    m_currentProject = name;
    if (HKEY startup = OpenStartupKey(nullptr)) {
        WriteString(startup, "Proj", name);
        CloseRegKey(startup);
    }
    if (m_mainDialog && m_mainDialog->GetSafeHwnd())
        m_mainDialog->UpdateTitle();
}

bool CWidgetsApp::SetExportDir(const CString& folder)
{
    HKEY options = OpenOptionsKey();
    if (!options)
        return false;
    const bool written = ::RegSetValueExA(options, "ExportDir", 0, REG_SZ, (const BYTE*)(const char*)folder,
                                          (DWORD)folder.GetLength()) == ERROR_SUCCESS;
    CloseRegKey(options);
    return written;
}

void CWidgetsApp::SendCommand(const CString& command, int)
{
    if (m_pMainWnd && m_mainDialog)
        m_mainDialog->SendCommand(command);
}

void CWidgetsApp::SendMessageToManagers(CPanelMessage* message, int withWait)
{
    if (!message)
        return;
    if (message->GetKind() == 3 && m_currentManager) {
        m_currentManager->HandleMessage(message);
        return;
    }
    if (m_pMainWnd && m_mainDialog)
        m_mainDialog->SendMessageToManagers(message, withWait);
}

void CWidgetsApp::RefreshCurrentManager(int repaintBar, int prompt, int view, int background, int panel)
{
    if (repaintBar && m_buttonBar)
        m_buttonBar->RepaintAll();
    if (m_currentManager)
        m_currentManager->Refresh(prompt, view, background, panel);
}

CString CWidgetsApp::GetOSVersionText() const
{
    CString text;
    if (IsWindowsNT())
        text.LoadString(IDS_WINDOWS_NT);
    else if (IsWindows9x())
        text.LoadString(IDS_WINDOWS_95);
    else
        text.LoadString(IDS_WINDOWS_UNKNOWN);
    CString numbers;
    numbers.Format(" %d.%d (%d) ", (int)m_versionInfo.dwMajorVersion, (int)m_versionInfo.dwMinorVersion,
                   (int)m_versionInfo.dwBuildNumber);
    return text + numbers + m_versionInfo.szCSDVersion;
}

CString CWidgetsApp::GetBuildKindText() const
{
    CString text;
    text.LoadString(IDS_BUILD_KIND);
    return text;
}

CString CWidgetsApp::GetVersionLine() const
{
    const CString version = GetVersionText();
    const int bracket = version.Find('(');
    const CString number = bracket >= 0 ? version.Left(bracket) : version;
    CString format, line;
    if (!format.LoadString(IDS_VERSION_LINE))
        format = "%s";
    line.Format(format, (const char*)(number + " : " + "Jan 19 2004"));
    return line;
}

bool IsHostedByEditor()
{
    auto* app = dynamic_cast<CWidgetsApp*>(AfxGetApp());
    return app && app->GetCommandLine() && app->GetCommandLine()->m_hWndGiven;
}

void CWidgetsApp::WinHelp(DWORD_PTR data, UINT command)
{
    if (command == HELP_CONTEXT || command == HELP_FINDER || command == HELP_CONTENTS)
        ShowHelpPage(command == HELP_CONTEXT ? data : 0);
}

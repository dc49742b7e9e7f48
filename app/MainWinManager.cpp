#include "app/MainWinManager.h"

#include "app/AppServiceAdapters.h"
#include "app/AppServices.h"
#include "app/BackgroundManager.h"
#include "app/ColourManager.h"
#include "app/CompactRendererInt.h"
#include "app/Errors.h"
#include "app/NavBarsPageManager.h"
#include "panels/PanelMessage.h"
#include "app/OutputPageManager.h"
#include "app/PromptPageManager.h"
#include "app/SavePage.h"
#include "app/SavePromptManager.h"
#include "app/SheetsManager.h"
#include "app/SplashDlg.h"
#include "app/UIServices.h"
#include "app/VyButtonWindow.h"
#include "app/WidgetsDlg.h"
#include "util/FileUtils.h"
#include "util/Registry.h"
#include "app/widgets.h"
#include "document/OperationsManager.h"
#include "editors/FontList.h"
#include "document/Options.h"
#include "gallery/AutoGenerateTemplates.h"
#include "navbar/NavBar.h"
#include "output/OutputDlg.h"
#include "output/OutputResource.h"

#include <commctrl.h>
#include <new>

const int CMainWinManager::kMainPanes[11] = {1, 2, 3, 4, 5, 8, 9, 0, 0, 0, 14};
const int CMainWinManager::kCommandOrder[11] = {4, 10, 7, 12, 13, 14, 6, 9, 8, 15, 11};
const int CMainWinManager::kMessageOrder[11] = {10, 7, 12, 9, 8, 15, 4, 13, 14, 6, 11};

namespace {

const int kMainButtons[] = {1, 9, 14, 2, 3, 4, 5, 8, 16};
const unsigned kSearchMasks[13] = {0x1,      0x2,       0x4,       0x8,       0x10, 0x20, 0x40,
                                   0x100000, 0x1,       0x1,       0x800000,  0x4000000, 0x8000000};

// The temporary folder with its closing backslash.
CString TempFolder()
{
    CString folder = (CWinManagerBase::Application() ? CWinManagerBase::Application()->GetTempFolderPath() : CString());
    if (!folder.IsEmpty() && folder[folder.GetLength() - 1] != '\\')
        folder += "\\";
    return folder;
}


}  // namespace

unsigned CMainWinManager::SearchMaskFor(int graphicType)
{
    return graphicType >= 0 && graphicType <= 12 ? kSearchMasks[graphicType] : 0;
}

CMainWinManager::CMainWinManager() : m_buttonBar(nullptr), m_currentPage(nullptr), m_pages{}, m_tooltip(nullptr)
{
    m_backgroundAllowed = 0;
}

CMainWinManager::~CMainWinManager()
{
    if (CurrentButtonBar() == m_buttonBar)
        SetCurrentButtonBar(nullptr);
    if (CurrentManager() == m_currentPage)
        SetCurrentManager(nullptr);
    delete m_buttonBar;
    for (CWinManagerBase*& page : m_pages) {
        if (CurrentManager() == page)
            SetCurrentManager(nullptr);
        delete page;
        page = nullptr;
    }
    if (m_tooltip)
        ::DestroyWindow(m_tooltip);
}

void CMainWinManager::AttachButtonBar(VyButtonWindow* bar)
{
    delete m_buttonBar;
    m_buttonBar = bar;
}

int CMainWinManager::Create(CWnd* parent, CWinManagerBase* owner, CSplashDlg* progress)
{
    if (!CWinManagerBase::Create(parent, owner, 0, 0, 0)) {
        BW_INTERNAL_ERROR_MSG("MainWinManager.cpp", "Failed to initialize the Base Windows Manager!");
        return 0;
    }
    CSplashDlg::Step(progress);
    // A gallery found a type file without thumbnail sizes last time: the library's type files
    // are checked before any page reads them.
    DWORD check = 0;
    if (HKEY startup = OpenStartupKey(nullptr)) {
        check = GetRegDWORD(startup, "CheckTWTFiles");
        CloseRegKey(startup);
    }
    if (check) {
        CAutoGenerateTemplates generator;
        generator.CheckTypeFiles();
    }
    m_buttonBar = new (std::nothrow) VyButtonWindow;
    if (!m_buttonBar) {
        BW_INTERNAL_ERROR_MSG("MainWinManager.cpp", "Failed to create a new Button Window!");
        return 0;
    }
    m_buttonBar->CreatePageDescriptors(kMainButtons, (int)(sizeof kMainButtons / sizeof kMainButtons[0]));
    CSplashDlg::Step(progress);
    if (parent && parent->GetSafeHwnd()) {
        RECT client;
        parent->GetClientRect(&client);
        RECT bar = {client.left, client.top, client.left + (int)((client.right - client.left) * 0.15), client.bottom};
        // A bar whose buttons cannot be shown (their faces are missing) has recorded why; the
        // pages stay usable through their keys and commands.
        m_buttonBar->Create(parent, bar, 0xffff, SS_BLACKFRAME);
    }
    CSplashDlg::Step(progress);
    CGalleryLocation design;
    if (!GetPage(4, true, &design))
        return 0;
    GetPage(11, true);
    m_backgroundAllowed = 0;

    if (parent && parent->GetSafeHwnd()) {
        m_tooltip = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent->GetSafeHwnd(), nullptr,
                                      ::GetModuleHandleA(nullptr), nullptr);
        if (m_tooltip) {
            ::SetWindowPos(m_tooltip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            // The size of the record is set explicitly: the smallest one every comctl32 version
            // accepts, so that the tool is added whatever the headers' default size is.
            TOOLINFOA tool = {};
            tool.cbSize = TTTOOLINFOA_V1_SIZE;
            tool.uFlags = TTF_SUBCLASS | TTF_CENTERTIP;
            tool.hwnd = parent->GetSafeHwnd();
            tool.hinst = ::GetModuleHandleA(nullptr);
            tool.lpszText = const_cast<char*>("");
            ::SendMessageA(m_tooltip, TTM_ADDTOOLA, 0, (LPARAM)&tool);
            ::SendMessageA(m_tooltip, TTM_SETMAXTIPWIDTH, 0, 1000);
            ::SendMessageA(m_tooltip, TTM_ACTIVATE, TRUE, 0);
        }
    }
    return 1;
}

int CMainWinManager::CreateManager(int type, const CGalleryLocation* location)
{
    if (type < 4 || type > 15)
        return 0;
    const bool needsLocation = type == 4 || type == 6 || type == 13 || type == 14;
    if (needsLocation && !location)
        return 0;
    const CPageTraits* traits = CPromptPageManager::TraitsFor(type);
    if (!traits)
        return 0;
    CWinManagerBase* page = nullptr;
    int created = 0;
    switch (type) {
    case 4:
        if (CSheetsManager* sheets = new (std::nothrow) CSheetsManager) {
            page = sheets;
            created = sheets->Create(m_parent, this, 0.15, 0.1, 0.4, location->first);
        }
        break;
    case 13:
    case 14:
        // The save pages make their dialog with the proposed path.
        page = CreateSavePage(type, location->text, m_parent, this);
        if (!page)
            return 0;
        created = 1;
        break;
    case 15:
        if (CSavePromptManager* save = new (std::nothrow) CSavePromptManager) {
            page = save;
            created = save->Create(m_parent, this, 0.15, 0.1, 0.4, 11);
        }
        break;
    default:
        if (type == 8)
            page = new (std::nothrow) CBackgroundManager;
        else if (type == 9)
            page = new (std::nothrow) CColourManager;
        else if (type == 11)
            page = new (std::nothrow) CNavBarsPageManager;
        else if (type == 12)
            page = new (std::nothrow) COutputPageManager;
        else
            page = new (std::nothrow) CPromptPageManager(*traits);
        if (page)
            created = page->Create(m_parent, this, 0.15, 0.1, 0.4);
        break;
    }
    if (!page) {
        BW_INTERNAL_ERROR("MainWinManager.cpp");
        return 0;
    }
    if (!created) {
        delete page;
        return 0;
    }
    m_pages[type] = page;
    return created;
}

CWinManagerBase* CMainWinManager::GetPage(int type, bool create, const CGalleryLocation* location)
{
    if (type < 0 || type >= kPageSlots)
        return nullptr;
    if (create && !m_pages[type])
        CreateManager(type, location);
    return m_pages[type];
}

void CMainWinManager::SetPage(int type, CWinManagerBase* page)
{
    if (type < 0 || type >= kPageSlots)
        return;
    if (m_pages[type] && m_pages[type] != page) {
        if (m_currentPage == m_pages[type])
            m_currentPage = nullptr;
        delete m_pages[type];
    }
    m_pages[type] = page;
}

bool CMainWinManager::NeedsLeaveNotify()
{
    for (int type = 12; type <= 15; ++type)
        if (m_currentPage && m_currentPage == m_pages[type])
            return true;
    return false;
}

void CMainWinManager::PlaceBar()
{
    if (!m_buttonBar || !m_buttonBar->GetSafeHwnd() || !m_parent || !m_parent->GetSafeHwnd())
        return;
    RECT client;
    m_parent->GetClientRect(&client);
    m_buttonBar->SetWindowPos((HWND)nullptr, client.left, 0, (int)(0.15 * client.right), client.bottom,
                              SWP_NOZORDER | (m_active ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    if (m_active)
        ::RedrawWindow(m_buttonBar->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void CMainWinManager::Activate(int page)
{
    if (m_active || !m_parent)
        return;
    m_active = 1;
    if (!m_buttonBar)
        return;
    if (m_buttonBar->GetSafeHwnd())
        m_buttonBar->ShowWindow(SW_HIDE);
    if (GetOptions()) {
        m_buttonBar->ShowPages(kMainPanes, 1);
        page = 2;  // an open graphic always starts on the design page
    }
    m_buttonBar->ActivatePage(page);
    if (m_buttonBar->GetSafeHwnd()) {
        m_buttonBar->ShowWindow(SW_SHOW);
        ::RedrawWindow(m_buttonBar->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    ShowSelectedPage();
    SetCurrentButtonBar(m_buttonBar);
    if (m_currentPage)
        m_currentPage->Activate(1);
    UpdateTooltipRect();
}

void CMainWinManager::Deactivate()
{
    m_active = 0;
    if (m_buttonBar && m_buttonBar->GetSafeHwnd())
        m_buttonBar->ShowWindow(SW_HIDE);
    if (m_currentPage)
        m_currentPage->Deactivate();
    if (CWnd* view = GetViewWindow())
        view->ShowWindow(SW_HIDE);
}

void CMainWinManager::SelectButton(int pageId)
{
    if (m_buttonBar)
        m_buttonBar->ActivatePage(pageId);
}

CWinManagerBase* CMainWinManager::EnterPage(int type, const CGalleryLocation* location)
{
    CWinManagerBase* previous = m_currentPage;
    CWinManagerBase* page = GetPage(type, true, location);
    if (!page)
        return nullptr;  // the page could not be made: the selection shows nothing new
    if (previous && previous != page)
        previous->Deactivate();
    m_currentPage = page;
    page->MakeCurrent();
    return page;
}

void CMainWinManager::ShowPageOf(int type, const CGalleryLocation* location)
{
    if (CWinManagerBase* page = EnterPage(type, location))
        page->Activate(1);
    ValidateMainDialog();
}

void CMainWinManager::ShowColourPage(bool simple)
{
    if (CColourManager* colour = dynamic_cast<CColourManager*>(EnterPage(9, nullptr)))
        colour->SelectEditor(simple);
    ValidateMainDialog();
}

void CMainWinManager::ValidateMainDialog()
{
    if (CWidgetsDlg* dialog = GetMainDialog())
        if (dialog->GetSafeHwnd())
            dialog->ValidateRect(nullptr);
}

CSheetsManager* CMainWinManager::GetDesignPage() const
{
    return dynamic_cast<CSheetsManager*>(m_pages[4]);
}

CNavBarsPageManager* CMainWinManager::GetNavBarsPage() const
{
    return dynamic_cast<CNavBarsPageManager*>(m_pages[11]);
}

int CMainWinManager::ShowSelectedPage()
{
    if (!m_buttonBar)
        return 0;
    const int id = m_buttonBar->GetSelectedPage();
    COptions* options = GetOptions();
    if (id == 14)
        if (CSavePromptManager* advanced = dynamic_cast<CSavePromptManager*>(m_pages[15]))
            advanced->ResetPanel();
    if (options && GetBackupOptions()) {
        options->CopyTo(*GetBackupOptions(), 0, kChangeAll);
        if (CNavBarsPageManager* navBars = GetNavBarsPage())
            navBars->KeepNavBar();
    }
    if (id == 1) {
        if (m_tooltip)
            ::SendMessageA(m_tooltip, TTM_ACTIVATE, FALSE, 0);
        Deactivate();
        if (CSheetsManager* design = GetDesignPage())
            design->SetGalleryLocation(nullptr);
        if (options)
            options->SetModified(false);
        m_currentPage = nullptr;
        if (CWidgetsDlg* dialog = GetMainDialog())
            if (dialog->GetSafeHwnd())
                dialog->ValidateRect(nullptr);
        SendAppCommand("goto-init");
        // Keep the work, so that the next start of a graphic of this type resumes it.
        COperationsManager* operations = GetOperationsManager();
        if (options && !TempFolder().IsEmpty()) {
            if (operations && operations->IsNavBarMode()) {
                if (CNavBar* bar = GetManagerNavBar())
                    bar->Save(TempFolder() + "~ast7_off.qtw", nullptr, false, false);
            } else {
                options->SaveStyleFile(
                    TempFolder() + CWidgetsApp::GetTempStyleFileName(options->GetGraphicType(), true), true);
            }
        }
        return 1;
    }
    if (m_tooltip)
        ::SendMessageA(m_tooltip, TTM_ACTIVATE, TRUE, 0);
    switch (id) {
    case 2: {
        CGalleryLocation location;
        location.first = options ? options->GetGraphicType() != 9 : 1;
        ShowPageOf(4, &location);
        break;
    }
    case 8:
    case 12:
        if (!options) {
            BW_INTERNAL_ERROR("MainWinManager.cpp");
            return 0;
        }
        ShowPageOf(10, nullptr);
        break;
    case 3:
        ShowPageOf(7, nullptr);
        break;
    case 14: {
        const bool advanced = options && options->GetStateCount() > 1;
        ShowPageOf(advanced ? 15 : 12, nullptr);
        break;
    }
    case 4:
        if (!m_currentPage || m_currentPage != m_pages[9])
            ShowColourPage(true);
        break;
    case 5:
        if (CBackgroundManager* texture = dynamic_cast<CBackgroundManager*>(EnterPage(8, nullptr)))
            texture->ActivateWithLayers();
        ValidateMainDialog();
        break;
    case 9:
        ShowPageOf(11, nullptr);
        break;
    case 16:
        SendAppCommand("goto-photoimport");
        break;
    default:
        break;
    }
    return 1;
}

int CMainWinManager::SelectPage(int pageId)
{
    if (!m_buttonBar || pageId == 0 || pageId == m_buttonBar->GetSelectedPage() || m_buttonBar->IsPageDisabled(pageId))
        return 0;
    m_buttonBar->ResetHover();
    m_buttonBar->ActivatePage(pageId);
    m_buttonBar->RepaintAll();
    return ShowSelectedPage();
}

void CMainWinManager::UpdateTooltipRect()
{
    CWnd* view = GetViewWindow();
    if (!m_tooltip || !view || !m_parent || !m_parent->GetSafeHwnd())
        return;
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.hwnd = m_parent->GetSafeHwnd();
    tool.hinst = ::GetModuleHandleA(nullptr);
    view->GetWindowRect(&tool.rect);
    m_parent->ScreenToClient(&tool.rect);
    m_tooltipText.Empty();
    tool.lpszText = const_cast<char*>((const char*)m_tooltipText);
    ::SendMessageA(m_tooltip, TTM_NEWTOOLRECTA, 0, (LPARAM)&tool);
    ::SendMessageA(m_tooltip, TTM_UPDATETIPTEXTA, 0, (LPARAM)&tool);
}

int CMainWinManager::ForwardMessage(CPanelMessage* message)
{
    for (int type : kMessageOrder)
        if (m_pages[type])
            m_pages[type]->HandleMessage(message);
    return 0;
}

int CMainWinManager::HandleMessage(CPanelMessage* message)
{
    if (!message)
        return 0;
    int x = 0, y = 0;
    message->GetParams(&x, &y);
    switch (message->GetKind()) {
    case 1:
        if (!m_buttonBar || !m_active)
            break;
        FeedNavBarPreview(x, y, 1);
        if (!SelectPage(m_buttonBar->PageAt(x, y)) && m_currentPage)
            m_currentPage->HandleMessage(message);
        return 1;
    case 3:
        if (!m_buttonBar || !m_active)
            break;
        FeedNavBarPreview(x, y, 0);
        m_buttonBar->TrackHover(x, y);
        if (m_currentPage)
            m_currentPage->HandleMessage(message);
        return 1;
    case 4:
        if (!m_active)
            break;
        if (m_buttonBar)
            m_buttonBar->RepaintAll();
        if (!m_currentPage)
            return ForwardMessage(message);
        m_currentPage->HandleMessage(message);
        return 1;
    case 5:
        if (m_buttonBar)
            PlaceBar();
        return ForwardMessage(message);
    case 7: {
        if (!m_active)
            break;
        if (CWidgetsDlg* dialog = GetMainDialog())
            if (dialog->GetUIServices())
                dialog->GetUIServices()->ReleaseCaptureCursor(0);
        const CKeyMessage* key = static_cast<const CKeyMessage*>(message);
        int vk = key->m_key;
        if (key->m_modifier == VK_MENU && (vk == 'M' || vk == 'S')) {
            if (COptions* options = GetOptions())
                options->SetModified(true);
            return HandleCommand(vk == 'M' ? "browse le" : "browse l");
        }
        if (key->m_modifier == VK_CONTROL && vk == 'Z')
            return HandleCommand("revive");
        if (key->m_modifier == VK_CONTROL && vk == 'S')
            vk = VK_F12;
        if (vk == VK_F1 && key->m_modifier == 0) {
            int answer = 1;
            if (!m_suppressNextHelp && m_currentPage)
                answer = m_currentPage->HandleMessage(message);
            m_suppressNextHelp = 0;
            return answer;
        }
        if (vk >= VK_F2 && vk <= VK_F12) {
            if (m_buttonBar) {
                const int id = m_buttonBar->PageForKey(vk);
                if (id && !m_buttonBar->IsPageDisabled(id))
                    SelectPage(id);
            }
            return 1;
        }
        break;
    }
    case 13: {
        // Save: the bar's save page in navigation-bar mode, else the graphic's, proposing the
        // sender's path.
        const CSaveFileMessage* save = static_cast<const CSaveFileMessage*>(message);
        COperationsManager* operations = GetOperationsManager();
        const int type = operations && operations->IsNavBarMode() ? 14 : 13;
        CGalleryLocation location;
        location.text = save->m_file;
        CSavePage* page = dynamic_cast<CSavePage*>(GetPage(type, true, &location));
        if (!page)
            return 1;
        page->SetFileName(save->m_file);
        if (m_currentPage && m_currentPage != page)
            m_currentPage->Deactivate();
        m_currentPage = page;
        page->MakeCurrent();
        page->Show();
        if (CWidgetsDlg* dialog = GetMainDialog())
            if (dialog->GetSafeHwnd())
                dialog->ValidateRect(nullptr);
        return 1;
    }
    case 14: {
        if (!m_buttonBar || !m_active)
            break;
        CWinManagerBase* simple = m_pages[12];
        CWinManagerBase* advanced = m_pages[15];
        COptions* options = GetOptions();
        const bool toAdvanced = advanced && ((options && options->GetExportPanelFlag()) || !simple);
        CWinManagerBase* next = toAdvanced ? advanced : simple;
        // Back on the output page after a completed save of a single graphic: the saved prompt.
        const CSavePage* graphicSave = dynamic_cast<const CSavePage*>(m_pages[13]);
        if (next && next == simple && graphicSave && graphicSave->IsSaved() && simple->GetPrompt())
            simple->GetPrompt()->LoadWebFile(GetRootPath() + "SysResources\\prompts\\saveok.web");
        if (next) {
            if (m_currentPage && m_currentPage != next)
                m_currentPage->Deactivate();
            m_currentPage = next;
            next->MakeCurrent();
            next->Activate(1);
        }
        if (CWidgetsDlg* dialog = GetMainDialog())
            if (dialog->GetSafeHwnd())
                dialog->ValidateRect(nullptr);
        return 1;
    }
    case 22: {
        if (m_buttonBar && m_active) {
            const CPageStateMessage* state = static_cast<const CPageStateMessage*>(message);
            if (state->m_enable)
                m_buttonBar->EnablePage(state->m_page);
            else
                m_buttonBar->DisablePage(state->m_page);
        }
        break;
    }
    case 23:
        if (m_buttonBar)
            m_buttonBar->ReselectPrevious();
        return ShowSelectedPage();
    default:
        break;
    }
    return ForwardMessage(message);
}

void CMainWinManager::Revive(const CString& command)
{
    int groups = -1;
    sscanf(command, "revive %d", &groups);
    COptions* options = GetOptions();
    COptions* backup = GetBackupOptions();
    if (!options || !backup)
        return;
    CWaitCursorGuard wait;
    if (m_currentPage && m_currentPage == m_pages[15]) {
        backup->CopyTo(*options, 0, (StyleChangeMask)groups);
    } else {
        if (CNavBarsPageManager* navBars = GetNavBarsPage())
            navBars->RestoreNavBar();
        backup->CopyTo(*options, 3, (StyleChangeMask)groups);
    }
}

void CMainWinManager::StartGraphic(const CString& command)
{
    COptions* options = GetOptions();
    COperationsManager* operations = GetOperationsManager();
    CWaitCursorGuard wait;
    operations->SetNavBarMode(0);
    CSheetsManager* design = GetDesignPage();
    if (design)
        design->SetMode(1, CommandEndsWith(command, "projects") ? 2 : 7);
    const bool navBars = CommandEndsWith(command, "navbars");
    if (navBars) {
        options->SetGraphicType(7);
        operations->SetNavBarMode(1);
    } else if (CommandEndsWith(command, "themesets") || CommandEndsWith(command, "projects") ||
               CommandEndsWith(command, "explore")) {
        options->SetGraphicType(9);
        if (design)
            design->SetMode(0, CommandEndsWith(command, "themesets") ? 1 : CommandEndsWith(command, "projects") ? 2 : 7);
        // Resume the newest working copy of any graphic type.
        CString chosen;
        for (int type = 0; type <= 12; ++type) {
            const CString path = TempFolder() + CWidgetsApp::GetTempStyleFileName(type, true);
            if (CFileUtils::FileExists(path) && (chosen.IsEmpty() || CFileUtils::IsFileNewer(path, chosen))) {
                chosen = path;
                options->SetGraphicType(type);
            }
        }
    }
    const int type = options->GetGraphicType();
    if (type == 12)
        return;
    LoadWorkingCopy(type);
    // The library may hold no navigation-bar style: the fallback graphic read above then left
    // the bar mode off. A new navigation bar stays a navigation bar: the manager's bar, with
    // its default buttons, is the graphic.
    if (navBars && !operations->IsNavBarMode()) {
        options->SetGraphicType(7);
        operations->SetNavBarMode(1);
    }
}

void CMainWinManager::LoadWorkingCopy(int type)
{
    COptions* options = GetOptions();
    COperationsManager* operations = GetOperationsManager();
    const CString workingCopy = TempFolder() + CWidgetsApp::GetTempStyleFileName(type, true);
    options->ClearBrowseDirectories();
    if (CFileUtils::FileExists(workingCopy) && options->LoadStyleFile(workingCopy, kChangeAll, -1, kLoadUserWork)) {
        operations->NotifyChanged(options, 1, kChangeAll);
        options->SetModified(false);
        return;
    }
    CSheetsManager* design = GetDesignPage();
    CString replacement = design ? design->GetFirstTemplate(SearchMaskFor(type)) : CString();
    if (replacement.IsEmpty())
        replacement = options->FindReplacementTemplate();
    if (CFileUtils::FileExists(replacement) && options->LoadStyleFile(replacement, kChangeAll, -1, kLoadTemplateStyle)) {
        operations->NotifyChanged(options, 1, kChangeAll);
        options->SetQTWFile(replacement);
        options->SetModified(false);
        return;
    }
    options->LoadStyleFile(GetRootPath() + "SysResources\\Graphics\\NoMatch.qtw", kChangeAll, -1,
                           kLoadTemplateStyle);
    options->SetGraphicType(type);
    operations->NotifyChanged(options, 1, kChangeAll);
}

int CMainWinManager::HandleCommand(const CString& command)
{
    if (!GetOptions() || !GetOperationsManager())
        return 0;
    if (command.CompareNoCase("recachesearchgallerylists") == 0 && m_pages[4])
        return m_pages[4]->HandleCommand(command);
    if (command == "fontchanged")
        BuildFontList(GetApplicationFontList());
    if (command == "added BG" && m_pages[8] && m_pages[8] != m_currentPage) {
        delete m_pages[8];
        m_pages[8] = nullptr;
    }
    const bool advancedSave = CommandStartsWith(command, "AdvSave");
    if (advancedSave || CommandStartsWith(command, "SimSave")) {
        ShowPageOf(advancedSave ? 15 : 12, nullptr);
        return 1;
    }
    if (CommandStartsWith(command, "SColour") || CommandStartsWith(command, "AColour")) {
        ShowColourPage(CommandStartsWith(command, "SColour"));
        return 1;
    }
    if (CommandStartsWith(command, "revive")) {
        Revive(command);
        return 1;
    }
    if (m_active)
        for (int type : kCommandOrder)
            if (m_pages[type])
                m_pages[type]->HandleCommand(command);
    if (!CommandStartsWith(command, "type"))
        return 0;
    StartGraphic(command);
    return 1;
}

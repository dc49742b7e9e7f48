#include "app/SheetsManager.h"

#include "framework/win/Afxwin.h"

#include "app/AppServices.h"
#include "document/Options.h"

CSheetsManager::CSheetsManager()
    : CPromptPageManager(*TraitsFor(4)), m_mode(0), m_searchType(0), m_folderGallery(nullptr),
      m_searchGallery(nullptr)
{
}

CSheetsManager::~CSheetsManager()
{
    // The galleries are owned here, not through the panel field.
    m_panel = nullptr;
    for (CWnd* gallery : {m_folderGallery, m_searchGallery}) {
        if (gallery && gallery->GetSafeHwnd())
            gallery->DestroyWindow();
        delete gallery;
    }
}

int CSheetsManager::Create(CWnd* parent, CWinManagerBase* owner, double left, double prompt, double panel, int mode)
{
    m_mode = mode;
    m_searchType = 0;
    if (!CPromptPageManager::Create(parent, owner, left, prompt, panel))
        return 0;
    // The galleries are not part of this program yet: the page shows its prompt over an empty
    // panel area.
    m_panel = m_mode == 1 ? m_searchGallery : m_folderGallery;
    return 1;
}

bool CSheetsManager::SetMode(int mode, int value)
{
    if (m_panel && m_panel->GetSafeHwnd())
        m_panel->ShowWindow(SW_HIDE);
    if (mode == 1) {
        m_panel = m_searchGallery;
        m_searchType = value;
    } else {
        m_panel = m_folderGallery;
    }
    m_mode = mode;
    return m_panel != nullptr;
}

void CSheetsManager::ActivateGallery(bool)
{
    if (m_panel && m_panel->GetSafeHwnd())
        m_panel->SetFocus();
    Activate(1);
}

void CSheetsManager::SelectGalleryItem(const CString&)
{
    // Only the folder gallery navigates, and it is not part of this program yet.
}

void CSheetsManager::SetGalleryLocation(const CSheetsLocation* location)
{
    m_location = location ? *location : CSheetsLocation();
}

CSheetsLocation CSheetsManager::GetGalleryLocation()
{
    COptions* options = GetOptions();
    if (!m_location.folder.IsEmpty() || !options)
        return m_location;
    const CString path = options->GetQTWFile();
    const int slash = path.ReverseFind('\\');
    m_location.folder = slash >= 0 ? path.Left(slash) : CString();
    m_location.fileName = slash >= 0 ? path.Mid(slash + 1) : path;
    if (path.Find("~ast") >= 0) {
        // A working copy: the page stands at the template it was made from.
        const CString kiq = options->GetKiqFileName();
        const int dot = kiq.ReverseFind('.');
        m_location.folder = options->GetStyleFolder();
        m_location.fileName = (dot >= 0 ? kiq.Left(dot) : kiq) + ".qtw";
    }
    return m_location;
}

CString CSheetsManager::GetFirstTemplate(unsigned)
{
    return CString();  // no search gallery to ask
}

CString CSheetsManager::RecacheFolder(const CString& command)
{
    const int first = command.Find('#');
    if (first < 0 || !CommandEndsWith(command, "#") || command.GetLength() - 1 <= first)
        return CString();
    return command.Mid(first + 1, command.GetLength() - first - 2);
}

int CSheetsManager::HandleCommand(const CString& command)
{
    if (CommandStartsWith(command, "recachesearchgallerylists")) {
        m_searchRootFolder = RecacheFolder(command);
        if (m_mode == 1)
            m_searchType = 7;
    }
    return CPromptPageManager::HandleCommand(command);
}

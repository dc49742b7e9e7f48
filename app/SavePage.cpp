#include "app/SavePage.h"

#include <new>

#include "document/RenderRequest.h"
#include "output/OutputBaseDlg.h"
#include "output/SaveNavBarDlg.h"
#include "output/SaveResource.h"

CSavePage::CSavePage(int type)
    : CPromptPageManager(*TraitsFor(type)), m_dialog(nullptr), m_saved(0), m_templateId(IDD_SAVE_AS)
{
}

CSavePage::~CSavePage()
{
    // The base deletes the panel: it is the dialog.
    m_dialog = nullptr;
}

CSaveAsDlg* CSavePage::CreateDialogObject()
{
    return new (std::nothrow) CSaveAsDlg(this);
}

int CSavePage::Init(const CString& initialPath, CWnd* parent, CWinManagerBase* owner)
{
    if (!Create(parent, owner, 0.15, 0.1, 0.4))
        return 0;
    m_dialog = CreateDialogObject();
    if (!m_dialog)
        return 0;
    if (!m_dialog->Create(m_templateId, initialPath, parent)) {
        delete m_dialog;
        m_dialog = nullptr;
        return 0;
    }
    m_dialog->ShowWindow(SW_HIDE);
    SetPanel(m_dialog);
    return 1;
}

void CSavePage::SetFileName(const CString& path)
{
    if (m_dialog)
        m_dialog->SetFileName(path);
}

// The base activation asks the dialog first: an HTML editor's style or image editing saves at
// once and keeps it hidden.
void CSavePage::Show()
{
    m_saved = 0;
    Activate(1);
}

void CSavePage::RenderWindow(CWnd* window)
{
    // The page shows what will be saved: the export, not a fresh render of the template.
    CString path;
    if (window && m_dialog && GetTempExportPath(path, nullptr) && !path.IsEmpty())
        ShowPreviewImage(path, 1);
}

void CSavePage::PlaceDialog(RECT* area, int redraw, int)
{
    PlaceInset(area, redraw, 12, 12);
}

CSaveNavBarPage::CSaveNavBarPage() : CSavePage(14)
{
    m_templateId = IDD_SAVE_NAVBAR;
}

CSaveAsDlg* CSaveNavBarPage::CreateDialogObject()
{
    return new (std::nothrow) CSaveNavBarDlg(this);
}

CSavePage* CreateSavePage(int type, const CString& initialPath, CWnd* parent, CWinManagerBase* owner)
{
    CSavePage* page = type == 14 ? new (std::nothrow) CSaveNavBarPage : new (std::nothrow) CSavePage(13);
    if (page && !page->Init(initialPath, parent, owner)) {
        delete page;
        return nullptr;
    }
    return page;
}

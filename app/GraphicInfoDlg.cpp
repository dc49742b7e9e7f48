#include "app/GraphicInfoDlg.h"

#include "app/AppServiceAdapters.h"
#include "app/AppServices.h"
#include "app/Resource.h"
#include "util/AppUtilServices.h"
#include "util/FileUtils.h"
#include "document/OperationsManager.h"
#include "document/OperationsServices.h"
#include "document/Options.h"
#include "navbar/NavBar.h"

namespace {

// The part of path after folder when path lies within it (letter case aside); -1 otherwise.
int FindIn(const CString& path, const CString& folder)
{
    if (folder.IsEmpty())
        return -1;
    CString lowerPath = path, lowerFolder = folder;
    lowerPath.MakeLower();
    lowerFolder.MakeLower();
    return lowerPath.Find(lowerFolder);
}

CString Folder(const CString& path)
{
    const int slash = path.ReverseFind('\\');
    return slash < 0 ? CString() : path.Left(slash + 1);
}

// The text before a folder tag ("Shop " of "Shop (Project)").
CString BeforeTag(const CString& location, const CString& tag)
{
    CString lowerLocation = location, lowerTag = tag;
    lowerLocation.MakeLower();
    lowerTag.MakeLower();
    const int at = lowerLocation.Find(lowerTag);
    return at < 0 ? location : location.Left(at);
}

}  // namespace

CGraphicInfoDlg::CGraphicInfoDlg(CWnd* parent) : CDialog(IDD_GRAPHIC_INFO, parent) {}

void CGraphicInfoDlg::Describe(const CString& styleFile, const CString& templateFile, const CString& templatesFolder,
                               int width, int height)
{
    m_file = styleFile;
    m_location = Folder(styleFile);
    int at = FindIn(m_location, templatesFolder);
    if (!styleFile.IsEmpty() && at >= 0) {
        m_location = m_location.Mid(at + templatesFolder.GetLength());
    } else {
        m_file = templateFile;
        m_location = Folder(templateFile);
        at = FindIn(m_location, templatesFolder);
        if (at >= 0)
            m_location = m_location.Mid(at + templatesFolder.GetLength());
    }
    m_file = CFileUtils::RemoveExtension(CFileUtils::GetFileName(m_file));
    CFileUtils::RemoveTrailingBackslash(m_location);

    if (CFileUtils::IsProjectFolder(m_location)) {
        m_label = LoadAppString(IDS_INFO_PROJECT, "Project:");
        m_location = BeforeTag(m_location, LoadAppString(IDS_UTIL_PROJECT_TAG, "(Project)"));
    } else if (CFileUtils::IsThemeFolder(m_location)) {
        m_label = LoadAppString(IDS_INFO_THEME, "Theme:");
        m_location = BeforeTag(m_location, LoadAppString(IDS_UTIL_THEME_TAG, "(Theme)"));
    } else {
        m_label = LoadAppString(IDS_INFO_LOCATION, "Location:");
    }
    m_dimensions.Format(LoadAppString(IDS_INFO_DIMENSIONS, "%d x %d pixels"), width, height);
}

BOOL CGraphicInfoDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_INFO_FILE, m_file);
    SetDlgItemText(IDC_INFO_LOCATION, m_location);
    SetDlgItemText(IDC_INFO_DIMENSIONS, m_dimensions);
    SetDlgItemText(IDC_INFO_LABEL, m_label);
    return TRUE;
}

void ShowGraphicInfo(COptions* record, CWnd* parent)
{
    if (!record)
        return;
    CGraphicInfoDlg dialog(parent);
    CString templateFile = record->GetKiqPath();
    if (templateFile.IsEmpty())
        templateFile = record->GetKiqFileName();
    int width = record->GetOutputWidth(), height = record->GetOutputHeight();
    // A bar's record is the button being edited: the graphic is the whole bar.
    COperationsManager* manager = GetOperationsServices().GetOperationsManager();
    if (CNavBar* bar = manager && manager->IsNavBarMode() ? GetManagerNavBar() : nullptr) {
        width = bar->GetBarWidth();
        height = bar->GetBarHeight();
    }
    dialog.Describe(record->GetQTWFile(), templateFile, GetTemplatesFolder(true, true, false), width, height);
    dialog.DoModal();
}

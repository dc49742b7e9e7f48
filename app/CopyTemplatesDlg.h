// CCopyTemplatesDlg: the offer, made once after installation from the product disc, to copy the
// template library from the disc into the templates folder, and to bring the projects of an
// earlier installation over into it. The offer comes back at every start until the copy has
// succeeded or the user ticks "Do not ask me again." and cancels.
#pragma once

#include "framework/win/Afxwin.h"

#include <string>

class CCopyTemplatesDlg : public CDialog {
public:
    enum { IDD = 368 };

    explicit CCopyTemplatesDlg(CWnd* parent = nullptr);

    // Where the copy reads and writes, in place of the application's template medium and
    // templates folder (no trailing backslashes): for callers that know them, such as tests.
    void SetPlaces(const CString& mediumPath, const CString& templatesFolder);

    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;
    void OnCancel() override;

    // Brings the project folders of the earlier installation into the templates folder without
    // overwriting anything: 1 when its templates folder was searched, 0 when there was nothing
    // to migrate from.
    int MigrateProjects();
    // Copies the files (not the sub-folders) of one project folder, each only where the target
    // has none; names are folder names with a leading backslash. Answers 1.
    int CopyProjectFiles(const CString& newName, const CString& oldName);
    // Clears the read-only attribute of everything in a folder tree; answers 1.
    static int ClearReadOnlyTree(const CString& folder);
    // The shell copy's list of one path: the path, its NUL and the list's closing NUL.
    static std::string MakeShellPathList(const CString& path);

    CString m_messageText;
    int m_dontAskAgain;

private:
    CString MediumPath() const;
    CString TemplatesFolder() const;
    // The templates folder's own name with a trailing backslash ("TWTemplates\").
    static CString TemplatesFolderName();

    CString m_templatesFolder;
    CString m_previousTemplatesFolder;
    bool m_placesGiven;
    CString m_givenMediumPath;
    CString m_givenTemplatesFolder;
};

// Writes "CopyTemplatesFromCD" = 0 in the program's Startup key; answers 1.
int ClearCopyTemplatesFlag();

// Installs the dialog as the template copy offer's runner.
void InstallTemplateCopyDialog();

#include "app/SaveServiceAdapter.h"

#include "app/AppCommandLineInfo.h"
#include "app/AppServices.h"
#include "app/Errors.h"
#include "app/ExportPaths.h"
#include "app/widgets.h"
#include "navbar/BrowserPreviewPage.h"
#include "output/SaveServices.h"

namespace {

class CAppSaveServices : public CSaveServices {
public:
    SaveCommandLine GetCommandLine() override
    {
        SaveCommandLine line;
        CWidgetsApp* app = dynamic_cast<CWidgetsApp*>(AfxGetApp());
        CAppCommandLineInfo* info = app ? app->GetCommandLine() : nullptr;
        if (!info)
            return line;
        line.present = true;
        line.hostedByEditor = info->m_hWndGiven != 0;
        line.editorWindow = info->m_editorWindow;
        line.editorKind = info->m_editorKind;
        line.styleFile = info->m_openStyle != 0;
        line.graphicType = info->m_graphicType;
        line.file = info->m_strFileName;
        line.fileFolder = info->GetFileFolder();
        line.fileBaseName = info->GetFileBaseName();
        line.styleFolder = info->m_fileDir;
        line.styleBaseName = info->m_styleBaseName;
        line.docPath = info->GetDocPath();
        line.resultPath = info->GetResultPath();
        return line;
    }
    bool SaveGraphicAs(const CString& path, bool reuse) override { return ::SaveGraphicAs(path, reuse); }
    CString MakeNumberedName(const CString& path, const CString& companion) override
    {
        return ::MakeNumberedName(path, companion);
    }
    void ReportMessage(int severity, UINT messageId, const CString& argument) override
    {
        const char* text = argument;
        if (severity)
            ::ReportError(messageId, text);
        else
            ::ReportWarning(messageId, text);
    }
    bool OpenWithShell(const CString& path) override { return ::OpenWithShell(path); }
};

// Preview pages open in the user's browser; the shell says why when there is none.
bool OpenPreviewPage(const char* path) { return ::OpenWithShell(path); }

CAppSaveServices g_saveServices;

}  // namespace

void InstallSaveServiceAdapter()
{
    SetSaveServices(&g_saveServices);
    SetPreviewPageOpener(OpenPreviewPage);
}

void UninstallSaveServiceAdapter()
{
    SetPreviewPageOpener(nullptr);
    SetSaveServices(nullptr);
}

// A recording stand-in for the application behind the panels: the main window, the window
// managers, the cursor service, message boxes, the current graphic, projects and the command
// line are plain fields a test sets; what the panels hand over is kept in lists.
#pragma once

#include "panels/PanelMessage.h"
#include "panels/PanelServices.h"

#include <string>
#include <vector>

class CFakePanelServices : public CPanelServices {
public:
    CFakePanelServices() { SetPanelServices(this); }
    ~CFakePanelServices() override { SetPanelServices(nullptr); }

    struct Sent {
        int kind;
        int first;   // key or enable
        int second;  // modifier or page
        std::string text;
    };

    CWnd* GetMainWindow() override { return mainWindow; }
    BOOL MainPreTranslateMessage(MSG* msg) override
    {
        mainKeys.push_back(static_cast<int>(msg->wParam));
        return TRUE;
    }
    void SetShiftHeld(bool held) override { shiftHeld = held; }
    void SetControlHeld(bool held) override { controlHeld = held; }
    bool IsControlHeld() override { return controlHeld; }

    bool SendMessageToManagers(CPanelMessage* message, int) override
    {
        Record(message);
        return true;
    }
    bool HasTopLevelManager() override { return topLevelManager; }
    int HandleManagerMessage(CPanelMessage* message) override
    {
        Record(message);
        return 1;
    }
    int HandleManagerCommand(const CString& command) override
    {
        commands.push_back(static_cast<const char*>(command));
        return 1;
    }
    void SendCommand(const CString& command) override { commands.push_back(static_cast<const char*>(command)); }

    bool HasCursorService() override { return cursorService; }
    void SetCaptureCursor(int cursorId, CWnd*) override { capturedCursor = cursorId; }
    void ReleaseCaptureCursor(int) override { capturedCursor = 0; }

    CString GetTemplatesFolderPath() override { return templatesFolder; }
    CString GetSpecialFolder(int kind) override { return kind == 6 ? desktopFolder : CString(); }
    CString GetSpecialFolderDisplayName(int) override { return "Desktop"; }
    CString GetRootPath() override { return rootPath; }
    bool AreTemplatesFromCD() override { return templatesFromCD; }
    CString GetCdPath() override { return cdPath; }
    void ClearTemplatesFromCD() override { templatesFromCD = false; }

    COptions* GetOptions() override { return options; }
    COperationsManager* GetOperationsManager() override { return operationsManager; }
    bool IsNavBarMode() override { return navBarMode; }
    bool IsPhotoHandlerActive() override { return photoHandler; }

    int ShowMessageBox(CWnd*, UINT textId, UINT, UINT) override
    {
        boxes.push_back(textId);
        if (answers.empty())
            return IDCANCEL;
        const int answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    UINT AskQuestion(UINT messageId, UINT, UINT) override
    {
        boxes.push_back(messageId);
        return questionAnswer;
    }
    void ShowWarning(UINT messageId) override { boxes.push_back(messageId); }
    void InternalError(int line, const char* source) override
    {
        internalErrors.push_back(std::string(source) + ":" + std::to_string(line));
    }

    CString GetCurrentProject() override { return currentProject; }
    void SetCurrentProject(const CString& name) override { currentProject = name; }
    void ListProjects(std::vector<CString>& names) override { names = projects; }
    CString GetProjectsFolder() override { return projectsFolder; }
    void GetSelectedProjectGraphics(std::vector<CString>& files) override { files = selectedGraphics; }
    void ApplyChangesToProjectGraphics() override { ++appliedToProject; }

    bool IsHostedByEditor() override { return hosted; }
    bool HasCommandLine() override { return hosted; }
    CString GetCommandLineFileTitle() override { return fileTitle; }
    CString GetExportFolderPath() override { return exportTarget; }

    void Record(CPanelMessage* message)
    {
        Sent sent = {message->GetKind(), 0, 0, {}};
        if (auto* key = dynamic_cast<CKeyMessage*>(message)) {
            sent.first = key->m_key;
            sent.second = key->m_modifier;
        } else if (auto* page = dynamic_cast<CPageStateMessage*>(message)) {
            sent.first = page->m_enable;
            sent.second = page->m_page;
        } else if (auto* save = dynamic_cast<CSaveFileMessage*>(message)) {
            sent.text = static_cast<const char*>(save->m_file);
        }
        messages.push_back(sent);
    }

    CWnd* mainWindow = nullptr;
    bool shiftHeld = false, controlHeld = false;
    bool topLevelManager = true, cursorService = true;
    int capturedCursor = 0;
    CString templatesFolder = "C:\\Root\\TWTemplates", desktopFolder = "C:\\Users\\me\\Desktop", rootPath = "C:\\Root\\";
    bool templatesFromCD = false;
    CString cdPath;
    COptions* options = nullptr;
    COperationsManager* operationsManager = nullptr;
    bool navBarMode = false, photoHandler = false;
    std::vector<int> answers;
    UINT questionAnswer = 0;
    CString currentProject = "Default";
    std::vector<CString> projects;
    CString projectsFolder;
    std::vector<CString> selectedGraphics;
    int appliedToProject = 0;
    bool hosted = false;
    CString fileTitle, exportTarget;

    std::vector<int> mainKeys;
    std::vector<Sent> messages;
    std::vector<std::string> commands;
    std::vector<UINT> boxes;
    std::vector<std::string> internalErrors;
};

// What the panels (the editor panels, the output and export panels, the browsing dialogs)
// need of the application: the main dialog and its window managers, the cursor service, the
// program's folders and message boxes, the current graphic, the background renderer window a
// panel may host, and for the output panels the projects and the command line.
//
// The base class answers as a program without a main dialog would: no window managers, no
// cursor service, no graphic, every question cancelled. The application installs its own
// implementation at start-up (SetPanelServices); tests install a small fake.
#pragma once

#include "framework/win/Afxwin.h"

#include <vector>

class COptions;
class COperationsManager;
class CPanelMessage;

class CPanelServices {
public:
    virtual ~CPanelServices() = default;

    // The main dialog (null before it exists) and its key handling: F-keys, F10 and Alt+F4
    // typed in a panel are decided there.
    virtual CWnd* GetMainWindow() { return nullptr; }
    virtual BOOL MainPreTranslateMessage(MSG* msg) { return FALSE; }
    // The main dialog's Shift-held and Ctrl-held flags.
    virtual void SetShiftHeld(bool held) {}
    virtual void SetControlHeld(bool held) {}
    virtual bool IsControlHeld() { return false; }

    // The window managers: a panel message to the main dialog's managers (with the wait
    // cursor held when withWait is set); a message or a command to the top-level manager;
    // a command to the main dialog's current manager. False when there is no such manager.
    virtual bool SendMessageToManagers(CPanelMessage* message, int withWait) { return false; }
    virtual bool HasTopLevelManager() { return false; }
    virtual int HandleManagerMessage(CPanelMessage* message) { return 0; }
    virtual int HandleManagerCommand(const CString& command) { return 0; }
    virtual void SendCommand(const CString& command) {}

    // The main dialog's cursor service: capture with a cursor resource, release (keepWait: a
    // wait cursor stays up), the wait cursor.
    virtual bool HasCursorService() { return false; }
    virtual void SetCaptureCursor(int cursorId, CWnd* window) {}
    virtual void ReleaseCaptureCursor(int keepWait) {}
    virtual void BeginWaitCursor() {}
    virtual void EndWaitCursor() {}

    // Folders: the templates folder with the root and without a trailing backslash, a shell
    // folder of a kind (6 the desktop) and the display name of a shell folder (CSIDL).
    virtual CString GetTemplatesFolderPath() { return CString(); }
    virtual CString GetSpecialFolder(int kind) { return CString(); }
    virtual CString GetSpecialFolderDisplayName(int csidl) { return CString(); }
    virtual CString GetRootPath() { return CString(); }
    // Templates read from a CD: the flag, the CD folder, clearing the flag.
    virtual bool AreTemplatesFromCD() { return false; }
    virtual CString GetCdPath() { return CString(); }
    virtual void ClearTemplatesFromCD() {}

    // The background renderer window a panel may host (the application's renderer window
    // class): its buffer is freed, resized or blitted; it draws the panel's bevel frame.
    virtual void FreeRendererBuffer(CWnd* renderer) {}
    virtual void SetRendererSize(CWnd* renderer, int width, int height) {}
    virtual void BlitRenderer(CWnd* renderer, CDC* dc, const RECT& area) {}
    virtual void DrawBevelFrame(CWnd* window, CDC* dc);

    // The current graphic and the document side.
    virtual COptions* GetOptions() { return nullptr; }
    virtual COperationsManager* GetOperationsManager() { return nullptr; }
    virtual bool IsNavBarMode() { return false; }
    virtual bool IsPhotoHandlerActive() { return false; }

    // Messages: a message box owned by a window with a string-table text and caption (the
    // caption 0 for the program's); answers the button (IDOK, IDCANCEL...).
    virtual int ShowMessageBox(CWnd* owner, UINT textId, UINT captionId, UINT type) { return IDCANCEL; }
    // The shared message boxes: a question with up to two buttons (string ids), answering
    // the chosen button's string id (0 when closed); a warning by id.
    virtual UINT AskQuestion(UINT messageId, UINT button1, UINT button2) { return 0; }
    virtual void ShowWarning(UINT messageId) {}
    virtual void InternalError(int line, const char* source) {}

    // Projects: the current project, the names of the project folders (with their
    // " (Project)" suffix), the folder that holds them (ending with a backslash; empty when
    // unknown).
    virtual CString GetCurrentProject() { return CString(); }
    virtual void SetCurrentProject(const CString& name) {}
    virtual void ListProjects(std::vector<CString>& names) {}
    virtual CString GetProjectsFolder() { return CString(); }
    // The project dialog of the themes page: the style files of the selected project
    // graphics; applying the current graphic's changes to them.
    virtual void GetSelectedProjectGraphics(std::vector<CString>& files) {}
    virtual void ApplyChangesToProjectGraphics() {}

    // The command line: the program was started by an HTML editor; the file title it named
    // (empty when none); the graphic type it asked for and whether its path is an existing
    // folder.
    virtual bool IsHostedByEditor() { return false; }
    virtual bool HasCommandLine() { return false; }
    virtual CString GetCommandLineFileTitle() { return CString(); }
    virtual int GetCommandLineGraphicType() { return 0; }
    virtual bool IsCommandLinePathFolder() { return false; }

    // The current graphic's export target (its file name is proposed by Save Graphic) and the
    // preview window's picture display of an exported file.
    virtual CString GetExportFolderPath() { return CString(); }
    virtual void ShowPreviewImage(const CString& path, int flag) {}
};

// The installed services; never null.
CPanelServices& GetPanelServices();
// Installs services (not owned); null puts the base-class instance back.
void SetPanelServices(CPanelServices* services);

// Opening files for editing and starting new graphics.
//
// The user edits a working copy: the style file of the graphic is copied into this instance's
// temporary folder as "~ast<type>.qtw" (a navigation bar as the eight files "~ast7<suffix>.qtw")
// and the pages edit that copy. A file opens from the command line, from another process
// (WM_COPYDATA) or from the program itself; an image or page is opened through the style file
// that made it, or as a photo when none is known.
//
// The steps are written against COpenFileHost, so that they run the same for the main dialog
// and for a recording fake.
#pragma once

#include "framework/core/Afx.h"

class COptions;
class CPanelMessage;
class CAppCommandLineInfo;

// What opening a file needs from the main dialog and the objects it owns.
class COpenFileHost {
public:
    virtual ~COpenFileHost() = default;
    virtual COptions* GetOptions() = 0;
    virtual bool HasTopLevelManager() = 0;
    virtual bool IsMainManagerActive() = 0;
    virtual bool HasOperationsManager() = 0;
    // This instance's temporary folder, with a trailing backslash.
    virtual CString GetTempFolderPath() = 0;
    // The style file that made an image or page; empty when none is known.
    virtual CString FindStyleFileFor(const CString& path) = 0;
    // Applies a style file to the graphic being edited.
    virtual void ApplyTemplateFile(const CString& path) = 0;
    virtual void OpenDocument(const CString& path, int flagA, int flagB) = 0;
    virtual void SendCommand(const CString& command) = 0;
    virtual void SendMessage(CPanelMessage* message) = 0;
    virtual void BeginWait() {}
    virtual void EndWait() {}
};

// The eight style-file suffixes of a navigation bar: the four button states, then the caps.
extern const char* const kNavBarFileSuffixes[8];

// Copies source over target, clears the copy's read-only attribute and makes the record's
// graphic that working copy. Non-zero on success; 0 without a record or when the copy fails.
int CopyStyleToTemp(COptions* record, const CString& source, const CString& target, int graphicType);
// 0 only when path names no existing file; 1 otherwise, whatever happened afterwards.
int OpenFileForEditing(COpenFileHost& host, const CString& path);
// Makes the record's graphic a new one of the type and sends the page command that starts it.
int StartNewGraphic(COpenFileHost& host, int graphicType);
// Start-up's command-line action: open the style file or image, or start a new graphic.
void PerformCommandLineAction(COpenFileHost& host, const CAppCommandLineInfo& commandLine);
// The working copy of the current graphic written at close: a navigation bar saves its state
// files whatever noSave says; any other graphic is written unless noSave is set. The path is the
// first working file ("~ast7_off.qtw" for a bar).
CString SaveWorkingCopyOnClose(COptions* record, const CString& tempFolder, bool navBarMode,
                               bool (*saveNavBar)(const CString& path), bool noSave);

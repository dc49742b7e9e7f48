// What the save dialogs need of the application beyond the panels' services
// (editors/PanelServices.h): the HTML editor's command line, the program's export of the
// current graphic, numbered names, messages with an argument, the shell and the tick count.
//
// The base class answers as a program started without a command line whose exports fail.
// The application installs its own implementation at start-up (SetSaveServices); tests
// install a small fake.
#pragma once

#include "framework/win/Afxwin.h"

// The command line as a save reads it.
struct SaveCommandLine {
  bool present = false;        // the program was started with a command line
  bool hostedByEditor = false; // ... by an HTML editor (its window handle was given)
  HWND editorWindow = nullptr;
  int editorKind = 0;
  bool styleFile = false;      // the named file is an existing style file
  int graphicType = 11;
  CString file;                // the file named on the command line
  CString fileFolder;          // its folder, when given
  CString fileBaseName;
  CString styleFolder;
  CString styleBaseName;       // the style file's title without its state suffix
  CString docPath;             // the document folder (an existing folder or empty)
  CString resultPath;          // the result file the editor reads

  bool IsEditorStart() const { return present && hostedByEditor; }
  bool IsStyleEditing() const { return IsEditorStart() && styleFile; }
  bool IsImageEditing() const {
    return IsEditorStart() && graphicType == 12 && !file.IsEmpty() && ::GetFileAttributesA(file) != INVALID_FILE_ATTRIBUTES &&
           !(::GetFileAttributesA(file) & FILE_ATTRIBUTE_DIRECTORY);
  }
};

class CSaveServices {
 public:
  virtual ~CSaveServices() = default;

  virtual SaveCommandLine GetCommandLine() { return SaveCommandLine(); }
  // Writes the current graphic to path (reuse: copy the size estimate's temporary export when
  // it exists); reports a failure itself.
  virtual bool SaveGraphicAs(const CString& path, bool reuse) { return false; }
  // The first numbered variant of path that does not exist (companion: a second file whose
  // numbered name must be free as well).
  virtual CString MakeNumberedName(const CString& path, const CString& companion);
  // Messages with a text argument: severity 0 warning, 1 error.
  virtual void ReportMessage(int severity, UINT messageId, const CString& argument) {}
  virtual bool OpenWithShell(const CString& path) { return false; }
  virtual DWORD GetTickCount() { return ::GetTickCount(); }
};

CSaveServices& GetSaveServices();
void SetSaveServices(CSaveServices* services);

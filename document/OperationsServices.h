// What the operations manager, the template handler and the preview window need from the rest
// of the program: messages with an argument, internal errors, the current option record, the
// program root, picture loading, the navigation bar model and the current window manager.
//
// The base class answers from the option record's services (GetOptionsServices) where they
// overlap and is otherwise a harmless "nothing there"; the application installs its own at
// start-up and tests install a fake.
#pragma once

#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"

class Bitmap32;
class COptions;
class CNavBarModel;
class COperationsManager;

// Severity of a message with an argument.
enum class MessageSeverity { kWarning, kError };

// The operations manager that initialised itself last (null when none or after it is gone).
COperationsManager* GetInitialisedOperationsManager();
void SetInitialisedOperationsManager(COperationsManager* manager);

class COperationsServices {
 public:
  virtual ~COperationsServices();

  // A string-table message formatted with one text argument ("%s").
  virtual void ShowMessage(MessageSeverity severity, unsigned messageId, const CString& argument);
  // A string-table message without argument.
  virtual void ShowError(unsigned messageId);
  // Records the internal error of a source line and short source name and makes it pending.
  virtual void InternalError(int line, const char* source);

  virtual COptions* GetOptions();
  // The program's operations manager: by default the last one that initialised itself.
  virtual COperationsManager* GetOperationsManager();
  virtual CString GetRootPath();  // ends with a backslash when known

  // Loads a picture file (any importable format) into a bitmap; 0 on success. The base uses
  // the program's image import.
  virtual int LoadImage32(const CString& path, Bitmap32& bitmap);

  // Creates the navigation bar model the operations manager owns; null when the program has
  // none (the manager then works without navigation-bar mode).
  virtual CNavBarModel* CreateNavBar() { return nullptr; }

  // Asks the current window manager to render a window again (after the preview was resized).
  virtual void RenderWindow(void* window) {}
};

COperationsServices& GetOperationsServices();
// Installs services (not owned); null puts the base-class instance back.
void SetOperationsServices(COperationsServices* services);


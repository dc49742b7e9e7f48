// What the option record and the style file need from the rest of the program: the operations
// manager and its navigation bar, the application's folders, messages and command line, the
// installed fonts and the per-user preferences. The record reaches all of it through this one
// interface so that it builds and is tested without those subsystems; the program installs its
// implementation at start-up (SetOptionsServices) and tests install a small fake.
//
// The base class is a complete "nothing there" implementation: no operations manager, no
// navigation bar, no messages shown; the preferences are the registry's (in memory on the host
// build).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"

class COptions;

// One installed font as the font list reports it.
struct CInstalledFont {
  int weight = 400;  // 700 and above is bold
  bool italic = false;
  CString fullName;
  CString styleName;
};

class COptionsServices {
 public:
  virtual ~COptionsServices();

  // Operations manager (GetOperationsManager); every call below is harmless without one.
  virtual bool HasOperationsManager() { return false; }
  virtual bool IsNavBarMode() { return false; }
  virtual void SetNavBarMode(bool on) {}
  virtual bool HasCurrentHandler() { return false; }
  virtual bool OpenDocument(const CString& path) { return false; }
  virtual RECT GetPageRect() { return RECT{0, 0, 0, 0}; }
  virtual void StopPreviewStateDisplay() {}
  virtual void NotifyChanged(COptions* record, DWORD mask, bool redraw) {}
  virtual void NotifyTextChanged(bool redraw, int story) {}
  virtual void NotifyTextureChanged(bool redraw, int texture) {}
  virtual void NotifyConstraintChanged(bool redraw) {}
  virtual void NotifyShadowChanged(bool redraw) {}
  // Selects a template state; returns the manager's answer (0 without a manager).
  virtual int SelectState(int state) { return 0; }
  // Writes the 10 x 10 swatch of a colour to the blank texture image.
  virtual void WriteColourSwatch(COLORREF colour) {}

  // The manager's navigation bar.
  virtual bool HasNavBar() { return false; }
  virtual void NavBarWriteMenuRecords(std::vector<CString>& records) {}
  virtual CString NavBarGetSettingsString() { return CString(); }
  virtual CString NavBarGetImageFolder() { return CString(); }
  virtual void NavBarSetImageFolder(const CString& folder) {}
  virtual void NavBarClearURLChoices() {}
  virtual void NavBarSetParseButtons() {}
  virtual bool NavBarLoadFromTemplate(const CString& html, const CString& path,
                                      const std::vector<CString>& menuRecords, const CString& settings,
                                      int coloursFromFile, int settingsOrigin) {
    return false;
  }
  virtual bool NavBarGetTotalSize(int& width, int& height) { return false; }

  // Application folders and identity.
  virtual CString GetRootPath() { return CString(); }  // ends with a backslash when known
  virtual CString GetCdPath() { return CString(); }
  virtual CString GetTemplatesFolderName() { return "TWTemplates"; }
  virtual CString GetVersionText();
  virtual COptions* GetCurrentOptions() { return nullptr; }
  // The first file below folder whose name ends with suffix and has the extension; empty when
  // there is none (a file search of the program's own).
  virtual CString FindFileRecursive(const CString& folder, const CString& name,
                                    const CString& extension, const CString& suffix);

  // Command line of a program started by an HTML editor.
  virtual bool IsHostedByEditor() { return false; }
  // The command line asks for a thumbnail: a reset record starts in thumbnail mode.
  virtual bool IsThumbnailRequested() { return false; }
  virtual CString GetDocPath() { return CString(); }
  // The editor's background colour when it has not been applied yet; marks it applied.
  virtual bool TakeHostBackgroundColour(COLORREF& colour) { return false; }
  // Lets the command line take its file base name and folder from a style's export path.
  virtual void OfferExportPath(const CString& exportPathNameExt) {}

  // Fonts.
  virtual bool SubstituteFont(CString& face) { return false; }
  virtual bool FindInstalledFont(const CString& fullName, CInstalledFont& font) { return false; }

  // Messages to the user (string-table ids) and internal errors.
  virtual void InformError(unsigned messageId) {}
  virtual void ReportWarning(unsigned messageId, const CString& argument) {}
  virtual void InformWarningWithPath(unsigned messageId, const CString& path) {}
  virtual void SetInternalError(int line, const char* file) {}

  // Per-user preferences: DWORD and string values of the program's Options key in the registry
  // (HKEY_CURRENT_USER\Software\Quor\Barwright 1\Options); kept in memory on the host build.
  virtual bool OpenPreferences();
  virtual bool ReadPreference(const char* name, DWORD& value);
  virtual bool WritePreference(const char* name, DWORD value);
  virtual bool WritePreferenceString(const char* name, const CString& value);

 private:
  std::map<std::string, DWORD> m_dwords;
  std::map<std::string, CString> m_strings;
};

// The installed services; never null (a base-class instance until one is set).
COptionsServices& GetOptionsServices();
// Installs services (not owned); null puts the base-class instance back.
void SetOptionsServices(COptionsServices* services);

// A small stand-in for the program around the option record: an operations manager that opens
// every template, an optional navigation bar, a program root in a temporary folder, and a log of
// the messages and notifications the record sent.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "document/OptionsServices.h"

class CFakeOptionsServices : public COptionsServices {
 public:
  CFakeOptionsServices();
  ~CFakeOptionsServices() override;

  bool HasOperationsManager() override { return hasManager; }
  bool IsNavBarMode() override { return navBarMode; }
  void SetNavBarMode(bool on) override { navBarMode = on; }
  bool OpenDocument(const CString& path) override {
    opened.push_back(std::string(path));
    return openSucceeds;
  }
  RECT GetPageRect() override { return RECT{0, 0, 300, 120}; }
  int SelectState(int state) override {
    selectedStates.push_back(state);
    return 10 * state;
  }
  bool HasNavBar() override { return hasNavBar; }
  void NavBarWriteMenuRecords(std::vector<CString>& records) override {
    for (const CString& record : barMenuRecords) records.push_back(record);
  }
  CString NavBarGetSettingsString() override { return barSettings; }
  CString NavBarGetImageFolder() override { return barImageFolder; }
  void NavBarSetImageFolder(const CString& folder) override { barImageFolder = folder; }
  bool NavBarLoadFromTemplate(const CString& html, const CString& path,
                              const std::vector<CString>& menuRecords, const CString& settings,
                              int coloursFromFile, int settingsOrigin) override {
    loadedHtml = html;
    return barLoadSucceeds;
  }
  CString GetRootPath() override { return root; }
  // Every font is installed; its name tells its style.
  bool FindInstalledFont(const CString& fullName, CInstalledFont& font) override {
    font.fullName = fullName;
    font.weight = fullName.Find("Bold") >= 0 ? 700 : 400;
    font.italic = fullName.Find("Italic") >= 0;
    return !fullName.IsEmpty();
  }
  void InformError(unsigned messageId) override { messages.push_back(messageId); }
  void ReportWarning(unsigned messageId, const CString&) override { messages.push_back(messageId); }
  void InformWarningWithPath(unsigned messageId, const CString&) override {
    messages.push_back(messageId);
  }
  void SetInternalError(int, const char*) override { ++internalErrors; }
  // Preferences in memory, so that tests never see another run's values.
  bool OpenPreferences() override { return preferencesOpen; }
  bool ReadPreference(const char* name, DWORD& value) override {
    auto found = preferences.find(name);
    if (found == preferences.end()) return false;
    value = found->second;
    return true;
  }
  bool WritePreference(const char* name, DWORD value) override {
    preferences[name] = value;
    return true;
  }
  bool WritePreferenceString(const char* name, const CString& value) override {
    preferenceStrings[name] = std::string(value);
    return true;
  }

  // A file under the program root, with the program's backslashes.
  CString RootFile(const char* name) const { return root + name; }
  // Creates a file under the program root with the given bytes.
  void WriteRootFile(const char* name, const std::string& bytes) const;

  bool hasManager = true;
  bool navBarMode = false;
  bool openSucceeds = true;
  bool hasNavBar = false;
  bool barLoadSucceeds = true;
  std::vector<CString> barMenuRecords;
  CString barSettings;
  CString barImageFolder;
  CString loadedHtml;
  CString root;  // ends with a backslash
  std::vector<std::string> opened;
  std::vector<unsigned> messages;
  std::vector<int> selectedStates;
  int internalErrors = 0;
  bool preferencesOpen = true;
  std::map<std::string, DWORD> preferences;
  std::map<std::string, std::string> preferenceStrings;

 private:
  std::string m_nativeRoot;
};

// Reads a whole file (a path with the program's backslashes).
std::string ReadWholeFile(const CString& path);

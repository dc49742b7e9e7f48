// What the save tests share: file helpers on the fixture folder, the utilities' and the image
// writers' services over the fixture's graphic.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "util/AppUtilServices.h"
#include "util/Registry.h"
#include "document/Options.h"
#include "tests/navbar/FakeExportServices.h"

inline std::string Native(const CString& path) {
  std::string text = path.GetString();
#ifndef _WIN32
  for (char& c : text)
    if (c == '\\') c = '/';
#endif
  return text;
}

inline std::string ReadFile(const CString& path) {
  std::ifstream in(Native(path), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The lines of a text file without their line ends.
inline std::vector<std::string> Lines(const CString& path) {
  std::vector<std::string> lines;
  std::istringstream in(ReadFile(path));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

inline std::string SizeLine(int size) { return "\xB6" + std::to_string(size) + "\xB6"; }

inline CString RegistryString(const char* name) {
  HKEY key = OpenOptionsKey();
  char buffer[300] = {};
  DWORD size = sizeof buffer;
  const BOOL found = key && GetRegString(key, name, buffer, &size);
  if (key) CloseRegKey(key);
  return found ? CString(buffer) : CString();
}

// The utilities see an operations manager (numbered style file names need one).
class UtilServices : public CAppUtilServices {
 public:
  UtilServices() { SetAppUtilServices(this); }
  ~UtilServices() override { SetAppUtilServices(nullptr); }
  bool HasOperationsManager() override { return true; }
  bool IsNavBarMode() override { return navBar; }
  bool navBar = false;
};


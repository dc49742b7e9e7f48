// The program around the document for these tests: one current option record, and logs of the
// messages and internal errors raised.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "bitmap/Bitmap32.h"
#include "document/NavBarModel.h"
#include "document/OperationsServices.h"
#include "document/Options.h"

// A bar model that only marks where the state badge goes: a 3 x 2 green block 2 pixels in
// from the surface's bottom-left corner.
class FakeNavBarModel : public CNavBarModel {
 public:
  bool CreateDefaultButtons() override { return true; }
  void OnGraphicChanged(int, int) override {}
  int Render(int, int) override { return 1; }
  void UpdateMenuColours() override {}
  void TakeMenuFontFromGraphic() override {}
  bool DrawStateBadge(Bitmap32& surface) override {
    ++badges;
    for (int y = 2; y < 4 && y < surface.Height(); ++y)
      for (int x = 2; x < 5 && x < surface.Width(); ++x) surface.Pixels()[y * surface.Width() + x] = 0x0000FF00u;
    return true;
  }
  int badges = 0;
};

class FakeOperationsServices : public COperationsServices {
 public:
  FakeOperationsServices() { SetOperationsServices(this); }
  ~FakeOperationsServices() override { SetOperationsServices(nullptr); }

  void ShowMessage(MessageSeverity, unsigned id, const CString& argument) override {
    messages.push_back(id);
    arguments.push_back(std::string(argument));
  }
  void ShowError(unsigned id) override { messages.push_back(id); }
  void InternalError(int line, const char* source) override {
    internalErrors.emplace_back(line, std::string(source));
  }
  COptions* GetOptions() override { return hasRecord ? &record : nullptr; }
  CString GetRootPath() override { return root; }
  int LoadImage32(const CString& path, Bitmap32& bitmap) override;
  // The manager gets a bar model when withNavBar is set before it initialises.
  CNavBarModel* CreateNavBar() override { return withNavBar ? new FakeNavBarModel : nullptr; }

  COptions record;
  bool hasRecord = true;
  bool withNavBar = false;
  CString root = "C:\\Root\\";
  std::vector<unsigned> messages;
  std::vector<std::string> arguments;
  std::vector<std::pair<int, std::string>> internalErrors;
};

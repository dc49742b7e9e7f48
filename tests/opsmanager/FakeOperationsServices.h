// The program around the document for these tests: one current option record, and logs of the
// messages and internal errors raised.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "document/OperationsServices.h"
#include "document/Options.h"

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

  COptions record;
  bool hasRecord = true;
  CString root = "C:\\Root\\";
  std::vector<unsigned> messages;
  std::vector<std::string> arguments;
  std::vector<std::pair<int, std::string>> internalErrors;
};

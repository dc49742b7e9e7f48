// Small Win32 helpers shared by the integration object and its launcher.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

namespace integration {

// The module's message boxes carry this title.
constexpr const char* kModuleMessageTitle = "Tw3FpInterface";

// A new BSTR of an ANSI text (system code page); a null text gives a null BSTR.
BSTR AnsiToBstr(const char* text);

// An ANSI copy (system code page) of a BSTR; a null BSTR gives "".
std::string BstrToAnsi(BSTR text);

// A message box with no owner, the module's title and an OK button.
void ShowModuleMessage(const char* text);

// The system's text for the calling thread's last error, through ShowModuleMessage.
void ShowLastSystemError();

// A string from the module's string table ("" when missing).
std::string LoadModuleString(UINT id);

}  // namespace integration

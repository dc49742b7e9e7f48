// Applies and removes a registrar script, the text resource that lists the registry keys of
// the module's class. The script's grammar, as far as the module uses it:
//
//   script  := root '{' entries '}'            root: HKCR (HKEY_CLASSES_ROOT)
//   entries := { entry }
//   entry   := [NoRemove | ForceRemove] name [ '=' 's' string ] [ '{' entries '}' ]
//            | 'val' name '=' 's' string
//   name    := bare word | 'quoted'            string := 'quoted' ('' stands for one quote)
//
// Registration creates every key and value (a ForceRemove key is deleted with its subkeys
// first); unregistration deletes every key with its subkeys except NoRemove keys, whose
// entries are visited instead. "%MODULE%" in a value becomes the module's full path.
#pragma once

#include <windows.h>

#include <string>

namespace integration {

// HRESULT S_OK, or E_FAIL for a malformed script or a registry failure.
HRESULT ApplyRegistrarScript(const std::string& script, const std::string& modulePath, bool registering);

}  // namespace integration

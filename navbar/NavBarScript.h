// The rollover script of a navigation bar without drop-down menus: a script file that writes
// the bar's table into the page while it loads, one writeButton call per button, the small
// functions those calls rely on, and then the rollover stub (navstub.js or navstub2.js from
// the program's SysResources folder) that draws each button.
//
// The generated part is one single line after the comment line; the stub follows straight
// after it. Line ends are CR LF.
#pragma once

#include "framework/core/CString.h"

class CNavBar;

// Writes the script to scriptPath. Button images are named baseName + "_b" + number (from 1)
// + state suffix; noLinks (the browser preview) leaves every button without a link;
// pageFolder (with a trailing backslash) is the folder of the page that includes the script.
// False when the file cannot be created, or when the stub cannot be read (the file then holds
// everything but the stub).
bool WriteNavBarScript(CNavBar& bar, const CString& scriptPath, const CString& baseName, bool noLinks,
                       const CString& pageFolder);

// Help as HTML pages in the program root's Help folder, opened with the shell. Every help call
// names a context id (a page, a dialog, a control's page); the table maps it to its page.
#pragma once

#include "framework/core/Afx.h"

// The page of a context id, relative to the program root; the contents page for an unknown id.
CString HelpPageFor(DWORD_PTR context);
// Opens the context's page; says so to the user when no page or no browser can be opened.
bool ShowHelpPage(DWORD_PTR context);

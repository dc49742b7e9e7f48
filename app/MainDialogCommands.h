// The main dialog's keys, menu commands, help requests and system commands.
//
// The main dialog sees every key before the window with the focus. RouteMainDialogKey decides
// what becomes of one message: a key message for the pages, the dialog's close, a swallowed
// key, or the framework's dialog handling; it keeps the Shift and Control flags and the
// WM_FONTCHANGE burst state in the route state.
#pragma once

#include "framework/core/Afx.h"

#include <memory>

class CPanelMessage;

// Menu commands of the graphic menu and the help command.
enum : UINT {
    ID_GRAPHIC_COPY_BITMAP = 32771,
    ID_GRAPHIC_COPY_FILE_NAME = 32772,
    ID_GRAPHIC_UNDO_ALL_EDITS = 32779,
    ID_GRAPHIC_CREATE_STYLE = 32823,
    ID_GRAPHIC_INFORMATION = 33268,
    ID_MAIN_HELP = 57670,
};
// Not on the system menu: sent from outside to regenerate every template thumbnail.
const UINT kSysCommandRegenerate = 48;

struct CKeyRouteState {
    int* shiftDown;
    int* controlDown;
    bool lastWasFontChange;
};

struct CKeyRoute {
    bool handled;      // the message goes no further (PreTranslateMessage answers 1)
    bool sendKey;      // a CKeyMessage(key, modifier) for the top-level manager
    int key;
    int modifier;
    bool close;        // send WM_CLOSE to the dialog
    bool fontChanged;  // send the command "fontchanged"
};

CKeyRoute RouteMainDialogKey(UINT message, WPARAM wParam, LPARAM lParam, bool haveManager, CKeyRouteState& state);

// The panel message a menu command stands for; null for any other id.
std::unique_ptr<CPanelMessage> MakeMenuCommandMessage(UINT id);

// Shows again every message that carries a "Don't show this again" box.
void ResetDontShowAgainBoxes();

// Resource ids of the editor panels' popup menus.
#pragma once

// The graphic's context menu.
#define IDR_GRAPHIC_MENU 187

// The style-properties menu's entries ("Shadow" is the program's own string).
#define IDS_PROP_CREATE_STYLE 32923
#define IDS_PROP_NO_STYLE 32992
#define IDS_PROP_CURRENT_STYLE 32993
#define IDS_PROP_SHADOW 32994
#define IDS_PROP_NO_TEXTURES 32995
#define IDS_PROP_WIDTH 32996
#define IDS_PROP_HEIGHT 32997
#define IDS_PROP_FONT 33002
#define IDS_PROP_TEXT 33003
#define IDS_PROP_POINT_SIZE 33004
#define IDS_PROP_LETTER_SPACE 33005
#define IDS_PROP_ASPECT 33007
#define IDS_PROP_NUDGE_X 33009
#define IDS_PROP_NUDGE_Y 33010

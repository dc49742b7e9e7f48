// Resource ids of the editor panels and their controls.
#pragma once

// Unit texts of the panels' item setters.
#define IDS_PIXELS_FORMAT 116
#define IDS_DEGREES_FORMAT 119
#define IDS_PERCENT_FORMAT 120

// The colour-count slider's labels.
#define IDS_UNKNOWN_COLOURS 33026
#define IDS_24BIT_COLOUR 33027
#define IDS_32BIT_COLOUR 33028
#define IDS_COLOURS_SUFFIX 33029

// Templates read from a CD that has been taken out.
#define IDS_CD_REMOVED 32967
#define IDS_CD_REQUIRED 32978

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

// Resource ids of the panel base and the shared panel controls.
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

// The program's icon on the warning dialogs (the same resource as the program's own).
#define IDI_PANELS_PROGRAM 126

// The delete warning.
#define IDD_DELETE_WARNING 360
#define IDC_DELETE_WARNING_DELETE 1828
#define IDC_DELETE_WARNING_CANCEL 1829
#define IDC_DELETE_WARNING_HELP 109
#define IDC_DELETE_WARNING_EDIT_FILE 1830
#define IDC_DELETE_WARNING_PROJECT 1831

// The note with a don't-show-again box, and its kinds' texts.
#define IDD_DONT_SHOW_AGAIN 222
#define IDC_DONT_SHOW_AGAIN 1457
#define IDC_DONT_SHOW_FIRST_LINE 1459
#define IDC_DONT_SHOW_THEME 1460
#define IDC_DONT_SHOW_SECOND_LINE 1461
#define IDS_AUTOSAVED_NOTE 32849
#define IDS_APPLY_CHANGES_NOTE 32861
#define IDS_APPLY_CHANGES_CAPTION 33049
#define IDS_MENU_FEATURE_NOTE 33201
#define IDS_MENU_FEATURE_CAPTION 33202
#define IDS_MENU_FEATURE_BROWSER 33211

// The warning before leaving a photo with unsaved edits.
#define IDD_WARNING 1918
#define IDC_WARNING_TEXT 1976
#define IDS_PHOTO_LOSS_WARNING 33222

// Cursors the panels and galleries show: the colour picker, the hot spot's capture and the
// static gallery's rollover.
#define IDC_PICKER_CURSOR 195
#define IDC_HOTSPOT_CURSOR 386
#define IDC_ROLLOVER_CURSOR 177

// Icons of the panels' buttons: bold and italic menu text, browse, previous and next.
#define IDI_ITALIC_BUTTON 391
#define IDI_BOLD_BUTTON 392
#define IDI_BROWSE_BUTTON 1728
#define IDI_PREVIOUS_ARROW 393
#define IDI_NEXT_ARROW 394

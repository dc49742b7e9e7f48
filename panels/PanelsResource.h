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

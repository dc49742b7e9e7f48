// String ids of the template generator (gallery/AutoGenerateTemplates.rc).
#pragma once

#define IDS_AUTOGEN_SCANNING_FOLDER 33135
#define IDS_AUTOGEN_PROCESSING_FILE 33136
#define IDS_AUTOGEN_NAVBAR_SAMPLE_ITEMS 32934

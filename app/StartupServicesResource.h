// Resource ids of the update check and the template copy offer, shared by their code and
// app/StartupServices.rc.
#pragma once

#define IDD_UPDATE_RESULT 367
#define IDC_UPDATE_LIST 1846
#define IDC_UPDATE_BUTTON 1584

#define IDD_COPY_TEMPLATES 368
#define IDC_COPY_TEMPLATES_TEXT 1854
#define IDC_COPY_TEMPLATES_DONT_ASK 1667

#define IDS_UPDATE_SERVER 32960
#define IDS_UPDATE_LATEST_WORD 32961
#define IDS_UPDATE_LATEST_LINE 32962
#define IDS_UPDATE_HEADER 32963
#define IDS_UPDATE_NOT_FOUND 32965
#define IDS_SPECIAL_HEADER 32991
#define IDS_COPY_TEMPLATES_TITLE 33046

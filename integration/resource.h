// Resource identifiers of Tw3Interface.dll.
#pragma once

#define IDR_TW3INTERFACE 101      // REGISTRY: the registrar script

#define IDS_PROJNAME 100
#define IDS_SAVE_FIRST 101
#define IDS_WARNING_TITLE 102
#define IDS_UNKNOWN 103
#define IDS_LIVE_PAGE 104
#define IDS_LIVE_PAGE_TITLE 105

#define IDD_MODULE_INFO 201
#define IDC_BARWRIGHT_VERSION 202
#define IDC_EDITOR_GROUP 203
#define IDC_INTEGRATION_VERSION 204

#pragma once
#define IDD_EXCHANGE 100
#define IDC_NAME 101
#define IDC_COUNT 102
#define IDC_FLAG 103

// Resource identifiers of ZORFPDriverSetup.exe.
#pragma once

#define IDD_PROGRESS 100
#define IDD_WELCOME 101
#define IDD_LIST 102
#define IDD_FOLDER 103
#define IDD_DOWNLOAD 104
#define IDD_INSTALL 105
#define IDD_FINISH 106

#define IDC_TEXT 1000
#define IDC_RICHTEXT 1001
#define IDC_LIST 1002
#define IDC_FOLDER 1003
#define IDC_BROWSE 1004
#define IDC_STATUS 1005
#define IDC_PROGRESS 1006
#define IDC_SPEED 1007
#define IDC_REMAINING 1008
#define IDC_PAUSE 1009

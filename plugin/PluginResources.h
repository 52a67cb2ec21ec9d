// Resource ids of the plug-in DLL, shared by the resource script and the code.
#pragma once

#define IDD_ABOUT 100
#define IDD_AUTHOR_NAME 110
#define IDD_SETTINGS_RIGHT 112
#define IDD_INFO 115
#define IDD_SETTINGS_LEFT 116
#define IDD_PRESET_SAVE 117
#define IDD_QUICK_HELP 118

#define IDC_PAN_CURSOR 102
#define IDC_LINK_CURSOR 117

#define IDB_QUICK_HELP 650

#define IDR_PIPL 16000

#define IDS_FILTER_CAPTION 2
#define IDS_NEEDS_HOST_5 16997
#define IDS_HOST_INCOMPATIBLE 16998
#define IDS_NEEDS_HOST_5B 16999

#define IDC_NAME_EDIT 118
#define IDC_DESCRIPTION_EDIT 1185
#define IDC_INFO_TEXT 1005
#define IDC_INFO_LINK 1000

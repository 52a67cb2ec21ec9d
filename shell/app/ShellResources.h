#pragma once

// Resource and command ids of the shell program.
#define IDR_MAINFRAME 2
#define IDR_IMAGETYPE 3
#define IDR_TOOLBAR 123
#define IDD_PROGRESS 128
#define IDD_ABOUTBOX 100
#define IDC_ABOUT_WEB 338
#define IDC_ABOUT_CREDITS 339
#define IDC_PROGRESS_BAR 600
#define IDC_PROGRESS_TITLE 601
#define IDC_PROGRESS_PERCENT 602

#define ID_ZOOM_FIT 500
#define ID_ZOOM_IN 501
#define ID_ZOOM_OUT 502
#define ID_ZOOM_ONE 503
#define ID_OPTIONS 504
#define ID_IMAGE_FLIP 440
#define ID_IMAGE_MIRROR 441
#define ID_IMAGE_ROTATE_CW 444
#define ID_IMAGE_ROTATE_CCW 445
#define ID_IMAGE_ROTATE_180 456
#define ID_IMAGE_RESAMPLE 460
#define ID_IMAGE_CROP 462
#define ID_COLOR_BRIGHTCONTRAST 470
#define ID_COLOR_INVERT 474
#define ID_COLOR_SEPIA 476
#define ID_FILTER_GAUSS 519
#define ID_FILTER_RECTANGLE 520
#define ID_FILTER_BOX 522
#define ID_FILTER_UNSHARP 523
#define ID_COLOR_HUESAT 526
#define ID_COLOR_LEVELS 527
#define ID_WINDOW_DUPLICATE 540
#define ID_IMAGE_INFO 32813
#define ID_PASTE_NEW 32830
#define ID_HELP_ONLINE 57670

#define ID_STATUS_PANE1 9000
#define ID_STATUS_PANE2 9001
#define ID_STATUS_PANE3 9002
#define ID_STATUS_PANE4 9003

// The frame asks a window's top child for its own context menu with this.
#define WM_QUERY_TAB_MENU 0x8394
// Zoom a view by wParam steps about the client point in lParam.
#define WM_ZOOM_AT 0x9010

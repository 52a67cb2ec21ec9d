#pragma once

// Resource ids of the shell's dialogs (ShellDialogs.rc). Plain defines: the
// resource compiler reads this file too.

#define IDD_NEW_IMAGE 105
// Parameter dialogs for one to five sliders: IDD_PARAMETERS_1 + count - 1.
#define IDD_PARAMETERS_1 123
#define IDD_RESAMPLE 291
#define IDD_OPTIONS 292

#define IDB_LIGHT_BUSY 128
#define IDB_LIGHT_READY 129

#define IDC_BPP_32 130
#define IDC_BPP_24 131
#define IDC_WIDTH 132
#define IDC_HEIGHT 133
#define IDC_QUALITY 134
#define IDC_WIDTH_SPIN 281
#define IDC_HEIGHT_SPIN 282
#define IDC_QUALITY_SPIN 283
#define IDC_MAINTAIN_ASPECT 311
// Parameter i: label IDC_PARAM_LABEL + i, value text IDC_PARAM_VALUE + i,
// trackbar IDC_PARAM_SLIDER + i.
#define IDC_PARAM_LABEL 315
#define IDC_PARAM_VALUE 320
#define IDC_PARAM_SLIDER 325
#define IDC_INDICATOR 330

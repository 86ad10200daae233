// Resource and control ids of the Downloader's Windows build, shared by the resource script and
// the dialog code. Plain defines: the resource compiler reads this file too.
#pragma once

#define IDI_FLASHWIZARD 128

// Dialog templates: the frame and its six step pages.
#define IDD_WIZARD 102
#define IDD_STEP1 130
#define IDD_STEP2 131
#define IDD_STEP3 132
#define IDD_STEP4 133
#define IDD_STEP5 134
#define IDD_STEP6 135

// Page pictures.
#define IDB_HAND_ON_OFF 136
#define IDB_BACK_DOWNLOAD 137
#define IDB_DOWNLOAD_BUTTON 138
#define IDB_COTTON_BUD 139
#define IDB_SERIAL_PLUG 141
#define IDB_USB_PLUG 142

// Frame controls.
#define IDC_CANCEL_BUTTON 1000
#define IDC_NEXT 1001
#define IDC_BACK 1003
#define IDC_FRAME_STATUS 1010

// Page controls.
#define IDC_STATUS 1004
#define IDC_PATH_EDIT 1005
#define IDC_BROWSE 1006
#define IDC_ATTENTION 1007
#define IDC_PORT_COMBO 1008
#define IDC_PORT_INFO 1009
#define IDC_FIRMWARE_PATH 1011
#define IDC_PORT_SENTENCE 1012
#define IDC_PROGRESS 1013
#define IDC_COUNTER 1014

// The About item of the system menu; its low four bits are free, as the system wants.
#define IDM_ABOUTBOX 0x0010
// The About box of the system menu: its item is string 197, its text page 1's first line.
#define IDD_ABOUT 100
#define IDC_ABOUT_TEXT 1020
#define IDC_LANGUAGE_LABEL 1021
#define IDC_LANGUAGE 1022

#define FLASHWIZARD_VERSION_NUMBERS 1, 2, 0, 0
#define FLASHWIZARD_VERSION_TEXT "1.2.0.0"

// Resource and control identifiers, shared by the C++ sources, the dialog templates (which name
// them; see ui/dialog_resources.cpp) and the Windows resource script. Plain defines, so that the
// resource compiler can read this file too.
#pragma once

#define IDD_ABOUTBOX                100
#define IDS_ABOUTBOX                101
#define IDD_ROSTER_DIALOG           102
#define IDR_MAINFRAME               128

// The about entry of the window menu. Windows only delivers window-menu commands whose
// identifiers are multiples of 16.
#define IDM_ABOUTBOX                0x0010

// Controls of IDD_ROSTER_DIALOG. 1 and 2 are the dialog's OK and Cancel identifiers: the exit
// button ends the dialog like OK, and Esc, which a dialog sends as Cancel, opens a file.
#define IDOK                        1
#define IDC_OPEN_FILE               2
#define IDC_SEARCH                  3
#define IDC_MIN_AGE_SLIDER          1000
#define IDC_MIN_AGE_LABEL           1002
#define IDC_GENDER_COMBO            1003
#define IDC_ROSTER_LIST             1004
#define IDC_MAX_AGE_SLIDER          1006
#define IDC_MAX_AGE_LABEL           1007
#define IDC_RELIGION_COMBO          1008
#define IDC_MARITAL_COMBO           1009
#define IDC_AUTO_OPEN_CHECK         1011
#define IDC_SEARCH_ON_OPEN_CHECK    1012

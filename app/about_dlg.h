// The version box, built on the template IDD_ABOUTBOX. Its OK button, Enter, Esc and its close box
// all close it; it keeps nothing from one showing to the next.
#pragma once

#include <wx/dialog.h>

class CAboutDlg : public wxDialog {
 public:
  CAboutDlg();
};

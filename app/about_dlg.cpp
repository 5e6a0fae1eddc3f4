#include "app/about_dlg.h"

#include <wx/xrc/xmlres.h>

#include "res/resource.h"

CAboutDlg::CAboutDlg() {
  // No parent of its own: the toolkit makes the application's main window its owner.
  if (!wxXmlResource::Get()->LoadDialog(this, nullptr, "IDD_ABOUTBOX")) return;
  // The OK button carries the dialog's OK identifier, 1. Esc and the close box fall back to it,
  // as the box has no Cancel button.
  SetAffirmativeId(IDOK);
}

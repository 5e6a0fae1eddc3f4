#include "app/pellarin_app.h"

#include <clocale>

#include "ui/dialog_resources.h"
#include "ui/platform_services.h"
#include "ui/roster_dlg.h"

wxIMPLEMENT_APP(CPellarinApp);

bool CPellarinApp::OnInit() {
  // The program's name, which captions its message boxes whatever the executable is called.
  SetAppDisplayName("Pellarin");
  // File names and texts outside the toolkit are multibyte text of the system's code page.
  std::setlocale(LC_CTYPE, "");
  LoadDialogResources();
  return true;
}

int CPellarinApp::OnRun() {
  PlatformServices services;
  CRosterDlg dialog(nullptr, services);
  if (dialog.GetHandle() != nullptr) {
    SetTopWindow(&dialog);
    dialog.ShowModal();
  }
  return 0;
}

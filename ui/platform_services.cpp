#include "ui/platform_services.h"

#include <cstdlib>

#include <wx/filedlg.h>
#include <wx/msgdlg.h>
#include <wx/utils.h>

std::optional<wxString> PlatformServices::RunFileDialog(wxFileDialog& dialog) {
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  return dialog.GetPath();
}

void PlatformServices::RunMessageBox(wxMessageDialog& box) {
  box.ShowModal();
}

bool PlatformServices::IsMouseButtonDown() {
  const wxMouseState mouse = wxGetMouseState();
  return mouse.LeftIsDown() || mouse.MiddleIsDown() || mouse.RightIsDown() ||
         mouse.Aux1IsDown() || mouse.Aux2IsDown();
}

void PlatformServices::EndProcess(int status) {
  std::exit(status);
}

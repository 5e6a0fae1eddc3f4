// The application: it runs the main window modally for the whole life of the process.
#pragma once

#include <wx/app.h>

class CPellarinApp : public wxApp {
 public:
  // Loads the resources. The command line is not read: arguments are ignored.
  bool OnInit() override;
  // Runs the main window; the program ends when its modal loop does, with status 0.
  int OnRun() override;
};

wxDECLARE_APP(CPellarinApp);

// What the roster window asks of the desktop beyond its own controls: running the file-open
// dialog and the message box, the state of the mouse buttons, and ending the process. The window
// builds and configures the boxes itself; these only run them. Tests derive from this class to
// stand in for the modal boxes and for the end of the process.
#pragma once

#include <optional>

#include <wx/string.h>

class wxFileDialog;
class wxMessageDialog;

class PlatformServices {
 public:
  virtual ~PlatformServices() = default;

  // Runs the file dialog modally; the confirmed file's full path, or none when it was cancelled.
  virtual std::optional<wxString> RunFileDialog(wxFileDialog& dialog);

  // Runs the message box modally until it is closed.
  virtual void RunMessageBox(wxMessageDialog& box);

  // Whether a mouse button is held down at this moment.
  virtual bool IsMouseButtonDown();

  // Ends the process at once with `status`; the runtime's end-of-process handlers still run.
  virtual void EndProcess(int status);
};

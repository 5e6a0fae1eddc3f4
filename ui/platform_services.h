// What the roster window asks of the desktop beyond its own controls: running the file-open
// dialog and the message box, what lies behind a change of activation, the state of the mouse
// buttons, and ending the process. The window says what the file dialog is to show and builds
// the message box itself; these run them. Tests derive from this class to stand in for the modal
// boxes and for the end of the process.
#pragma once

#include <memory>
#include <optional>

#include <wx/string.h>

class wxFileDialog;
class wxMessageDialog;
class wxWindow;

// What the open-file dialog shows. It has no default extension and does not require the
// confirmed file to exist.
struct FileDialogRequest {
  wxString title;
  // Descriptions and patterns in turn, separated by '|', as the toolkit writes its filters.
  wxString filter;
  // The folder it starts in; where that does not exist, the dialog's own choice.
  wxString folder;
  wxWindow* owner = nullptr;
};

#ifdef __WXGTK__
// GTK's open-file dialog for `request`, whose filters match names in any case, as Windows does.
std::unique_ptr<wxFileDialog> CreateFileDialog(const FileDialogRequest& request);
#endif

class PlatformServices {
 public:
  virtual ~PlatformServices() = default;

  // Runs the open-file dialog modally; the confirmed file's full path, or none when it was
  // cancelled. On Windows it leaves the current directory at the confirmed file's folder.
  virtual std::optional<wxString> RunFileDialog(const FileDialogRequest& request);

  // Runs the message box modally until it is closed.
  virtual void RunMessageBox(wxMessageDialog& box);

  // Whether a mouse button is held down at this moment.
  virtual bool IsMouseButtonDown();

  // Asked while `window` is being activated: whether a mouse press inside it brought the
  // activation, that is a press that is still waiting to be handled, or a button held down with
  // the pointer over the window. A click elsewhere that activates it (a taskbar entry) is none.
  virtual bool IsActivationByClick(const wxWindow& window);

  // Asked while a window is being deactivated: whether one of the program's own pop-ups, a
  // drop-down list or a menu, is open and has taken the focus. Where a pop-up takes no focus
  // from its window, never.
  virtual bool IsOwnPopupShown();

  // Ends the process at once with `status`; the runtime's end-of-process handlers still run.
  virtual void EndProcess(int status);
};

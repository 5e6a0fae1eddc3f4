// Shared pieces of the window tests: the toolkit's event loop, stand-ins for the modal boxes and
// the end of the process, and the table as the user sees it. Their main starts the toolkit.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <wx/string.h>

#include "support/current_directory.h"
#include "support/save_builder.h"
#include "support/temp_folder.h"
#include "ui/platform_services.h"

class wxWindow;

// Handles the events that are waiting, the toolkit's own included.
void DispatchPendingEvents();

// Dispatches events until `condition` holds; false if it still does not after a few seconds.
bool DispatchUntil(const std::function<bool()>& condition);

// Stands in for the file dialog and the message box, records what the window asked of them, and
// never ends the process.
class FakeServices : public PlatformServices {
 public:
  struct FileDialogShown {
    FileDialogRequest request;
    // Where the toolkit builds the dialog from the request: its style, and the names of
    // kFilterProbes that its filter lets through.
    long style = 0;
    std::vector<wxString> namesListed;
  };
  static inline const std::vector<wxString> kFilterProbes = {"save.eug", "SAVE.EUG", "Save.Eug",
                                                             "save.eugx", "save.txt"};
  struct MessageShown {
    wxString text;
    wxString caption;
    long style = 0;
  };

  std::optional<wxString> RunFileDialog(const FileDialogRequest& request) override;
  void RunMessageBox(wxMessageDialog& box) override;
  bool IsMouseButtonDown() override { return mouseButtonDown; }
  bool IsActivationByClick(const wxWindow&) override { return activationByClick; }
  bool IsOwnPopupShown() override { return ownPopupShown; }
  void EndProcess(int status) override { endStatus = status; }

  // The file that the next file dialog confirms; none cancels it.
  std::optional<wxString> fileToConfirm;
  bool mouseButtonDown = false;
  // Whether a press inside the window comes with the next activation.
  bool activationByClick = false;
  // Whether a drop-down list or menu of the window is open as the window is deactivated.
  bool ownPopupShown = false;
  // Runs while a message box is up, as the user could look at the window then.
  std::function<void()> whileMessageShown;

  std::vector<FileDialogShown> fileDialogs;
  std::vector<MessageShown> messages;
  std::optional<int> endStatus;
};


// How a change of activation comes about.
enum class Activation { kKeyboard, kClick, kDeactivation };

// Activates or deactivates `window` as the desktop reports it to the program: on Windows a
// WM_ACTIVATE, with the minimised flag when `minimised`; elsewhere the toolkit's event, which
// has no such flag.
void SendActivation(wxWindow& window, Activation how, bool minimised = false);

// Whether the user can resize the top-level `window` by its border, as the platform sees it.
bool HasSizingBorder(wxWindow& window);

// The ten cells of each row of a list as the user sees them, top row first.
std::vector<std::vector<wxString>> TableCells(wxWindow& list);

// One column of TableCells.
std::vector<wxString> TableColumn(wxWindow& list, int column);

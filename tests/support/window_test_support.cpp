#include "window_test_support.h"

#include <memory>
#include <utility>

#include <wx/app.h>
#include <wx/filedlg.h>
#include <wx/listctrl.h>
#include <wx/msgdlg.h>
#include <wx/utils.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif
#ifdef __WXMSW__
#include <windows.h>
#endif

namespace {

#ifdef __WXGTK__
// The probe names that the file dialog's current filter lets through.
std::vector<wxString> NamesListed(wxFileDialog& dialog) {
  std::vector<wxString> listed;
  GtkFileFilter* filter = gtk_file_chooser_get_filter(GTK_FILE_CHOOSER(dialog.GetHandle()));
  if (filter == nullptr) return listed;
  for (const wxString& name : FakeServices::kFilterProbes) {
    const wxScopedCharBuffer utf8 = name.utf8_str();
    GtkFileFilterInfo info{};
    info.contains = GTK_FILE_FILTER_DISPLAY_NAME;
    info.display_name = utf8.data();
    if (gtk_file_filter_filter(filter, &info)) listed.push_back(name);
  }
  return listed;
}
#endif

}  // namespace

void DispatchPendingEvents() {
  wxTheApp->ProcessPendingEvents();
  wxTheApp->Yield(true);
}

bool DispatchUntil(const std::function<bool()>& condition) {
  for (int round = 0; round < 500; ++round) {
    DispatchPendingEvents();
    if (condition()) return true;
    wxMilliSleep(10);
  }
  return condition();
}

std::optional<wxString> FakeServices::RunFileDialog(const FileDialogRequest& request) {
  FileDialogShown shown;
  shown.request = request;
#ifdef __WXGTK__
  const std::unique_ptr<wxFileDialog> dialog = CreateFileDialog(request);
  shown.style = dialog->GetWindowStyle();
  shown.namesListed = NamesListed(*dialog);
#endif
  fileDialogs.push_back(std::move(shown));
  return fileToConfirm;
}

void FakeServices::RunMessageBox(wxMessageDialog& box) {
  messages.push_back({box.GetMessage(), box.GetTitle(), box.GetMessageDialogStyle()});
  if (whileMessageShown) whileMessageShown();
}

void SendActivation(wxWindow& window, Activation how, [[maybe_unused]] bool minimised) {
#ifdef __WXMSW__
  const WORD state = how == Activation::kKeyboard ? WA_ACTIVE
                     : how == Activation::kClick  ? WA_CLICKACTIVE
                                                  : WA_INACTIVE;
  SendMessageW(window.GetHWND(), WM_ACTIVATE, MAKEWPARAM(state, minimised ? 1 : 0), 0);
#else
  wxActivateEvent event(wxEVT_ACTIVATE, how != Activation::kDeactivation, window.GetId(),
                        how == Activation::kClick ? wxActivateEvent::Reason_Mouse
                                                  : wxActivateEvent::Reason_Unknown);
  event.SetEventObject(&window);
  window.GetEventHandler()->ProcessEvent(event);
#endif
}

bool HasSizingBorder(wxWindow& window) {
#ifdef __WXMSW__
  return (GetWindowLongW(window.GetHWND(), GWL_STYLE) & WS_THICKFRAME) != 0;
#elif defined(__WXGTK__)
  return gtk_window_get_resizable(GTK_WINDOW(window.GetHandle()));
#else
  return window.HasFlag(wxRESIZE_BORDER);
#endif
}

std::vector<std::vector<wxString>> TableCells(wxWindow& list) {
  auto& control = dynamic_cast<wxListCtrl&>(list);
  std::vector<std::vector<wxString>> rows;
  for (long row = 0; row < control.GetItemCount(); ++row) {
    std::vector<wxString> cells;
    for (int column = 0; column < control.GetColumnCount(); ++column) {
      cells.push_back(control.GetItemText(row, column));
    }
    rows.push_back(std::move(cells));
  }
  return rows;
}

std::vector<wxString> TableColumn(wxWindow& list, int column) {
  std::vector<wxString> cells;
  for (const auto& row : TableCells(list)) cells.push_back(row.at(column));
  return cells;
}

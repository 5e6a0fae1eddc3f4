#include "ui/platform_services.h"

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <wx/filedlg.h>
#include <wx/msgdlg.h>
#include <wx/utils.h>
#include <wx/window.h>

#ifdef __WXMSW__
#include <wx/msw/wrapcdlg.h>
#endif

#ifdef __WXGTK__
#include <gtk/gtk.h>
#ifdef GDK_WINDOWING_X11
#include <X11/Xlib.h>
#include <X11/extensions/XI2.h>
#include <gdk/gdkx.h>
#endif
#endif

#include "ui/gtk_controls.h"

namespace {

#if defined(__WXGTK__) && defined(GDK_WINDOWING_X11)
// The event that the X server sends for a mouse press, in the core form or as XInput 2 sends it.
struct PressSearch {
  int inputOpcode = -1;
  bool found = false;
};

Bool NotePress(Display*, XEvent* event, XPointer data) {
  auto* search = reinterpret_cast<PressSearch*>(data);
  if (event->type == ButtonPress && event->xbutton.button <= Button3) search->found = true;
  if (event->type == GenericEvent && event->xcookie.extension == search->inputOpcode &&
      event->xcookie.evtype == XI_ButtonPress) {
    search->found = true;
  }
  return False;  // look at every event and take none off the queue
}

// Whether a mouse press waits in the display's queues: GDK's, then Xlib's, after a round trip
// that brings in whatever the server has sent so far. A window that is activated by a click on
// it gets the press together with the focus, in either order.
bool IsPressWaiting() {
  if (GdkEvent* next = gdk_event_peek(); next != nullptr) {
    const bool press = next->type == GDK_BUTTON_PRESS;
    gdk_event_free(next);
    if (press) return true;
  }
  GdkDisplay* display = gdk_display_get_default();
  if (display == nullptr || !GDK_IS_X11_DISPLAY(display)) return false;
  Display* xdisplay = gdk_x11_display_get_xdisplay(display);
  PressSearch search;
  int event = 0;
  int error = 0;
  XQueryExtension(xdisplay, "XInputExtension", &search.inputOpcode, &event, &error);
  XSync(xdisplay, False);
  XEvent unused;
  XCheckIfEvent(xdisplay, &unused, NotePress, reinterpret_cast<XPointer>(&search));
  return search.found;
}
#endif

#ifdef __WXMSW__
// The system's open-file dialog. A name typed without an extension comes back as typed, where the
// toolkit's own dialog would append the filter's.
std::optional<wxString> RunOpenFileName(const FileDialogRequest& dialog) {
  // Each description and pattern ended by a NUL, the list by an empty string.
  std::wstring filter;
  for (const wxString& part : wxSplit(dialog.filter, '|', '\0')) {
    filter += part.ToStdWstring();
    filter += L'\0';
  }
  filter += L'\0';
  const std::wstring title = dialog.title.ToStdWstring();
  const std::wstring folder = dialog.folder.ToStdWstring();
  std::vector<wchar_t> file(32768, L'\0');

  OPENFILENAMEW request{};
  request.lStructSize = sizeof request;
  request.hwndOwner = dialog.owner != nullptr ? dialog.owner->GetHWND() : nullptr;
  request.lpstrFilter = filter.c_str();
  request.nFilterIndex = 1;
  request.lpstrFile = file.data();
  request.nMaxFile = static_cast<DWORD>(file.size());
  request.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  request.lpstrTitle = title.c_str();
  // The read-only box hidden; the overwrite prompt, which an open dialog never shows, as asked.
  request.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
  if (!GetOpenFileNameW(&request)) return std::nullopt;
  return wxString(file.data());
}
#endif

}  // namespace

#ifdef __WXGTK__
std::unique_ptr<wxFileDialog> CreateFileDialog(const FileDialogRequest& request) {
  auto dialog = std::make_unique<wxFileDialog>(request.owner, request.title, request.folder,
                                               wxEmptyString, request.filter, wxFD_OPEN);
  MatchFiltersInAnyCase(*dialog);
  return dialog;
}
#endif

std::optional<wxString> PlatformServices::RunFileDialog(const FileDialogRequest& request) {
#ifdef __WXMSW__
  return RunOpenFileName(request);
#else
  const std::unique_ptr<wxFileDialog> dialog = CreateFileDialog(request);
  if (dialog->ShowModal() != wxID_OK) return std::nullopt;
  return dialog->GetPath();
#endif
}

void PlatformServices::RunMessageBox(wxMessageDialog& box) {
  box.ShowModal();
}

bool PlatformServices::IsMouseButtonDown() {
  const wxMouseState mouse = wxGetMouseState();
  return mouse.LeftIsDown() || mouse.MiddleIsDown() || mouse.RightIsDown() ||
         mouse.Aux1IsDown() || mouse.Aux2IsDown();
}

bool PlatformServices::IsActivationByClick(const wxWindow& window) {
#if defined(__WXGTK__) && defined(GDK_WINDOWING_X11)
  if (IsPressWaiting()) return true;
#endif
  // A press that is still held: on the window's frame too, which the window manager handles.
  return IsMouseButtonDown() && window.GetScreenRect().Contains(wxGetMousePosition());
}

bool PlatformServices::IsOwnPopupShown() {
#ifdef __WXGTK__
  // GTK shows a drop-down list's items and a menu in a pop-up window of their own that takes the
  // keyboard from the window they belong to.
  bool shown = false;
  GList* windows = gtk_window_list_toplevels();
  for (GList* item = windows; item != nullptr; item = item->next) {
    GtkWindow* window = GTK_WINDOW(item->data);
    if (gtk_window_get_window_type(window) != GTK_WINDOW_POPUP) continue;
    if (!gtk_widget_get_mapped(GTK_WIDGET(window))) continue;
    GtkWidget* child = gtk_bin_get_child(GTK_BIN(window));
    if (child != nullptr && GTK_IS_MENU(child)) shown = true;
  }
  g_list_free(windows);
  return shown;
#else
  return false;
#endif
}

void PlatformServices::EndProcess(int status) {
  std::exit(status);
}

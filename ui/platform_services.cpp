#include "ui/platform_services.h"

#include <cstdlib>

#include <wx/filedlg.h>
#include <wx/msgdlg.h>
#include <wx/utils.h>
#include <wx/window.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#ifdef GDK_WINDOWING_X11
#include <X11/Xlib.h>
#include <X11/extensions/XI2.h>
#include <gdk/gdkx.h>
#endif
#endif

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

}  // namespace

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

#include "ui/display_scale.h"

#include <cmath>

#include <wx/window.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

namespace {
constexpr double kBaseDpi = 96.0;
}  // namespace

DisplayScale::DisplayScale(double dpi) : m_dpi(dpi > 0 ? dpi : kBaseDpi) {}

DisplayScale DisplayScale::Of(const wxWindow& window) {
#ifdef __WXGTK__
  GtkWidget* widget = window.GetHandle();
  GdkScreen* screen = widget != nullptr ? gtk_widget_get_screen(widget) : gdk_screen_get_default();
  // Negative when no resolution is set.
  return DisplayScale(screen != nullptr ? gdk_screen_get_resolution(screen) : kBaseDpi);
#else
  return DisplayScale(window.GetDPI().y);
#endif
}

int DisplayScale::operator()(int pixels) const {
  return static_cast<int>(std::lround(pixels * m_dpi / kBaseDpi));
}

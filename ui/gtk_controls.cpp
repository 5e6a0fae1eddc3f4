#include "ui/gtk_controls.h"

#ifdef __WXGTK__

#include <algorithm>
#include <vector>

#include <gtk/gtk.h>
#include <wx/control.h>
#include <wx/filedlg.h>
#include <wx/slider.h>
#include <wx/tokenzr.h>
#include <wx/window.h>

namespace {

// The style class that FitControlText gives its controls, and the rules for it: the theme's
// padding around the text shrinks to a pixel or two, and a drop-down list's arrow to a narrow one
// right beside the text.
constexpr const char* kFitClass = "pellarin-fit";
constexpr const char* kFitStyle =
    "button.pellarin-fit, combobox.pellarin-fit cellview {"
    " font-feature-settings: \"palt\"; }\n"
    "button.pellarin-fit { padding-left: 1px; padding-right: 1px; min-width: 0; }\n"
    "combobox.pellarin-fit button.combo { padding-left: 1px; padding-right: 0; min-width: 0; }\n"
    "combobox.pellarin-fit arrow { min-width: 7px; min-height: 7px; margin: 0; padding: 0; }\n";

// GTK stops a page move at each tick mark it passes and makes a click beside the thumb jump to
// the pointer; a trackbar does neither. The move is made again here from the current value.
gboolean ChangeSliderValue(GtkRange* range, GtkScrollType scroll, gdouble, gpointer) {
  GtkAdjustment* adjustment = gtk_range_get_adjustment(range);
  const double value = gtk_adjustment_get_value(adjustment);
  double target = value;
  switch (scroll) {
    case GTK_SCROLL_PAGE_BACKWARD:
      target = value - gtk_adjustment_get_page_increment(adjustment);
      break;
    case GTK_SCROLL_PAGE_FORWARD:
      target = value + gtk_adjustment_get_page_increment(adjustment);
      break;
    case GTK_SCROLL_STEP_BACKWARD:
      target = value - gtk_adjustment_get_step_increment(adjustment);
      break;
    case GTK_SCROLL_STEP_FORWARD:
      target = value + gtk_adjustment_get_step_increment(adjustment);
      break;
    default:
      return FALSE;  // dragging, Home and End: GTK's own handling
  }
  target = std::clamp(target, gtk_adjustment_get_lower(adjustment),
                      gtk_adjustment_get_upper(adjustment));
  gtk_range_set_value(range, target);
  return TRUE;
}

void AddFitStyle() {
  static GtkCssProvider* provider = nullptr;
  if (provider != nullptr) return;
  provider = gtk_css_provider_new();
  gtk_css_provider_load_from_data(provider, kFitStyle, -1, nullptr);
  gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(provider),
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

void SetOverlayScrollingOff(GtkWidget* widget, gpointer) {
  if (GTK_IS_SCROLLED_WINDOW(widget)) {
    gtk_scrolled_window_set_overlay_scrolling(GTK_SCROLLED_WINDOW(widget), FALSE);
  }
  if (GTK_IS_CONTAINER(widget)) {
    gtk_container_forall(GTK_CONTAINER(widget), SetOverlayScrollingOff, nullptr);
  }
}

// The patterns of one filter, lower-cased, for a rule that compares lower-cased names.
struct FilterPatterns {
  std::vector<wxString> patterns;
};

gboolean MatchesAnyCase(const GtkFileFilterInfo* info, gpointer data) {
  if (info->display_name == nullptr) return FALSE;
  const wxString name = wxString::FromUTF8(info->display_name).Lower();
  const auto* filter = static_cast<const FilterPatterns*>(data);
  return std::any_of(filter->patterns.begin(), filter->patterns.end(),
                     [&](const wxString& pattern) { return name.Matches(pattern); });
}

void DeletePatterns(gpointer data) {
  delete static_cast<FilterPatterns*>(data);
}

}  // namespace

void DriveSliderAsTrackbar(wxSlider& slider, int tickFrequency) {
  GtkWidget* widget = slider.m_scale;
  if (widget == nullptr || !GTK_IS_SCALE(widget)) return;
  GtkScale* scale = GTK_SCALE(widget);
  gtk_scale_clear_marks(scale);
  if (tickFrequency > 0) {
    for (int value = slider.GetMin(); value <= slider.GetMax(); value += tickFrequency) {
      gtk_scale_add_mark(scale, value, GTK_POS_TOP, nullptr);
      gtk_scale_add_mark(scale, value, GTK_POS_BOTTOM, nullptr);
    }
  }
  g_signal_connect(widget, "change-value", G_CALLBACK(ChangeSliderValue), nullptr);
  // A primary click beside the thumb pages toward the pointer, as on a trackbar. The setting is
  // the screen's; the window's sliders and scroll bars are the only ranges of this program.
  g_object_set(gtk_widget_get_settings(widget), "gtk-primary-button-warps-slider", FALSE, nullptr);
}

void FitControlText(wxControl& control) {
  AddFitStyle();
  GtkWidget* widget = control.GetHandle();
  if (widget == nullptr) return;
  gtk_style_context_add_class(gtk_widget_get_style_context(widget), kFitClass);
  // A drop-down list draws its text through a cell renderer, whose padding is no style.
  if (GTK_IS_CELL_LAYOUT(widget)) {
    GList* cells = gtk_cell_layout_get_cells(GTK_CELL_LAYOUT(widget));
    for (GList* cell = cells; cell != nullptr; cell = cell->next) {
      gtk_cell_renderer_set_padding(GTK_CELL_RENDERER(cell->data), 0, 0);
    }
    g_list_free(cells);
  }
}

void UseClassicScrollBars(wxWindow& window) {
  if (GtkWidget* widget = window.GetHandle(); widget != nullptr) {
    SetOverlayScrollingOff(widget, nullptr);
  }
  for (wxWindow* child : window.GetChildren()) UseClassicScrollBars(*child);
}

void MatchFiltersInAnyCase(wxFileDialog& dialog) {
  GtkWidget* widget = dialog.GetHandle();
  if (widget == nullptr || !GTK_IS_FILE_CHOOSER(widget)) return;
  // The wildcard lists a description and its patterns for each filter, in the chooser's order.
  const wxArrayString parts = wxStringTokenize(dialog.GetWildcard(), "|", wxTOKEN_RET_EMPTY_ALL);
  GSList* filters = gtk_file_chooser_list_filters(GTK_FILE_CHOOSER(widget));
  std::size_t part = 1;
  for (GSList* item = filters; item != nullptr && part < parts.size(); item = item->next) {
    auto* patterns = new FilterPatterns;
    for (const wxString& pattern : wxStringTokenize(parts[part], ";")) {
      patterns->patterns.push_back(pattern.Strip(wxString::both).Lower());
    }
    gtk_file_filter_add_custom(GTK_FILE_FILTER(item->data), GTK_FILE_FILTER_DISPLAY_NAME,
                               MatchesAnyCase, patterns, DeletePatterns);
    part += 2;
  }
  g_slist_free(filters);
}

#endif  // __WXGTK__

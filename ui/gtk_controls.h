// Where GTK's controls behave or look unlike those of the platform the window stands in for, these
// drive them through GTK itself: the sliders page like trackbars and show their ticks on both
// sides, the drop-down lists and push buttons show their texts whole at the template's sizes, the
// table has classic scroll bars, and the file dialog's filter matches in any case. Nothing here
// moves or resizes a control.
#pragma once

#ifdef __WXGTK__

class wxControl;
class wxFileDialog;
class wxSlider;
class wxWindow;

// Page keys and clicks beside the thumb move `slider` by its page size, arrow keys by its line
// size, whatever tick marks lie between; a click beside the thumb pages toward the pointer instead
// of jumping to it. Tick marks every `tickFrequency` from the minimum to the maximum, above and
// below the trough.
void DriveSliderAsTrackbar(wxSlider& slider, int tickFrequency);

// Trims the padding (and, for a drop-down list, the arrow) that GTK's theme puts around the text
// of a push button or drop-down list, so that its text fits whole at the size it has.
void FitControlText(wxControl& control);

// Gives `window` and the windows inside it scroll bars that take their own room beside the
// contents instead of overlaying them while the pointer is near.
void UseClassicScrollBars(wxWindow& window);

// Lets every filter pattern of `dialog` match names in any mix of upper and lower case, as
// Windows does; the patterns themselves stay as given.
void MatchFiltersInAnyCase(wxFileDialog& dialog);

#endif  // __WXGTK__

// The display scale of a window: how many screen pixels one pixel of a 96-DPI screen takes where
// the window is drawn. The window's own layout numbers (the table's column widths and its place
// on resizing) are given for a 96-DPI screen and go through it, so that on a scaled display the
// window is the same window, enlarged.
#pragma once

class wxWindow;

class DisplayScale {
 public:
  // The scale of a screen with `dpi` pixels per inch; a resolution that is not positive is 96.
  explicit DisplayScale(double dpi);

  // The scale of the screen `window` is drawn on: on Windows the window's DPI; on GTK the font
  // resolution of its screen, 96 where GTK reports none. GTK's whole-pixel scaling (GDK_SCALE)
  // enlarges every pixel by itself and is left out.
  static DisplayScale Of(const wxWindow& window);

  double Dpi() const { return m_dpi; }

  // `pixels` of a 96-DPI screen in pixels of this one, rounded to the nearest pixel with halves
  // away from zero, as the system's own scaling rounds. At 96 DPI every number stays as it is.
  int operator()(int pixels) const;

 private:
  double m_dpi;
};

// The about box closes by its OK button, Enter, Esc and its close box, each time it is shown.
#include <gtest/gtest.h>

#include <functional>

#include <wx/timer.h>
#include <wx/uiaction.h>

#include "app/about_dlg.h"
#include "res/resource.h"
#include "support/window_test_support.h"

namespace {

// Shows a fresh about box modally and does `close` to it from inside its modal loop; true when
// the box then ended. Should it not end, it ends itself after a while so that the test can fail.
bool ClosesBy(const std::function<void(CAboutDlg&)>& close) {
  CAboutDlg about;
  wxTimer giveUp;
  giveUp.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { about.EndModal(wxID_ABORT); });
  giveUp.StartOnce(10000);
  about.CallAfter([&] { close(about); });
  return about.ShowModal() != wxID_ABORT;
}

TEST(AboutDlgTest, ClosesByItsOkButton) {
  EXPECT_TRUE(ClosesBy([](CAboutDlg& about) {
    wxWindow* ok = about.FindWindow(IDOK);
    wxCommandEvent click(wxEVT_BUTTON, IDOK);
    click.SetEventObject(ok);
    ok->GetEventHandler()->ProcessEvent(click);
  }));
}

TEST(AboutDlgTest, ClosesByItsCloseBox) {
  EXPECT_TRUE(ClosesBy([](CAboutDlg& about) { about.Close(); }));
}

// Real key presses through the display: Enter presses the default button, OK; Esc falls back to
// it. Should a key never arrive, the box ends itself after a while so that the test can fail.
TEST(AboutDlgTest, EnterAndEscapeOnTheKeyboardCloseIt) {
  for (const int key : {WXK_RETURN, WXK_ESCAPE}) {
    SCOPED_TRACE(key);
    CAboutDlg about;
    wxTimer giveUp;
    giveUp.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { about.EndModal(wxID_ABORT); });
    giveUp.StartOnce(10000);
    about.CallAfter([&] {
      about.Raise();
      if (DispatchUntil([&] { return about.IsActive(); })) wxUIActionSimulator().Char(key);
    });
    EXPECT_EQ(about.ShowModal(), IDOK);
  }
}

}  // namespace

// Starts the toolkit and loads the dialog templates once for all window tests. Listing the tests
// needs neither, so discovering them works without a display.
#include <cstdio>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>

#include "ui/dialog_resources.h"

namespace {

class WindowTestApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();

  wxApp::SetInstance(new WindowTestApp);
  if (!wxEntryStart(argc, argv)) {
    std::fprintf(stderr, "window tests: cannot start the toolkit; is there a display?\n");
    return 1;
  }
  wxTheApp->SetAppDisplayName("Pellarin");
  LoadDialogResources();
  const int result = RUN_ALL_TESTS();
  wxEntryCleanup();
  return result;
}

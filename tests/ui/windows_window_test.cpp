// What only Windows shows of the roster window: the native styles of the table and the frame,
// the system menu's about entry, the system's own file dialog and message box, answered from
// inside their modal loops as a player would answer them, and the resolution it is drawn at.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/listctrl.h>
#include <wx/slider.h>

#include "app/about_dlg.h"
#include "res/resource.h"
#include "ui/roster_dlg.h"
#include "support/native_windows.h"
#include "support/window_test_support.h"

namespace {

class WindowsWindowTest : public testing::Test {
 protected:
  FakeServices services;
  CRosterDlg dialog{nullptr, services};

  HWND Table() { return dialog.FindWindow(IDC_ROSTER_LIST)->GetHWND(); }
};

TEST_F(WindowsWindowTest, TableIsAPlainReportListAfterAnyChangeOfStyle) {
  const auto check = [&] {
    const LONG style = GetWindowLongW(Table(), GWL_STYLE);
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
    // The virtual list; the shared image lists change nothing on screen.
    EXPECT_EQ(style & 0xFFFF & ~LVS_TYPEMASK, LVS_OWNERDATA | LVS_SHAREIMAGELISTS)
        << std::hex << style;
    EXPECT_TRUE(style & WS_BORDER);
    EXPECT_TRUE(style & WS_TABSTOP);
    EXPECT_FALSE(GetWindowLongW(Table(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(SendMessageW(Table(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), 0);
  };
  check();
  wxWindow* table = dialog.FindWindow(IDC_ROSTER_LIST);
  table->SetWindowStyleFlag(table->GetWindowStyleFlag() | wxLC_HRULES);
  table->SetWindowStyleFlag(table->GetWindowStyleFlag() & ~wxLC_HRULES);
  check();
}

TEST_F(WindowsWindowTest, WindowHasASizingBorderButNoSizeGripNorMinimiseOrMaximiseBox) {
  const LONG style = GetWindowLongW(dialog.GetHWND(), GWL_STYLE);
  EXPECT_TRUE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  for (HWND child : ChildWindows(dialog.GetHWND())) {
    EXPECT_FALSE(ClassName(child) == L"ScrollBar" &&
                 (GetWindowLongW(child, GWL_STYLE) & SBS_SIZEGRIP))
        << "a size grip";
  }
}

TEST_F(WindowsWindowTest, SystemMenuEndsWithTheAboutEntryThatOpensTheAboutBox) {
  HMENU menu = GetSystemMenu(dialog.GetHWND(), FALSE);
  ASSERT_NE(menu, nullptr);
  const int count = GetMenuItemCount(menu);
  ASSERT_GE(count, 2);
  EXPECT_EQ(GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR, MF_SEPARATOR);
  EXPECT_EQ(GetMenuItemID(menu, count - 1), static_cast<UINT>(IDM_ABOUTBOX));
  wchar_t text[64] = {};
  GetMenuStringW(menu, count - 1, text, 64, MF_BYPOSITION);
  EXPECT_EQ(std::wstring(text), L"Pellarin のﾊﾞｰｼﾞｮﾝ情報(&A)...");

  // The system keeps the low four bits of a system command for itself.
  wxString aboutTitle;
  dialog.CallAfter([&] {
    for (wxWindow* window : wxTopLevelWindows) {
      if (auto* about = dynamic_cast<CAboutDlg*>(window); about != nullptr && about->IsModal()) {
        aboutTitle = about->GetTitle();
        about->EndModal(IDOK);
      }
    }
  });
  SendMessageW(dialog.GetHWND(), WM_SYSCOMMAND, IDM_ABOUTBOX | 0x3, 0);
  EXPECT_EQ(aboutTitle, L"Pellarinのﾊﾞｰｼﾞｮﾝ情報");
}

// What the boxes showed and how they were answered.
struct Answers {
  std::wstring typedName;
  std::vector<std::wstring> messages;
};
Answers* g_answers = nullptr;

// Answers the system's file dialog with the typed name and closes message boxes, from the timer
// that their modal loops deliver.
void CALLBACK AnswerBoxes(HWND, UINT, UINT_PTR, DWORD) {
  if (HWND files = FindWindowW(L"#32770", L"セーブファイルを指定してください"); files != nullptr) {
    if (IsWindowEnabled(files) && !g_answers->typedName.empty()) {
      for (int id : {cmb13, edt1}) SetDlgItemTextW(files, id, g_answers->typedName.c_str());
      g_answers->typedName.clear();
      PostMessageW(files, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(files, IDOK)));
    }
    return;
  }
  if (HWND box = FindWindowW(L"#32770", L"Pellarin"); box != nullptr) {
    std::wstring shown;
    for (HWND child : ChildWindows(box)) {
      if (ClassName(child) == L"Static") shown += WindowText(child);
    }
    g_answers->messages.push_back(shown);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
  }
}

TEST(WindowsFileDialogTest, ANameTypedWithoutAnExtensionIsReadAsTyped) {
  TempFolder folder;
  folder.Write("scenarios/save games/plain", TestSaveText({{.name = "Bertrand", .age = 20}}));
  folder.Write("scenarios/save games/plain.eug", TestSaveText({{.name = "Other", .age = 20}}));
  CurrentDirectoryGuard directory(folder.Path());

  PlatformServices platform;
  CRosterDlg dialog(nullptr, platform);
  dynamic_cast<wxCheckBox*>(dialog.FindWindow(IDC_SEARCH_ON_OPEN_CHECK))->SetValue(true);

  Answers answers{L"plain", {}};
  g_answers = &answers;
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, AnswerBoxes);
  wxCommandEvent click(wxEVT_BUTTON, IDC_OPEN_FILE);
  click.SetEventObject(dialog.FindWindow(IDC_OPEN_FILE));
  dialog.FindWindow(IDC_OPEN_FILE)->GetEventHandler()->ProcessEvent(click);
  KillTimer(nullptr, timer);
  g_answers = nullptr;

  EXPECT_TRUE(answers.typedName.empty()) << "the file dialog was never seen";
  ASSERT_EQ(answers.messages.size(), 1u);
  EXPECT_NE(answers.messages[0].find(L"ファイルの読み込みが完了しました。"), std::wstring::npos)
      << std::string(answers.messages[0].begin(), answers.messages[0].end());
  EXPECT_EQ(TableColumn(*dialog.FindWindow(IDC_ROSTER_LIST), 0),
            (std::vector<wxString>{"Bertrand"}));
}

// Windows draws the windows at the screen's resolution instead of stretching them when the
// program's manifest (type 24, identifier 1, which these tests carry too) declares them aware of
// the system's resolution. It asks for nothing else: no monitor's own resolution, and no newer
// common controls, whose look differs. (Wine draws every program so, whatever its manifest says.)
TEST(WindowsManifestTest, DeclaresTheSystemsResolutionOnly) {
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_NE(found, nullptr);
  const std::string manifest(static_cast<const char*>(LockResource(LoadResource(nullptr, found))),
                             SizeofResource(nullptr, found));
  EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos) << manifest;
  for (const char* other : {"dpiAwareness", "<dependency"}) {
    EXPECT_EQ(manifest.find(other), std::string::npos) << other;
  }
}

}  // namespace

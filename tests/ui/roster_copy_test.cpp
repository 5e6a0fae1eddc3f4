// The roster table into a spreadsheet: rows selected and copied with the keyboard, as a player
// does it, and read back as the program that pastes them reads the clipboard (on Windows the
// system's own, in its Unicode and its code page form).
#include <gtest/gtest.h>

// Before the toolkit's headers, which undo the system's macros that clash with their names.
#ifdef __WXMSW__
#include <windows.h>
#endif

#include <cctype>
#include <optional>
#include <string>

#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/listctrl.h>
#include <wx/uiaction.h>

#include "res/resource.h"
#include "ui/roster_dlg.h"
#include "support/window_test_support.h"

namespace {

// The clipboard's text in `format` as another program reads it: UTF-8, or on Windows the bytes
// of CF_TEXT in the ANSI code page too.
std::optional<std::string> ClipboardText([[maybe_unused]] unsigned format = 0) {
#ifdef __WXMSW__
  if (!OpenClipboard(nullptr)) return std::nullopt;
  std::optional<std::string> text;
  if (HANDLE data = GetClipboardData(format == CF_TEXT ? CF_TEXT : CF_UNICODETEXT)) {
    const void* bytes = GlobalLock(data);
    text = format == CF_TEXT ? std::string(static_cast<const char*>(bytes))
                             : wxString(static_cast<const wchar_t*>(bytes)).utf8_string();
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
#else
  wxClipboardLocker clipboard;
  wxTextDataObject data;
  if (!clipboard || !wxTheClipboard->GetData(data)) return std::nullopt;
  return data.GetText().utf8_string();
#endif
}

void PutOnClipboard(const char* text) {
  if (wxClipboardLocker clipboard; !!clipboard) wxTheClipboard->SetData(new wxTextDataObject(text));
  wxTheClipboard->Flush();
}

TEST(RosterCopyTest, CtrlAAndCtrlCOrCtrlInsertCopyTheTableAsItStandsWithNamesGuarded) {
  const std::string john = "\x83\x57\x83\x87\x83\x93";  // ジョン in code page 932
  TempFolder folder;
  CurrentDirectoryGuard directory;
  folder.Write("a.eug", TestSaveText({{.name = "Jean", .age = 20, .martial = 5},
                                      {.name = "=SUM(A1:A9)", .age = 18, .tag = "ENG",
                                       .martial = 9, .stewardship = -1},
                                      {.name = john, .age = 25, .tag = "XXX", .intrigue = 10},
                                      {.name = "Anne\tMarie", .age = 30, .diplomacy = 2}}));
  FakeServices services;
  services.fileToConfirm = wxString((folder.Path() / "a.eug").wstring());
  CRosterDlg dialog(nullptr, services);
  wxCommandEvent open(wxEVT_BUTTON, IDC_OPEN_FILE);
  dialog.FindWindow(IDC_OPEN_FILE)->GetEventHandler()->ProcessEvent(open);
  dialog.OnSearch();
  auto& table = dynamic_cast<wxListCtrl&>(*dialog.FindWindow(IDC_ROSTER_LIST));
  ASSERT_EQ(table.GetItemCount(), 4);

  dialog.Show();
  dialog.Raise();
  table.SetFocus();
  ASSERT_TRUE(DispatchUntil([&] {
    const wxWindow* focus = wxWindow::FindFocus();
    return focus != nullptr && (focus == &table || focus->GetParent() == &table);
  }));
  // A key pressed with Ctrl held, where the focus is.
  const auto press = [](int key) {
#ifdef __WXMSW__
    // Wine hands the input that a test sends to no window, so the focused table gets the key's
    // messages itself, with Ctrl down in the keyboard state that it reads.
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] |= 0x80;
    SetKeyboardState(keys);
    // Insert of the editing keys is an extended key; the number pad's is not.
    const bool insert = key == WXK_INSERT;
    SendMessageW(GetFocus(), WM_KEYDOWN, insert ? VK_INSERT : std::toupper(key),
                 insert ? 1 | 1 << 24 : 1);
    DispatchPendingEvents();
    keys[VK_CONTROL] &= ~0x80;
    SetKeyboardState(keys);
#else
    wxUIActionSimulator().Char(key, wxMOD_CONTROL);
    DispatchPendingEvents();
#endif
  };

  PutOnClipboard("another program's text");
  press('c');
  EXPECT_EQ(ClipboardText(), "another program's text") << "nothing was selected";

  // By total, largest first; a guarded name, a tab in a name made a space, a decoded name.
#ifdef __WXMSW__
  const std::string eol = "\r\n";
#else
  const std::string eol = "\n";
#endif
  const std::string expected =
      "名前\t性別\t宗教\t年齢\t州番号\tmar\tdip\tint\tste\t合計" + eol +
      "ジョン\tm\tc\t25\t0\t0\t0\t10\t0\t10" + eol +
      "'=SUM(A1:A9)\tm\tc\t18\t236\t9\t0\t0\t-1\t8" + eol +
      "Jean\tm\tc\t20\t120\t5\t0\t0\t0\t5" + eol +
      "Anne Marie\tm\tc\t30\t120\t0\t2\t0\t0\t2" + eol;
  for (int copyKey : {int{'c'}, int{WXK_INSERT}}) {
    PutOnClipboard("another program's text");
    press('a');
    press(copyKey);
    EXPECT_TRUE(DispatchUntil([&] { return ClipboardText() == expected; }))
        << copyKey << ": " << ClipboardText().value_or("(no text)");
  }
#ifdef __WXMSW__
  // The system's code page form, for older programs, has the save's own bytes of the name.
  EXPECT_NE(ClipboardText(CF_TEXT).value_or("").find("\r\n" + john + "\tm\tc\t25\t"),
            std::string::npos);
#endif
}

}  // namespace

// The roster window driven through its real controls: defaults, slider labels, Search and the
// header clicks, the Open command with its file dialog and message, the automatic load on
// activation, the table's placement on resizing, the ways out and the about entry.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/listctrl.h>
#include <wx/log.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/slider.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

#include "app/about_dlg.h"
#include "res/resource.h"
#include "ui/display_scale.h"
#include "ui/roster_dlg.h"
#include "ui/roster_query.h"
#include "support/window_test_support.h"

namespace {

// Code page 932 bytes of two names: ジョン, and 表示, whose first character ends in the byte of
// a backslash.
const std::string kJohn = "\x83\x57\x83\x87\x83\x93";
const std::string kHyouji = "\x95\x5C\x8E\xA6";

std::vector<TestCharacter> FirstSaveCharacters() {
  return {
      {.name = "Jean", .age = 20, .martial = 5, .diplomacy = 5, .intrigue = 5, .stewardship = 5},
      {.name = kJohn, .age = 25, .tag = "ENG", .martial = 10, .diplomacy = 10, .intrigue = 10,
       .stewardship = 10},
      {.name = "Louis", .age = 30, .martial = 1, .diplomacy = 2, .intrigue = 3, .stewardship = 4},
      {.name = "Pierre", .age = 31, .martial = 9, .diplomacy = 9, .intrigue = 9, .stewardship = 9},
      {.name = "Hugo", .age = 15, .martial = 9, .diplomacy = 9, .intrigue = 9, .stewardship = 8},
      {.name = "Marie", .age = 18, .gender = 'f', .martial = 7, .diplomacy = 7, .intrigue = 7,
       .stewardship = 7},
      {.name = "Ivan", .age = 22, .religion = "orthodox", .tag = "ENG", .martial = 8,
       .diplomacy = 8, .intrigue = 8, .stewardship = 8},
      {.name = "Henri", .age = 24, .martial = 6, .diplomacy = 6, .intrigue = 6, .stewardship = 6,
       .married = true},
      {.name = "Anne", .age = 23, .gender = 'f', .tag = "ENG", .martial = 3, .diplomacy = 3,
       .intrigue = 3, .stewardship = 3, .married = true},
      {.name = "Omar", .age = 26, .religion = "muslim", .martial = 2, .diplomacy = 2,
       .intrigue = 2, .stewardship = 2},
      {.name = kHyouji, .age = 16, .tag = "XXX", .stewardship = 50},
      {.name = "Gone", .age = 20, .martial = 99, .dead = true},
  };
}

std::vector<TestCharacter> SecondSaveCharacters() {
  return {{.name = "Bertrand", .age = 20, .martial = 1, .diplomacy = 1, .intrigue = 1,
           .stewardship = 1}};
}

wxString Utf8(const char* text) {
  return wxString::FromUTF8(text);
}

class RosterDlgTest : public testing::Test {
 protected:
  RosterDlgTest() {
    // Process-wide state that an earlier test in the same run may have changed.
    g_bDialogReady = false;
    g_nSortColumn = kDefaultSortColumn;
    g_nSortDirection = kDefaultSortDirection;
    firstSave = folder.Write("first.eug", TestSaveText(FirstSaveCharacters()));
    secondSave = folder.Write("second.eug", TestSaveText(SecondSaveCharacters()));
    dialog = std::make_unique<CRosterDlg>(nullptr, services);
  }

  template <typename T>
  T& Control(int id) {
    T* control = dynamic_cast<T*>(dialog->FindWindow(id));
    EXPECT_NE(control, nullptr) << id;
    return *control;
  }

  wxListCtrl& Table() { return Control<wxListCtrl>(IDC_ROSTER_LIST); }

  void Click(int id) {
    wxWindow* button = dialog->FindWindow(id);
    wxCommandEvent event(wxEVT_BUTTON, id);
    event.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(event);
  }

  void ClickHeader(int column) {
    wxListEvent event(wxEVT_LIST_COL_CLICK, IDC_ROSTER_LIST);
    event.SetEventObject(&Table());
    event.SetColumn(column);
    Table().GetEventHandler()->ProcessEvent(event);
  }

  void MoveSlider(int id, int position) {
    auto& slider = Control<wxSlider>(id);
    slider.SetValue(position);
    wxScrollEvent event(wxEVT_SCROLL_THUMBTRACK, id, position, wxHORIZONTAL);
    event.SetEventObject(&slider);
    slider.GetEventHandler()->ProcessEvent(event);
  }

  void Select(int id, int index) { Control<wxChoice>(id).SetSelection(index); }
  void Tick(int id, bool ticked) { Control<wxCheckBox>(id).SetValue(ticked); }

  void PressEscape() {
    wxKeyEvent key(wxEVT_CHAR_HOOK);
    key.m_keyCode = WXK_ESCAPE;
    key.SetEventObject(dialog.get());
    dialog->GetEventHandler()->ProcessEvent(key);
    DispatchPendingEvents();
  }

  void Activate(Activation how, bool minimised = false) { SendActivation(*dialog, how, minimised); }

  void Open(const std::filesystem::path& path) {
    const std::u8string name = path.u8string();
    services.fileToConfirm =
        wxString::FromUTF8(reinterpret_cast<const char*>(name.data()), name.size());
    Click(IDC_OPEN_FILE);
  }

  // Every filter at its widest: all ages, genders, religions and marital states.
  void WidenFilters() {
    MoveSlider(IDC_MIN_AGE_SLIDER, 0);
    MoveSlider(IDC_MAX_AGE_SLIDER, 100);
    Select(IDC_GENDER_COMBO, 0);
    Select(IDC_RELIGION_COMBO, 0);
    Select(IDC_MARITAL_COMBO, 0);
  }

  std::vector<wxString> Names() { return TableColumn(Table(), 0); }

  CurrentDirectoryGuard directory;
  TempFolder folder;
  std::filesystem::path firstSave;
  std::filesystem::path secondSave;
  FakeServices services;
  std::unique_ptr<CRosterDlg> dialog;
};

TEST_F(RosterDlgTest, StartsWithTheDefaults) {
  for (auto [id, position] : {std::pair{IDC_MIN_AGE_SLIDER, 16}, {IDC_MAX_AGE_SLIDER, 30}}) {
    auto& slider = Control<wxSlider>(id);
    EXPECT_EQ(slider.GetValue(), position);
    EXPECT_EQ(slider.GetMin(), 0);
    EXPECT_EQ(slider.GetMax(), 100);
    EXPECT_EQ(slider.GetLineSize(), 1);
    EXPECT_EQ(slider.GetPageSize(), 10);
  }
  EXPECT_EQ(Control<wxStaticText>(IDC_MIN_AGE_LABEL).GetLabel(), Utf8("16歳以上"));
  EXPECT_EQ(Control<wxStaticText>(IDC_MAX_AGE_LABEL).GetLabel(), Utf8("30歳以下"));
  EXPECT_EQ(Control<wxChoice>(IDC_GENDER_COMBO).GetStringSelection(), Utf8("男(m)"));
  EXPECT_EQ(Control<wxChoice>(IDC_RELIGION_COMBO).GetStringSelection(), Utf8("カトリック(c)"));
  EXPECT_EQ(Control<wxChoice>(IDC_MARITAL_COMBO).GetStringSelection(), Utf8("未婚"));
  EXPECT_FALSE(Control<wxCheckBox>(IDC_AUTO_OPEN_CHECK).IsChecked());
  EXPECT_FALSE(Control<wxCheckBox>(IDC_SEARCH_ON_OPEN_CHECK).IsChecked());
  EXPECT_TRUE(g_bDialogReady);
  EXPECT_EQ(dialog->GetIcons().GetIconCount(), 2u);

  wxListCtrl& table = Table();
  EXPECT_EQ(table.GetItemCount(), 0);
  const std::vector<std::pair<const char*, int>> columns = {
      {"名前", 200}, {"性別", 50}, {"宗教", 50}, {"年齢", 50}, {"州番号", 60},
      {"mar", 50},   {"dip", 50},  {"int", 50},  {"ste", 50},  {"合計", 50}};
  ASSERT_EQ(table.GetColumnCount(), static_cast<int>(columns.size()));
  for (int k = 0; k < table.GetColumnCount(); ++k) {
    wxListItem column;
    column.SetMask(wxLIST_MASK_TEXT | wxLIST_MASK_WIDTH | wxLIST_MASK_FORMAT);
    ASSERT_TRUE(table.GetColumn(k, column));
    EXPECT_EQ(column.GetText(), Utf8(columns[k].first));
    EXPECT_EQ(column.GetWidth(), columns[k].second);
    EXPECT_EQ(column.GetAlign(), wxLIST_FORMAT_LEFT);
  }
}

TEST_F(RosterDlgTest, AgeLabelsFollowTheirOwnSliderOnly) {
  MoveSlider(IDC_MIN_AGE_SLIDER, 0);
  EXPECT_EQ(Control<wxStaticText>(IDC_MIN_AGE_LABEL).GetLabel(), Utf8("0歳以上"));
  EXPECT_EQ(Control<wxStaticText>(IDC_MAX_AGE_LABEL).GetLabel(), Utf8("30歳以下"));

  MoveSlider(IDC_MAX_AGE_SLIDER, 100);
  EXPECT_EQ(Control<wxStaticText>(IDC_MAX_AGE_LABEL).GetLabel(), Utf8("100歳以下"));
  EXPECT_EQ(Control<wxStaticText>(IDC_MIN_AGE_LABEL).GetLabel(), Utf8("0歳以上"));

  // The sliders are independent: the minimum may pass the maximum.
  MoveSlider(IDC_MAX_AGE_SLIDER, 10);
  MoveSlider(IDC_MIN_AGE_SLIDER, 60);
  EXPECT_EQ(Control<wxStaticText>(IDC_MIN_AGE_LABEL).GetLabel(), Utf8("60歳以上"));
  EXPECT_EQ(Control<wxStaticText>(IDC_MAX_AGE_LABEL).GetLabel(), Utf8("10歳以下"));
}

TEST_F(RosterDlgTest, SearchBeforeAnyLoadLeavesTheTableEmpty) {
  WidenFilters();
  Click(IDC_SEARCH);
  EXPECT_EQ(Table().GetItemCount(), 0);
}

TEST_F(RosterDlgTest, SearchListsTheMatchesOfTheControlsByTotalLargestFirst) {
  Open(firstSave);
  EXPECT_EQ(Table().GetItemCount(), 0) << "the load alone does not touch the table";

  Click(IDC_SEARCH);
  // 16 to 30 inclusive, male, Catholic, unmarried.
  EXPECT_EQ(Names(), (std::vector<wxString>{Utf8("表示"), Utf8("ジョン"), "Jean", "Louis"}));
  EXPECT_EQ(TableCells(Table()).at(1),
            (std::vector<wxString>{Utf8("ジョン"), "m", "c", "25", "236", "10", "10", "10", "10",
                                   "40"}));
  EXPECT_EQ(TableCells(Table()).at(0).at(4), "0") << "a country that is not in the save";

  Select(IDC_GENDER_COMBO, 2);
  Select(IDC_MARITAL_COMBO, 0);
  Click(IDC_SEARCH);
  EXPECT_EQ(Names(), (std::vector<wxString>{"Marie", "Anne"}));

  Select(IDC_MARITAL_COMBO, 1);
  Click(IDC_SEARCH);
  EXPECT_EQ(Names(), (std::vector<wxString>{"Anne"})) << "index 1 of the marital list: married";

  WidenFilters();
  Select(IDC_RELIGION_COMBO, 4);
  Click(IDC_SEARCH);
  EXPECT_EQ(Names(), (std::vector<wxString>{"Omar"}));

  Select(IDC_RELIGION_COMBO, 2);
  Click(IDC_SEARCH);
  EXPECT_EQ(Names(), (std::vector<wxString>{"Ivan"}));

  MoveSlider(IDC_MIN_AGE_SLIDER, 40);
  Click(IDC_SEARCH);
  EXPECT_EQ(Table().GetItemCount(), 0);
}

TEST_F(RosterDlgTest, EachHeaderClickSortsByItsColumnAndFlipsTheDirection) {
  Open(firstSave);
  WidenFilters();
  Select(IDC_RELIGION_COMBO, 1);
  Select(IDC_GENDER_COMBO, 1);
  Click(IDC_SEARCH);
  const std::vector<wxString> byTotalDescending = {Utf8("表示"), Utf8("ジョン"), "Pierre", "Hugo",
                                                   "Henri",      "Jean",         "Louis"};
  EXPECT_EQ(Names(), byTotalDescending);

  ClickHeader(9);
  EXPECT_EQ(Names(), (std::vector<wxString>(byTotalDescending.rbegin(), byTotalDescending.rend())));

  // Names by their code page bytes: ASCII before every double-byte character. The direction
  // flips whichever header is clicked, so this is descending.
  ClickHeader(0);
  EXPECT_EQ(Names(), (std::vector<wxString>{Utf8("表示"), Utf8("ジョン"), "Pierre", "Louis",
                                            "Jean", "Hugo", "Henri"}));

  ClickHeader(3);
  EXPECT_EQ(TableColumn(Table(), 3),
            (std::vector<wxString>{"15", "16", "20", "24", "25", "30", "31"}));

  // A Search keeps the sort state that the clicks left.
  Click(IDC_SEARCH);
  EXPECT_EQ(TableColumn(Table(), 3),
            (std::vector<wxString>{"15", "16", "20", "24", "25", "30", "31"}));
}

TEST_F(RosterDlgTest, SortingKeepsTheSelectionWithItsRows) {
  Open(firstSave);
  Click(IDC_SEARCH);
  ASSERT_EQ(Names().at(2), "Jean");
  Table().SetItemState(2, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                       wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);

  ClickHeader(9);  // ascending by total: Louis, Jean, ジョン, 表示
  ASSERT_EQ(Names().at(1), "Jean");
  EXPECT_EQ(Table().GetSelectedItemCount(), 1);
  EXPECT_EQ(Table().GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED), 1);
  EXPECT_EQ(Table().GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED), 1);

  Click(IDC_SEARCH);
  EXPECT_EQ(Table().GetSelectedItemCount(), 0) << "a new search starts without a selection";
}

TEST_F(RosterDlgTest, EscapeRunsTheOpenCommandWithItsFileDialog) {
  PressEscape();
  ASSERT_EQ(services.fileDialogs.size(), 1u);
  const FileDialogRequest& shown = services.fileDialogs[0].request;
  EXPECT_EQ(shown.title, Utf8("セーブファイルを指定してください"));
  EXPECT_EQ(shown.filter, Utf8("セーブファイル|*.eug"));
  EXPECT_EQ(shown.owner, dialog.get());
  EXPECT_TRUE(wxFileName(shown.folder).IsAbsolute()) << "a file dialog may ignore a relative one";
  EXPECT_EQ(std::filesystem::path(shown.folder.utf8_string()),
            std::filesystem::current_path() / "scenarios" / "save games");
  EXPECT_TRUE(services.messages.empty()) << "cancelled";
}

TEST_F(RosterDlgTest, CancelledOpenChangesNothing) {
  Open(firstSave);
  Click(IDC_SEARCH);
  const auto rows = TableCells(Table());
  const std::filesystem::path before = std::filesystem::current_path();

  services.fileToConfirm.reset();
  Click(IDC_OPEN_FILE);
  EXPECT_EQ(services.messages.size(), 1u) << "only the first open's message";
  EXPECT_EQ(std::filesystem::current_path(), before);
  EXPECT_EQ(TableCells(Table()), rows);
  Click(IDC_SEARCH);
  EXPECT_EQ(TableCells(Table()), rows) << "the save is still loaded";
}

TEST_F(RosterDlgTest, OpenConfirmsWithAMessageCaptionedWithTheProgramsName) {
  Open(firstSave);
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.messages[0].text, Utf8("ファイルの読み込みが完了しました。"));
  EXPECT_EQ(services.messages[0].caption, wxTheApp->GetAppDisplayName());
  EXPECT_TRUE(services.messages[0].style & wxOK);
  EXPECT_FALSE(services.messages[0].style & wxCANCEL);
}

TEST_F(RosterDlgTest, OpenLeavesTheCurrentDirectoryAtTheFilesFolder) {
  const std::filesystem::path nested =
      folder.Write("game/scenarios/save games/third.eug", TestSaveText(SecondSaveCharacters()));
  Open(nested);
  EXPECT_EQ(std::filesystem::canonical(std::filesystem::current_path()),
            std::filesystem::canonical(nested.parent_path()));
}

TEST_F(RosterDlgTest, OpenWithoutSearchKeepsThePreviousRowsUntilSearch) {
  Open(firstSave);
  Click(IDC_SEARCH);
  const auto firstRows = TableCells(Table());
  ASSERT_FALSE(firstRows.empty());

  Open(secondSave);
  EXPECT_EQ(services.messages.back().text, Utf8("ファイルの読み込みが完了しました。"));
  EXPECT_EQ(TableCells(Table()), firstRows) << "the rows keep their own texts";
  ClickHeader(0);
  EXPECT_EQ(Table().GetItemCount(), static_cast<int>(firstRows.size()));

  Click(IDC_SEARCH);
  EXPECT_EQ(Names(), (std::vector<wxString>{"Bertrand"}));
}

TEST_F(RosterDlgTest, OpenWithSearchFillsTheTableBeforeTheMessage) {
  Tick(IDC_SEARCH_ON_OPEN_CHECK, true);
  std::vector<wxString> namesWhileMessageShown;
  services.whileMessageShown = [&] { namesWhileMessageShown = Names(); };
  Open(firstSave);
  EXPECT_EQ(namesWhileMessageShown,
            (std::vector<wxString>{Utf8("表示"), Utf8("ジョン"), "Jean", "Louis"}));
}

TEST_F(RosterDlgTest, UnreadableFileIsReportedAndLeavesNoSave) {
  Open(firstSave);
  Click(IDC_SEARCH);
  const auto rows = TableCells(Table());

  Open(folder.Path() / "missing.eug");
  ASSERT_EQ(services.messages.size(), 2u);
  EXPECT_EQ(services.messages[1].text, Utf8("ファイルを読み込めませんでした。"));
  EXPECT_EQ(TableCells(Table()), rows) << "without search on open the table stays";
  Click(IDC_SEARCH);
  EXPECT_EQ(Table().GetItemCount(), 0) << "the old save was dropped";

  Open(firstSave);
  Tick(IDC_SEARCH_ON_OPEN_CHECK, true);
  Click(IDC_SEARCH);
  ASSERT_GT(Table().GetItemCount(), 0);
  Open(folder.Path());  // a folder is no file either
  EXPECT_EQ(services.messages.back().text, Utf8("ファイルを読み込めませんでした。"));
  EXPECT_EQ(Table().GetItemCount(), 0) << "the search after the failed read found nothing";
}

// A file that the scan finds no characters in is no save, whatever its name: a note, or a save cut
// off in its characters, some of which the scan had already taken.
TEST_F(RosterDlgTest, OpenOfAFileThatIsNoSaveIsReportedAndKeepsNothing) {
  Tick(IDC_SEARCH_ON_OPEN_CHECK, true);
  WidenFilters();
  const std::string save = TestSaveText(FirstSaveCharacters());
  for (const std::string& text : {std::string("a note\n"), save.substr(0, save.rfind("Louis"))}) {
    Open(firstSave);
    ASSERT_GT(Table().GetItemCount(), 0);
    Open(folder.Write("note.eug", text));
    EXPECT_EQ(services.messages.back().text, Utf8("ファイルを読み込めませんでした。"));
    EXPECT_EQ(Table().GetItemCount(), 0) << text.size() << " bytes";
  }
}

// What reaches the toolkit's log, which in the program shows each message in a box of its own.
class LogRecorder : public wxLog {
 public:
  LogRecorder() : m_previous(wxLog::SetActiveTarget(this)) {}
  ~LogRecorder() override { wxLog::SetActiveTarget(m_previous); }
  std::vector<wxString> messages;

 protected:
  void DoLogTextAtLevel(wxLogLevel, const wxString& text) override { messages.push_back(text); }

 private:
  wxLog* m_previous;
};

TEST_F(RosterDlgTest, OpenFromAFolderThatIsNotThereShowsItsOwnBoxOnly) {
  LogRecorder log;
  Open(folder.Path() / "nofolder" / "x.eug");
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.messages[0].text, Utf8("ファイルを読み込めませんでした。"));
  EXPECT_TRUE(log.messages.empty()) << log.messages.front();
}

// Names that a Japanese Windows' 8-bit file functions cannot spell.
TEST_F(RosterDlgTest, OpenReadsThePickedFileAndNoOther) {
  Tick(IDC_SEARCH_ON_OPEN_CHECK, true);
  WidenFilters();
  const auto inFolder = folder.Write(std::filesystem::path(u8"Jos\u00e9e") / "save1.eug",
                                     TestSaveText(SecondSaveCharacters()));
  Open(inFolder);
  EXPECT_EQ(services.messages.back().text, Utf8("ファイルの読み込みが完了しました。"));
  EXPECT_EQ(Names(), (std::vector<wxString>{"Bertrand"}));

  // Beside the picked file: its best-fit look-alike, and the file whose code page 932 bytes are
  // the picked name's UTF-8 bytes.
  folder.Write(u8"e.eug", TestSaveText(FirstSaveCharacters()));
  folder.Write(u8"\uFF83\uFF69.eug", TestSaveText(FirstSaveCharacters()));
  const auto picked = folder.Write(u8"\u00e9.eug", TestSaveText(SecondSaveCharacters()));
  Open(picked);
  EXPECT_EQ(services.messages.back().text, Utf8("ファイルの読み込みが完了しました。"));
  EXPECT_EQ(Names(), (std::vector<wxString>{"Bertrand"}));
}

class AutoOpenTest : public RosterDlgTest {
 protected:
  AutoOpenTest() {
    // The oldest save of ./scenarios/save games/ is the one that loads.
    const auto older = folder.Write("scenarios/save games/older.eug",
                                    TestSaveText(SecondSaveCharacters()));
    const auto newer =
        folder.Write("scenarios/save games/newer.eug", TestSaveText(FirstSaveCharacters()));
    const auto now = std::filesystem::file_time_type::clock::now();
    std::filesystem::last_write_time(older, now - std::chrono::hours(2));
    std::filesystem::last_write_time(newer, now - std::chrono::hours(1));
    std::filesystem::current_path(folder.Path());
    Tick(IDC_SEARCH_ON_OPEN_CHECK, true);
    WidenFilters();
  }

  // The oldest save of the folder becomes one with the first save's eleven living characters.
  void MakeOldestSaveTheFirst() {
    const auto oldest =
        folder.Write("scenarios/save games/oldest.eug", TestSaveText(FirstSaveCharacters()));
    std::filesystem::last_write_time(
        oldest, std::filesystem::file_time_type::clock::now() - std::chrono::hours(3));
  }
};

TEST_F(AutoOpenTest, KeyboardActivationLoadsTheOldestSaveQuietly) {
  Tick(IDC_AUTO_OPEN_CHECK, true);
  Activate(Activation::kKeyboard);
  EXPECT_EQ(Names(), (std::vector<wxString>{"Bertrand"}));
  EXPECT_TRUE(services.messages.empty());
  EXPECT_TRUE(services.fileDialogs.empty());
}

TEST_F(AutoOpenTest, EveryActivationLoadsAgainMinimisedOrNot) {
  Tick(IDC_AUTO_OPEN_CHECK, true);
  Activate(Activation::kKeyboard);
  MakeOldestSaveTheFirst();
  Activate(Activation::kDeactivation);
  Activate(Activation::kKeyboard);
  EXPECT_EQ(Table().GetItemCount(), 11);

  // Restored from the task bar or by Alt+Tab after Win+M: the window is still minimised as it
  // is activated.
  std::filesystem::remove(folder.Path() / "scenarios/save games/oldest.eug");
  Activate(Activation::kDeactivation, true);
  Activate(Activation::kKeyboard, true);
  EXPECT_EQ(Names(), (std::vector<wxString>{"Bertrand"}));
  MakeOldestSaveTheFirst();
  Activate(Activation::kDeactivation);
  Activate(Activation::kKeyboard);
  EXPECT_EQ(Table().GetItemCount(), 11) << "nothing left over swallows the next activation";
}

TEST_F(AutoOpenTest, ClicksDeactivationAndAClearBoxLoadNothing) {
  Tick(IDC_AUTO_OPEN_CHECK, true);
  Activate(Activation::kClick);
  Activate(Activation::kDeactivation);
  Activate(Activation::kClick, true);
  Activate(Activation::kDeactivation);
  Tick(IDC_AUTO_OPEN_CHECK, false);
  Activate(Activation::kKeyboard);
  EXPECT_EQ(Table().GetItemCount(), 0);
}

TEST_F(AutoOpenTest, NoSaveFolderLeavesTheCurrentSave) {
  Open(firstSave);
  std::filesystem::current_path(folder.Path() / "scenarios");
  Tick(IDC_AUTO_OPEN_CHECK, true);
  Activate(Activation::kKeyboard);
  Click(IDC_SEARCH);
  EXPECT_EQ(Table().GetItemCount(), 11) << "still the first save";
}

#ifndef __WXMSW__
// Activation as Windows reports it, from the toolkit's reports and what the platform services
// tell of them. (Windows reports it so itself; the Windows end-to-end run holds the boxes' part.)
TEST_F(AutoOpenTest, PressWithTheActivationCountsAsAClick) {
  Tick(IDC_AUTO_OPEN_CHECK, true);
  services.activationByClick = true;
  Activate(Activation::kKeyboard);
  EXPECT_EQ(Table().GetItemCount(), 0);
}

TEST_F(AutoOpenTest, OwnPopupsGiveNoActivation) {
  Tick(IDC_AUTO_OPEN_CHECK, true);
  Activate(Activation::kKeyboard);
  ASSERT_EQ(Names(), (std::vector<wxString>{"Bertrand"}));
  MakeOldestSaveTheFirst();

  // A drop-down list or menu of the window takes the focus here, and gives it back.
  services.ownPopupShown = true;
  Activate(Activation::kDeactivation);
  services.ownPopupShown = false;
  Activate(Activation::kKeyboard);
  EXPECT_EQ(Names(), (std::vector<wxString>{"Bertrand"})) << "the window was never left";

  Activate(Activation::kDeactivation);
  Activate(Activation::kKeyboard);
  EXPECT_EQ(Table().GetItemCount(), 11) << "after a real deactivation";
}

TEST_F(AutoOpenTest, OwnBoxesActivateTheWindowAsTheyCloseBeforeTheCodeAfterThem) {
  // A game folder F whose own save folder holds an older save than the one picked.
  const auto picked = folder.Write("game/picked.eug", TestSaveText(FirstSaveCharacters()));
  folder.Write("game/scenarios/save games/oldest.eug", TestSaveText(SecondSaveCharacters()));
  Tick(IDC_AUTO_OPEN_CHECK, true);

  std::vector<wxString> namesUnderMessage;
  services.whileMessageShown = [&] {
    // The toolkit's late report of the file dialog's closing finds the window active.
    Activate(Activation::kKeyboard);
    namesUnderMessage = Names();
  };
  Open(picked);
  EXPECT_EQ(namesUnderMessage.size(), 11u) << "the picked save stands under the message";
  EXPECT_EQ(Names(), (std::vector<wxString>{"Bertrand"}))
      << "the message's closing loaded the oldest save of F/scenarios/save games";

  // A cancelled dialog activates the window as well.
  std::filesystem::current_path(folder.Path());
  MakeOldestSaveTheFirst();
  services.fileToConfirm.reset();
  Click(IDC_OPEN_FILE);
  EXPECT_EQ(Table().GetItemCount(), 11);
}
#endif

class PlacementTest : public RosterDlgTest {
 protected:
  PlacementTest() {
    dialog->Show();
    DispatchPendingEvents();
  }

  // Resizes the client area and waits for the window to see the new size.
  bool ResizeClient(wxSize size) {
    dialog->SetClientSize(size);
    return DispatchUntil([&] { return dialog->GetClientSize() == size; });
  }

  wxRect TemplatePlace() {
    return wxRect(dialog->ConvertDialogToPixels(wxPoint(5, 105)),
                  dialog->ConvertDialogToPixels(wxSize(360, 150)));
  }
};

TEST_F(PlacementTest, TableStaysWhereTheTemplatePutsItUntilTheSizeChanges) {
  EXPECT_EQ(Table().GetRect(), TemplatePlace());
  dialog->SendSizeEvent();
  DispatchPendingEvents();
  EXPECT_EQ(Table().GetRect(), TemplatePlace()) << "the same size again is no change";

  ASSERT_TRUE(ResizeClient(wxSize(700, 500)));
  EXPECT_TRUE(DispatchUntil([&] { return Table().GetRect() == wxRect(5, 200, 690, 295); }))
      << Table().GetRect().x << "," << Table().GetRect().y << " " << Table().GetRect().width
      << "x" << Table().GetRect().height;
  EXPECT_EQ(Control<wxButton>(IDOK).GetPosition(), dialog->ConvertDialogToPixels(wxPoint(315, 5)))
      << "no other control moves";
}

TEST_F(PlacementTest, TooSmallAClientAreaLeavesTheTableNoSize) {
  ASSERT_TRUE(ResizeClient(wxSize(300, 150)));
  EXPECT_TRUE(DispatchUntil([&] { return Table().GetRect() == wxRect(5, 200, 290, 0); }));
  // Windows keeps a window with a caption wider than this; as narrow as the platform lets it be.
  dialog->SetClientSize(wxSize(8, 300));
  ASSERT_TRUE(DispatchUntil([&] { return dialog->GetClientSize().y == 300; }));
  const wxSize client = dialog->GetClientSize();
  const wxRect expected(5, 200, std::max(0, client.x - 10), 95);
  EXPECT_TRUE(DispatchUntil([&] { return Table().GetRect() == expected; }));
}

TEST(DisplayScaleTest, RoundsToTheNearestPixelWithHalvesAwayFromZero) {
  EXPECT_EQ(DisplayScale(96)(205), 205);
  EXPECT_EQ(DisplayScale(144)(5), 8);
  EXPECT_EQ(DisplayScale(144)(-5), -8);
  EXPECT_EQ(DisplayScale(120)(50), 63);
  EXPECT_EQ(DisplayScale(120)(10), 13);
  EXPECT_EQ(DisplayScale(-1)(200), 200) << "no resolution reported";
}

// The window on a scaled display: a run of its own on a display whose resolution
// PELLARIN_DISPLAY_DPI tells. The other tests hold the numbers at 96 DPI.
class ScaledDisplayTest : public PlacementTest {};

TEST_F(ScaledDisplayTest, ColumnsAndTheTablesPlaceGrowWithTheDisplay) {
  const char* setting = std::getenv("PELLARIN_DISPLAY_DPI");
  if (setting == nullptr) GTEST_SKIP() << "needs a scaled display of its own";
  struct Layout {
    int dpi;
    std::vector<int> widths;
    int margin;
    int top;
    int icon;
  };
  const std::vector<Layout> layouts = {
      {96, {200, 50, 50, 50, 60, 50, 50, 50, 50, 50}, 5, 200, 32},
      {144, {300, 75, 75, 75, 90, 75, 75, 75, 75, 75}, 8, 300, 48}};
  const int dpi = std::atoi(setting);
  const auto layout =
      std::find_if(layouts.begin(), layouts.end(), [&](const Layout& l) { return l.dpi == dpi; });
  ASSERT_NE(layout, layouts.end()) << dpi;
  ASSERT_EQ(DisplayScale::Of(*dialog).Dpi(), dpi);

  ASSERT_EQ(Table().GetColumnCount(), 10);
  for (int k = 0; k < 10; ++k) EXPECT_EQ(Table().GetColumnWidth(k), layout->widths[k]) << k;

  const wxSize client = dialog->GetClientSize() + wxSize(100, 100);
  ASSERT_TRUE(ResizeClient(client));
  const wxRect expected(layout->margin, layout->top, client.x - 2 * layout->margin,
                        client.y - layout->top - layout->margin);
  EXPECT_TRUE(DispatchUntil([&] { return Table().GetRect() == expected; }))
      << Table().GetRect().x << "," << Table().GetRect().y << " " << Table().GetRect().width
      << "x" << Table().GetRect().height;
  for (wxWindow* control : dialog->GetChildren()) {
    if (control == &Table()) continue;
    EXPECT_LE(control->GetRect().GetBottom(), Table().GetRect().GetTop() - 1)
        << control->GetId() << " is overlapped by the table";
  }

  // The about box shows the icon as large as the display shows icons.
  CAboutDlg about;
  auto* icon = dynamic_cast<wxStaticBitmap*>(about.GetChildren().GetFirst()->GetData());
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->GetSize(), wxSize(layout->icon, layout->icon));
  EXPECT_EQ(icon->GetBitmap().GetLogicalSize(), wxSize(layout->icon, layout->icon));
}

TEST_F(RosterDlgTest, CloseRequestEndsTheProcessWithoutTheFileDialog) {
  dialog->Close();
  DispatchPendingEvents();
  EXPECT_EQ(services.endStatus, 0);
  EXPECT_TRUE(services.fileDialogs.empty());
}

TEST_F(RosterDlgTest, ExitButtonEndsTheModalLoopWithOk) {
  dialog->CallAfter([this] { Click(IDOK); });
  EXPECT_EQ(dialog->ShowModal(), IDOK);
  EXPECT_FALSE(services.endStatus.has_value());
}

TEST_F(RosterDlgTest, AboutEntryOpensTheAboutBoxAndLeavesTheWindowAsItWas) {
  Open(firstSave);
  Click(IDC_SEARCH);
  const auto rows = TableCells(Table());

  const std::unique_ptr<wxMenu> menu = dialog->CreateAboutMenu();
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->GetMenuItemCount(), 2u);
  EXPECT_TRUE(menu->FindItemByPosition(0)->IsSeparator());
  EXPECT_EQ(menu->FindItemByPosition(1)->GetId(), IDM_ABOUTBOX);
  EXPECT_EQ(menu->FindItemByPosition(1)->GetItemLabel(), Utf8("Pellarin のﾊﾞｰｼﾞｮﾝ情報(&A)..."));

  for (int showing = 0; showing < 2; ++showing) {
    wxString aboutTitle;
    dialog->CallAfter([&] {
      for (wxWindow* window : wxTopLevelWindows) {
        if (auto* about = dynamic_cast<CAboutDlg*>(window); about != nullptr && about->IsModal()) {
          aboutTitle = about->GetTitle();
          about->EndModal(IDOK);
        }
      }
    });
    wxCommandEvent command(wxEVT_MENU, IDM_ABOUTBOX);
    command.SetEventObject(dialog.get());
    dialog->GetEventHandler()->ProcessEvent(command);
    EXPECT_EQ(aboutTitle, Utf8("Pellarinのﾊﾞｰｼﾞｮﾝ情報"));
  }
  EXPECT_EQ(TableCells(Table()), rows);
}

#ifndef __WXMSW__
// Where the window manager owns the window menu.
TEST_F(RosterDlgTest, MenuKeysOfferTheAboutEntryOnTheDialog) {
  dialog->Show();
  ASSERT_TRUE(DispatchUntil([&] { return dialog->IsShownOnScreen(); }));
  int menusOpened = 0;
  dialog->Bind(wxEVT_MENU_OPEN, [&](wxMenuEvent& event) {
    ++menusOpened;
    event.Skip();
  });
  // The menu runs its own loop; a real Esc from inside it closes it again.
  wxTimer closeMenu;
  closeMenu.Bind(wxEVT_TIMER, [](wxTimerEvent&) { wxUIActionSimulator().Char(WXK_ESCAPE); });
  for (const auto& [key, shift] : {std::pair{WXK_MENU, false}, std::pair{WXK_F10, true}}) {
    SCOPED_TRACE(key);
    closeMenu.Start(500);
    wxKeyEvent press(wxEVT_CHAR_HOOK);
    press.m_keyCode = key;
    press.SetShiftDown(shift);
    press.SetEventObject(dialog.get());
    dialog->GetEventHandler()->ProcessEvent(press);
    closeMenu.Stop();
  }
  EXPECT_EQ(menusOpened, 2);
  EXPECT_TRUE(services.fileDialogs.empty()) << "the keys and the Esc were the menu's";
}
#endif

#ifdef __WXGTK__
// How the window drives GTK's own controls where they differ from Windows' own.
class GtkControlsTest : public RosterDlgTest {
 protected:
  GtkControlsTest() {
    dialog->Show();
    DispatchPendingEvents();
  }

  // Moves a slider as its keys and clicks beside the thumb do.
  void MoveBy(int id, GtkScrollType scroll) {
    g_signal_emit_by_name(Control<wxSlider>(id).m_scale, "move-slider", scroll);
    DispatchPendingEvents();
  }
};

TEST_F(GtkControlsTest, SlidersPageByTenAcrossTickMarksAndStepByOne) {
  auto& slider = Control<wxSlider>(IDC_MIN_AGE_SLIDER);
  MoveSlider(IDC_MIN_AGE_SLIDER, 17);
  MoveBy(IDC_MIN_AGE_SLIDER, GTK_SCROLL_PAGE_BACKWARD);
  EXPECT_EQ(slider.GetValue(), 7);
  EXPECT_EQ(Control<wxStaticText>(IDC_MIN_AGE_LABEL).GetLabel(), Utf8("7歳以上"));
  MoveSlider(IDC_MIN_AGE_SLIDER, 3);
  MoveBy(IDC_MIN_AGE_SLIDER, GTK_SCROLL_PAGE_FORWARD);
  EXPECT_EQ(slider.GetValue(), 13);
  MoveBy(IDC_MIN_AGE_SLIDER, GTK_SCROLL_STEP_BACKWARD);
  EXPECT_EQ(slider.GetValue(), 12);

  gboolean warps = TRUE;
  g_object_get(gtk_widget_get_settings(slider.m_scale), "gtk-primary-button-warps-slider", &warps,
               nullptr);
  EXPECT_FALSE(warps) << "a click beside the thumb pages toward the pointer";
}

TEST_F(GtkControlsTest, TextsFitWholeAndTheTableHasClassicScrollBars) {
  for (int id : {IDC_GENDER_COMBO, IDC_RELIGION_COMBO, IDC_MARITAL_COMBO}) {
    auto& list = Control<wxChoice>(id);
    for (unsigned int item = 0; item < list.GetCount(); ++item) {
      list.SetSelection(static_cast<int>(item));
      int natural = 0;
      gtk_widget_get_preferred_width(list.GetHandle(), nullptr, &natural);
      EXPECT_LE(natural, list.GetSize().x) << list.GetString(item);
    }
  }
  for (int id : {IDOK, IDC_OPEN_FILE, IDC_SEARCH}) {
    auto& button = Control<wxButton>(id);
    int natural = 0;
    gtk_widget_get_preferred_width(button.GetHandle(), nullptr, &natural);
    EXPECT_LT(natural, button.GetSize().x) << button.GetLabel();
  }
  ASSERT_TRUE(GTK_IS_SCROLLED_WINDOW(Table().GetHandle()));
  EXPECT_FALSE(gtk_scrolled_window_get_overlay_scrolling(GTK_SCROLLED_WINDOW(Table().GetHandle())));
}

TEST_F(GtkControlsTest, FileDialogOpensAnyNameAndItsFilterMatchesInAnyCase) {
  PressEscape();
  ASSERT_EQ(services.fileDialogs.size(), 1u);
  EXPECT_TRUE(services.fileDialogs[0].style & wxFD_OPEN);
  EXPECT_FALSE(services.fileDialogs[0].style & wxFD_FILE_MUST_EXIST)
      << "a typed name need not exist";
  EXPECT_EQ(services.fileDialogs[0].namesListed,
            (std::vector<wxString>{"save.eug", "SAVE.EUG", "Save.Eug"}));
}

TEST_F(GtkControlsTest, OwnDropDownListCountsAsAPopupWhileOpen) {
  PlatformServices platform;
  EXPECT_FALSE(platform.IsOwnPopupShown());
  GtkComboBox* list = GTK_COMBO_BOX(Control<wxChoice>(IDC_GENDER_COMBO).GetHandle());
  gtk_combo_box_popup(list);
  EXPECT_TRUE(DispatchUntil([&] { return platform.IsOwnPopupShown(); }));
  gtk_combo_box_popdown(list);
  EXPECT_TRUE(DispatchUntil([&] { return !platform.IsOwnPopupShown(); }));
}
#endif

TEST(PlatformServicesTest, SeesAMouseButtonWhileItIsHeldDown) {
  PlatformServices services;
  wxUIActionSimulator mouse;
  mouse.MouseMove(wxPoint(1, 1));
  ASSERT_TRUE(DispatchUntil([&] { return !services.IsMouseButtonDown(); }));
  mouse.MouseDown(wxMOUSE_BTN_LEFT);
  EXPECT_TRUE(DispatchUntil([&] { return services.IsMouseButtonDown(); }));
  mouse.MouseUp(wxMOUSE_BTN_LEFT);
  EXPECT_TRUE(DispatchUntil([&] { return !services.IsMouseButtonDown(); }));
}

}  // namespace

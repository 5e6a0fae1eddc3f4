#include "ui/roster_dlg.h"

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/slider.h>
#include <wx/stattext.h>
#include <wx/xrc/xmlres.h>

#include "app/about_dlg.h"
#include "finder/save_finder.h"
#include "res/resource.h"
#include "res/string_table.h"
#include "save/save_scanner.h"
#include "save/save_text.h"
#include "ui/dialog_resources.h"
#include "ui/display_scale.h"
#include "ui/gtk_controls.h"
#include "ui/platform_services.h"
#include "ui/roster_list_ctrl.h"

bool g_bDialogReady = false;

namespace {

// The columns (kRosterColumns) and the default search (kDefaultSearch) are in
// save/roster_table.h.
constexpr int kAgeMin = 0;
constexpr int kAgeMax = 100;

// Where the table goes on every change of size, in pixels of the client area of a 96-DPI screen.
constexpr int kTableLeft = 5;
constexpr int kTableTop = 200;
constexpr int kTableRightMargin = 5;
constexpr int kTableBottomMargin = 5;

constexpr const wchar_t* kOpenFileTitle = L"セーブファイルを指定してください";
constexpr const wchar_t* kSaveFileFilter = L"セーブファイル|*.eug";
constexpr const wchar_t* kLoadedMessage = L"ファイルの読み込みが完了しました。";
constexpr const wchar_t* kUnreadableMessage = L"ファイルを読み込めませんでした。";

// The folder the file dialog starts in: the automatic load's folder without its trailing
// separator, taken from the current directory and handed over as an absolute path, since a file
// dialog may ignore a relative one.
wxString OpenFileFolder() {
  wxFileName folder = wxFileName::DirName(wxString::FromUTF8(kSaveGameFolder));
  folder.MakeAbsolute();
  return folder.GetPath();
}

}  // namespace

// clang-format off
wxBEGIN_EVENT_TABLE(CRosterDlg, wxDialog)
  EVT_MENU(IDM_ABOUTBOX, CRosterDlg::OnSysCommand)
  EVT_CHAR_HOOK(CRosterDlg::OnCharHook)
#ifndef __WXMSW__
  EVT_CONTEXT_MENU(CRosterDlg::OnContextMenu)
#endif
  EVT_COMMAND_SCROLL(IDC_MIN_AGE_SLIDER, CRosterDlg::OnHScroll)
  EVT_COMMAND_SCROLL(IDC_MAX_AGE_SLIDER, CRosterDlg::OnHScroll)
  EVT_BUTTON(IDOK, CRosterDlg::OnOK)
  EVT_BUTTON(IDC_OPEN_FILE, CRosterDlg::OnOpenFile)
  EVT_BUTTON(IDC_SEARCH, CRosterDlg::OnSearchButton)
  EVT_LIST_COL_CLICK(IDC_ROSTER_LIST, CRosterDlg::OnNotify)
  EVT_WINDOW_DESTROY(CRosterDlg::OnDestroy)
#ifndef __WXMSW__
  EVT_ACTIVATE(CRosterDlg::OnActivateEvent)
#endif
  EVT_SIZE(CRosterDlg::OnSize)
  EVT_CLOSE(CRosterDlg::OnClose)
wxEND_EVENT_TABLE()
// clang-format on

CRosterDlg::CRosterDlg(wxWindow* parent, PlatformServices& services)
    : m_hIcon(LoadMainFrameIcons()), m_services(services) {
  if (!wxXmlResource::Get()->LoadDialog(this, parent, "IDD_ROSTER_DIALOG")) return;
  // Esc is the open-file command here, which OnCharHook runs; the dialog does not close on it.
  SetEscapeId(wxID_NONE);
  DoDataExchange();
  OnInitDialog();
}

CRosterDlg::~CRosterDlg() {
  // The base classes would report the destruction only after this object's members are gone;
  // report it now, and take the table down while the rows it draws still exist.
  SendDestroyEvent();
  DestroyChildren();
}

void CRosterDlg::DoDataExchange() {
  m_chkSearchOnOpen = XRCCTRL(*this, "IDC_SEARCH_ON_OPEN_CHECK", wxCheckBox);
  m_chkAutoOpen = XRCCTRL(*this, "IDC_AUTO_OPEN_CHECK", wxCheckBox);
  m_listRoster = XRCCTRL(*this, "IDC_ROSTER_LIST", RosterListCtrl);
  m_staticMinAge = XRCCTRL(*this, "IDC_MIN_AGE_LABEL", wxStaticText);
  m_staticMaxAge = XRCCTRL(*this, "IDC_MAX_AGE_LABEL", wxStaticText);
  m_comboReligion = XRCCTRL(*this, "IDC_RELIGION_COMBO", wxChoice);
  m_comboMarital = XRCCTRL(*this, "IDC_MARITAL_COMBO", wxChoice);
  m_comboGender = XRCCTRL(*this, "IDC_GENDER_COMBO", wxChoice);
  m_sliderMinAge = XRCCTRL(*this, "IDC_MIN_AGE_SLIDER", wxSlider);
  m_sliderMaxAge = XRCCTRL(*this, "IDC_MAX_AGE_SLIDER", wxSlider);
}

void CRosterDlg::OnInitDialog() {
  m_strAboutMenu = LoadResourceString(IDS_ABOUTBOX);
#ifdef __WXMSW__
  if (wxMenu* systemMenu = MSWGetSystemMenu(); systemMenu != nullptr) {
    AppendAboutEntry(*systemMenu);
  }
#endif

  SetIcons(m_hIcon);

  for (auto [slider, position] : {std::pair{m_sliderMaxAge, kDefaultSearch.maxAge},
                                  std::pair{m_sliderMinAge, kDefaultSearch.minAge}}) {
    slider->SetLineSize(1);
    slider->SetPageSize(10);
    slider->SetRange(kAgeMin, kAgeMax);
    slider->SetValue(position);
    slider->SetTick(10);
    slider->SetTickFreq(10);
#ifdef __WXGTK__
    DriveSliderAsTrackbar(*slider, 10);
#endif
  }
#ifdef __WXGTK__
  // The texts of the lists and push buttons fit whole at the template's sizes.
  for (wxWindow* control : std::initializer_list<wxWindow*>{
           m_comboGender, m_comboReligion, m_comboMarital, FindWindow(IDOK),
           FindWindow(IDC_OPEN_FILE), FindWindow(IDC_SEARCH)}) {
    if (auto* fitted = dynamic_cast<wxControl*>(control); fitted != nullptr) {
      FitControlText(*fitted);
    }
  }
  UseClassicScrollBars(*m_listRoster);
  m_listRoster->AlignTitlesWithCells();
#endif

  m_comboGender->SetSelection(kDefaultSearch.genderChoice);
  m_comboReligion->SetSelection(kDefaultSearch.religionChoice);
  m_comboMarital->SetSelection(kDefaultSearch.maritalChoice);

  // Appended in order, column k of the list shows cell k of the rows.
  const DisplayScale scale = DisplayScale::Of(*this);
  for (const RosterColumn& column : kRosterColumns) {
    m_listRoster->AppendColumn(column.title, wxLIST_FORMAT_LEFT, scale(column.width));
  }
  m_listRoster->AttachRows(&m_rows);

  m_pSaveText.reset();
  m_sizeClient = GetClientSize();
  g_bDialogReady = true;

  // Like a dialog whose initialisation asks for the default focus: the first tab stop, "終了".
  FindWindow(IDOK)->SetFocus();
}

SearchCriteria CRosterDlg::ReadSearchCriteria() const {
  SearchCriteria criteria;
  criteria.minAge = m_sliderMinAge->GetValue();
  criteria.maxAge = m_sliderMaxAge->GetValue();
  criteria.genderChoice = m_comboGender->GetSelection();
  criteria.religionChoice = m_comboReligion->GetSelection();
  criteria.maritalChoice = m_comboMarital->GetSelection();
  return criteria;
}

void CRosterDlg::OnSearch() {
  SearchRoster(m_rows, m_roster, ReadSearchCriteria());
  m_listRoster->ShowRebuiltRows();
}

void CRosterDlg::OnSearchButton(wxCommandEvent&) {
  OnSearch();
}

void CRosterDlg::OnNotify(wxListEvent& event) {
  const int column = event.GetColumn();
  if (column >= 0 && column < RosterRows::kColumnCount) {
    m_listRoster->ShowReorderedRows([&] { ClickRosterColumn(m_rows, m_roster, column); });
  }
  event.Skip();
}

void CRosterDlg::OnHScroll(wxScrollEvent& event) {
  if (event.GetEventObject() == m_sliderMaxAge) {
    m_staticMaxAge->SetLabel(wxString::Format(L"%d歳以下", m_sliderMaxAge->GetValue()));
  } else if (event.GetEventObject() == m_sliderMinAge) {
    m_staticMinAge->SetLabel(wxString::Format(L"%d歳以上", m_sliderMinAge->GetValue()));
  }
  event.Skip();
}

void CRosterDlg::OnSize(wxSizeEvent& event) {
  event.Skip();
  // The flag is the whole run's; a window still being built has no table to place yet.
  if (!g_bDialogReady || m_listRoster == nullptr) return;
  const wxSize client = GetClientSize();
  if (client == m_sizeClient) return;
  m_sizeClient = client;
  const DisplayScale scale = DisplayScale::Of(*this);
  const int left = scale(kTableLeft);
  const int top = scale(kTableTop);
  // A client area too small for the margins leaves the table with no width or height at all.
  m_listRoster->SetSize(left, top, std::max(0, client.x - left - scale(kTableRightMargin)),
                        std::max(0, client.y - top - scale(kTableBottomMargin)));
}

bool CRosterDlg::LoadSave(const std::function<SaveText()>& read) {
  m_pSaveText.reset();
  m_roster.clear();
  m_pSaveText.reset(read());
  // A file whose scan never reached the characters is no save: nothing of it is kept, as of a
  // file that could not be read.
  if (m_pSaveText != nullptr && !ScanSave(m_pSaveText.get(), m_roster)) {
    m_roster.clear();
    m_pSaveText.reset();
  }
  if (m_chkSearchOnOpen->IsChecked()) OnSearch();
  return m_pSaveText != nullptr;
}

void CRosterDlg::OnOpenFile(wxCommandEvent&) {
  // The command's one box is its own message: what fails along the way, the change of folder
  // included, is told by that message or not at all, never by a box of the toolkit's log.
  const wxLogNull noLog;
  const std::optional<wxString> chosen =
      m_services.RunFileDialog({kOpenFileTitle, kSaveFileFilter, OpenFileFolder(), this});
  // The command leaves the current directory at the file's folder, whatever the file dialog did
  // with it: later opens and automatic loads look for their folder from there. It moves as the
  // dialog closes, before the re-activation that follows.
  const wxFileName file(chosen.value_or(wxString()));
  if (chosen) wxSetWorkingDirectory(file.GetPath());
  OnOwnBoxClosed();
  if (!chosen) return;

  // Read by its full path in the system's own characters, as the lister reads it, so that every
  // name that the dialog gives reads, whatever the code page can spell.
  const wxString fullPath = file.GetFullPath();
#ifdef __WXMSW__
  const std::filesystem::path picked(fullPath.ToStdWstring());
#else
  // A name that the file system's encoding lacks converts to none, and so to an empty path. The
  // converted name may live in the string itself, which outlives it here.
  const wxScopedCharBuffer native = fullPath.fn_str();
  const std::filesystem::path picked =
      native.data() != nullptr ? std::filesystem::path(native.data()) : std::filesystem::path();
#endif
  const bool loaded = LoadSave([&picked] { return LoadSaveText(picked); });

  // A file that could not be read, or that is no save, is not reported as loaded.
  wxMessageDialog box(this, loaded ? kLoadedMessage : kUnreadableMessage,
                      wxTheApp->GetAppDisplayName(), wxOK | wxICON_NONE);
  m_services.RunMessageBox(box);
  OnOwnBoxClosed();
}

void CRosterDlg::OnActivate(unsigned nState) {
  if (nState != kWaActive) return;
  LoadOnActivation();
}

#ifdef __WXMSW__
WXLRESULT CRosterDlg::MSWWindowProc(WXUINT message, WXWPARAM wParam, WXLPARAM lParam) {
  const WXLRESULT result = wxDialog::MSWWindowProc(message, wParam, lParam);
  if (message == WM_ACTIVATE) OnActivate(LOWORD(wParam));
  return result;
}

WXDWORD CRosterDlg::MSWGetStyle(long flags, WXDWORD* exstyle) const {
  return wxDialog::MSWGetStyle(flags, exstyle) | WS_THICKFRAME;
}
#else
bool CRosterDlg::ActivatedByClick(const wxActivateEvent& event) const {
  if (event.GetActivationReason() == wxActivateEvent::Reason_Mouse) return true;
  // This toolkit does not report how the window was activated: a mouse press inside the window
  // that comes with the activation means a click.
  return m_services.IsActivationByClick(*this);
}

void CRosterDlg::OnActivateEvent(wxActivateEvent& event) {
  event.Skip();
  if (!event.GetActive()) {
    // The toolkit moves the focus to the window's own drop-down lists and menus; Windows
    // does not deactivate the window for them, so their closing activates nothing.
    if (!m_services.IsOwnPopupShown()) m_bActive = false;
    return;
  }
  // Still active as Windows sees it: after a pop-up of its own, or after a box of its
  // own whose closing was handled as it closed.
  if (m_bActive) return;
  m_bActive = true;
  OnActivate(ActivatedByClick(event) ? kWaClickActive : kWaActive);
}
#endif

void CRosterDlg::LoadOnActivation() {
  if (!m_chkAutoOpen->IsChecked()) return;
  // Nothing that the automatic load does is told.
  const wxLogNull noLog;
  const std::string path = FindSaveGame(kSaveGameFolder);
  if (path.empty()) return;
  LoadSave([&path] { return LoadSaveText(path.c_str()); });
}

void CRosterDlg::OnOwnBoxClosed() {
#ifndef __WXMSW__
  // Here the toolkit reports the activation only later, when it may be under the next box or
  // after the code that follows; it is handled now, and the late report finds the window active.
  m_bActive = true;
  LoadOnActivation();
#endif
}

bool CRosterDlg::AppendAboutEntry(wxMenu& menu) const {
  if (m_strAboutMenu.empty()) return false;
  menu.AppendSeparator();
  menu.Append(IDM_ABOUTBOX, m_strAboutMenu);
  return true;
}

std::unique_ptr<wxMenu> CRosterDlg::CreateAboutMenu() const {
  auto menu = std::make_unique<wxMenu>();
  if (!AppendAboutEntry(*menu)) return nullptr;
  return menu;
}

#ifndef __WXMSW__
// The window manager owns the window menu here, so its additions are offered on the dialog itself:
// with the mouse on its background, and with the Menu key or Shift+F10 anywhere in it.
bool CRosterDlg::PopupAboutMenu(const wxPoint& position) {
  const std::unique_ptr<wxMenu> menu = CreateAboutMenu();
  if (menu == nullptr) return false;
  PopupMenu(menu.get(), position);
  return true;
}

void CRosterDlg::OnContextMenu(wxContextMenuEvent& event) {
  const wxPoint position = event.GetPosition();
  if (position == wxDefaultPosition) {
    // From the keyboard: where the system menu would open, at the client area's top-left.
    if (PopupAboutMenu(wxPoint(0, 0))) return;
  } else if (event.GetEventObject() == this && PopupAboutMenu(ScreenToClient(position))) {
    return;
  }
  event.Skip();
}

#endif

void CRosterDlg::OnCharHook(wxKeyEvent& event) {
  if (event.GetKeyCode() == WXK_ESCAPE) {
    // Esc sends the dialog's Cancel, command 2, which here is the open-file command. It is posted
    // to run once the key press has been handled: Windows reports the key to the toolkit from a
    // keyboard hook, and a file dialog opened inside that hook takes the same press from the
    // queue again and closes by itself.
    CallAfter([this] { EmulateButtonClickIfPresent(IDC_OPEN_FILE); });
    return;
  }
#ifndef __WXMSW__
  // The controls here do not turn these keys into a context menu themselves.
  const bool menuKey = event.GetKeyCode() == WXK_MENU ||
                       (event.GetKeyCode() == WXK_F10 && event.GetModifiers() == wxMOD_SHIFT);
  // The window menu that holds the entry on Windows opens from the keyboard at the top-left of
  // the client area, not at the pointer.
  if (menuKey && PopupAboutMenu(wxPoint(0, 0))) return;
#endif
  event.Skip();
}

void CRosterDlg::OnSysCommand(wxCommandEvent&) {
  CAboutDlg about;
  if (about.GetHandle() == nullptr) return;
  about.ShowModal();
  OnOwnBoxClosed();
}

void CRosterDlg::OnOK(wxCommandEvent&) {
  EndModal(IDOK);
}

void CRosterDlg::OnClose(wxCloseEvent&) {
  // A close request ends the process at once; the dialog's own handling of it would run the
  // Cancel command, which here is the open-file command.
  m_services.EndProcess(0);
}

void CRosterDlg::OnDestroy(wxWindowDestroyEvent& event) {
  event.Skip();
  m_pSaveText.reset();
}

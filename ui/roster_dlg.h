// The main window: the filter controls, the roster table and the two load options, built on the
// dialog template IDD_ROSTER_DIALOG. It owns the current save text and the roster scanned from it,
// and routes its events to the roster query, the load commands and the about box.
#pragma once

#include <functional>
#include <memory>

#include <wx/dialog.h>
#include <wx/iconbndl.h>

#include "save/character_record.h"
#include "save/save_text.h"
#include "ui/roster_query.h"
#include "ui/roster_rows.h"

class PlatformServices;
class RosterListCtrl;
class wxActivateEvent;
class wxCheckBox;
class wxChoice;
class wxContextMenuEvent;
class wxKeyEvent;
class wxListEvent;
class wxMenu;
class wxScrollEvent;
class wxSlider;
class wxStaticText;
class wxWindowDestroyEvent;

// Set when the main window has finished its initialisation and never cleared: from then on every
// change of the window's size places the table.
extern bool g_bDialogReady;

// The activation states of WM_ACTIVATE.
inline constexpr unsigned kWaInactive = 0;
inline constexpr unsigned kWaActive = 1;
inline constexpr unsigned kWaClickActive = 2;

class CRosterDlg : public wxDialog {
 public:
  // `services` run the modal boxes and end the process for the window; they must outlive it.
  CRosterDlg(wxWindow* parent, PlatformServices& services);
  ~CRosterDlg() override;

  // Search: rebuilds the table from the roster with the filter settings the controls now show,
  // sorted by the current sort state.
  void OnSearch();

  // Appends the window menu's additions to `menu`: a separator and the about entry. Nothing,
  // and false, when the about text is empty.
  bool AppendAboutEntry(wxMenu& menu) const;
  // A menu of just those additions, or none. Where the window manager owns the window menu, it is
  // the dialog's context menu.
  std::unique_ptr<wxMenu> CreateAboutMenu() const;

 private:
  // Attaches the control members to the controls the template created.
  void DoDataExchange();
  // Sets the controls to their defaults, creates the table's columns and gives the focus to the
  // first control; the window is ready afterwards.
  void OnInitDialog();

  SearchCriteria ReadSearchCriteria() const;
  // The load sequence: drops the current save, reads a new one with `read` and scans it, and
  // searches if asked to. False when the file could not be read or is no save, and then none is kept.
  bool LoadSave(const std::function<SaveText()>& read);
  // The automatic load that an activation other than by a click brings, when it is asked for.
  void LoadOnActivation();
  // After one of the window's own modal boxes has closed: the window is active again, as
  // Windows activates it then, before the code after the box runs.
  void OnOwnBoxClosed();

  // Some handlers are named for the Windows message they answer; in wx they serve:
  //   OnNotify        wxEVT_LIST_COL_CLICK from the table (EVT_LIST_COL_CLICK; on Windows the
  //                   table's WM_NOTIFY with LVN_COLUMNCLICK)
  //   OnSysCommand    wxEVT_MENU with IDM_ABOUTBOX, from the system menu on Windows and from the
  //                   dialog's own about menu elsewhere (EVT_MENU)
  //   OnHScroll       every wxEVT_SCROLL_* of the two age sliders (EVT_COMMAND_SCROLL)
  //   DoDataExchange  no event: the constructor calls it to look the controls up with XRCCTRL;
  //                   OnInitDialog, likewise called, sets the controls to their defaults
  //   OnActivate      WM_ACTIVATE on Windows (MSWWindowProc); elsewhere OnActivateEvent
  //                   (EVT_ACTIVATE) tells the state
  // The others are named for their event: OnOK, OnOpenFile, OnSearchButton (EVT_BUTTON), OnSize,
  // OnClose, OnDestroy (EVT_WINDOW_DESTROY), OnCharHook.
  void OnOK(wxCommandEvent& event);
  void OnOpenFile(wxCommandEvent& event);
  void OnSearchButton(wxCommandEvent& event);
  void OnNotify(wxListEvent& event);
  void OnHScroll(wxScrollEvent& event);
  void OnSize(wxSizeEvent& event);
  // A change of activation as Windows reports it: kWaInactive, kWaActive (any activation but a
  // mouse click's) or kWaClickActive. Only kWaActive loads.
  void OnActivate(unsigned nState);
#ifdef __WXMSW__
  // Sees every WM_ACTIVATE as Windows sends it; the toolkit drops those of a minimised window.
  WXLRESULT MSWWindowProc(WXUINT message, WXWPARAM wParam, WXLPARAM lParam) override;
  // A sizing border without the size grip that the toolkit gives a dialog with its resizing
  // style, which the template therefore leaves out here.
  WXDWORD MSWGetStyle(long flags, WXDWORD* exstyle) const override;
#else
  // The toolkit's activation events, told apart as Windows would report them.
  void OnActivateEvent(wxActivateEvent& event);
  bool ActivatedByClick(const wxActivateEvent& event) const;
#endif
  void OnSysCommand(wxCommandEvent& event);
#ifndef __WXMSW__
  // Shows the about menu at `position` in client coordinates; false when there is none to show.
  bool PopupAboutMenu(const wxPoint& position);
  void OnContextMenu(wxContextMenuEvent& event);
#endif
  // Esc, and where the window manager owns the window menu, the keys that open the about menu.
  void OnCharHook(wxKeyEvent& event);
  void OnClose(wxCloseEvent& event);
  void OnDestroy(wxWindowDestroyEvent& event);

  SaveTextOwner m_pSaveText;  // the current save text, none before the first load
  Roster m_roster;
  RosterRows m_rows;
  wxCheckBox* m_chkSearchOnOpen = nullptr;
  wxCheckBox* m_chkAutoOpen = nullptr;
  RosterListCtrl* m_listRoster = nullptr;
  wxStaticText* m_staticMinAge = nullptr;
  wxStaticText* m_staticMaxAge = nullptr;
  wxChoice* m_comboReligion = nullptr;
  wxChoice* m_comboMarital = nullptr;
  wxChoice* m_comboGender = nullptr;
  wxSlider* m_sliderMinAge = nullptr;
  wxSlider* m_sliderMaxAge = nullptr;
  wxIconBundle m_hIcon;
  wxString m_strAboutMenu;
  // The client size when the window was last placed, to tell a real change of size from a size
  // event that repeats the current one.
  wxSize m_sizeClient;
#ifndef __WXMSW__
  // Whether the window is active as Windows would see it: a drop-down list or a
  // menu of its own does not deactivate it, and it is active again as soon as one of its own
  // boxes closes, however late the toolkit reports it.
  bool m_bActive = false;
#endif
  PlatformServices& m_services;

  wxDECLARE_EVENT_TABLE();
};

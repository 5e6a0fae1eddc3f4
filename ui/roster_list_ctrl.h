// The roster table: a virtual report list that draws the rows of a RosterRows model, decoding
// their code-page texts for display. It keeps no rows of its own, so filling it costs nothing
// however large the save; only the visible cells are ever decoded.
#pragma once

#include <functional>
#include <string>

#include <wx/listctrl.h>

class RosterRows;

class RosterListCtrl : public wxListCtrl {
 public:
  RosterListCtrl() = default;

  // The model to draw; none draws empty cells. It must outlive the control or be detached.
  void AttachRows(const RosterRows* rows);

  // After the model was rebuilt: shows its rows from the top, with nothing selected.
  void ShowRebuiltRows();

  // Runs `reorder`, which sorts the model's rows, and shows them in their new order. The list
  // keeps its selection by position, so the selection and the focus are carried to the rows that
  // hold the same records.
  void ShowReorderedRows(const std::function<void()>& reorder);

#ifdef __WXGTK__
  // Draws the column titles where the cells below start their texts; GTK's header buttons would
  // stand them a few pixels further right.
  void AlignTitlesWithCells();
#endif

 protected:
  wxString OnGetItemText(long item, long column) const override;
#ifdef __WXMSW__
  // A plain report list: the toolkit's keep-the-selection-lit style goes, and the extended list
  // styles that it sets after creation and again on every change of style (full-row selection,
  // dragging the headers, label tips) stay off.
  WXDWORD MSWGetStyle(long style, WXDWORD* exstyle) const override;
  WXLRESULT MSWWindowProc(WXUINT message, WXWPARAM wParam, WXLPARAM lParam) override;
#endif

 private:
  // The selected rows, in the table's order, as text that a spreadsheet pastes into cells: the
  // column titles, then one line per row, cells separated by tabs and each as the table shows
  // it, every line ended as the platform ends lines in text. A name that a spreadsheet would take
  // for a formula is guarded, and the tabs and line breaks inside a cell become spaces, as the
  // table shows it on one line. Empty when no row is selected.
  wxString SelectedRowsText() const;
  // Puts SelectedRowsText() on the clipboard. False, and the clipboard left as it was, when no
  // row is selected or the clipboard cannot be had.
  bool CopySelectedRows();
  // A cell as the table shows it, in UTF-8.
  std::string CellText(long item, long column) const;
  // Ctrl+A selects every row; Ctrl+C and Ctrl+Insert copy the selected rows. Every other key
  // goes on to the list.
  void OnKeyDown(wxKeyEvent& event);
#ifdef __WXGTK__
  void OnPaintHeader(wxPaintEvent& event);
#endif

  const RosterRows* m_rows = nullptr;
#ifdef __WXGTK__
  wxWindow* m_header = nullptr;
#endif

  wxDECLARE_DYNAMIC_CLASS(RosterListCtrl);
  wxDECLARE_EVENT_TABLE();
};

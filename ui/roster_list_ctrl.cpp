#include "ui/roster_list_ctrl.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>
#include <unordered_set>
#include <utility>

#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/dcclient.h>
#include <wx/renderer.h>

#ifdef __WXMSW__
#include <wx/msw/wrapcctl.h>
#endif

#include "save/code_page.h"
#include "save/roster_table.h"
#include "ui/roster_rows.h"
#include "ui/spreadsheet_guard.h"

wxIMPLEMENT_DYNAMIC_CLASS(RosterListCtrl, wxListCtrl);

// clang-format off
wxBEGIN_EVENT_TABLE(RosterListCtrl, wxListCtrl)
  EVT_KEY_DOWN(RosterListCtrl::OnKeyDown)
wxEND_EVENT_TABLE()
// clang-format on

namespace {

// How lines of text end on the clipboard here; a spreadsheet takes each line as a row.
#ifdef __WXMSW__
constexpr std::string_view kClipboardLineEnd = "\r\n";
#else
constexpr std::string_view kClipboardLineEnd = "\n";
#endif

// Appends one cell to a line bound for a spreadsheet. A name is guarded as it stands, so that one
// that starts with a tab or a carriage return is guarded too; then the cell's tabs and line
// breaks become spaces, which keeps it one cell on one line.
void AppendSpreadsheetCell(std::string& line, std::string cell, long column) {
  if (column >= 0 && column < kRosterColumnCount &&
      kRosterColumns[column].format == CellFormat::kText) {
    cell = GuardSpreadsheetText(cell);
  }
  line += OneLineCell(std::move(cell));
}

}  // namespace

void RosterListCtrl::AttachRows(const RosterRows* rows) {
  m_rows = rows;
  SetItemCount(m_rows != nullptr ? m_rows->GetItemCount() : 0);
  Refresh();
}

void RosterListCtrl::ShowRebuiltRows() {
  SetItemState(-1, 0, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
  SetItemCount(m_rows->GetItemCount());
  if (GetItemCount() > 0) {
    EnsureVisible(0);
  }
  Refresh();
}

void RosterListCtrl::ShowReorderedRows(const std::function<void()>& reorder) {
  // Rows written by one Search carry distinct record indexes, so the item data names a row.
  std::unordered_set<std::uint32_t> selected;
  for (long row = GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); row != -1;
       row = GetNextItem(row, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)) {
    selected.insert(m_rows->GetItemData(static_cast<int>(row)));
  }
  std::optional<std::uint32_t> focused;
  if (const long row = GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED); row != -1) {
    focused = m_rows->GetItemData(static_cast<int>(row));
  }

  reorder();

  if (!selected.empty() || focused) {
    SetItemState(-1, 0, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    for (int row = 0; row < m_rows->GetItemCount(); ++row) {
      const std::uint32_t record = m_rows->GetItemData(row);
      long state = 0;
      if (selected.contains(record)) state |= wxLIST_STATE_SELECTED;
      if (focused == record) state |= wxLIST_STATE_FOCUSED;
      if (state != 0) SetItemState(row, state, state);
    }
  }
  Refresh();
}

wxString RosterListCtrl::SelectedRowsText() const {
  long row = GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
  if (row == -1) return {};
  const int columns = GetColumnCount();
  std::string text;
  for (int column = 0; column < columns; ++column) {
    wxListItem title;
    title.SetMask(wxLIST_MASK_TEXT);
    GetColumn(column, title);
    if (column > 0) text += '\t';
    text += title.GetText().utf8_string();
  }
  text += kClipboardLineEnd;
  for (; row != -1; row = GetNextItem(row, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)) {
    for (int column = 0; column < columns; ++column) {
      if (column > 0) text += '\t';
      AppendSpreadsheetCell(text, CellText(row, column), column);
    }
    text += kClipboardLineEnd;
  }
  return wxString::FromUTF8(text.data(), text.size());
}

bool RosterListCtrl::CopySelectedRows() {
  const wxString text = SelectedRowsText();
  if (text.empty()) return false;
  {
    wxClipboardLocker clipboard;
    if (!clipboard || !wxTheClipboard->SetData(new wxTextDataObject(text))) return false;
  }
  // Rendered now, so that the rows can still be pasted after the program has ended.
  wxTheClipboard->Flush();
  return true;
}

void RosterListCtrl::OnKeyDown(wxKeyEvent& event) {
  if (event.GetModifiers() == wxMOD_CONTROL) {
    switch (event.GetKeyCode()) {
      case 'A':
        SetItemState(-1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
        return;
      case 'C':
      case WXK_INSERT:
      case WXK_NUMPAD_INSERT:
        CopySelectedRows();
        return;
      default:
        break;
    }
  }
  event.Skip();
}

std::string RosterListCtrl::CellText(long item, long column) const {
  if (m_rows == nullptr) return {};
  return DecodeCodePageToUtf8(
      m_rows->GetItemText(static_cast<int>(item), static_cast<int>(column)));
}

wxString RosterListCtrl::OnGetItemText(long item, long column) const {
  const std::string text = CellText(item, column);
  return wxString::FromUTF8(text.data(), text.size());
}

#ifdef __WXMSW__
WXDWORD RosterListCtrl::MSWGetStyle(long style, WXDWORD* exstyle) const {
  return wxListCtrl::MSWGetStyle(style, exstyle) & ~static_cast<WXDWORD>(LVS_SHOWSELALWAYS);
}

WXLRESULT RosterListCtrl::MSWWindowProc(WXUINT message, WXWPARAM wParam, WXLPARAM lParam) {
  if (message == LVM_SETEXTENDEDLISTVIEWSTYLE) {
    // Every extended style, cleared.
    wParam = 0;
    lParam = 0;
  }
  return wxListCtrl::MSWWindowProc(message, wParam, lParam);
}
#endif

#ifdef __WXGTK__
namespace {
// Where the list starts a cell's text, from the left edge of its column, in pixels.
constexpr int kCellTextLeft = 2;
}  // namespace

void RosterListCtrl::AlignTitlesWithCells() {
  // The list has two windows: the rows, which it scrolls, and the header.
  for (wxWindow* child : GetChildren()) {
    if (child != GetTargetWindow()) {
      m_header = child;
      m_header->Bind(wxEVT_PAINT, &RosterListCtrl::OnPaintHeader, this);
      return;
    }
  }
}

// The list's own header painting, but for the place of the titles.
void RosterListCtrl::OnPaintHeader(wxPaintEvent&) {
  wxWindow* const header = m_header;
  wxPaintDC dc(header);
  // The header scrolls sideways with the rows.
  int unit = 0;
  int start = 0;
  GetScrollPixelsPerUnit(&unit, nullptr);
  GetViewStart(&start, nullptr);
  dc.SetDeviceOrigin(-start * unit, 0);
  dc.SetFont(header->GetFont());
  dc.SetTextForeground(header->GetForegroundColour());
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);

  const wxSize size = header->GetClientSize();
  const int right = size.x + start * unit;
  wxRendererNative& renderer = wxRendererNative::Get();
  int x = 0;
  for (int column = 0; column < GetColumnCount() && x < right; ++column) {
    const int width = GetColumnWidth(column);
    int flags = header->IsEnabled() ? 0 : static_cast<int>(wxCONTROL_DISABLED);
    if (column == 0) flags |= wxCONTROL_SPECIAL;
    renderer.DrawHeaderButton(header, dc, wxRect(x, 0, width, size.y), flags);

    wxListItem item;
    item.SetMask(wxLIST_MASK_TEXT);
    GetColumn(column, item);
    const wxSize text = dc.GetTextExtent(item.GetText());
    wxDCClipper clipper(dc, x, 0, std::max(0, width - kCellTextLeft), size.y);
    dc.DrawText(item.GetText(), x + kCellTextLeft, (size.y - text.y) / 2);
    x += width;
  }
  if (x < right) {
    renderer.DrawHeaderButton(header, dc, wxRect(x, 0, right - x, size.y),
                              static_cast<int>(wxCONTROL_DIRTY));
  }
}
#endif

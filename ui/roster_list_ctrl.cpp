#include "ui/roster_list_ctrl.h"

#include <cstdint>
#include <optional>
#include <unordered_set>

#include "save/code_page.h"
#include "ui/roster_rows.h"

wxIMPLEMENT_DYNAMIC_CLASS(RosterListCtrl, wxListCtrl);

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

wxString RosterListCtrl::OnGetItemText(long item, long column) const {
  if (m_rows == nullptr) return {};
  const std::string text = DecodeCodePageToUtf8(
      m_rows->GetItemText(static_cast<int>(item), static_cast<int>(column)));
  return wxString::FromUTF8(text.data(), text.size());
}

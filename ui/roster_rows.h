#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The roster table's rows as the window shows them: each row owns copies of its ten cell texts
// (8-bit, code page 932) and carries 32-bit item data, the index of its record at the time of the
// Search that wrote it. The copies matter: a later load frees the save text the names came from
// while the rows stay on screen. The window shows this model through a virtual list, which draws
// only the visible rows.
class RosterRows {
 public:
  static constexpr int kColumnCount = 10;

  // The list view's comparison: item data of two rows and the sort context.
  using Compare = std::int32_t (*)(std::intptr_t, std::intptr_t, std::intptr_t);

  void DeleteAllItems();
  // Inserts a row at the top with `text` as its column-0 cell; returns its position, 0.
  int InsertItem(std::string_view text);
  void SetItemText(int row, int column, std::string_view text);
  void SetItemData(int row, std::uint32_t data);
  // Reorders the rows by the sign of `compare`; rows that compare equal keep their order.
  void SortItems(Compare compare, std::intptr_t context);

  int GetItemCount() const;
  std::string_view GetItemText(int row, int column) const;
  std::uint32_t GetItemData(int row) const;
};

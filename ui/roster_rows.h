#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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
  // Inserts a row at the top with `text` as its column-0 cell; returns its position, 0, or -1
  // when the table cannot count another row. The other cells start empty, the item data 0.
  int InsertItem(std::string_view text);
  // Setting a cell or the item data of a row or column that does not exist does nothing.
  void SetItemText(int row, int column, std::string_view text);
  void SetItemData(int row, std::uint32_t data);
  // Reorders the rows by the sign of `compare`; rows that compare equal keep their order.
  void SortItems(Compare compare, std::intptr_t context);

  int GetItemCount() const;
  // Empty for a row or column that does not exist. The view stays valid until the rows change.
  std::string_view GetItemText(int row, int column) const;
  // 0 for a row that does not exist.
  std::uint32_t GetItemData(int row) const;

 private:
  // A cell's text is a stretch of the arena. Rewriting a cell appends to the arena and leaves the
  // old bytes unused until the rows are removed.
  struct Cell {
    std::size_t offset = 0;
    std::size_t length = 0;
  };
  struct Row {
    Cell cells[kColumnCount];
  };
  // A row's place in the table: its item data, kept here so that a sort touches only this small
  // array, and the slot of its cells in rows_.
  struct RowRef {
    std::uint32_t data = 0;
    std::uint32_t slot = 0;
  };

  // The RowRef of the row shown at position `row`, or nullptr when there is no such row.
  const RowRef* Find(int row) const;
  RowRef* Find(int row);
  Cell Append(std::string_view text);

  std::string arena_;
  std::vector<Row> rows_;       // in the order they were inserted
  std::vector<RowRef> order_;   // bottom row first, so that inserting at the top is an append
};

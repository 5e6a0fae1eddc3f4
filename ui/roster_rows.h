#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "save/roster_table.h"

// The roster table's rows as the window shows them: each row owns copies of its ten cell texts
// (8-bit, code page 932) and carries 32-bit item data, the index of its record at the time of the
// Search that wrote it. The copies matter: a later load frees the save text the names came from
// while the rows stay on screen. The window shows this model through a virtual list, which draws
// only the visible rows.
class RosterRows {
 public:
  static constexpr int kColumnCount = kRosterColumnCount;

  // The list view's comparison: item data of two rows and the sort context.
  using Compare = std::int32_t (*)(std::intptr_t, std::intptr_t, std::intptr_t);

  // What a comparison makes of one row, known before sorting: rows are ordered by `key`, smallest
  // first. When `settled` is false, rows with this same key may still differ, and the comparison
  // orders them. A key must agree with the comparison it stands for, and rows with equal keys
  // must agree on `settled`.
  struct SortKey {
    std::uint64_t key = 0;
    bool settled = true;
  };
  // The key of the row with item data `data`; `keyContext` is the caller's, as for the comparison.
  using KeyOf = SortKey (*)(std::intptr_t data, std::intptr_t keyContext);

  void DeleteAllItems();
  // Inserts a row at the top with its ten cells and its item data; returns its position, 0, or -1
  // when the table has no room for another row. Like the list view, a cell keeps its text up to
  // the first NUL byte; the texts may be the table's own.
  int InsertItem(const std::string_view (&cells)[kColumnCount], std::uint32_t data);
  // Reorders the rows by the sign of `compare`, rows that compare equal keeping their order,
  // through one key per row instead of comparing every pair: `compare` is called only for rows
  // whose keys are equal and not settled.
  void SortItems(Compare compare, std::intptr_t context, KeyOf keyOf, std::intptr_t keyContext);

  int GetItemCount() const;
  // Empty for a row or column that does not exist. The view stays valid until the rows change.
  std::string_view GetItemText(int row, int column) const;
  // 0 for a row that does not exist.
  std::uint32_t GetItemData(int row) const;

 private:
  // Cell texts are NUL-terminated stretches of one arena, and a row holds their offsets: ten small
  // numbers per row instead of ten allocations. Offset 0 is the empty text.
  using Offset = std::uint32_t;
  struct Row {
    Offset cells[kColumnCount] = {};
  };
  // A row's place in the table: its item data, kept here so that a sort moves only these, and
  // the slot of its cells in rows_.
  struct RowRef {
    std::uint32_t data = 0;
    std::uint32_t slot = 0;
  };
  struct KeyedRow {
    std::uint64_t key;
    RowRef ref;
  };

  // The RowRef of the row shown at position `row`, or nullptr when there is no such row.
  const RowRef* Find(int row) const;
  // Room for `size` more bytes at the end of the arena; nullptr when offsets could not reach
  // them. The bytes count as used once arenaSize_ is moved past them. When the arena has to move,
  // its old storage is handed to `previous`, so that texts read from it stay valid until the
  // caller lets it go.
  char* Reserve(std::size_t size, std::unique_ptr<char[]>& previous);
  // Stable least-significant-digit radix sort on the keys, one pass per byte that varies.
  static void RadixSort(std::vector<KeyedRow>& rows, std::vector<KeyedRow>& scratch);

  std::unique_ptr<char[]> arena_;
  std::size_t arenaSize_ = 0;
  std::size_t arenaCapacity_ = 0;
  std::vector<Row> rows_;      // in the order they were inserted
  std::vector<RowRef> order_;  // bottom row first, so that inserting at the top is an append
  std::vector<KeyedRow> keyed_, scratch_;  // kept between sorts to spare the allocations
};

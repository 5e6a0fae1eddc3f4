#include "roster_rows.h"

#include <algorithm>
#include <climits>
#include <functional>
#include <utility>

void RosterRows::DeleteAllItems() {
  // clear() keeps the capacity, so the next Search refills without reallocating.
  arena_.clear();
  rows_.clear();
  order_.clear();
}

int RosterRows::InsertItem(std::string_view text) {
  if (order_.size() >= static_cast<std::size_t>(INT_MAX)) return -1;
  const Cell name = Append(text);
  rows_.emplace_back();
  rows_.back().cells[0] = name;
  order_.push_back({0, static_cast<std::uint32_t>(rows_.size() - 1)});
  return 0;
}

void RosterRows::SetItemText(int row, int column, std::string_view text) {
  if (column < 0 || column >= kColumnCount) return;
  const RowRef* ref = Find(row);
  if (ref == nullptr) return;
  const Cell cell = Append(text);
  rows_[ref->slot].cells[column] = cell;
}

void RosterRows::SetItemData(int row, std::uint32_t data) {
  if (RowRef* ref = Find(row)) ref->data = data;
}

void RosterRows::SortItems(Compare compare, std::intptr_t context) {
  if (compare == nullptr) return;
  // order_ runs bottom to top, so the sort runs over its reverse: the top row is the first.
  std::stable_sort(order_.rbegin(), order_.rend(), [compare, context](RowRef a, RowRef b) {
    return compare(static_cast<std::intptr_t>(a.data), static_cast<std::intptr_t>(b.data),
                   context) < 0;
  });
}

int RosterRows::GetItemCount() const { return static_cast<int>(order_.size()); }

std::string_view RosterRows::GetItemText(int row, int column) const {
  if (column < 0 || column >= kColumnCount) return {};
  const RowRef* ref = Find(row);
  if (ref == nullptr) return {};
  const Cell cell = rows_[ref->slot].cells[column];
  return std::string_view(arena_).substr(cell.offset, cell.length);
}

std::uint32_t RosterRows::GetItemData(int row) const {
  const RowRef* ref = Find(row);
  return ref == nullptr ? 0 : ref->data;
}

const RosterRows::RowRef* RosterRows::Find(int row) const {
  if (row < 0 || static_cast<std::size_t>(row) >= order_.size()) return nullptr;
  return &order_[order_.size() - 1 - static_cast<std::size_t>(row)];
}

RosterRows::RowRef* RosterRows::Find(int row) {
  return const_cast<RowRef*>(std::as_const(*this).Find(row));
}

RosterRows::Cell RosterRows::Append(std::string_view text) {
  const Cell cell{arena_.size(), text.size()};
  // A text taken from this model's own cells lies in the arena, which the append may move.
  const std::less<const char*> before;
  const char* base = arena_.data();
  if (!text.empty() && !before(text.data(), base) && before(text.data(), base + arena_.size())) {
    arena_.append(arena_, static_cast<std::size_t>(text.data() - base), text.size());
  } else {
    arena_.append(text);
  }
  return cell;
}

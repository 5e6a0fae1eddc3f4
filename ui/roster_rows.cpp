#include "roster_rows.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <limits>
#include <utility>

void RosterRows::DeleteAllItems() {
  // Keeps the capacity, so the next Search refills without reallocating.
  arenaSize_ = 0;
  rows_.clear();
  order_.clear();
}

int RosterRows::InsertItem(const std::string_view (&cells)[kColumnCount], std::uint32_t data) {
  if (order_.size() >= static_cast<std::size_t>(INT_MAX)) return -1;
  std::size_t bound = 0;
  for (const std::string_view cell : cells) {
    if (cell.size() >= std::numeric_limits<Offset>::max() - bound) return -1;
    bound += cell.size() + 1;
  }
  // The cells may be texts of this table: the old arena, if it moves, outlives the copying.
  std::unique_ptr<char[]> previous;
  char* const start = Reserve(bound, previous);
  if (start == nullptr) return -1;
  Row& row = rows_.emplace_back();
  char* out = start;
  for (int column = 0; column < kColumnCount; ++column) {
    // Copied byte by byte up to the first NUL: the texts are a few bytes long, too short to repay
    // library calls.
    const std::string_view cell = cells[column];
    char* const text = out;
    for (std::size_t i = 0; i < cell.size() && cell[i] != '\0'; ++i) *out++ = cell[i];
    if (out == text) continue;
    *out++ = '\0';
    row.cells[column] = static_cast<Offset>(arenaSize_ + static_cast<std::size_t>(text - start));
  }
  arenaSize_ += static_cast<std::size_t>(out - start);
  order_.push_back({data, static_cast<std::uint32_t>(rows_.size() - 1)});
  return 0;
}

void RosterRows::SortItems(Compare compare, std::intptr_t context, KeyOf keyOf,
                           std::intptr_t keyContext) {
  if (compare == nullptr || keyOf == nullptr) return;
  keyed_.clear();
  // order_ runs bottom to top, so the keys are taken over its reverse: the top row comes first.
  for (auto it = order_.rbegin(); it != order_.rend(); ++it) {
    keyed_.push_back({keyOf(it->data, keyContext).key, *it});
  }
  RadixSort(keyed_, scratch_);
  // Rows with equal keys agree on whether the key settles them, so the first row of a run speaks
  // for the whole run.
  for (auto run = keyed_.begin(); run != keyed_.end();) {
    const auto end = std::find_if(run, keyed_.end(),
                                  [key = run->key](const KeyedRow& k) { return k.key != key; });
    if (end - run > 1 && !keyOf(run->ref.data, keyContext).settled) {
      std::stable_sort(run, end, [compare, context](const KeyedRow& a, const KeyedRow& b) {
        return compare(a.ref.data, b.ref.data, context) < 0;
      });
    }
    run = end;
  }
  std::transform(keyed_.rbegin(), keyed_.rend(), order_.begin(),
                 [](const KeyedRow& k) { return k.ref; });
}

int RosterRows::GetItemCount() const { return static_cast<int>(order_.size()); }

std::string_view RosterRows::GetItemText(int row, int column) const {
  if (column < 0 || column >= kColumnCount) return {};
  const RowRef* ref = Find(row);
  if (ref == nullptr) return {};
  const Offset offset = rows_[ref->slot].cells[column];
  if (offset == 0) return {};
  return arena_.get() + offset;
}

std::uint32_t RosterRows::GetItemData(int row) const {
  const RowRef* ref = Find(row);
  return ref == nullptr ? 0 : ref->data;
}

const RosterRows::RowRef* RosterRows::Find(int row) const {
  if (row < 0 || static_cast<std::size_t>(row) >= order_.size()) return nullptr;
  return &order_[order_.size() - 1 - static_cast<std::size_t>(row)];
}

char* RosterRows::Reserve(std::size_t size, std::unique_ptr<char[]>& previous) {
  // Offset 0 stands for the empty text, so no text starts there.
  if (arenaSize_ == 0) arenaSize_ = 1;
  if (size > std::numeric_limits<Offset>::max() - arenaSize_) return nullptr;
  const std::size_t needed = arenaSize_ + size;
  if (needed > arenaCapacity_) {
    const std::size_t capacity = std::max({needed, 2 * arenaCapacity_, std::size_t{4096}});
    auto grown = std::make_unique_for_overwrite<char[]>(capacity);
    if (arena_ != nullptr) std::memcpy(grown.get(), arena_.get(), arenaSize_);
    previous = std::exchange(arena_, std::move(grown));
    arenaCapacity_ = capacity;
  }
  return arena_.get() + arenaSize_;
}

void RosterRows::RadixSort(std::vector<KeyedRow>& rows, std::vector<KeyedRow>& scratch) {
  constexpr int kDigits = 8;
  if (rows.size() < 2) return;
  // Only the bytes that differ between keys need a pass; sort keys of small numbers have one or
  // two of them.
  std::uint64_t all = ~std::uint64_t{0};
  std::uint64_t any = 0;
  for (const KeyedRow& row : rows) {
    all &= row.key;
    any |= row.key;
  }
  const std::uint64_t varying = all ^ any;
  scratch.resize(rows.size());
  for (int digit = 0; digit < kDigits; ++digit) {
    const int shift = 8 * digit;
    if (((varying >> shift) & 0xFF) == 0) continue;
    std::array<std::uint32_t, 256> count{};
    for (const KeyedRow& row : rows) ++count[(row.key >> shift) & 0xFF];
    std::uint32_t start = 0;
    for (std::uint32_t& bucket : count) start += std::exchange(bucket, start);
    for (const KeyedRow& row : rows) scratch[count[(row.key >> shift) & 0xFF]++] = row;
    rows.swap(scratch);
  }
}

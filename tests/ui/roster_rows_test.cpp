#include "ui/roster_rows.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace {

// Inserts a row at the top with `texts` as its first cells (the rest empty) and `data`.
int Insert(RosterRows& rows, std::initializer_list<std::string_view> texts,
           std::uint32_t data = 0) {
  std::string_view cells[RosterRows::kColumnCount];
  std::copy(texts.begin(), texts.end(), cells);
  return rows.InsertItem(cells, data);
}

std::vector<std::string> Column(const RosterRows& rows, int column) {
  std::vector<std::string> texts;
  for (int row = 0; row < rows.GetItemCount(); ++row) {
    texts.emplace_back(rows.GetItemText(row, column));
  }
  return texts;
}

std::vector<std::uint32_t> Data(const RosterRows& rows) {
  std::vector<std::uint32_t> data;
  for (int row = 0; row < rows.GetItemCount(); ++row) data.push_back(rows.GetItemData(row));
  return data;
}

// Orders by item data divided by ten, so that rows 10 to 19 tie, and so on.
std::int32_t CompareTens(std::intptr_t a, std::intptr_t b, std::intptr_t) {
  return static_cast<std::int32_t>(a / 10 - b / 10);
}

// One key for every row, which settles nothing: the comparison alone orders the rows.
RosterRows::SortKey NoKey(std::intptr_t, std::intptr_t) { return {0, false}; }

}  // namespace

TEST(RosterRows, InsertsAtTheTopWithItsCellsAndData) {
  RosterRows rows;
  EXPECT_EQ(Insert(rows, {"first"}), 0);
  EXPECT_EQ(Insert(rows, {"second", "", "", "42"}, 7), 0);
  ASSERT_EQ(rows.GetItemCount(), 2);
  EXPECT_EQ(Column(rows, 0), (std::vector<std::string>{"second", "first"}));
  EXPECT_EQ(Column(rows, 3), (std::vector<std::string>{"42", ""}));
  EXPECT_EQ(Column(rows, 9), (std::vector<std::string>{"", ""}));
  EXPECT_EQ(Data(rows), (std::vector<std::uint32_t>{7, 0}));
}

TEST(RosterRows, GivesNothingOutsideTheTable) {
  RosterRows rows;
  EXPECT_EQ(rows.GetItemText(0, 0), "");
  EXPECT_EQ(rows.GetItemData(0), 0u);
  Insert(rows, {"only"}, 7);
  for (const int row : {-1, 1}) {
    EXPECT_EQ(rows.GetItemText(row, 0), "");
    EXPECT_EQ(rows.GetItemData(row), 0u);
  }
  for (const int column : {-1, RosterRows::kColumnCount}) {
    EXPECT_EQ(rows.GetItemText(0, column), "");
  }
  EXPECT_EQ(Column(rows, 0), std::vector<std::string>{"only"});
  EXPECT_EQ(rows.GetItemData(0), 7u);
}

TEST(RosterRows, KeepsItsOwnCopiesOfTheTexts) {
  RosterRows rows;
  std::string name = "Philippe";
  std::string cell = "12";
  Insert(rows, {name, "", "", "", "", cell});
  name.assign(name.size(), 'x');
  cell = "99";
  EXPECT_EQ(rows.GetItemText(0, 0), "Philippe");
  EXPECT_EQ(rows.GetItemText(0, 5), "12");
}

TEST(RosterRows, CellTextEndsAtItsFirstNul) {
  RosterRows rows;
  Insert(rows, {std::string_view("ab\0cd", 5), std::string_view("\0x", 2)});
  Insert(rows, {std::string_view("n\0m", 3), "g"}, 1);
  EXPECT_EQ(rows.GetItemText(1, 0), "ab");
  EXPECT_EQ(rows.GetItemText(1, 1), "");
  EXPECT_EQ(rows.GetItemText(0, 0), "n");
  EXPECT_EQ(rows.GetItemText(0, 1), "g");
}

TEST(RosterRows, CopiesItsOwnTextsWhileGrowing) {
  RosterRows rows;
  Insert(rows, {"source text that is copied many times"});
  // Every row is made of the texts of the row before it, moved one column on; every insertion
  // grows the arena, which sooner or later moves while those texts are read from it.
  for (int i = 0; i < 2000; ++i) {
    std::string_view cells[RosterRows::kColumnCount];
    for (int column = 0; column < RosterRows::kColumnCount; ++column) {
      cells[column] = rows.GetItemText(0, column == 0 ? 0 : column - 1);
    }
    rows.InsertItem(cells, 0);
  }
  for (int column = 0; column < RosterRows::kColumnCount; ++column) {
    EXPECT_EQ(rows.GetItemText(0, column), "source text that is copied many times");
  }
}

TEST(RosterRows, InsertsAllTenCellsAndTheItemData) {
  RosterRows rows;
  const std::string_view cells[RosterRows::kColumnCount] = {"\x83\x74\x83\x42", "m", "", "-7", "0",
                                                           "1", "22", "333", "4444", "55555"};
  rows.InsertItem(cells, 0xFFFFFFFFu);
  for (int column = 0; column < RosterRows::kColumnCount; ++column) {
    EXPECT_EQ(rows.GetItemText(0, column), cells[column]) << column;
  }
  EXPECT_EQ(rows.GetItemData(0), 0xFFFFFFFFu);
}

TEST(RosterRows, RemovesAllRowsAndRefills) {
  RosterRows rows;
  for (int i = 0; i < 100; ++i) Insert(rows, {"old", "old"}, 5);
  rows.DeleteAllItems();
  EXPECT_EQ(rows.GetItemCount(), 0);
  EXPECT_EQ(rows.GetItemText(0, 0), "");
  Insert(rows, {"new"});
  EXPECT_EQ(Column(rows, 0), std::vector<std::string>{"new"});
  EXPECT_EQ(Column(rows, 1), std::vector<std::string>{""});
  EXPECT_EQ(Data(rows), std::vector<std::uint32_t>{0});
}

TEST(RosterRows, SortMovesCellsWithTheirDataAndKeepsTiesInOrder) {
  // Inserted at the top, so the rows stand as 25, 24, ..., 0 before the sort.
  std::vector<std::uint32_t> expected;
  for (const std::uint32_t tens : {0u, 10u, 20u}) {
    for (std::uint32_t i = 26; i-- > 0;) {
      if (i / 10 * 10 == tens) expected.push_back(i);
    }
  }
  // Ordered by the comparison alone, and by keys that settle every row.
  const RosterRows::KeyOf settledTens = [](std::intptr_t data, std::intptr_t) {
    return RosterRows::SortKey{static_cast<std::uint64_t>(data / 10), true};
  };
  for (const RosterRows::KeyOf keyOf : {&NoKey, settledTens}) {
    RosterRows rows;
    for (std::uint32_t i = 0; i < 26; ++i) {
      const std::string text = std::to_string(i);
      Insert(rows, {text}, i);
    }
    rows.SortItems(CompareTens, 0, keyOf, 0);
    EXPECT_EQ(Data(rows), expected);
    for (int row = 0; row < rows.GetItemCount(); ++row) {
      EXPECT_EQ(rows.GetItemText(row, 0), std::to_string(rows.GetItemData(row)));
    }
  }
}

TEST(RosterRows, KeyedSortAsksTheComparisonOnlyWhereKeysLeaveATie) {
  // Keys are the tens; they settle the rows below 10 only. The comparison puts odd data before
  // even data within the same tens and notes every pair it is asked about.
  static std::vector<std::pair<std::intptr_t, std::intptr_t>> asked;
  const RosterRows::KeyOf tens = [](std::intptr_t data, std::intptr_t) {
    return RosterRows::SortKey{static_cast<std::uint64_t>(data / 10), data < 10};
  };
  const RosterRows::Compare oddFirst = [](std::intptr_t a, std::intptr_t b, std::intptr_t) {
    asked.emplace_back(a, b);
    return static_cast<std::int32_t>((a / 10 - b / 10) * 2 + (b % 2 - a % 2));
  };
  RosterRows rows;
  for (const std::uint32_t data : {21u, 12u, 3u, 14u, 5u, 11u, 2u, 13u}) Insert(rows, {""}, data);
  asked.clear();
  rows.SortItems(oddFirst, 0, tens, 0);
  // Rows below 10 keep their order (the reverse of insertion); from 10 to 19 odd comes first.
  EXPECT_EQ(Data(rows), (std::vector<std::uint32_t>{2, 5, 3, 13, 11, 14, 12, 21}));
  ASSERT_FALSE(asked.empty());
  for (const auto& [a, b] : asked) {
    EXPECT_TRUE(a / 10 == 1 && b / 10 == 1) << a << " " << b;
  }
}

#include "ui/roster_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

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

}  // namespace

TEST(RosterRows, InsertsAtTheTopWithEmptyCellsAndZeroData) {
  RosterRows rows;
  EXPECT_EQ(rows.InsertItem("first"), 0);
  EXPECT_EQ(rows.InsertItem("second"), 0);
  rows.SetItemText(0, 3, "42");
  ASSERT_EQ(rows.GetItemCount(), 2);
  EXPECT_EQ(Column(rows, 0), (std::vector<std::string>{"second", "first"}));
  EXPECT_EQ(Column(rows, 3), (std::vector<std::string>{"42", ""}));
  EXPECT_EQ(rows.GetItemData(1), 0u);
}

TEST(RosterRows, IgnoresCellsAndDataOutsideTheTable) {
  RosterRows rows;
  rows.SetItemText(0, 0, "nothing");
  rows.SetItemData(0, 7);
  rows.InsertItem("only");
  for (const int row : {-1, 1}) {
    rows.SetItemText(row, 1, "x");
    rows.SetItemData(row, 7);
    EXPECT_EQ(rows.GetItemText(row, 0), "");
    EXPECT_EQ(rows.GetItemData(row), 0u);
  }
  for (const int column : {-1, RosterRows::kColumnCount}) {
    rows.SetItemText(0, column, "x");
    EXPECT_EQ(rows.GetItemText(0, column), "");
  }
  EXPECT_EQ(Column(rows, 0), std::vector<std::string>{"only"});
  EXPECT_EQ(rows.GetItemData(0), 0u);
}

TEST(RosterRows, KeepsItsOwnCopiesOfTheTexts) {
  RosterRows rows;
  std::string name = "Philippe";
  rows.InsertItem(name);
  std::string cell = "12";
  rows.SetItemText(0, 5, cell);
  name.assign(name.size(), 'x');
  cell = "99";
  EXPECT_EQ(rows.GetItemText(0, 0), "Philippe");
  EXPECT_EQ(rows.GetItemText(0, 5), "12");
}

TEST(RosterRows, CellTextEndsAtItsFirstNul) {
  RosterRows rows;
  rows.InsertItem(std::string_view("ab\0cd", 5));
  rows.SetItemText(0, 1, std::string_view("\0x", 2));
  const std::string_view cells[RosterRows::kColumnCount] = {std::string_view("n\0m", 3), "g"};
  rows.InsertItem(cells, 1);
  EXPECT_EQ(rows.GetItemText(1, 0), "ab");
  EXPECT_EQ(rows.GetItemText(1, 1), "");
  EXPECT_EQ(rows.GetItemText(0, 0), "n");
  EXPECT_EQ(rows.GetItemText(0, 1), "g");
}

TEST(RosterRows, CopiesACellIntoAnotherWhileGrowing) {
  RosterRows rows;
  rows.InsertItem("source text that is copied many times");
  // Every copy grows the arena, which sooner or later moves while the source is read from it.
  for (int i = 0; i < 2000; ++i) rows.SetItemText(0, 1 + i % 9, rows.GetItemText(0, i % 9));
  for (int column = 0; column < RosterRows::kColumnCount; ++column) {
    EXPECT_EQ(rows.GetItemText(0, column), "source text that is copied many times");
  }
}

TEST(RosterRows, InsertingAllCellsAtOnceGivesTheSameRow) {
  RosterRows stepwise;
  RosterRows atOnce;
  const std::string_view cells[RosterRows::kColumnCount] = {"\x83\x74\x83\x42", "m", "", "-7", "0",
                                                           "1", "22", "333", "4444", "55555"};
  stepwise.InsertItem(cells[0]);
  for (int column = 1; column < RosterRows::kColumnCount; ++column) {
    stepwise.SetItemText(0, column, cells[column]);
  }
  stepwise.SetItemData(0, 0xFFFFFFFFu);
  atOnce.InsertItem(cells, 0xFFFFFFFFu);
  for (int column = 0; column < RosterRows::kColumnCount; ++column) {
    EXPECT_EQ(atOnce.GetItemText(0, column), stepwise.GetItemText(0, column)) << column;
  }
  EXPECT_EQ(atOnce.GetItemData(0), stepwise.GetItemData(0));
}

TEST(RosterRows, RemovesAllRowsAndRefills) {
  RosterRows rows;
  for (int i = 0; i < 100; ++i) rows.InsertItem("old");
  rows.DeleteAllItems();
  EXPECT_EQ(rows.GetItemCount(), 0);
  EXPECT_EQ(rows.GetItemText(0, 0), "");
  rows.InsertItem("new");
  EXPECT_EQ(Column(rows, 0), std::vector<std::string>{"new"});
  EXPECT_EQ(Column(rows, 1), std::vector<std::string>{""});
}

TEST(RosterRows, SortMovesCellsWithTheirDataAndKeepsTiesInOrder) {
  RosterRows rows;
  // Inserted at the top, so the rows stand as 25, 24, ..., 0 before the sort.
  for (std::uint32_t i = 0; i < 26; ++i) {
    rows.InsertItem(std::to_string(i));
    rows.SetItemData(0, i);
  }
  rows.SortItems(CompareTens, 0);
  std::vector<std::uint32_t> expected;
  for (const std::uint32_t tens : {0u, 10u, 20u}) {
    for (std::uint32_t i = 26; i-- > 0;) {
      if (i / 10 * 10 == tens) expected.push_back(i);
    }
  }
  EXPECT_EQ(Data(rows), expected);
  for (int row = 0; row < rows.GetItemCount(); ++row) {
    EXPECT_EQ(rows.GetItemText(row, 0), std::to_string(rows.GetItemData(row)));
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
  for (const std::uint32_t data : {21u, 12u, 3u, 14u, 5u, 11u, 2u, 13u}) {
    rows.InsertItem("");
    rows.SetItemData(0, data);
  }
  asked.clear();
  rows.SortItems(oddFirst, 0, tens, 0);
  // Rows below 10 keep their order (the reverse of insertion); from 10 to 19 odd comes first.
  EXPECT_EQ(Data(rows), (std::vector<std::uint32_t>{2, 5, 3, 13, 11, 14, 12, 21}));
  ASSERT_FALSE(asked.empty());
  for (const auto& [a, b] : asked) {
    EXPECT_TRUE(a / 10 == 1 && b / 10 == 1) << a << " " << b;
  }
}

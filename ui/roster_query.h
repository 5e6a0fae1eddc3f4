#pragma once

#include <cstdint>

#include "save/character_record.h"
#include "save/roster_table.h"

class RosterRows;

// SearchCriteria, the filter's choices and the default search are in save/roster_table.h.

// The sort state, process-wide for the whole run: neither a load nor a Search resets it.
extern std::int32_t g_nSortColumn;     // table column = record field compared; starts at total
extern std::int32_t g_nSortDirection;  // +1 ascending, -1 descending; starts descending

// True when the record passes all five tests of the filter.
bool RecordMatches(const CharacterRecord& record, const SearchCriteria& criteria);

// The table's comparison, with the list view's callback signature: the item data of two rows
// (record indexes) and the sort context, a pointer to the Roster. Negative puts the first row
// first. An index beyond the Roster (a row left from an earlier save) compares as an all-zero
// record with an empty name.
std::int32_t CompareRosterItems(std::intptr_t first, std::intptr_t second, std::intptr_t context);

// The filling half of a Search: removes all rows, then inserts a row at the top for every record
// that matches, in roster order, with its ten cells and its index as item data. The rows then stand
// in reverse roster order; nothing is sorted.
void FillRosterRows(RosterRows& rows, const Roster& roster, const SearchCriteria& criteria);

// Search: removes all rows, inserts a row at the top for every matching record in roster order,
// with its ten cells and its index as item data, then sorts by the sort state.
void SearchRoster(RosterRows& rows, const Roster& roster, const SearchCriteria& criteria);

// Sorts the rows as they stand by the sort state (stable).
void SortRosterRows(RosterRows& rows, const Roster& roster);

// A header click: the column becomes the sort column, the direction flips, the rows are sorted
// again without filtering anew.
void ClickRosterColumn(RosterRows& rows, const Roster& roster, std::int32_t column);

#pragma once

#include "save/character_record.h"
#include "save/save_text.h"

// The scanner as first written: one search after another with the C library's strstr and strchr,
// tables in std::map and sorted vectors. ScanSave must give the same records and cut the text at
// the same places on every input; the tests and the differential fuzzer hold it to that.
// Returns whether it reached the characters.
bool ReferenceScanSave(SaveText text, Roster& roster);

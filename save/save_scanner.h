#pragma once

#include "character_record.h"
#include "save_text.h"

// Appends every living character of a freshly loaded, not yet scanned `text` to `roster`. Values
// are cut out in place by writing NUL bytes; the records' names point into the text. A save that
// lacks what the scan needs gives fewer records, or none; nothing is read or written past the
// text's first NUL. Returns whether the scan reached the characters, which takes the start date,
// the marriage section and the character section with the title line that ends it: a text without
// them is no save of the game. A save without countries, or without a living character, is one.
bool ScanSave(SaveText text, Roster& roster);

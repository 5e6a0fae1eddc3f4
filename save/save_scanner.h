#pragma once

#include "character_record.h"
#include "save_text.h"

// Appends every living character of a freshly loaded, not yet scanned `text` to `roster`. Values
// are cut out in place by writing NUL bytes; the records' names point into the text. A save that
// lacks what the scan needs gives fewer records, or none; nothing is read or written past the
// text's first NUL.
void ScanSave(SaveText text, Roster& roster);

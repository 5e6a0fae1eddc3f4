#pragma once

#include "character_record.h"
#include "save_text.h"

// Appends every living character of a freshly loaded, not yet scanned `text` to `roster`. Values
// are cut out in place by writing NUL bytes; the records' names point into the text. A save that
// lacks what the scan needs gives fewer records, or none; nothing is read or written past the
// text's first NUL.
void ScanSave(SaveText text, Roster& roster);

// Whether `text` holds any place where a section that ScanSave reads starts: the start-date
// keyword, the marriage keyword, a line that begins with the character keyword, or the country
// keyword. A text with none is no save of the game. Reads `text` up to its first NUL or its first
// section start, whichever comes first, and writes nothing; call it before ScanSave cuts the text.
bool LooksLikeSave(const char* text);

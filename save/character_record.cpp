// CharacterRecord and RecordNumber are defined in the header; this file checks that the header
// compiles on its own.
#include "character_record.h"

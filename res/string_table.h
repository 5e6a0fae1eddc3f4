// The program's string table.
#pragma once

#include <wx/string.h>

// The string resource `id` of res/resource.h; empty when the table has no such string.
wxString LoadResourceString(int id);

// The dialog templates and the icon compiled into the program.
#pragma once

#include <wx/iconbndl.h>

// Makes the dialog templates loadable: registers the identifiers of res/resource.h under the names
// the templates give their controls, so that every control carries its numeric identifier, and
// loads the templates. Call once, after the toolkit has started and before any dialog is built.
void LoadDialogResources();

// The application icon IDR_MAINFRAME, 32 × 32 and 16 × 16 pixels.
wxIconBundle LoadMainFrameIcons();

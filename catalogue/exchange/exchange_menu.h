#pragma once
// The File menu's "Export to CSV…" and "Import from CSV…": the exchange
// commands (catalogue_export.h, catalogue_import.h) behind a file chooser,
// with the same messages the command line prints.
namespace reel {
class MainScreen;
}

namespace reel::exchange {

inline constexpr const char* ExportMenuItem = "mnuExportCsv";
inline constexpr const char* ImportMenuItem = "mnuImportCsv";
inline constexpr const char* ExportCaption = "Export to CSV\u2026";
inline constexpr const char* ImportCaption = "Import from CSV\u2026";

// Asks where to write and exports the catalogue the screen shows. The master
// file stays open: export only reads it.
void exportFromMenu(MainScreen& screen);

// Asks for a file and imports it. The screen's own lock on the master file
// is released for the import and taken again afterwards; the screen then
// shows record 1, with the counts read afresh (the indexes need sorting).
// Refused while a film is being entered or edited.
void importFromMenu(MainScreen& screen);

}  // namespace reel::exchange

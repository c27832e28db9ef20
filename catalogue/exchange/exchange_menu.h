#pragma once
// The File menu's "Export to CSV…" and "Import from CSV…": the exchange
// commands (catalogue_export.h, catalogue_import.h) behind a file chooser,
// with the same messages the command line prints.
#include "screen/screen_seams.h"

namespace reel::exchange {

// Asks where to write and exports the catalogue the screen shows. The master
// file stays open: export only reads it.
void exportFromMenu(ScreenContext& screen);

// Asks for a file and imports it. The screen's own lock on the master file
// is released for the import and taken again afterwards; the screen then
// shows record 1, with the counts read afresh (the indexes need sorting).
// Refused while a film is being entered or edited.
void importFromMenu(ScreenContext& screen);

// The two, plugged into the main screen.
class ExchangeMenu : public ExchangeFeatures {
  public:
    void exportCatalogue(ScreenContext& screen) override { exportFromMenu(screen); }
    void importCatalogue(ScreenContext& screen) override { importFromMenu(screen); }
};

}  // namespace reel::exchange

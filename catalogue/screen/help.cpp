// Help: the Help menu opens the help file's contents. F1 is the toolkit's:
// it opens the topic of form.currentHelpContext(), which is the focused
// control's number, or the screen's own while a picker list is open.
#include "screen/main_screen.h"

namespace reel {

void MainScreen::mnuHelp_Click() {
    platform().showHelp(0);
}

}  // namespace reel

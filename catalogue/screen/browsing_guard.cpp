// The browsing guard: while no record is being entered or edited, the boxes
// only show. Entering one says how to change it and hands the focus back to
// Save, so a browsing user can never alter a record by accident. The next
// Tab still goes on from the box warned about: someone walking the boxes by
// keyboard meets each box in turn instead of Save's neighbours again.
#include "screen/main_screen.h"

namespace reel {

void MainScreen::warnBrowsing(std::string_view warningCaption) {
    platform().messageBox("Hit edit to change.", MsgIcon::Exclamation, MsgButtons::Ok,
                          warningCaption);
    setFocus("cmdSave", focus());
}

void MainScreen::guardedBox_GotFocus(std::string_view warningCaption) {
    if (!state.EntryMode) warnBrowsing(warningCaption);
}

void MainScreen::txtTitle_Click() {
    if (!state.EntryMode) warnBrowsing("Title");
}

// The guided entry's fixed turns on page 2: from the composer on to the
// choreographer, and from the owner's rating to Save.
void MainScreen::txtMusic_LostFocus() {
    if (state.NewEntry) setFocus("txtChoreography");
}

void MainScreen::txtRatings_LostFocus() {
    if (!state.NewEntry) return;
    (*this)["lblNotes1"].text =
        "\nYou have finished inputting on page 1. and 2. \nClick \"Save Button\" or hit Alt\"S to "
        "save your work.";
    setFocus("cmdSave", focus());
}

}  // namespace reel

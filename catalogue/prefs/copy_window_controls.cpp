// The copy window's controls, their texts, and which handler serves which event.
#include "prefs/copy_window.h"
#include "screen/screen_context.h"

namespace reel {

CopyWindow::CopyWindow(ScreenContext& main)
    : Form("frmCopy"), main_(main), platform_(main.platform()) {
    caption = "Copy Files";
    buildControls();
    connectEvents();
}

void CopyWindow::buildControls() {
    add("lblCopy", ControlKind::Label, "Copy Data to Floppy");
    add("lblCopy2", ControlKind::Label, "Copy tavlen.dat");
    add("lblCopy6", ControlKind::Label, "Click on file to make selection");
    add("Dir1", ControlKind::DirList);
    add("File1", ControlKind::FileList);
    add("lblCopy3", ControlKind::Label, "Click on  down arrow ");
    add("Drive1", ControlKind::DriveList);
    add("lblCopy4", ControlKind::Label, "Click on \"a\" to copy data to  floppy drive \"a\"");
    add("lblCopy5", ControlKind::Label, "Make sure  there's a disc in drive \"A\" or \"B\".");
    add("lblCopy7", ControlKind::Label, "Try Again!");
    // A second folder and file list that take part in no decision.
    add("Dir2", ControlKind::DirList).visible = false;
    add("File2", ControlKind::FileList).visible = false;
    for (const char* hidden : {"lblCopy3", "lblCopy4", "lblCopy5", "lblCopy7"})
        (*this)[hidden].visible = false;
    (*this)["Drive1"].enabled = false;
}

void CopyWindow::connectEvents() {
    on("", EventKind::QueryClose, [this](const Event&) { Form_QueryClose(); });
    on("Dir1", EventKind::DblClick, [this](const Event& e) { Dir1_Open(e); });
    on("Dir1", EventKind::KeyDown, [this](const Event& e) {
        if (e.key == keys::Enter) Dir1_Open(e);
    });
    // A mouse press on a line chooses it at once (the toolkit reports the
    // press before the selection moves); arrow keys arrive as Click.
    on("File1", EventKind::MouseDown, [this](const Event& e) {
        if (e.button == 1 && e.item >= 0) File1_Click(e);
    });
    on("File1", EventKind::Click, [this](const Event& e) { File1_Click(e); });
    on("File1", EventKind::DblClick, [this](const Event& e) { File1_Click(e); });
    on("Drive1", EventKind::GotFocus, [this](const Event&) { Drive1_GotFocus(); });
    on("Drive1", EventKind::Change, [this](const Event& e) { Drive1_Change(e); });
}

}  // namespace reel

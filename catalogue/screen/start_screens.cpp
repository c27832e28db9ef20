// The title screen "Tavlenfrm1" and the information screen "frmStarter1":
// the way from starting the program to the main screen.
#include <optional>

#include "data/text_file.h"
#include "screen/info_screen.h"
#include "screen/main_screen.h"
#include "screen/title_screen.h"

namespace reel {

namespace {
constexpr const char* HelpFileName = "Dovelmark3.HLP";
}

std::string helpFilePath(const std::string& programDirectory) {
    if (!programDirectory.empty() && programDirectory.back() == '/')
        return programDirectory + HelpFileName;
    return programDirectory + "/" + HelpFileName;
}

// --- Title screen ------------------------------------------------------------

TitleScreen::TitleScreen(AppContext& app) : Form("Tavlenfrm1"), app_(app) {
    caption = "Reelvane Deluxe Edition ver. 3.0           ";
    add("Picture1", ControlKind::Picture);
    add("Label1", ControlKind::Label, "Reelvane");
    add("Label2", ControlKind::Label, "Deluxe Edition ver. 3.0");
    add("cmdStart", ControlKind::Button, "&Start");
    add("cmdExit", ControlKind::Button, "E&xit");

    on("", EventKind::Load, [this](const Event&) { Form_Load(); });
    on("cmdStart", EventKind::Click, [this](const Event&) { cmdStart_Click(); });
    on("cmdExit", EventKind::Click, [this](const Event&) { cmdExit_Click(); });
}

void TitleScreen::Form_Load() {
    helpFile_ = helpFilePath(app_.platform.programDirectory());
}

void TitleScreen::cmdStart_Click() {
    MainScreen& main = *app_.main;
    main.state.EntryMode = false;
    main.indexes().closeIndexFile(main);
    if (infoScreenSwitchedOff(app_.directory)) {
        main.show();
    } else {
        app_.info->show();
    }
}

void TitleScreen::cmdExit_Click() {
    MsgResult answer = app_.platform.messageBox("Are you sure you want to Quit?", MsgIcon::Question,
                                                MsgButtons::YesNo, EditionCaption);
    if (answer == MsgResult::Yes) app_.endProgram();
}

// --- Information screen ------------------------------------------------------

bool infoScreenSwitchedOff(const std::string& directory) {
    std::optional<std::string> flag = readFirstItem(joinPath(directory, ShowFlagFile));
    return flag && *flag == "NO";
}

InfoScreen::InfoScreen(AppContext& app) : Form("frmStarter1"), app_(app) {
    caption = "Reelvane Information Screen";
    add("Label1", ControlKind::Label, "Reelvane Deluxe Edition");
    add("lblimportant", ControlKind::Label, "IMPORTANT  INFORMATION  PLEASE READ !");
    add("lblInfoNotes", ControlKind::Label,
        "The deluxe edition allows the user to input data on two pages.  When entering a new "
        "record, page change over is automatic.  You can input additional information at a "
        "later date, onto page two by clicking \"Add More Data\" option button or,  by pressing "
        "Alt\"T\". Click \"Edit\" button.   Tab, or click to desired text box.  Make the entry, "
        "and click \"Save\"Button.  Click \"Return To Main Page\" option button, or press Alt "
        "\"T\", and return to the main page.  ");
    add("Label2", ControlKind::Label,
        "To enter a new film,  click the \"New\" button , on the main data screen." +
            std::string(41, ' ') + "Save each entry by clicking the \"Save\" button.");
    add("cmdNew", ControlKind::Picture);
    add("cmdSave", ControlKind::Picture);
    add("Label3", ControlKind::Label, "To Continue  Click \"OK\"");
    add("Command1", ControlKind::Button, "OK");
    add("Label4", ControlKind::Label, "Option > >");
    add("option1", ControlKind::OptionButton,
        "To  eliminate viewing this s&creen click option  or press Alt \"C\"");

    on("", EventKind::Load, [this](const Event&) { Form_Load(); });
    on("Command1", EventKind::Click, [this](const Event&) { Command1_Click(); });
    on("option1", EventKind::Click, [this](const Event&) { option1_Click(); });
}

void InfoScreen::Form_Load() {
    TitleScreen& title = *app_.title;
    title["cmdStart"].visible = false;
    title["cmdExit"].visible = false;
    (*this)["option1"].checked = false;
}

void InfoScreen::Command1_Click() {
    hide();
    app_.main->show();
}

void InfoScreen::option1_Click() {
    (*this)["option1"].checked = true;
    IoResult written = replaceFile(joinPath(app_.directory, ShowFlagFile), "NO\r\n");
    if (!written)
        app_.platform.messageBox(written.message, MsgIcon::Exclamation, MsgButtons::Ok,
                                 EditionCaption);
    // The information screen stays open behind the main screen.
    app_.main->show();
}

}  // namespace reel

// Leaving the program: the Exit menu item and the main window's close box.
// Both ask about unsaved work first, then whether to quit.
#include <initializer_list>

#include "screen/info_screen.h"
#include "screen/main_screen.h"
#include "screen/title_screen.h"

namespace reel {

void AppContext::endProgram() {
    if (main) main->master.close();
    for (Form* form : std::initializer_list<Form*>{title, info, main})
        if (form) form->hide();
    finished = true;
    platform.quit();
}

namespace {

enum class ExitAnswer { Quit, Stay };

}  // namespace

static ExitAnswer askToExit(MainScreen& screen, std::string_view unsavedCaption) {
    Platform& platform = screen.platform();
    if (screen.state.EntryMode) {
        MsgResult answer = platform.messageBox(
            "You have not saved your work. To save your work hit Yes, else hit No and quit",
            MsgIcon::Question, MsgButtons::YesNo, unsavedCaption);
        if (answer == MsgResult::Yes) {
            // Work that could not be written keeps the program open.
            if (!screen.save()) return ExitAnswer::Stay;
        } else {
            screen.state.EntryMode = false;
            return ExitAnswer::Quit;
        }
    }
    MsgResult answer = platform.messageBox("Are you sure you want to quit?", MsgIcon::Question,
                                           MsgButtons::YesNo, EditionCaption);
    return answer == MsgResult::Yes ? ExitAnswer::Quit : ExitAnswer::Stay;
}

void MainScreen::mnuExit_Click() {
    if (askToExit(*this, EditionCaption) == ExitAnswer::Quit) app_.endProgram();
}

void MainScreen::Form_QueryClose(const Event& event) {
    if (askToExit(*this, "Reelvane") == ExitAnswer::Quit) {
        app_.endProgram();
    } else if (event.cancel) {
        *event.cancel = true;
    }
}

}  // namespace reel

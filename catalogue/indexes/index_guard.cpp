// The guard against unbuilt indexes: a count of "0" means the index was
// never built (or is empty); the user is told and offered the build.
#include "data/count_files.h"
#include "indexes/index_module.h"
#include "screen/main_screen.h"

namespace reel {

std::string IndexModule::indexGuard(MainScreen& screen, const GuardRule& rule, bool* warned) {
    ScreenState& state = screen.state;
    std::string& count = state.CountText[rule.slot];
    if (rule.readAfresh)
        count = readCountFile(screen.app().directory, indexSpec(rule.slot).countFile);
    if (warned) *warned = false;
    if (count == "0") {
        if (warned) *warned = true;
        screen.platform().messageBox(rule.message, MsgIcon::Exclamation, MsgButtons::Ok,
                                     rule.title);
        // The build asks its own question and reads the counts back.
        if (count == "0") indexBuild(screen);
    }
    return count;
}

}  // namespace reel

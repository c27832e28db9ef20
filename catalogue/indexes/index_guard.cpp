// The guard against unbuilt indexes: a count of "0" means the index was
// never built (or is empty); the user is told and offered the build.
#include "data/count_files.h"
#include "indexes/index_module.h"
#include "screen/screen_context.h"

namespace reel {

std::string IndexModule::indexGuard(ScreenContext& screen, const GuardRule& rule, bool* warned) {
    std::string& count = screen.countText()[rule.slot];
    if (rule.readAfresh) count = readCountFile(screen.directory(), indexSpec(rule.slot).countFile);
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

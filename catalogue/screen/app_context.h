#pragma once
// AppContext: what the catalogue's windows share for one run: the platform
// port, the working directory, the three start-up windows and whether the
// program has ended. CatalogueApp owns it; the forms keep a reference.
#include <string>

#include "platform/platform.h"
#include "screen/program_captions.h"

namespace reel {

class TitleScreen;
class InfoScreen;
class MainScreen;

struct AppContext {
    AppContext(Platform& p, std::string dir) : platform(p), directory(std::move(dir)) {}

    Platform& platform;
    std::string directory;  // where the catalogue's data files live
    TitleScreen* title = nullptr;
    InfoScreen* info = nullptr;
    MainScreen* main = nullptr;
    bool finished = false;

    // Ends the program: closes the master file, hides every window and asks
    // the platform to quit once the current handler returns.
    void endProgram();
};

}  // namespace reel

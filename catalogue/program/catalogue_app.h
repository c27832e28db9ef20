#pragma once
// CatalogueApp: the catalogue program without its toolkit, and the one place
// that knows every part of it. It creates the three start-up windows in order
// (title, information, main), plugs the feature modules (indexes, reports,
// preferences, exchange) into the main screen, wires the windows to each
// other and to the platform, and says when the program has ended. Nothing
// below it includes it, so the catalogue's folders depend one way.
//
// Usage: construct with the platform and the catalogue's working directory,
// bind forms() to windows, call start(), and run until finished().
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "screen/app_context.h"
#include "screen/info_screen.h"
#include "screen/main_screen.h"
#include "screen/title_screen.h"

namespace reel {

class CopyWindow;

class CatalogueApp {
  public:
    CatalogueApp(Platform& platform, std::string directory);
    ~CatalogueApp();
    CatalogueApp(const CatalogueApp&) = delete;
    CatalogueApp& operator=(const CatalogueApp&) = delete;

    TitleScreen& titleScreen() { return *title_; }
    InfoScreen& infoScreen() { return *info_; }
    MainScreen& mainScreen() { return *main_; }
    CopyWindow& copyWindow() { return *copy_; }  // Form "frmCopy"
    std::vector<Form*> forms();                  // in creation order

    void start();  // shows the title screen (runs its Load)
    bool finished() const { return context_.finished; }

  private:
    AppContext context_;
    std::unique_ptr<TitleScreen> title_;
    std::unique_ptr<InfoScreen> info_;
    std::unique_ptr<MainScreen> main_;
    std::unique_ptr<CopyWindow> copy_;
};

}  // namespace reel
